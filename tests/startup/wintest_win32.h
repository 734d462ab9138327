// Windows-side helpers of the start-up tests: message boxes found and answered
// from outside, programs run to their end, and scratch registry keys.
#pragma once

#include "startup/modtools_win32.h"
#include "windriver_win32.h"

#include <functional>
#include <string>
#include <vector>

namespace id3::test {

// A message box as the user sees it.
struct Box {
  std::string caption;
  std::string text;
  BoxIcon icon = BoxIcon::None;
  std::vector<std::string> buttons;
};

// Any other top-level window: its caption and the texts of its controls.
struct Window {
  std::string caption;
  std::vector<std::string> texts;
};

// What a process tree did until its last process ended: its message boxes (each
// answered with its first button), its other top-level windows (each closed
// once seen), and the first process's exit code.
struct RunResult {
  DWORD exit_code = 0;
  std::vector<Box> boxes;
  std::vector<Window> windows;
};

// Runs command_line (program path first, as the shell would pass it).
RunResult RunProgram(const std::wstring& command_line);

// Runs action on this thread while another one answers this process's message
// boxes; returns the boxes seen.
std::vector<Box> AnswerBoxesDuring(const std::function<void()>& action);

// A key HKEY_CURRENT_USER\Software\Id3StartupTest\<name>, emptied on creation
// and deleted with everything below it at the end. A volatile one refuses
// every new key below it that is not volatile too, which stands for a classes
// root without write access.
class TestKey {
public:
  enum class Kind { Writable, Refusing };
  TestKey(const std::string& name, Kind kind);
  ~TestKey();
  TestKey(const TestKey&) = delete;
  TestKey& operator=(const TestKey&) = delete;

  HKEY Get() const { return key_.get(); }

private:
  std::wstring path_;
  UniqueHKey key_;
};

// Creates sub_key below root with a default string value; volatile below a
// refusing key.
void MakeKey(HKEY root, const std::string& sub_key, const std::string& value);
bool KeyExists(HKEY root, const std::string& sub_key);
// The names of the direct sub-keys.
std::vector<std::string> SubKeys(HKEY root, const std::string& sub_key);

} // namespace id3::test
