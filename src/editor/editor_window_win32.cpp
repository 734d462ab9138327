#include "editor/editor_window_win32.h"
#include "editor/editor_controls.h"
#include "editor/settings_win32.h"
#include "effects/line3d_win32.h"
#include "mpeginfo/audio_facts.h"
#include "tagstore/genres.h"
#include "tools/fileio.h"
#include "tools/locale_win32.h"
#include "tools/paths.h"
#include "tools/process_win32.h"
#include "tools/shell_win32.h"
#include "tools/wintext_win32.h"
#include "wingui/units.h"
#include "wingui/window_win32.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace id3 {

namespace {

using namespace editor_ids;

constexpr int kIconResource = 1;
constexpr DWORD kFormStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
// The dialog manager's bytes of every window that DefDlgProc serves; MinGW's
// header gives only the 32-bit size.
constexpr int kDialogWindowExtra = sizeof(void*) == 8 ? 48 : DLGWINDOWEXTRA;

std::unique_ptr<EditorWindow> g_editor_window;

// The load handling goes on with its next step when one fails, so that the
// window always opens; the failure is told to a debugger, if one listens.
template <class Step> void RunStep(Step&& step) {
  try {
    step();
  } catch (const std::exception& e) {
    OutputDebugStringW((L"id3edit: a load step failed: " + win::Widen(e.what()) + L"\n").c_str());
  } catch (...) {
    OutputDebugStringW(L"id3edit: a load step failed\n");
  }
}

// The genre list as FillGenreList sees it.
class ComboList {
public:
  explicit ComboList(HWND combo) : combo_(combo) {}
  void AddItem(const std::string& text) {
    if (!win::AddComboItem(combo_, text)) throw std::runtime_error("genre list refused an entry");
  }

private:
  HWND combo_;
};

UINT MessageBoxStyle(const form::Message& message) {
  UINT style = message.buttons == form::Buttons::OkCancel ? MB_OKCANCEL : MB_OK;
  switch (message.icon) {
  case form::Icon::Exclamation: style |= MB_ICONEXCLAMATION; break;
  case form::Icon::Critical: style |= MB_ICONHAND; break;
  case form::Icon::Information: style |= MB_ICONINFORMATION; break;
  }
  return style;
}

} // namespace

EditorWindow::~EditorWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void EditorWindow::Show() {
  if (!hwnd_ && !Create()) return;
  OnLoad();
}

bool EditorWindow::Create() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);

  // The window is served by the dialog manager (DefDlgProc, IsDialogMessage):
  // Tab, Esc as IDCANCEL, Enter on a button, and the focus put back where it
  // was whenever the window is activated again.
  const auto face = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  win::RegisterWindowClass(
      {kClassName, win::ObjectWindowProc<EditorWindow>, face, kDialogWindowExtra,
       LoadIconW(instance, MAKEINTRESOURCEW(kIconResource)),
       static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                     GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                     LR_SHARED))});
  win::RegisterWindowClass({kContainerClassName, ContainerProc, face});

  // The Encoding menu's items are made each time it opens, from the model.
  HMENU menu = CreateMenu();
  if (menu) {
    AppendMenuW(menu, MF_STRING, kAboutMenu, L"About");
    encoding_menu_ = CreatePopupMenu();
    if (encoding_menu_ &&
        !AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(encoding_menu_), L"&Encoding")) {
      DestroyMenu(encoding_menu_);
      encoding_menu_ = nullptr;
    }
  }
  // Files dropped from Explorer arrive as WM_DROPFILES.
  if (!CreateWindowExW(WS_EX_ACCEPTFILES, kClassName, L"Form1", kFormStyle, CW_USEDEFAULT,
                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, menu, instance,
                       this)) {
    if (menu) DestroyMenu(menu);
    return false;
  }
  // The separator takes its twips at the DPI the window lays itself out at.
  dpi_ = win::WindowDpi(hwnd_);
  win::SetWindowDpi(hwnd_, dpi_);
  MakeFonts();
  CreateControls();
  Layout();
  return true;
}

void EditorWindow::OnLoad() {
  RunStep([&] { animater_.emplace(); });
  form::Preferences stored;
  RunStep([&] {
    stored = form::ReadPreferences([](std::string_view key) -> std::optional<std::string> {
      return win::GetSetting(form::kAppTitle, form::kSettingsSection, key);
    });
  });
  RunStep([&] { win::SetChecked(no_animations_box_, stored.no_animations); });
  RunStep([&] {
    if (stored.no_file_info != win::IsChecked(hide_info_box_)) {
      win::SetChecked(hide_info_box_, stored.no_file_info);
      OnHideInfoClicked();
    }
  });
  RunStep([&] { FitHeightToInfoPanel(); });
  RunStep([&] { win::SetWindowTextUtf8(hwnd_, form::Caption(kAppVersion)); });
  // Centred on the work area of the monitor the window starts on.
  RunStep([&] { win::CentreOnWorkArea(hwnd_); });
  RunStep([&] { ClearTexts(); });
  RunStep([&] {
    ComboList list(genre_list_);
    FillGenreList(list);
  });
  RunStep([&] {
    const std::string text = win::ArgumentText();
    if (text.empty()) return;
    const form::Argument arg = form::CleanArgument(text);
    if (arg.no_play) EnableWindow(play_button_, FALSE);
    LoadTag(arg.path);
  });
  RunStep([&] {
    if (!win::IsChecked(no_animations_box_) && animater_)
      animater_->Animate(hwnd_, kFormAnimationMilliseconds, kOpenAnimation);
  });
  // Whatever the animation did, the window ends up shown, active and painted.
  RunStep([&] {
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    RedrawWindow(hwnd_, nullptr, nullptr,
                 RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  });
}

void EditorWindow::OnUnload() {
  if (!win::IsChecked(no_animations_box_) && animater_)
    animater_->Animate(hwnd_, kFormAnimationMilliseconds, kCloseAnimation);
  for (const auto& [key, text] : form::StoredPreferences(
           {win::IsChecked(no_animations_box_), win::IsChecked(hide_info_box_)}))
    win::SaveSetting(form::kAppTitle, form::kSettingsSection, key, text);
  animater_.reset();
}

// Every way of closing comes here: the commands, Esc and the close box.
void EditorWindow::Unload() {
  if (unloading_ || !hwnd_) return;
  unloading_ = true;
  OnUnload();
  if (acc_props_) {
    acc_props_->ClearHwndProps(play_button_, OBJID_CLIENT, CHILDID_SELF, &PROPID_ACC_NAME, 1);
    acc_props_.reset();
  }
  DestroyWindow(hwnd_);
}

void EditorWindow::ClearTexts() {
  for (HWND text : text_boxes_) SetWindowTextW(text, L"");
  for (HWND value : info_values_) SetLabel(value, "");
}

void EditorWindow::LoadTag(const std::string& path) {
  if (const auto refused = doc_.Load(path)) {
    SetValue(0, std::string(form::kNoFileOpenValue));
    ShowMessage(*refused);
    return;
  }
  genre_chosen_ = false;
  ShowInputs(doc_.Shown());
  // The box edits the record's 30 bytes; what TAG+ adds is shown beside it.
  for (const form::TextIndex box : {form::kTitle, form::kArtist, form::kAlbum})
    if (const auto whole = doc_.WholeText(box); whole && tooltip_)
      win::AddTooltip(tooltip_, tag_frame_, text_boxes_[box], win::Widen(*whole).c_str());
  FillPanel();
}

void EditorWindow::ShowInputs(const form::TagInputs& inputs) {
  for (std::size_t i = 0; i < form::kTextCount; ++i)
    win::SetWindowTextUtf8(text_boxes_[i], inputs.text[i]);
  win::SelectComboItem(genre_list_, inputs.genre_index);
}

form::TagInputs EditorWindow::ReadInputs() const {
  form::TagInputs inputs;
  for (std::size_t i = 0; i < form::kTextCount; ++i)
    inputs.text[i] = win::WindowText(text_boxes_[i]);
  inputs.genre_index = win::ComboSelection(genre_list_);
  inputs.genre_text = win::ComboItemText(genre_list_, inputs.genre_index);
  inputs.genre_chosen = genre_chosen_;
  return inputs;
}

void EditorWindow::SetValue(std::size_t index, const std::string& text) {
  SetLabel(info_values_.at(index), text);
}

void EditorWindow::ShowPath() {
  RECT frame{};
  GetClientRect(info_frame_, &frame);
  const int width = frame.right - win::TopLeftIn(info_values_[0], info_frame_).x -
                    win::TopLeftIn(info_captions_[0], info_frame_).x;
  std::string shown;
  {
    // The path is measured in the font it is shown in.
    gdi::WindowDc dc(hwnd_);
    gdi::Selection font(dc.get(), font_.get());
    shown = CompactPath(doc_.CurrentFile(), width, dc.get());
  }
  SetValue(0, shown);
}

void EditorWindow::FillPanel() {
  ShowPath();
  // A file with no audio frame still has a size: show it, not the 0 of an
  // empty load.
  const auto values = form::AudioValues(doc_.Audio(), doc_.FileSize(), win::DecimalSeparator());
  for (std::size_t i = 0; i < values.size(); ++i) SetValue(i + 1, values[i]);
}

int EditorWindow::ShowMessage(const form::Message& message) {
  return MessageBoxW(hwnd_, win::Widen(message.text).c_str(), win::Widen(message.caption).c_str(),
                     MessageBoxStyle(message));
}

void EditorWindow::OnCancel() { Unload(); }

void EditorWindow::OnOk() {
  if (const auto message = doc_.Save(ReadInputs()))
    ShowMessage(*message);
  else
    Unload();
}

void EditorWindow::OnDelete() {
  if (const auto refusal = doc_.DeleteRefusal()) {
    ShowMessage(*refusal);
    return;
  }
  if (ShowMessage(form::kConfirmDelete) != IDOK) return;
  if (const auto message = doc_.Delete())
    ShowMessage(*message);
  else
    Unload();
}

void EditorWindow::OnPlay() { ShellOpenFile(doc_.CurrentFile(), hwnd_); }

void EditorWindow::OnAbout() {
  const std::string text = form::AboutText(kAppVersion);
  ShowMessage({text, form::kAppTitle, form::Icon::Information, form::Buttons::Ok});
}

void EditorWindow::FillEncodingMenu() {
  std::vector<win::RadioItem> items;
  for (const form::EncodingItem& e : doc_.Encodings()) items.push_back({e.text, e.checked});
  if (items.size() > kEncodingItemsMost) items.resize(kEncodingItemsMost);
  win::FillRadioMenu(encoding_menu_, kEncodingItems, items);
}

// Only the boxes whose text changes are set again, so that the caret and
// selection stay in the others.
void EditorWindow::OnEncodingChosen(std::size_t item) {
  const form::TagInputs inputs = doc_.UseEncoding(item, ReadInputs());
  for (std::size_t i = 0; i < form::kTextCount; ++i)
    if (win::WindowText(text_boxes_[i]) != inputs.text[i])
      win::SetWindowTextUtf8(text_boxes_[i], inputs.text[i]);
}

// The user chose an entry of the genre list, by mouse or keyboard.
void EditorWindow::OnGenreChosen() { genre_chosen_ = true; }

// A file dropped from Explorer is taken with the checks of the command line;
// a refused one leaves the file on screen as it is.
void EditorWindow::OnFileDropped(const std::string& path) {
  if (!form::IsAcceptedPath(path)) {
    ShowMessage(form::kInvalidFile);
    return;
  }
  LoadTag(path);
}

// The window moved to a monitor of another DPI (or the user changed it): the
// same twips at the new DPI, in fonts made for it, in the rectangle the
// system suggests.
void EditorWindow::OnDpiChanged(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  win::SetWindowDpi(hwnd_, dpi_);
  // The old fonts live until every control has the new ones.
  const gdi::UniqueFont old_font = std::move(font_);
  const gdi::UniqueFont old_bold_font = std::move(bold_font_);
  MakeFonts();
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  Layout();
  if (!doc_.CurrentFile().empty()) ShowPath();
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void EditorWindow::OnHideInfoClicked() { FitHeightToInfoPanel(); }

bool EditorWindow::OnInputKey(std::size_t input, wchar_t key) {
  if (key != VK_RETURN) return false;
  SetFocus(Input(form::NextOnEnter(input)));
  return true;
}

HWND EditorWindow::Input(std::size_t index) const {
  return index == form::kGenreList ? genre_list_ : text_boxes_.at(index);
}

void EditorWindow::OnTextBoxFocus(std::size_t box) {
  HWND text = text_boxes_[box];
  win::SelectEditText(text, 0, GetWindowTextLengthW(text));
}

LRESULT EditorWindow::FitChangedText(std::size_t index, UINT message, WPARAM wParam,
                                     LPARAM lParam) {
  HWND box = text_boxes_[index];
  const std::string before = win::WindowText(box);
  const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
  const std::string typed = win::WindowText(box);
  if (typed == before) return result;
  const auto caret = static_cast<std::size_t>(win::EditCaret(box));
  const form::BoxText fitted =
      doc_.Fit(form::TextIndex(index), before, typed,
               win::Narrow(std::wstring_view(win::Widen(typed)).substr(0, caret)).size());
  if (fitted.text != typed) {
    win::SetWindowTextUtf8(box, fitted.text);
    const auto at = static_cast<int>(win::Widen(fitted.text.substr(0, fitted.caret)).size());
    win::SelectEditText(box, at, at);
  }
  return result;
}

void EditorWindow::OnCommand(int id, int code) {
  switch (id) {
  case kCancelButton: OnCancel(); return;
  case kOkButton: OnOk(); return;
  case kDeleteButton: OnDelete(); return;
  case kPlayButton: OnPlay(); return;
  case kHideInfoBox: OnHideInfoClicked(); return;
  case kAboutMenu: OnAbout(); return;
  case IDCANCEL: OnCancel(); return;
  case IDOK:
    // Enter on a button the mouse focused, which the dialog manager has not
    // made the default one: press it all the same.
    if (HWND focus = GetFocus(); focus == cancel_button_ || focus == ok_button_ ||
                                 focus == delete_button_ || focus == play_button_)
      OnCommand(GetDlgCtrlID(focus), BN_CLICKED);
    return;
  case kGenreBox:
    // Browsing the dropped list is no choice until it closes on an entry.
    if (code == CBN_SELENDOK || (code == CBN_SELCHANGE && !win::IsComboDropped(genre_list_)))
      OnGenreChosen();
    return;
  default: break;
  }
  if (id >= kEncodingItems && id < kEncodingItems + kEncodingItemsMost && code == 0) {
    OnEncodingChosen(static_cast<std::size_t>(id - kEncodingItems));
    return;
  }
  if (id >= kTextBoxes && id < kTextBoxes + editor_ids::kTextCount && code == EN_SETFOCUS)
    OnTextBoxFocus(static_cast<std::size_t>(id - kTextBoxes));
}

LRESULT EditorWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
  case WM_SIZE: OnSize(); return 0;
  case WM_CLOSE: Unload(); return 0;
  case WM_DESTROY: PostQuitMessage(0); return 0;
  case WM_INITMENUPOPUP:
    if (reinterpret_cast<HMENU>(wParam) != encoding_menu_) break;
    FillEncodingMenu();
    return 0;
  case WM_DROPFILES: {
    const auto drop = reinterpret_cast<HDROP>(wParam);
    std::wstring path(DragQueryFileW(drop, 0, nullptr, 0) + 1, L'\0');
    path.resize(DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size())));
    DragFinish(drop);
    OnFileDropped(win::Narrow(path));
    return 0;
  }
  case WM_DPICHANGED:
    OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
    return 0;
  default: break;
  }
  return Default(hwnd_, message, wParam, lParam);
}

EditorWindow* EditorWindow::Attach(HWND window, const CREATESTRUCTW& create) {
  auto* self = static_cast<EditorWindow*>(create.lpCreateParams);
  self->hwnd_ = window;
  return self;
}

// The object outlives its window: a handler that closed it (a close request
// during the load's message box among them) returns through it.
void EditorWindow::Detach() { hwnd_ = nullptr; }

LRESULT EditorWindow::Default(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefDlgProcW(window, message, wParam, lParam);
}

// The containers pass their controls' notifications on to the window.
LRESULT CALLBACK EditorWindow::ContainerProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  if (message == WM_COMMAND || message == WM_NOTIFY)
    return SendMessageW(GetParent(window), message, wParam, lParam);
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK EditorWindow::InputProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR index, DWORD_PTR form) {
  auto* self = reinterpret_cast<EditorWindow*>(form);
  try {
    switch (message) {
    case WM_GETDLGCODE: {
      // Enter belongs to the input, so that its key press can move the focus.
      LRESULT code = DefSubclassProc(window, message, wParam, lParam);
      const auto* msg = reinterpret_cast<const MSG*>(lParam);
      if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) code |= DLGC_WANTALLKEYS;
      return code;
    }
    case WM_CHAR: {
      if (self->OnInputKey(index, static_cast<wchar_t>(wParam))) return 0;
      if (index == form::kGenreList) return DefSubclassProc(window, message, wParam, lParam);
      return self->FitChangedText(index, message, wParam, lParam);
    }
    // The edit control's own ways to insert text: Shift+Insert, its context
    // menu, the clipboard, undo and input methods.
    case WM_KEYDOWN:
    case WM_CONTEXTMENU:
    case WM_PASTE:
    case WM_UNDO:
    case EM_UNDO:
    case EM_REPLACESEL:
    case WM_IME_CHAR:
    case WM_IME_COMPOSITION:
      if (index != form::kGenreList) return self->FitChangedText(index, message, wParam, lParam);
      break;
    case WM_NCDESTROY: RemoveWindowSubclass(window, InputProc, index); break;
    default: break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
  } catch (...) {
    return 0;
  }
}

HWND ShowEditorWindow() {
  if (!g_editor_window) g_editor_window = std::make_unique<EditorWindow>();
  g_editor_window->Show();
  return g_editor_window ? g_editor_window->Window() : nullptr;
}

} // namespace id3
