#include "driver_win32.h"

#include "editor/form1_controls.h"

#include <algorithm>

namespace id3::test {
namespace {

struct Search {
  DWORD pid;
  const wchar_t* cls; // a visible top-level window of this class, or
  int id;             // a control with this identifier
  HWND found;
};

BOOL CALLBACK Find(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != search->pid ||
      (search->cls ? !IsWindowVisible(window) || ClassOf(window) != search->cls
                   : GetDlgCtrlID(window) != search->id))
    return TRUE;
  search->found = window;
  return FALSE;
}

} // namespace

bool WaitUntil(const std::function<bool()>& condition) {
  for (const ULONGLONG end = GetTickCount64() + 20000; !condition(); Sleep(10))
    if (GetTickCount64() > end) return false;
  return true;
}

void Press(UINT vk, UINT modifier) {
  INPUT in[4] = {};
  const UINT keys[4] = {modifier, vk, vk, modifier};
  UINT n = 0;
  for (UINT i = 0; i < 4; ++i) {
    if (!keys[i]) continue;
    in[n].type = INPUT_KEYBOARD;
    in[n].ki.wVk = static_cast<WORD>(keys[i]);
    in[n].ki.wScan = static_cast<WORD>(MapVirtualKeyW(keys[i], MAPVK_VK_TO_VSC));
    in[n++].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
  }
  SendInput(n, in, sizeof(INPUT));
}

void ClickAt(POINT screen) {
  INPUT in[3] = {};
  for (INPUT& i : in) i.type = INPUT_MOUSE;
  in[0].mi.dx = MulDiv(screen.x, 65536, GetSystemMetrics(SM_CXSCREEN));
  in[0].mi.dy = MulDiv(screen.y, 65536, GetSystemMetrics(SM_CYSCREEN));
  in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(3, in, sizeof(INPUT));
}

POINT Centre(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

Editor::Editor(const std::wstring& arguments) {
  SetProcessDPIAware();
  std::wstring line = L"\"" ID3EDIT_EXE L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (!CreateProcessW(ID3EDIT_EXE, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process_))
    process_ = {};
}

Editor::~Editor() {
  if (Running()) {
    if (HWND box = TopLevel(L"#32770")) PostMessageW(box, WM_CLOSE, 0, 0);
    PostMessageW(window_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.hProcess, 5000) != WAIT_OBJECT_0)
      TerminateProcess(process_.hProcess, 99);
  }
  WaitForExit();
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

bool Editor::Running() const {
  return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

bool Editor::WaitForExit() {
  return process_.hProcess && WaitForSingleObject(process_.hProcess, 20000) == WAIT_OBJECT_0;
}

DWORD Editor::ExitCode() const {
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

HWND Editor::TopLevel(const wchar_t* cls) const {
  Search search{process_.dwProcessId, cls, 0, nullptr};
  EnumWindows(Find, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND Editor::Window() {
  if (!window_ && process_.hProcess)
    WaitUntil([&] { return (window_ = TopLevel(form1::kClassName)) != nullptr; });
  return window_;
}

bool Editor::WaitReady() { return Window() && WaitForFocus(form1::kText1); }

HWND Editor::Control(int id) {
  Search search{process_.dwProcessId, nullptr, id, nullptr};
  if (Window()) EnumChildWindows(window_, Find, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring Editor::GenreText() {
  std::wstring text(64, L'\0');
  HWND combo = Control(form1::kCombo1);
  const LRESULT n = SendMessageW(combo, CB_GETLBTEXT, SendMessageW(combo, CB_GETCURSEL, 0, 0),
                                 reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(std::max<LRESULT>(n, 0)));
  return text;
}

bool Editor::Checked(int id) { return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

bool Editor::WaitForFocus(int id) {
  HWND control = Control(id);
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return WaitUntil(
      [&] { return GetGUIThreadInfo(process_.dwThreadId, &info) && info.hwndFocus == control; });
}

std::future<void> Editor::Click(int id) {
  HWND button = Control(id);
  return std::async(std::launch::async, [button] { SendMessageW(button, BM_CLICK, 0, 0); });
}

LPARAM Editor::Copy(const void* data, std::size_t size) {
  void* there = VirtualAllocEx(process_.hProcess, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  WriteProcessMemory(process_.hProcess, there, data, size, nullptr);
  return reinterpret_cast<LPARAM>(there);
}

} // namespace id3::test
