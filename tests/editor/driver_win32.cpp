#include "driver_win32.h"

#include "editor/form1_controls.h"

#include <algorithm>
#include <vector>

namespace id3::test {

namespace {

constexpr DWORD kPatienceMs = 20000;
constexpr wchar_t kSettingsKey[] = L"Software\\Quelmo ID3TAG EDITOR\\General";

template <class Condition> bool WaitFor(Condition condition, DWORD ms = kPatienceMs) {
  const ULONGLONG end = GetTickCount64() + ms;
  while (!condition()) {
    if (GetTickCount64() > end) return false;
    Sleep(10);
  }
  return true;
}

std::wstring WindowsPath(const char* z_path) {
  std::wstring path;
  for (const char* p = z_path; *p; ++p)
    path.push_back(*p == '/' ? L'\\' : static_cast<wchar_t>(*p));
  return path;
}

struct TopLevelSearch {
  DWORD pid;
  const wchar_t* cls;
  HWND found;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<TopLevelSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == search->pid && IsWindowVisible(window) && ClassOf(window) == search->cls) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND TopLevel(DWORD pid, const wchar_t* cls) {
  TopLevelSearch search{pid, cls, nullptr};
  EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct ChildSearch {
  int id;
  HWND found;
};

BOOL CALLBACK FindChild(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ChildSearch*>(param);
  if (GetDlgCtrlID(window) == search->id) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

} // namespace

std::wstring EditorExe() {
  // scripts/test-shipped drives the shipped 32-bit build with show_editor.
  if (const wchar_t* exe = _wgetenv(L"ID3EDIT_EXE")) return exe;
  return WindowsPath(ID3EDIT_EXE);
}
std::wstring ArgRecorderExe() { return WindowsPath(ARG_RECORDER_EXE); }

void WritePreferences(std::optional<std::wstring> no_animations,
                      std::optional<std::wstring> no_file_info) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return;
  for (auto [name, value] :
       {std::pair{L"NoAnimations", &no_animations}, std::pair{L"NoFileInfo", &no_file_info}}) {
    if (*value)
      RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>((*value)->c_str()),
                     static_cast<DWORD>(((*value)->size() + 1) * sizeof(wchar_t)));
    else
      RegDeleteValueW(key, name);
  }
  RegCloseKey(key);
}

std::optional<std::wstring> ReadPreference(const wchar_t* name) {
  wchar_t value[64] = {};
  DWORD bytes = sizeof(value);
  if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_SZ, nullptr, value, &bytes) !=
      ERROR_SUCCESS)
    return std::nullopt;
  return std::wstring(value);
}

int ScreenDpiX() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

int ScreenDpiY() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

Editor::Editor(const std::wstring& arguments) {
  SetProcessDPIAware();
  const std::wstring exe = EditorExe();
  std::wstring line = L"\"" + exe + L"\"";
  if (!arguments.empty()) line += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process_))
    process_ = {};
}

Editor::~Editor() {
  if (!process_.hProcess) return;
  if (Running()) {
    if (HWND box = TopLevel(process_.dwProcessId, L"#32770")) PostMessageW(box, WM_CLOSE, 0, 0);
    if (window_ && IsWindow(window_)) PostMessageW(window_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.hProcess, 5000) != WAIT_OBJECT_0)
      TerminateProcess(process_.hProcess, 99);
    WaitForSingleObject(process_.hProcess, kPatienceMs);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

bool Editor::Running() const {
  return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

bool Editor::WaitForExit() {
  return process_.hProcess && WaitForSingleObject(process_.hProcess, kPatienceMs) == WAIT_OBJECT_0;
}

DWORD Editor::ExitCode() const {
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

HWND Editor::Window() {
  if (!window_ && process_.hProcess)
    WaitFor(
        [&] { return (window_ = TopLevel(process_.dwProcessId, form1::kClassName)) != nullptr; });
  return window_;
}

bool Editor::WindowShown() const {
  return TopLevel(process_.dwProcessId, form1::kClassName) != nullptr;
}

bool Editor::WaitReady() {
  return Window() && WaitFor([&] { return Focus() == Control(form1::kText1); });
}

bool Editor::HasMessageBox() const { return TopLevel(process_.dwProcessId, L"#32770") != nullptr; }

std::optional<MessageBoxSeen> Editor::WaitForMessageBox() {
  MessageBoxSeen seen;
  if (!WaitFor(
          [&] { return (seen.window = TopLevel(process_.dwProcessId, L"#32770")) != nullptr; }))
    return std::nullopt;
  // The box may still be filling in and painting: look until its text and,
  // when it has one, its icon are there.
  BoxSeen shown;
  WaitFor([&] {
    shown = ReadBox(seen.window);
    return !shown.text.empty() && shown.icon != BoxIcon::Unknown;
  });
  seen.caption = shown.caption;
  seen.text = shown.text;
  seen.icon = shown.icon;
  seen.has_cancel = GetDlgItem(seen.window, IDCANCEL) != nullptr;
  return seen;
}

void Editor::Answer(const MessageBoxSeen& box, int button) {
  PostMessageW(GetDlgItem(box.window, button), BM_CLICK, 0, 0);
  WaitFor([&] { return !IsWindow(box.window); });
}

void Editor::AnswerWithEsc(const MessageBoxSeen& box) {
  Key(VK_ESCAPE);
  WaitFor([&] { return !IsWindow(box.window); });
}

HWND Editor::Control(int id) {
  ChildSearch search{id, nullptr};
  if (Window()) EnumChildWindows(window_, FindChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring Editor::Text(int id) { return TextOf(Control(id)); }

void Editor::SetText(int id, const std::wstring& text) {
  SendMessageW(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int Editor::GenreIndex() {
  return static_cast<int>(SendMessageW(Control(form1::kCombo1), CB_GETCURSEL, 0, 0));
}

std::wstring Editor::GenreText() {
  HWND combo = Control(form1::kCombo1);
  const auto at = SendMessageW(combo, CB_GETCURSEL, 0, 0);
  if (at < 0) return {};
  std::wstring text(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, at, 0)) + 1,
                    L'\0');
  const auto n = SendMessageW(combo, CB_GETLBTEXT, at, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(std::max<LRESULT>(n, 0)));
  return text;
}

bool Editor::Checked(int id) { return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

HWND Editor::Focus() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(process_.dwThreadId, &info)) return nullptr;
  return info.hwndFocus;
}

bool Editor::WaitForFocus(HWND expected) {
  return WaitFor([&] { return Focus() == expected; });
}

void Editor::Key(UINT vk) {
  HWND target = Focus();
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
  PostMessageW(target, WM_KEYDOWN, vk, scan | 1);
  PostMessageW(target, WM_KEYUP, vk, scan | 1 | static_cast<LPARAM>(0xC0000000u));
}

std::future<void> Editor::Click(int id) {
  HWND button = Control(id);
  return std::async(std::launch::async, [button] { SendMessageW(button, BM_CLICK, 0, 0); });
}

SIZE Editor::OuterSize() {
  RECT r{};
  GetWindowRect(Window(), &r);
  return {r.right - r.left, r.bottom - r.top};
}

int Editor::ClientWidth() {
  RECT r{};
  GetClientRect(Window(), &r);
  return r.right;
}

} // namespace id3::test
