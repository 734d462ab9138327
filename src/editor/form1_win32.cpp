#include "editor/form1_win32.h"
#include "editor/form1_controls.h"
#include "editor/settings_win32.h"
#include "effects/line3d_win32.h"
#include "mpeginfo/mp3info.h"
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

using namespace form1;

constexpr int kIconResource = 1;
constexpr DWORD kFormStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
// The dialog manager's bytes of every window that DefDlgProc serves; MinGW's
// header gives only the 32-bit size.
constexpr int kDialogWindowExtra = sizeof(void*) == 8 ? 48 : DLGWINDOWEXTRA;

// Geometry in twips.
constexpr int kClientWidth = 4515;
constexpr int kTallHeight = 7560;
constexpr int kShortHeight = 5250;
constexpr int kPanelHeight = 975;
constexpr int kLabelHeight = 195;
constexpr int kTextHeight = 285;
constexpr int kInputWidth = 4095;
constexpr int kInputLeft = 105;
constexpr int kFrameWidth = 4335;
// The least room between a caption of the information panel and its value.
constexpr int kCaptionGap = 15;
// Tahoma 8.25 pt.
constexpr wchar_t kFontFace[] = L"Tahoma";
constexpr int kFontTwips = 165;
// The drop-down part of the genre list, in items.
constexpr int kComboDropItems = 16;

// The "..." button's tooltip, which is also its name for a screen reader.
constexpr wchar_t kPlayTip[] = L"Open in default player";

// The genre list's subclass index follows the text boxes'.
constexpr UINT_PTR kComboInput = form::kTextCount;

std::unique_ptr<Form1> g_form1;

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
    const LRESULT at =
        SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win::Widen(text).c_str()));
    if (at == CB_ERR || at == CB_ERRSPACE) throw std::runtime_error("genre list refused an entry");
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

POINT TopLeftIn(HWND control, HWND container) {
  RECT r{};
  GetWindowRect(control, &r);
  POINT p{r.left, r.top};
  ScreenToClient(container, &p);
  return p;
}

} // namespace

Form1::~Form1() {
  if (hwnd_) DestroyWindow(hwnd_);
}

int Form1::Twips(int twips) const { return TwipsToPixels(twips, dpi_); }

bool Form1::Checked(HWND box) const {
  return SendMessageW(box, BM_GETCHECK, 0, 0) != BST_UNCHECKED;
}

void Form1::Show() {
  if (!hwnd_ && !Create()) return;
  Form_Load();
}

bool Form1::Create() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);

  // The window is served by the dialog manager (DefDlgProc, IsDialogMessage):
  // Tab, Esc as IDCANCEL, Enter on a button, and the focus put back where it
  // was whenever the window is activated again.
  const auto face = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  win::RegisterWindowClass(
      {kClassName, win::ObjectWindowProc<Form1>, face, kDialogWindowExtra,
       LoadIconW(instance, MAKEINTRESOURCEW(kIconResource)),
       static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                     GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                     LR_SHARED))});
  win::RegisterWindowClass({kContainerClassName, ContainerProc, face});

  HMENU menu = CreateMenu();
  if (menu) AppendMenuW(menu, MF_STRING, kMnuAbout, L"About");
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

void Form1::MakeFonts() {
  font_ = win::CreateUiFont(kFontFace, kFontTwips, false, dpi_);
  bold_font_ = win::CreateUiFont(kFontFace, kFontTwips, true, dpi_);
}

// A frame's group box is a child that leaves its inside unpainted, so a
// container must not clip its children away from its own background.
HWND Form1::Container(int id, int x, int y, int width, int height) {
  HWND container = CreateWindowExW(WS_EX_CONTROLPARENT, kContainerClassName, L"",
                                   WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0, hwnd_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleW(nullptr), nullptr);
  placed_.push_back({container, {x, y, width, height}, Font::None});
  return container;
}

HWND Form1::Control(HWND parent, int id, const wchar_t* cls, const wchar_t* text, DWORD style,
                    int x, int y, int width, int height, Font font, DWORD ex_style) {
  HWND control = CreateWindowExW(
      ex_style, cls, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, 0, 0, 0, 0, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  placed_.push_back({control, {x, y, width, height}, font});
  return control;
}

// A label's width is left 0 here: it sizes itself to its text.
HWND Form1::Label(HWND parent, int id, const wchar_t* text, int x, int y, bool bold) {
  return Control(parent, id, L"STATIC", text, SS_LEFT | SS_NOPREFIX, x, y, 0, kLabelHeight,
                 bold ? Font::Bold : Font::Regular);
}

// Labels size themselves to their text, in the font they show it in.
void Form1::SetLabel(HWND label, const std::string& shown) {
  const std::wstring text = win::Widen(shown);
  SetWindowTextW(label, text.c_str());
  SIZE extent{};
  {
    gdi::WindowDc dc(label);
    gdi::Selection font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
  }
  SetWindowPos(label, nullptr, 0, 0, extent.cx, Twips(kLabelHeight),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Creation order is z-order and tab order: within each container the inputs
// (each after its caption) come first and the group box last, and the bottom
// panel lies above the information frame, which it covers when the window is
// short.
void Form1::CreateControls() {
  frame1_ = Container(kFrame1, 90, 120, kFrameWidth, 3465);
  // Each caption lies directly before its input in z-order: a screen reader
  // names an edit or a combo box after the label in front of it. Labels take
  // no focus, so the tab order is the inputs' own.
  constexpr DWORD kEdit = ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP;
  constexpr struct {
    const wchar_t* caption;
    int caption_top, input_top;
    std::size_t text; // kTextCount for the genre list
  } kInputRows[] = {
      {L"Album:", 240, 420, form::kAlbum},       {L"Artist:", 765, 945, form::kArtist},
      {L"Genre:", 1305, 1500, form::kTextCount}, {L"Note:", 1860, 2040, form::kComment},
      {L"Title:", 2370, 2550, form::kTitle},     {L"Year:", 2880, 3060, form::kYear}};
  for (int row = 0; row < static_cast<int>(std::size(kInputRows)); ++row) {
    const auto& r = kInputRows[row];
    Label(frame1_, kLabel1 + row, r.caption, kInputLeft, r.caption_top, true);
    if (r.text == form::kTextCount) {
      combo1_ =
          Control(frame1_, kCombo1, L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
                  kInputLeft, r.input_top, kInputWidth, 315 * kComboDropItems / 2, Font::Regular);
      SetWindowSubclass(combo1_, InputProc, kComboInput, reinterpret_cast<DWORD_PTR>(this));
      continue;
    }
    text1_[r.text] =
        Control(frame1_, kText1 + static_cast<int>(r.text), L"EDIT", L"", kEdit, kInputLeft,
                r.input_top, kInputWidth, kTextHeight, Font::Regular, WS_EX_CLIENTEDGE);
    SetWindowSubclass(text1_[r.text], InputProc, r.text, reinterpret_cast<DWORD_PTR>(this));
  }
  Control(frame1_, kFrame1Box, L"BUTTON", L"MP3 TAG", BS_GROUPBOX, 0, 0, kFrameWidth, 3465,
          Font::Regular);

  picture1_ = Container(kPicture1, 0, 5805, kClientWidth, kPanelHeight);
  constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;
  constexpr DWORD kCheck = BS_AUTOCHECKBOX | WS_TABSTOP;
  command2_ = Control(picture1_, kCommand2, L"BUTTON", L"&Ok", kButton, 1995, 480, 1185, 345,
                      Font::Regular);
  command1_ = Control(picture1_, kCommand1, L"BUTTON", L"&Cancel", kButton, 3240, 480, 1185, 345,
                      Font::Regular);
  command3_ = Control(picture1_, kCommand3, L"BUTTON", L"&Delete tag", kButton, 75, 480, 1185, 345,
                      Font::Regular);
  check2_ = Control(picture1_, kCheck2, L"BUTTON", L"Hide file information", kCheck, 2595, 45, 1815,
                    195, Font::Regular);
  check1_ = Control(picture1_, kCheck1, L"BUTTON", L"Disable window animations.", kCheck, 105, 45,
                    2265, 195, Font::Regular);
  placed_.push_back(
      {CreateLine3d(picture1_, kLine3d2, 0, 0, 0, 0), {105, 315, 4305, 30}, Font::None});

  frame2_ = Container(kFrame2, 90, 3600, kFrameWidth, 2130);
  command4_ =
      Control(frame2_, kCommand4, L"BUTTON", L"...", kButton, 3870, 1725, 390, 345, Font::Regular);
  NameCommand4();
  struct Row {
    const wchar_t* caption;
    int top;
    int value_left;
  };
  constexpr Row kRows[form1::kValueCount] = {
      {L"File:", 285, 450},       {L"Bitrate:", 480, 750},     {L"Emphasis:", 675, 960},
      {L"Duration:", 870, 900},   {L"Frequency:", 1065, 1050}, {L"Layer:", 1260, 630},
      {L"File size:", 1455, 825}, {L"Mode:", 1650, 630},       {L"Mpeg version:", 1845, 1305},
  };
  for (std::size_t i = 0; i < form1::kValueCount; ++i) {
    const int id = static_cast<int>(i);
    captions_[i] = Label(frame2_, kLabel2 + id, kRows[i].caption, 90, kRows[i].top, true);
    label3_[i] = Label(frame2_, kLabel3 + id, L"", kRows[i].value_left, kRows[i].top, false);
  }
  Control(frame2_, kFrame2Box, L"BUTTON", L"File information", BS_GROUPBOX, 0, 0, kFrameWidth, 2130,
          Font::Regular);

  HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
  if (tip) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = frame2_;
    tool.uId = reinterpret_cast<UINT_PTR>(command4_);
    tool.lpszText = const_cast<wchar_t*>(kPlayTip);
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

// The button's own text, "...", says nothing: a screen reader announces the
// name annotated here instead (Microsoft Active Accessibility's direct
// annotation).
void Form1::NameCommand4() {
  IAccPropServices* services = nullptr;
  if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IAccPropServices, reinterpret_cast<void**>(&services))))
    return;
  acc_props_.reset(services);
  services->SetHwndPropStr(command4_, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME, kPlayTip);
}

void Form1::Layout() {
  for (const Placed& p : placed_) {
    if (p.font != Font::None)
      SendMessageW(p.window, WM_SETFONT,
                   reinterpret_cast<WPARAM>(p.font == Font::Bold ? bold_font_.get() : font_.get()),
                   FALSE);
    SetWindowPos(p.window, nullptr, Twips(p.twips.left), Twips(p.twips.top), Twips(p.twips.right),
                 Twips(p.twips.bottom), SWP_NOZORDER | SWP_NOACTIVATE);
    if (p.twips.right == 0) SetLabel(p.window, win::WindowText(p.window));
  }
  // Where the font on this system is wider than the one the layout was made
  // with, a value moves right rather than hide under its caption.
  for (std::size_t i = 0; i < label3_.size(); ++i) {
    RECT r{};
    GetWindowRect(captions_[i], &r);
    POINT caption_right{r.right, r.top};
    ScreenToClient(frame2_, &caption_right);
    const POINT at = TopLeftIn(label3_[i], frame2_);
    SetWindowPos(label3_[i], nullptr, std::max(at.x, caption_right.x + Twips(kCaptionGap)), at.y, 0,
                 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // The client area is as wide as the design, whatever the frame takes.
  RECT outer{}, client{};
  GetWindowRect(hwnd_, &outer);
  GetClientRect(hwnd_, &client);
  SetWindowPos(hwnd_, nullptr, 0, 0,
               Twips(kClientWidth) + (outer.right - outer.left) - client.right,
               outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetfileInfoState();
  OnSize();
}

void Form1::Form_Load() {
  RunStep([&] { animater_.emplace(); });
  form::Preferences stored;
  RunStep([&] {
    stored = form::ReadPreferences([](std::string_view key) -> std::optional<std::string> {
      return win::GetSetting(form::kAppTitle, form::kSettingsSection, key);
    });
  });
  RunStep([&] {
    SendMessageW(check1_, BM_SETCHECK, stored.no_animations ? BST_CHECKED : BST_UNCHECKED, 0);
  });
  RunStep([&] {
    if (stored.no_file_info != Checked(check2_)) {
      SendMessageW(check2_, BM_SETCHECK, stored.no_file_info ? BST_CHECKED : BST_UNCHECKED, 0);
      Check2_Click();
    }
  });
  RunStep([&] { SetfileInfoState(); });
  RunStep([&] { win::SetWindowTextUtf8(hwnd_, form::Caption(kAppVersion)); });
  // Centred on the work area of the monitor the window starts on.
  RunStep([&] { win::CentreOnWorkArea(hwnd_); });
  RunStep([&] { ClearTexts(); });
  RunStep([&] {
    ComboList list(combo1_);
    FillGenreList(list);
  });
  RunStep([&] {
    const std::string text = win::ArgumentText();
    if (text.empty()) return;
    const form::Argument arg = form::CleanArgument(text);
    if (arg.no_play) EnableWindow(command4_, FALSE);
    LoadTag(arg.path);
  });
  RunStep([&] {
    if (!Checked(check1_) && animater_)
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

void Form1::Form_Unload() {
  if (!Checked(check1_) && animater_)
    animater_->Animate(hwnd_, kFormAnimationMilliseconds, kCloseAnimation);
  for (const auto& [key, text] : form::StoredPreferences({Checked(check1_), Checked(check2_)}))
    win::SaveSetting(form::kAppTitle, form::kSettingsSection, key, text);
  animater_.reset();
}

// Every way of closing comes here: the commands, Esc and the close box.
void Form1::Unload() {
  if (unloading_ || !hwnd_) return;
  unloading_ = true;
  Form_Unload();
  if (acc_props_) {
    acc_props_->ClearHwndProps(command4_, OBJID_CLIENT, CHILDID_SELF, &PROPID_ACC_NAME, 1);
    acc_props_.reset();
  }
  DestroyWindow(hwnd_);
}

void Form1::ClearTexts() {
  for (HWND text : text1_) SetWindowTextW(text, L"");
  for (HWND value : label3_) SetLabel(value, "");
}

void Form1::SetfileInfoState() {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  const int height = Checked(check2_) ? Twips(kShortHeight) : Twips(kTallHeight);
  SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1::LoadTag(const std::string& FileName) {
  if (const auto refused = doc_.Load(FileName)) {
    SetValue(0, std::string(form::kNoFileOpenValue));
    ShowMessage(*refused);
    return;
  }
  genre_chosen_ = false;
  ShowInputs(doc_.Shown());
  FillPanel();
}

void Form1::ShowInputs(const form::TagInputs& inputs) {
  for (std::size_t i = 0; i < form::kTextCount; ++i)
    win::SetWindowTextUtf8(text1_[i], inputs.text[i]);
  SendMessageW(combo1_, CB_SETCURSEL, static_cast<WPARAM>(inputs.genre_index), 0);
}

form::TagInputs Form1::ReadInputs() const {
  form::TagInputs inputs;
  for (std::size_t i = 0; i < form::kTextCount; ++i) inputs.text[i] = win::WindowText(text1_[i]);
  inputs.genre_index = static_cast<int>(SendMessageW(combo1_, CB_GETCURSEL, 0, 0));
  inputs.genre_text = win::ComboItemText(combo1_, inputs.genre_index);
  inputs.genre_chosen = genre_chosen_;
  return inputs;
}

void Form1::SetValue(std::size_t index, const std::string& text) {
  SetLabel(label3_.at(index), text);
}

void Form1::ShowPath() {
  RECT frame{};
  GetClientRect(frame2_, &frame);
  const int width =
      frame.right - TopLeftIn(label3_[0], frame2_).x - TopLeftIn(captions_[0], frame2_).x;
  std::string shown;
  {
    // The path is measured in the font it is shown in.
    gdi::WindowDc dc(hwnd_);
    gdi::Selection font(dc.get(), font_.get());
    shown = CompactPath(doc_.CurrentFile(), width, dc.get());
  }
  SetValue(0, shown);
}

void Form1::FillPanel() {
  ShowPath();
  clsMP3Info info;
  info.LoadMP3(doc_.CurrentFile());
  // A file with no audio frame still has a size: show it, not the 0 of an
  // empty load.
  const auto values = form::AudioValues(info, doc_.FileSize(), win::DecimalSeparator());
  for (std::size_t i = 0; i < values.size(); ++i) SetValue(i + 1, values[i]);
}

int Form1::ShowMessage(const form::Message& message) {
  return MessageBoxW(hwnd_, win::Widen(message.text).c_str(), win::Widen(message.caption).c_str(),
                     MessageBoxStyle(message));
}

void Form1::Command1_Click() { Unload(); }

void Form1::Command2_Click() {
  if (const auto message = doc_.Save(ReadInputs()))
    ShowMessage(*message);
  else
    Unload();
}

void Form1::Command3_Click() {
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

void Form1::Command4_Click() { ShellOpenFile(doc_.CurrentFile(), "", hwnd_, "", ""); }

void Form1::mnuAbout_Click() {
  const std::string text = form::AboutText(kAppVersion);
  ShowMessage({text, form::kAppTitle, form::Icon::Information, form::Buttons::Ok});
}

// The user chose an entry of the genre list, by mouse or keyboard.
void Form1::Combo1_Click() { genre_chosen_ = true; }

// A file dropped from Explorer is taken with the checks of the command line;
// a refused one leaves the file on screen as it is.
void Form1::Form_OLEDragDrop(const std::string& path) {
  if (!form::IsAcceptedPath(path)) {
    ShowMessage(form::kInvalidFile);
    return;
  }
  LoadTag(path);
}

// The window moved to a monitor of another DPI (or the user changed it): the
// same twips at the new DPI, in fonts made for it, in the rectangle the
// system suggests.
void Form1::Form_DpiChanged(int dpi, const RECT& suggested) {
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

void Form1::Check2_Click() { SetfileInfoState(); }

void Form1::Text1_KeyPress(std::int16_t Index, std::int16_t& KeyAscii) {
  if (KeyAscii != VK_RETURN) return;
  KeyAscii = 0;
  SetFocus(Input(form::NextOnEnter(static_cast<std::size_t>(Index))));
}

void Form1::Combo1_KeyPress(std::int16_t& KeyAscii) {
  if (KeyAscii != VK_RETURN) return;
  KeyAscii = 0;
  SetFocus(Input(form::NextOnEnter(form::kGenreList)));
}

HWND Form1::Input(std::size_t index) const {
  return index == form::kGenreList ? combo1_ : text1_.at(index);
}

void Form1::Text1_GotFocus(std::int16_t Index) {
  HWND text = text1_[static_cast<std::size_t>(Index)];
  SendMessageW(text, EM_SETSEL, 0, GetWindowTextLengthW(text));
}

LRESULT Form1::Text1_Change(std::size_t Index, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND box = text1_[Index];
  const std::string before = win::WindowText(box);
  const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
  const std::string typed = win::WindowText(box);
  if (typed == before) return result;
  DWORD caret = 0;
  SendMessageW(box, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
  const form::BoxText fitted =
      doc_.Fit(form::TextIndex(Index), before, typed,
               win::Narrow(std::wstring_view(win::Widen(typed)).substr(0, caret)).size());
  if (fitted.text != typed) {
    win::SetWindowTextUtf8(box, fitted.text);
    const auto at = static_cast<WPARAM>(win::Widen(fitted.text.substr(0, fitted.caret)).size());
    SendMessageW(box, EM_SETSEL, at, static_cast<LPARAM>(at));
  }
  return result;
}

void Form1::OnSize() {
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int height = Twips(kPanelHeight);
  MoveWindow(picture1_, 0, client.bottom - height, client.right, height, TRUE);
}

void Form1::OnCommand(int id, int code) {
  switch (id) {
  case kCommand1: Command1_Click(); return;
  case kCommand2: Command2_Click(); return;
  case kCommand3: Command3_Click(); return;
  case kCommand4: Command4_Click(); return;
  case kCheck2: Check2_Click(); return;
  case kMnuAbout: mnuAbout_Click(); return;
  case IDCANCEL: Command1_Click(); return;
  case IDOK:
    // Enter on a button the mouse focused, which the dialog manager has not
    // made the default one: press it all the same.
    if (HWND focus = GetFocus();
        focus == command1_ || focus == command2_ || focus == command3_ || focus == command4_)
      OnCommand(GetDlgCtrlID(focus), BN_CLICKED);
    return;
  case kCombo1:
    // Browsing the dropped list is no choice until it closes on an entry.
    if (code == CBN_SELENDOK ||
        (code == CBN_SELCHANGE && !SendMessageW(combo1_, CB_GETDROPPEDSTATE, 0, 0)))
      Combo1_Click();
    return;
  default: break;
  }
  if (id >= kText1 && id < kText1 + form1::kTextCount && code == EN_SETFOCUS)
    Text1_GotFocus(static_cast<std::int16_t>(id - kText1));
}

LRESULT Form1::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
  case WM_SIZE: OnSize(); return 0;
  case WM_CLOSE: Unload(); return 0;
  case WM_DESTROY: PostQuitMessage(0); return 0;
  case WM_DROPFILES: {
    const auto drop = reinterpret_cast<HDROP>(wParam);
    std::wstring path(DragQueryFileW(drop, 0, nullptr, 0) + 1, L'\0');
    path.resize(DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size())));
    DragFinish(drop);
    Form_OLEDragDrop(win::Narrow(path));
    return 0;
  }
  case WM_DPICHANGED:
    Form_DpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
    return 0;
  default: break;
  }
  return Default(hwnd_, message, wParam, lParam);
}

Form1* Form1::Attach(HWND window, const CREATESTRUCTW& create) {
  auto* self = static_cast<Form1*>(create.lpCreateParams);
  self->hwnd_ = window;
  return self;
}

// The object outlives its window: a handler that closed it (a close request
// during the load's message box among them) returns through it.
void Form1::Detach() { hwnd_ = nullptr; }

LRESULT Form1::Default(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefDlgProcW(window, message, wParam, lParam);
}

// The containers pass their controls' notifications on to the window.
LRESULT CALLBACK Form1::ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND || message == WM_NOTIFY)
    return SendMessageW(GetParent(window), message, wParam, lParam);
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK Form1::InputProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                  UINT_PTR index, DWORD_PTR form) {
  auto* self = reinterpret_cast<Form1*>(form);
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
      auto key = static_cast<std::int16_t>(wParam);
      if (index == kComboInput) {
        self->Combo1_KeyPress(key);
        return key == 0 ? 0 : DefSubclassProc(window, message, wParam, lParam);
      }
      self->Text1_KeyPress(static_cast<std::int16_t>(index), key);
      if (key == 0) return 0;
      return self->Text1_Change(index, message, static_cast<std::uint16_t>(key), lParam);
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
      if (index != kComboInput) return self->Text1_Change(index, message, wParam, lParam);
      break;
    case WM_NCDESTROY: RemoveWindowSubclass(window, InputProc, index); break;
    default: break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
  } catch (...) {
    return 0;
  }
}

HWND ShowForm1() {
  if (!g_form1) g_form1 = std::make_unique<Form1>();
  g_form1->Show();
  return g_form1 ? g_form1->Window() : nullptr;
}

} // namespace id3
