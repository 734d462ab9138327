#include "windriver_win32.h"

#include "dib_win32.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <thread>

namespace id3::test {
namespace {

const std::pair<LPCWSTR, BoxIcon> kIcons[] = {{IDI_EXCLAMATION, BoxIcon::Exclamation},
                                              {IDI_HAND, BoxIcon::Critical},
                                              {IDI_ASTERISK, BoxIcon::Information},
                                              {IDI_QUESTION, BoxIcon::Question}};

// Which system icon the control shows, of any process (an icon's handle names
// it in its own process only): what is on screen compared with each candidate
// drawn the same size over the same background. A pixel differs when a colour
// is off by more than a little, so that smoothed edges do not count; more
// than a tenth of them differing is no match.
BoxIcon IconOf(HWND icon) {
  RedrawWindow(icon, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  RECT r{};
  GetWindowRect(icon, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return BoxIcon::Unknown;
  const Dib screen(width, height);
  BitBlt(screen.dc(), 0, 0, width, height, gdi::WindowDc(nullptr).get(), r.left, r.top, SRCCOPY);
  const auto shown = screen.Pixels();
  if (shown.empty()) return BoxIcon::Unknown;
  BoxIcon best = BoxIcon::Unknown;
  std::size_t best_diff = shown.size() / 10;
  for (const auto& [id, kind] : kIcons) {
    const Dib drawn(width, height, RGB(shown[0] >> 16, (shown[0] >> 8) & 0xFF, shown[0] & 0xFF));
    DrawIconEx(drawn.dc(), 0, 0, LoadIconW(nullptr, id), width, height, 0, nullptr, DI_NORMAL);
    const auto pixels = drawn.Pixels();
    std::size_t diff = 0;
    for (std::size_t i = 0; i < shown.size(); ++i) {
      const auto off = [&](int shift) {
        return std::abs(int((shown[i] >> shift) & 0xFF) - int((pixels[i] >> shift) & 0xFF)) > 24;
      };
      diff += off(0) || off(8) || off(16);
    }
    if (diff < best_diff) best_diff = diff, best = kind;
  }
  return best;
}

std::wstring ClassOf(HWND window) {
  std::array<wchar_t, 64> name{};
  GetClassNameW(window, name.data(), static_cast<int>(name.size()));
  return name.data();
}

struct Search {
  DWORD pid;          // 0: any process's
  const wchar_t* cls; // a visible top-level window of this class (any for L""), or
  int id;             // a control with this identifier
  HWND found;
};

BOOL CALLBACK Find(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if ((search->pid && pid != search->pid) ||
      (search->cls ? !IsWindowVisible(window) || (*search->cls && ClassOf(window) != search->cls)
                   : GetDlgCtrlID(window) != search->id))
    return TRUE;
  search->found = window;
  return FALSE;
}

HWND FindTopLevel(DWORD pid, const wchar_t* cls) {
  Search search{pid, cls, 0, nullptr};
  EnumWindows(Find, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A key's press or release, by its virtual key and scan code, or as a UTF-16
// code unit (KEYEVENTF_UNICODE).
INPUT Key(UINT vk, WORD scan, DWORD flags) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki = {WORD(vk), scan, flags, 0, 0};
  return in;
}

constexpr wchar_t kBoxClass[] = L"#32770";

BoxSeen ReadBox(HWND dialog) {
  BoxSeen box{TextOf(dialog), L"", BoxIcon::None, {}};
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const std::wstring cls = ClassOf(child);
    if (_wcsicmp(cls.c_str(), L"Button") == 0) {
      box.buttons.push_back(TextOf(child));
    } else if (_wcsicmp(cls.c_str(), L"Static") == 0) {
      if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
        box.icon = IconOf(child);
      else if (GetWindowTextLengthW(child) > 0)
        box.text = TextOf(child);
    }
  }
  return box;
}

// A box is read once its text and icon are on screen.
bool Painted(const BoxSeen& box) { return !box.text.empty() && box.icon != BoxIcon::Unknown; }

// A box answered with a button or the Esc key, another window closed; true
// once it is gone.
bool Answer(HWND window, int answer) {
  const bool box = ClassOf(window) == kBoxClass;
  if (box && answer == kPressEsc)
    Press(VK_ESCAPE);
  else if (const HWND button = box ? GetDlgItem(window, answer) : nullptr)
    PostMessageW(button, BM_CLICK, 0, 0);
  else
    PostMessageW(window, WM_CLOSE, 0, 0);
  return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); });
}

} // namespace

std::wstring TextOf(HWND window) {
  // Bounded, as every wait here: a window whose thread has stopped answering
  // (a program held by a crash) reads as empty instead of hanging the test.
  const auto send = [&](UINT message, WPARAM w, LPARAM l) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, w, l, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<std::size_t>(result);
  };
  std::wstring text(send(WM_GETTEXTLENGTH, 0, 0) + 1, L'\0');
  text.resize(send(WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
  return text;
}

void PrintTo(const BoxSeen& box, std::ostream* out) {
  static constexpr const char* kIconNames[] = {"none",        "information", "critical",
                                               "exclamation", "question",    "unknown"};
  *out << "{" << ::testing::PrintToString(box.caption) << ", " << ::testing::PrintToString(box.text)
       << ", " << kIconNames[int(box.icon)] << ", " << ::testing::PrintToString(box.buttons) << "}";
}

std::optional<BoxSeen> AnswerBox(DWORD process, int answer) {
  HWND box = nullptr;
  BoxSeen seen;
  if (!WaitUntil([&] {
        return (box = FindTopLevel(process, kBoxClass)) && Painted(seen = ReadBox(box));
      }) ||
      !Answer(box, answer))
    return std::nullopt;
  return seen;
}

std::vector<BoxSeen> AnswerBoxesDuring(const std::function<void()>& action) {
  std::vector<BoxSeen> shown;
  std::atomic<bool> done{false};
  std::thread answerer([&] {
    for (; !done; Sleep(20))
      while (const HWND window = FindTopLevel(0, L"")) {
        BoxSeen seen = ReadBox(window);
        if (ClassOf(window) == kBoxClass)
          WaitUntil([&] { return Painted(seen = ReadBox(window)) || !IsWindow(window); });
        shown.push_back(seen);
        if (!Answer(window, IDOK)) break;
      }
  });
  action();
  done = true;
  answerer.join();
  return shown;
}

bool WaitUntil(const std::function<bool()>& condition) {
  for (const ULONGLONG end = GetTickCount64() + 20000; !condition(); Sleep(10))
    if (GetTickCount64() > end) return false;
  return true;
}

void Press(UINT vk, UINT modifier) {
  std::vector<INPUT> in;
  for (const auto& [key, up] :
       {std::pair{modifier, 0}, {vk, 0}, {vk, KEYEVENTF_KEYUP}, {modifier, KEYEVENTF_KEYUP}})
    if (key) in.push_back(Key(key, WORD(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)), up));
  SendInput(UINT(in.size()), in.data(), sizeof(INPUT));
}

void Type(std::wstring_view text) {
  std::vector<INPUT> in;
  for (const wchar_t c : text)
    for (const DWORD up : {0, KEYEVENTF_KEYUP}) in.push_back(Key(0, c, KEYEVENTF_UNICODE | up));
  SendInput(UINT(in.size()), in.data(), sizeof(INPUT));
}

Program::Program(const std::wstring& exe, const std::wstring& arguments) {
  SetProcessDPIAware();
  std::wstring line = L"\"" + exe + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                 &process_);
}

// A program a failed test leaves behind is ended.
Program::~Program() {
  if (Running(5000)) TerminateProcess(process_.hProcess, 99);
  Running(20000);
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

bool Program::Running(DWORD ms) const {
  return process_.hProcess && WaitForSingleObject(process_.hProcess, ms) == WAIT_TIMEOUT;
}

DWORD Program::ExitCode() const {
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

HWND Program::TopLevel(const wchar_t* cls) const { return FindTopLevel(process_.dwProcessId, cls); }

bool Program::WaitForWindow(const wchar_t* cls) {
  return WaitUntil([&] { return (window_ = TopLevel(cls)) != nullptr; });
}

HWND Program::Control(int id) const {
  Search search{process_.dwProcessId, nullptr, id, nullptr};
  EnumChildWindows(window_, Find, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool Program::WaitForFocus(int id) const {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return WaitUntil([&] {
    return GetGUIThreadInfo(process_.dwThreadId, &info) && info.hwndFocus == Control(id);
  });
}

std::future<void> Program::Click(int id) const {
  return std::async(std::launch::async,
                    [button = Control(id)] { SendMessageW(button, BM_CLICK, 0, 0); });
}

LPARAM Program::Copy(const void* data, std::size_t size) const {
  void* there = VirtualAllocEx(process_.hProcess, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  WriteProcessMemory(process_.hProcess, there, data, size, nullptr);
  return reinterpret_cast<LPARAM>(there);
}

} // namespace id3::test
