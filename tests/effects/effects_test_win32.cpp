// The window effects on real windows: the animation's replacement procedure and
// its frames; the separator's painting, thickness and notifications.
#include "dib_win32.h"
#include "effects/animater_win32.h"
#include "effects/gdi_win32.h"
#include "effects/line3d_win32.h"
#include "effects/window_win32.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace id3 {
namespace {

constexpr COLORREF kGrey = RGB(128, 128, 128), kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0), kNone = RGB(255, 0, 255);

// What the window's own procedure saw. duringAnimation runs once, inside the
// WM_SHOWWINDOW that AnimateWindow causes: the one moment under Wine when the
// replacement is surely installed.
struct Seen {
  std::function<void(HWND)> duringAnimation;
  COLORREF pixelWhenPrinted = CLR_INVALID;
  bool propertiesAtNcDestroy = true;
  std::vector<Line3dMouseEvent> mouse;
  std::vector<std::string> changed;
} g_seen;

bool HasProperties(HWND window) {
  return GetPropW(window, L"PrevProc") || GetPropW(window, L"FormObject");
}

WNDPROC ProcOf(HWND window) {
  return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
}

LRESULT CALLBACK OwnProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_PRINTCLIENT:
    g_seen.pixelWhenPrinted = GetPixel(reinterpret_cast<HDC>(wParam), 100, 100);
    return 0x77;
  case WM_SHOWWINDOW:
    if (auto run = std::exchange(g_seen.duringAnimation, nullptr)) run(window);
    break;
  case WM_NCDESTROY: g_seen.propertiesAtNcDestroy = HasProperties(window); break;
  case WM_NOTIFY:
    if (reinterpret_cast<const NMHDR*>(lParam)->code == kLine3dPropertyChanged)
      g_seen.changed.emplace_back(reinterpret_cast<const Line3dPropertyChange*>(lParam)->Property);
    else
      g_seen.mouse.push_back(*reinterpret_cast<const Line3dMouseEvent*>(lParam));
    return 0;
  default: break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

class Effects : public ::testing::Test {
protected:
  void SetUp() override {
    g_seen = {};
    ASSERT_EQ(gdi::ScreenResolution().x, 96);
    static const ATOM atom = [] {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = &OwnProc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
      wc.lpszClassName = L"effects_test";
      return RegisterClassExW(&wc);
    }();
    // Hidden, in button face, its client area 320 x 150 pixels, as the editor is.
    window_ = CreateWindowExW(0, MAKEINTATOM(atom), L"", WS_POPUP, 50, 50, 320, 150, nullptr,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override { DestroyWindow(window_); }
  bool Play(DWORD flags) { return animater_.Animate(window_, kFormAnimationMilliseconds, flags); }

  bool Sized(int width, int height) const {
    RECT r{};
    return GetClientRect(line_, &r) && r.right == width && r.bottom == height;
  }
  // Pixels of the separator's rows, as painted on screen, off their colours.
  int Rows(std::initializer_list<COLORREF> colours) const {
    UpdateWindow(line_);
    const gdi::WindowDc dc(line_);
    int off = 0, y = 0;
    for (const COLORREF colour : colours) {
      for (int x = 0; x < 287; ++x) off += GetPixel(dc.get(), x, y) != colour;
      ++y;
    }
    return off;
  }

  HWND window_ = nullptr;
  HWND line_ = nullptr;
  Animater animater_;
};

// A window offering its own background colour and a one-inch picture.
class PictureForm final : public AnimatedForm {
public:
  PictureForm(HWND window, HBITMAP bitmap) : window_(window), bitmap_(bitmap) {}
  HWND Window() const override { return window_; }
  std::uint32_t BackColor() const override { return 0x00336699; }
  FormPicture Picture() const override { return {bitmap_, 2540, 2540}; }
  void Refresh() override { ++refreshes; }
  int refreshes = 0;

private:
  HWND window_;
  HBITMAP bitmap_;
};

TEST_F(Effects, AnimationsReplaceTheProcedureOnlyWhilePlayingAndPaintTheirFrames) {
  const COLORREF back = RGB(0x99, 0x66, 0x33);
  // Red, and larger than the inch, so that only the picture's size limits the copy.
  const std::vector<std::uint32_t> bits(128 * 128, 0xFF0000);
  const gdi::UniqueBitmap bitmap(CreateBitmap(128, 128, 1, 32, bits.data()));
  PictureForm form(window_, bitmap.get());
  const test::Dib dib(380, 180, kNone);
  LRESULT printed = 0;
  bool installed = false, nested = true;
  g_seen.duringAnimation = [&](HWND window) {
    installed = ProcOf(window) == &AnimWindowProc && GetPropW(window, L"FormObject") == &form &&
                GetPropW(window, L"PrevProc") == reinterpret_cast<HANDLE>(&OwnProc);
    // One started meanwhile plays through the replacement in place (and here
    // AnimateWindow refuses it: there is nothing to hide yet).
    nested = Play(kCloseAnimation);
    printed = SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.dc()), PRF_CLIENT);
  };
  EXPECT_TRUE(animater_.Animate(form, kFormAnimationMilliseconds, kOpenAnimation));
  EXPECT_TRUE(installed && !nested && form.refreshes == 1);
  // The picture in 96 x 96 pixels over the background, nothing outside the
  // client area; the window's own procedure got the request after the
  // painting, and the answers came back unchanged.
  EXPECT_EQ(dib.CountOther(0, 0, 96, 96, kRed) + dib.CountOther(96, 0, 320, 150, back) +
                dib.CountOther(0, 96, 96, 150, back) + dib.CountOther(320, 0, 380, 180, kNone) +
                dib.CountOther(0, 150, 320, 180, kNone),
            0);
  EXPECT_TRUE(g_seen.pixelWhenPrinted == back && printed == 0x77);
  EXPECT_TRUE(ProcOf(window_) == &OwnProc && !HasProperties(window_) && IsWindowVisible(window_));

  // Closing a plain window: its frames in its class colour.
  installed = false;
  g_seen.duringAnimation = [&](HWND window) {
    installed = ProcOf(window) == &AnimWindowProc;
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.dc()), PRF_CLIENT);
  };
  EXPECT_TRUE(Play(kCloseAnimation) && installed && !IsWindowVisible(window_));
  EXPECT_EQ(dib.CountOther(0, 0, 320, 150, GetSysColor(COLOR_BTNFACE)), 0);
  EXPECT_TRUE(ProcOf(window_) == &OwnProc && !HasProperties(window_));
  // Destroyed meanwhile, a window loses both properties; no window, no animation.
  g_seen.duringAnimation = [](HWND window) { DestroyWindow(window); };
  Play(kOpenAnimation);
  EXPECT_FALSE(IsWindow(window_) || g_seen.propertiesAtNcDestroy || Play(kOpenAnimation));
}

TEST_F(Effects, TheSeparatorPaintsKeepsItsThicknessAndTellsItsHost) {
  // Shown without activation: with no window manager, Wine waits two seconds
  // for the focus to move when an active window goes.
  ShowWindow(window_, SW_SHOWNA);
  line_ = CreateLine3d(window_, 38, 7, 21, 287, 2); // the editor's: 4305 x 30 twips
  Line3d& line = *Line3d::FromWindow(line_);
  EXPECT_TRUE(Sized(287, 2) && Rows({kGrey, kWhite}) == 0);
  // Printed, as a window animation captures it, the same.
  const test::Dib dib(287, 2, kNone);
  SendMessageW(line_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.dc()), PRF_CLIENT);
  EXPECT_EQ(dib.CountOther(0, 0, 287, 1, kGrey) + dib.CountOther(0, 1, 287, 2, kWhite), 0);
  // 200 twips high: the layout's own resize runs a nested layout.
  SetWindowPos(line_, nullptr, 0, 0, 287, 13, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_TRUE(Sized(287, 2) && Rows({kGrey, kWhite}) == 0);
  PropertyBag bag;
  bag.WriteProperty("Color1", 0x00FF00, kLine3dDefaultColor1);
  line.ReadProperties(bag);
  EXPECT_EQ(Rows({RGB(0, 255, 0), kWhite}), 0);
  line.Color2(0x0000FF); // red: only the second line is repainted
  RECT dirty{};
  EXPECT_TRUE(GetUpdateRect(line_, &dirty, FALSE) && dirty.left == 0 && dirty.top == 1 &&
              dirty.right == 287 && dirty.bottom == 2);
  EXPECT_EQ(Rows({RGB(0, 255, 0), kRed}), 0);
  line.Enabled(false);
  EXPECT_EQ(g_seen.changed, (std::vector<std::string>{"Color2", "Enabled"}));

  SendMessageW(line_, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(10, 1));
  const bool captured = GetCapture() == line_;
  SendMessageW(line_, WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON | MK_CONTROL, MAKELPARAM(20, 0));
  SendMessageW(line_, WM_RBUTTONUP, 0, MAKELPARAM(30, 1));
  EXPECT_TRUE(captured && GetCapture() != line_);
  std::vector<std::vector<float>> seen; // code, Button, Shift, X, Y (twips), from, id
  for (const Line3dMouseEvent& e : g_seen.mouse)
    seen.push_back({float(e.hdr.code), float(e.Button), float(e.Shift), e.X, e.Y,
                    float(e.hdr.hwndFrom == line_), float(e.hdr.idFrom)});
  EXPECT_EQ(seen, (std::vector<std::vector<float>>{{kLine3dMouseDown, 1, 1, 150, 15, 1, 38},
                                                   {kLine3dMouseMove, 3, 2, 300, 0, 1, 38},
                                                   {kLine3dMouseUp, 2, 0, 450, 15, 1, 38}}));
}

// The separator takes its twips at the DPI its window lays itself out at, and
// lays itself out again when that window tells it that its DPI changed: 30
// twips thick, halves to the even neighbour, the second line on the pixel
// holding the 15-twip mark.
TEST_F(Effects, TheSeparatorFollowsTheDpiOfItsWindow) {
  ShowWindow(window_, SW_SHOWNA);
  line_ = CreateLine3d(window_, 38, 7, 21, 287, 2);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  struct Case {
    int dpi;
    std::initializer_list<COLORREF> rows;
  };
  for (const auto& [dpi, rows] :
       {Case{120, {kGrey, kWhite}}, Case{144, {kGrey, kWhite, face}},
        Case{192, {kGrey, face, kWhite, face}}, Case{96, {kGrey, kWhite}}}) {
    win::SetWindowDpi(window_, dpi);
    SendMessageW(line_, win::kDpiChangedAfterParent, 0, 0);
    EXPECT_TRUE(Sized(287, int(rows.size())) && Rows(rows) == 0) << dpi;
    EXPECT_EQ(win::WindowDpi(line_), dpi);
  }
  // Mouse positions are told in twips at that DPI too.
  win::SetWindowDpi(window_, 192);
  SendMessageW(line_, WM_MOUSEMOVE, 0, MAKELPARAM(10, 1));
  ASSERT_EQ(g_seen.mouse.size(), 1u);
  EXPECT_TRUE(g_seen.mouse[0].X == 75 && g_seen.mouse[0].Y == 7.5f);
  // Without a record, the system's figure, which is the screen's here.
  win::SetWindowDpi(window_, 0);
  EXPECT_EQ(win::WindowDpi(line_), 96);
}

} // namespace
} // namespace id3
