// Drives the real editor program from the test process, as a user would: it
// starts id3edit.exe, finds its window and controls, reads them, clicks,
// types keys and answers the message boxes. Every wait is for a condition,
// bounded only so that a broken program fails the test instead of hanging it.
#pragma once

#include "windriver_win32.h"

#include <windows.h>

#include <future>
#include <optional>
#include <string>

namespace id3::test {

std::wstring EditorExe();
std::wstring ArgRecorderExe();

// The editor's two preferences in the per-user settings; nullopt removes one.
void WritePreferences(std::optional<std::wstring> no_animations,
                      std::optional<std::wstring> no_file_info);
std::optional<std::wstring> ReadPreference(const wchar_t* name);

struct MessageBoxSeen {
  HWND window = nullptr;
  std::wstring text;
  std::wstring caption;
  BoxIcon icon = BoxIcon::None;
  bool has_cancel = false;
};

class Editor {
public:
  // Starts the program with the argument text.
  explicit Editor(const std::wstring& arguments);
  ~Editor();
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  // The main window once it is visible; null when it never shows.
  HWND Window();
  // Whether the main window is on screen at this moment.
  bool WindowShown() const;
  // Visible, and the start-up timer has put the focus into the album box.
  bool WaitReady();

  // A message box of the program, once it shows.
  std::optional<MessageBoxSeen> WaitForMessageBox();
  bool HasMessageBox() const;
  void Answer(const MessageBoxSeen& box, int button);
  void AnswerWithEsc(const MessageBoxSeen& box);

  HWND Control(int id);
  std::wstring Text(int id);
  void SetText(int id, const std::wstring& text);
  int GenreIndex();
  std::wstring GenreText();
  bool Checked(int id);
  HWND Focus() const;
  bool WaitForFocus(HWND expected);
  // Posts the key to the control that has the focus.
  void Key(UINT vk);
  // Clicks the control and returns when its handler has run (which is after
  // any message box it shows has been answered).
  std::future<void> Click(int id);
  // The window's outer size and client width in pixels.
  SIZE OuterSize();
  int ClientWidth();

  // True when the process ended; its exit code then.
  bool WaitForExit();
  DWORD ExitCode() const;
  bool Running() const;

private:
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};

// Pixels per inch of the screen, as the program sees it.
int ScreenDpiX();
int ScreenDpiY();

} // namespace id3::test
