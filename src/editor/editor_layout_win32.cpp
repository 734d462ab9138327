// The editor window's controls and where they go: the control table, in
// twips, and its layout at the window's DPI.
#include "editor/editor_controls.h"
#include "editor/editor_window_win32.h"
#include "effects/line3d_win32.h"
#include "tools/wintext_win32.h"
#include "wingui/units.h"
#include "wingui/window_win32.h"

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>

namespace id3 {

using namespace editor_ids;

namespace {

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

} // namespace

int EditorWindow::Twips(int twips) const { return TwipsToPixels(twips, dpi_); }

void EditorWindow::MakeFonts() {
  font_ = win::CreateUiFont(kFontFace, kFontTwips, false, dpi_);
  bold_font_ = win::CreateUiFont(kFontFace, kFontTwips, true, dpi_);
}

// A frame's group box is a child that leaves its inside unpainted, so a
// container must not clip its children away from its own background.
HWND EditorWindow::Container(int id, int x, int y, int width, int height) {
  HWND container = CreateWindowExW(WS_EX_CONTROLPARENT, kContainerClassName, L"",
                                   WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0, hwnd_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleW(nullptr), nullptr);
  placed_.push_back({container, {x, y, width, height}, Font::None});
  return container;
}

HWND EditorWindow::Control(HWND parent, int id, const wchar_t* cls, const wchar_t* text,
                           DWORD style, int x, int y, int width, int height, Font font,
                           DWORD ex_style) {
  HWND control = CreateWindowExW(
      ex_style, cls, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, 0, 0, 0, 0, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  placed_.push_back({control, {x, y, width, height}, font});
  return control;
}

// A label's width is left 0 here: it sizes itself to its text.
HWND EditorWindow::Label(HWND parent, int id, const wchar_t* text, int x, int y, bool bold) {
  return Control(parent, id, L"STATIC", text, SS_LEFT | SS_NOPREFIX, x, y, 0, kLabelHeight,
                 bold ? Font::Bold : Font::Regular);
}

// Labels size themselves to their text, in the font they show it in.
void EditorWindow::SetLabel(HWND label, const std::string& shown) {
  const std::wstring text = win::Widen(shown);
  SetWindowTextW(label, text.c_str());
  SIZE extent{};
  {
    gdi::WindowDc dc(label);
    gdi::Selection font(dc.get(), win::ControlFont(label));
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
  }
  SetWindowPos(label, nullptr, 0, 0, extent.cx, Twips(kLabelHeight),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Creation order is z-order and tab order: within each container the inputs
// (each after its caption) come first and the group box last, and the bottom
// panel lies above the information frame, which it covers when the window is
// short.
void EditorWindow::CreateControls() {
  tag_frame_ = Container(kTagFrame, 90, 120, kFrameWidth, 3465);
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
    Label(tag_frame_, kInputCaptions + row, r.caption, kInputLeft, r.caption_top, true);
    if (r.text == form::kTextCount) {
      genre_list_ = Control(tag_frame_, kGenreBox, L"COMBOBOX", L"",
                            CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, kInputLeft, r.input_top,
                            kInputWidth, 315 * kComboDropItems / 2, Font::Regular);
      SetWindowSubclass(genre_list_, InputProc, form::kGenreList,
                        reinterpret_cast<DWORD_PTR>(this));
      continue;
    }
    text_boxes_[r.text] =
        Control(tag_frame_, kTextBoxes + static_cast<int>(r.text), L"EDIT", L"", kEdit, kInputLeft,
                r.input_top, kInputWidth, kTextHeight, Font::Regular, WS_EX_CLIENTEDGE);
    SetWindowSubclass(text_boxes_[r.text], InputProc, r.text, reinterpret_cast<DWORD_PTR>(this));
  }
  Control(tag_frame_, kTagFrameBox, L"BUTTON", L"MP3 TAG", BS_GROUPBOX, 0, 0, kFrameWidth, 3465,
          Font::Regular);

  bottom_panel_ = Container(kBottomPanel, 0, 5805, kClientWidth, kPanelHeight);
  constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;
  constexpr DWORD kCheck = BS_AUTOCHECKBOX | WS_TABSTOP;
  ok_button_ = Control(bottom_panel_, kOkButton, L"BUTTON", L"&Ok", kButton, 1995, 480, 1185, 345,
                       Font::Regular);
  cancel_button_ = Control(bottom_panel_, kCancelButton, L"BUTTON", L"&Cancel", kButton, 3240, 480,
                           1185, 345, Font::Regular);
  delete_button_ = Control(bottom_panel_, kDeleteButton, L"BUTTON", L"&Delete tag", kButton, 75,
                           480, 1185, 345, Font::Regular);
  hide_info_box_ = Control(bottom_panel_, kHideInfoBox, L"BUTTON", L"Hide file information", kCheck,
                           2595, 45, 1815, 195, Font::Regular);
  no_animations_box_ =
      Control(bottom_panel_, kNoAnimationsBox, L"BUTTON", L"Disable window animations.", kCheck,
              105, 45, 2265, 195, Font::Regular);
  placed_.push_back(
      {CreateLine3d(bottom_panel_, kSeparator, 0, 0, 0, 0), {105, 315, 4305, 30}, Font::None});

  info_frame_ = Container(kInfoFrame, 90, 3600, kFrameWidth, 2130);
  play_button_ = Control(info_frame_, kPlayButton, L"BUTTON", L"...", kButton, 3870, 1725, 390, 345,
                         Font::Regular);
  NamePlayButton();
  struct Row {
    const wchar_t* caption;
    int top;
    int value_left;
  };
  constexpr Row kRows[editor_ids::kValueCount] = {
      {L"File:", 285, 450},       {L"Bitrate:", 480, 750},     {L"Emphasis:", 675, 960},
      {L"Duration:", 870, 900},   {L"Frequency:", 1065, 1050}, {L"Layer:", 1260, 630},
      {L"File size:", 1455, 825}, {L"Mode:", 1650, 630},       {L"Mpeg version:", 1845, 1305},
  };
  for (std::size_t i = 0; i < editor_ids::kValueCount; ++i) {
    const int id = static_cast<int>(i);
    info_captions_[i] =
        Label(info_frame_, kInfoCaptions + id, kRows[i].caption, 90, kRows[i].top, true);
    info_values_[i] =
        Label(info_frame_, kInfoValues + id, L"", kRows[i].value_left, kRows[i].top, false);
  }
  Control(info_frame_, kInfoFrameBox, L"BUTTON", L"File information", BS_GROUPBOX, 0, 0,
          kFrameWidth, 2130, Font::Regular);

  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
  if (tooltip_) win::AddTooltip(tooltip_, info_frame_, play_button_, kPlayTip);
}

// The button's own text, "...", says nothing: a screen reader announces the
// name annotated here instead (Microsoft Active Accessibility's direct
// annotation).
void EditorWindow::NamePlayButton() {
  IAccPropServices* services = nullptr;
  if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IAccPropServices, reinterpret_cast<void**>(&services))))
    return;
  acc_props_.reset(services);
  services->SetHwndPropStr(play_button_, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME, kPlayTip);
}

void EditorWindow::Layout() {
  for (const Placed& p : placed_) {
    if (p.font != Font::None)
      win::SetControlFont(p.window, p.font == Font::Bold ? bold_font_.get() : font_.get());
    SetWindowPos(p.window, nullptr, Twips(p.twips.left), Twips(p.twips.top), Twips(p.twips.right),
                 Twips(p.twips.bottom), SWP_NOZORDER | SWP_NOACTIVATE);
    if (p.twips.right == 0) SetLabel(p.window, win::WindowText(p.window));
  }
  // Where the font on this system is wider than the one the layout was made
  // with, a value moves right rather than hide under its caption.
  for (std::size_t i = 0; i < info_values_.size(); ++i) {
    RECT r{};
    GetWindowRect(info_captions_[i], &r);
    POINT caption_right{r.right, r.top};
    ScreenToClient(info_frame_, &caption_right);
    const POINT at = win::TopLeftIn(info_values_[i], info_frame_);
    SetWindowPos(info_values_[i], nullptr, std::max(at.x, caption_right.x + Twips(kCaptionGap)),
                 at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // The client area is as wide as the design, whatever the frame takes.
  RECT outer{}, client{};
  GetWindowRect(hwnd_, &outer);
  GetClientRect(hwnd_, &client);
  SetWindowPos(hwnd_, nullptr, 0, 0,
               Twips(kClientWidth) + (outer.right - outer.left) - client.right,
               outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  FitHeightToInfoPanel();
  OnSize();
}

void EditorWindow::FitHeightToInfoPanel() {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  const int height = win::IsChecked(hide_info_box_) ? Twips(kShortHeight) : Twips(kTallHeight);
  SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void EditorWindow::OnSize() {
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int height = Twips(kPanelHeight);
  MoveWindow(bottom_panel_, 0, client.bottom - height, client.right, height, TRUE);
}

} // namespace id3
