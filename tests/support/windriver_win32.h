// Driving a real program from a test as a user would, and reading its windows
// as a user sees them: texts, what a message box shows; keys through
// SendInput, which the system delivers like a user's to the window in front.
// Waits are bounded only so that a broken program fails a test instead of
// hanging it. Windows builds only.
#pragma once

#include <windows.h>

#include <functional>
#include <future>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace id3::test {

std::wstring TextOf(HWND window);

// None: the box shows no icon; Unknown: it shows one that is none of these.
enum class BoxIcon { None, Information, Critical, Exclamation, Question, Unknown };

// A message box (a "#32770" dialog) as it is on screen at this moment, or
// another window by its caption and its first text.
struct BoxSeen {
  std::wstring caption;
  std::wstring text;
  BoxIcon icon = BoxIcon::None;
  std::vector<std::wstring> buttons;
  friend bool operator==(const BoxSeen&, const BoxSeen&) = default;
};
void PrintTo(const BoxSeen& box, std::ostream* out);

// Answers the next message box of a process (of any process for 0) as a user
// would: with one of its buttons (IDOK, IDCANCEL...) or with the real Esc key
// (kPressEsc). Waits for it to show, with its text and icon painted, and then
// for it to go. What it showed; nothing when no box came or it stayed.
inline constexpr int kPressEsc = -1;
std::optional<BoxSeen> AnswerBox(DWORD process, int answer = IDOK);

// Every window that shows while action runs, of any process, in order:
// boxes answered at once with their first button, other windows closed.
std::vector<BoxSeen> AnswerBoxesDuring(const std::function<void()>& action);

bool WaitUntil(const std::function<bool()>& condition);
// A key pressed and released, a modifier (VK_SHIFT...) held around it.
void Press(UINT vk, UINT modifier = 0);
// Characters as a keyboard or an input method gives them.
void Type(std::wstring_view text);

// A program started with a command line, and its windows.
class Program {
public:
  Program(const std::wstring& exe, const std::wstring& arguments);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // A visible top-level window of the program's by class ("#32770": a box);
  // the main one, once it shows, is Window().
  HWND TopLevel(const wchar_t* cls) const;
  bool WaitForWindow(const wchar_t* cls);
  HWND Window() const { return window_; }
  DWORD Id() const { return process_.dwProcessId; }
  HWND Control(int id) const;
  std::wstring Text(int id) const { return TextOf(Control(id)); }
  bool Checked(int id) const { return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  bool WaitForFocus(int id) const;
  // A click on the control, done once its handler has run (after any box it
  // shows has been answered).
  std::future<void> Click(int id) const;
  // A copy of the bytes in the program's memory, for a message's pointer.
  LPARAM Copy(const void* data, std::size_t size) const;
  // Whether it still runs after waiting up to ms for it to end; its exit code.
  bool Running(DWORD ms = 0) const;
  DWORD ExitCode() const;

private:
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};

} // namespace id3::test
