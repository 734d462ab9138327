#include "wingui/window_win32.h"

#include "tools/wintext_win32.h"
#include "wingui/units.h"

#include <commctrl.h>

namespace id3::win {
namespace {

constexpr wchar_t kDpiProperty[] = L"Id3WindowDpi";

// The system's figure, where it knows one per window.
int SystemDpi(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto get_dpi = reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (get_dpi)
    if (const UINT dpi = get_dpi(window)) return static_cast<int>(dpi);
  return gdi::ScreenResolution().y;
}

} // namespace

ATOM RegisterWindowClass(const WindowClass& window_class) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = window_class.procedure;
  wc.cbWndExtra = window_class.window_extra;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hIcon = window_class.icon;
  wc.hIconSm = window_class.small_icon;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = window_class.background;
  wc.lpszClassName = window_class.name;
  if (const ATOM atom = RegisterClassExW(&wc)) return atom;
  return static_cast<ATOM>(GetClassInfoExW(wc.hInstance, window_class.name, &wc));
}

void SetWindowDpi(HWND top_level, int dpi) {
  if (dpi > 0)
    SetPropW(top_level, kDpiProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(dpi)));
  else
    RemovePropW(top_level, kDpiProperty);
}

int WindowDpi(HWND window) {
  const HWND top_level = GetAncestor(window, GA_ROOT);
  if (const auto recorded = reinterpret_cast<INT_PTR>(GetPropW(top_level, kDpiProperty)))
    return static_cast<int>(recorded);
  return SystemDpi(top_level ? top_level : window);
}

std::string WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  const int n = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(n > 0 ? n : 0));
  return Narrow(text);
}

bool SetWindowTextUtf8(HWND window, std::string_view text) {
  return SetWindowTextW(window, Widen(text).c_str()) != FALSE;
}

std::string ComboItemText(HWND combo, int index) {
  const auto at = static_cast<WPARAM>(index);
  const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, at, 0);
  if (index < 0 || length == CB_ERR) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT n = SendMessageW(combo, CB_GETLBTEXT, at, reinterpret_cast<LPARAM>(text.data()));
  text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return Narrow(text);
}

int ComboSelection(HWND combo) { return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)); }

void SelectComboItem(HWND combo, int index) {
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool AddComboItem(HWND combo, std::string_view text) {
  const LRESULT at =
      SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
  return at != CB_ERR && at != CB_ERRSPACE;
}

bool IsComboDropped(HWND combo) { return SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != FALSE; }

void SelectEditText(HWND edit, int start, int end) {
  SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

int EditCaret(HWND edit) {
  DWORD end = 0;
  SendMessageW(edit, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end);
}

bool IsChecked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) != BST_UNCHECKED; }

void FillRadioMenu(HMENU menu, UINT first_id, const std::vector<RadioItem>& items) {
  while (GetMenuItemCount(menu) > 0) DeleteMenu(menu, 0, MF_BYPOSITION);
  for (UINT i = 0; i < items.size(); ++i) {
    std::wstring text = Widen(items[i].text);
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
    item.fType = MFT_STRING | MFT_RADIOCHECK;
    item.fState = items[i].checked ? MFS_CHECKED : MFS_UNCHECKED;
    item.wID = first_id + i;
    item.dwTypeData = text.data();
    InsertMenuItemW(menu, i, TRUE, &item);
  }
}

void SetChecked(HWND button, bool checked) {
  SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

HFONT ControlFont(HWND control) {
  return reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
}

void SetControlFont(HWND control, HFONT font) {
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

bool AddTooltip(HWND tooltip_window, HWND owner, HWND tool, const wchar_t* text) {
  TTTOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = owner;
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  info.lpszText = const_cast<wchar_t*>(text);
  return SendMessageW(tooltip_window, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
}

POINT TopLeftIn(HWND control, HWND container) {
  RECT r{};
  GetWindowRect(control, &r);
  POINT p{r.left, r.top};
  ScreenToClient(container, &p);
  return p;
}

gdi::UniqueFont CreateUiFont(const wchar_t* face, int twips, bool bold, int dpi) {
  // A negative height asks for the character height, without the leading.
  return gdi::UniqueFont(CreateFontW(-TwipsToPixels(twips, dpi), 0, 0, 0,
                                     bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                     DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, face));
}

void CentreOnWorkArea(HWND window) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  RECT r{};
  if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor) ||
      !GetWindowRect(window, &r))
    return;
  const RECT& work = monitor.rcWork;
  SetWindowPos(window, nullptr, CentredStart(work.left, work.right, r.right - r.left),
               CentredStart(work.top, work.bottom, r.bottom - r.top), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace id3::win
