// The window effects on real windows: the animation's replacement procedure and
// its frames; the separator's painting and thickness.
#include "dib_win32.h"
#include "effects/animater_win32.h"
#include "effects/line3d_win32.h"
#include "effects/window_animation_win32.h"
#include "wingui/gdi_win32.h"
#include "wingui/window_win32.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace id3 {
namespace {

constexpr COLORREF kGrey = RGB(128, 128, 128), kWhite = RGB(255, 255, 255);
constexpr COLORREF kNone = RGB(255, 0, 255);

// What the window's own procedure saw. duringAnimation runs once, inside the
// WM_SHOWWINDOW that AnimateWindow causes: the one moment under Wine when the
// replacement is surely installed.
struct Seen {
  std::function<void(HWND)> duringAnimation;
  COLORREF pixelWhenPrinted = CLR_INVALID;
  bool propertiesAtNcDestroy = true;
} g_seen;

bool HasProperties(HWND window) {
  return GetPropW(window, L"PrevProc") || GetPropW(window, L"Animating");
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
  default: break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

class Effects : public ::testing::Test {
protected:
  void SetUp() override {
    g_seen = {};
    ASSERT_EQ(gdi::ScreenResolution().x, 96);
    static const ATOM atom = win::RegisterWindowClass(
        {L"effects_test", &OwnProc, reinterpret_cast<HBRUSH>(INT_PTR{COLOR_BTNFACE + 1})});
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

TEST_F(Effects, AnimationsReplaceTheProcedureOnlyWhilePlayingAndPaintTheirFrames) {
  const test::Dib dib(380, 180, kNone);
  LRESULT printed = 0;
  bool installed = false, nested = true;
  g_seen.duringAnimation = [&](HWND window) {
    installed = ProcOf(window) == &AnimWindowProc && GetPropW(window, L"Animating") &&
                GetPropW(window, L"PrevProc") == reinterpret_cast<HANDLE>(&OwnProc);
    // One started meanwhile plays through the replacement in place (and here
    // AnimateWindow refuses it: there is nothing to hide yet).
    nested = Play(kCloseAnimation);
    printed = SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.dc()), PRF_CLIENT);
  };
  EXPECT_TRUE(Play(kOpenAnimation));
  EXPECT_TRUE(installed && !nested);
  // The class colour over the client area, nothing outside it; the window's
  // own procedure got the request after the painting, and the answers came
  // back unchanged.
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(dib.CountOther(0, 0, 320, 150, face) + dib.CountOther(320, 0, 380, 180, kNone) +
                dib.CountOther(0, 150, 320, 180, kNone),
            0);
  EXPECT_TRUE(g_seen.pixelWhenPrinted == face && printed == 0x77);
  EXPECT_TRUE(ProcOf(window_) == &OwnProc && !HasProperties(window_) && IsWindowVisible(window_));

  // Closing hides the window.
  EXPECT_TRUE(Play(kCloseAnimation) && !IsWindowVisible(window_));
  // Destroyed meanwhile, a window loses both properties; no window, no animation.
  g_seen.duringAnimation = [](HWND window) { DestroyWindow(window); };
  Play(kOpenAnimation);
  EXPECT_FALSE(IsWindow(window_) || g_seen.propertiesAtNcDestroy || Play(kOpenAnimation));
}

// The separator paints its two lines, on screen and printed, and keeps its 30
// twips as it is resized. It takes them at the DPI its window lays itself out
// at, and lays itself out again when that window tells it that its DPI
// changed: halves to the even neighbour, the second line on the pixel holding
// the 15-twip mark.
TEST_F(Effects, TheSeparatorPaintsKeepsItsThicknessAndFollowsTheDpiOfItsWindow) {
  // Shown without activation: with no window manager, Wine waits two seconds
  // for the focus to move when an active window goes.
  ShowWindow(window_, SW_SHOWNA);
  line_ = CreateLine3d(window_, 38, 7, 21, 287, 2); // the editor's: 4305 x 30 twips
  EXPECT_TRUE(Sized(287, 2) && Rows({kGrey, kWhite}) == 0);
  // Printed, as a window animation captures it, the same.
  const test::Dib dib(287, 2, kNone);
  SendMessageW(line_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.dc()), PRF_CLIENT);
  EXPECT_EQ(dib.CountOther(0, 0, 287, 1, kGrey) + dib.CountOther(0, 1, 287, 2, kWhite), 0);
  // 200 twips high: the layout's own resize runs a nested layout.
  SetWindowPos(line_, nullptr, 0, 0, 287, 13, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_TRUE(Sized(287, 2) && Rows({kGrey, kWhite}) == 0);

  win::SetWindowDpi(window_, 192);
  SendMessageW(line_, win::kDpiChangedAfterParent, 0, 0);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_TRUE(Sized(287, 4) && Rows({kGrey, face, kWhite, face}) == 0);
  EXPECT_EQ(win::WindowDpi(line_), 192);
  // Without a record, the system's figure, which is the screen's here.
  win::SetWindowDpi(window_, 0);
  EXPECT_EQ(win::WindowDpi(line_), 96);
}

} // namespace
} // namespace id3
