#include "dib_win32.h"
#include "effects/animater_win32.h"
#include "effects/gdi_win32.h"
#include "effects/modanimate_win32.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace id3 {
namespace {

constexpr UINT kProbe = WM_APP + 7;
constexpr LRESULT kProbeResult = 0x5A5A;
constexpr LRESULT kPrintResult = 0x77;
constexpr COLORREF kUntouched = RGB(255, 0, 255);

// What the window's own procedure saw.
struct Seen {
  int printClients = 0;
  COLORREF pixelWhenPrinted = CLR_INVALID;
  WPARAM probeW = 0;
  LPARAM probeL = 0;
  bool ncDestroyed = false;
  bool propertiesGoneAtNcDestroy = false;
  // Runs once, inside the WM_SHOWWINDOW that AnimateWindow causes: the one
  // moment under Wine when the replacement procedure is surely installed.
  std::function<void(HWND)> duringAnimation;
};

bool HasAnimationProperties(HWND window) {
  return GetPropW(window, L"PrevProc") || GetPropW(window, L"FormObject");
}

LRESULT CALLBACK OwnProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* seen = reinterpret_cast<Seen*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (seen) {
    switch (message) {
    case WM_PRINTCLIENT:
      ++seen->printClients;
      seen->pixelWhenPrinted = GetPixel(reinterpret_cast<HDC>(wParam), 5, 5);
      return kPrintResult;
    case kProbe:
      seen->probeW = wParam;
      seen->probeL = lParam;
      return kProbeResult;
    case WM_SHOWWINDOW:
      if (auto run = std::exchange(seen->duringAnimation, nullptr)) run(window);
      break;
    case WM_NCDESTROY:
      seen->ncDestroyed = true;
      seen->propertiesGoneAtNcDestroy = !HasAnimationProperties(window);
      break;
    default: break;
    }
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

WNDPROC ProcOf(HWND window) {
  return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
}

// A window whose client area is 200 x 150 pixels, button face by its class.
HWND CreateTestWindow(Seen* seen) {
  static const ATOM atom = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &OwnProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = L"effects_test_animated";
    return RegisterClassExW(&wc);
  }();
  if (!atom) return nullptr;
  HWND window = CreateWindowExW(0, L"effects_test_animated", L"animated", WS_POPUP, 100, 100, 200,
                                150, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (window) SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(seen));
  return window;
}

gdi::UniqueBitmap SolidBitmap(int width, int height, COLORREF colour) {
  const std::vector<std::uint32_t> bits(static_cast<std::size_t>(width * height),
                                        (GetRValue(colour) << 16) | (GetGValue(colour) << 8) |
                                            GetBValue(colour));
  return gdi::UniqueBitmap(CreateBitmap(width, height, 1, 32, bits.data()));
}

// A window offering its own background colour and a picture.
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

class Animation : public ::testing::Test {
protected:
  void SetUp() override {
    window_ = CreateTestWindow(&seen_);
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override {
    if (IsWindow(window_)) DestroyWindow(window_);
  }

  Seen seen_;
  HWND window_ = nullptr;
  Animater animater_;
};

TEST_F(Animation, OpeningAndClosingLeaveTheProcedureAsItWas) {
  for (const DWORD flags : {kOpenAnimation, kCloseAnimation}) {
    bool installed = false;
    seen_.duringAnimation = [&](HWND window) {
      installed = ProcOf(window) == &AnimWindowProc &&
                  GetPropW(window, L"PrevProc") == reinterpret_cast<HANDLE>(&OwnProc) &&
                  GetPropW(window, L"FormObject") != nullptr;
    };
    EXPECT_TRUE(animater_.Animate(window_, kFormAnimationMilliseconds, flags)) << flags;
    EXPECT_TRUE(installed) << flags;
    EXPECT_EQ(ProcOf(window_), &OwnProc) << flags;
    EXPECT_FALSE(HasAnimationProperties(window_)) << flags;
    EXPECT_EQ(IsWindowVisible(window_) != FALSE, flags == kOpenAnimation);
  }
}

TEST_F(Animation, PrintRequestIsFilledWithTheBackgroundAndStillPassedOn) {
  LRESULT printed = 0, probed = 0;
  int notBackground = -1, touchedOutside = -1, reached = 0;
  COLORREF seenByOwnProc = CLR_INVALID;
  const COLORREF buttonFace = GetSysColor(COLOR_BTNFACE);
  seen_.duringAnimation = [&](HWND window) {
    const test::Dib dib(260, 180, kUntouched);
    const int before = seen_.printClients; // Windows sends frames of its own too
    printed = SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.dc()), PRF_CLIENT);
    reached = seen_.printClients - before;
    seenByOwnProc = seen_.pixelWhenPrinted;
    notBackground = dib.CountOther(0, 0, 200, 150, buttonFace);
    touchedOutside =
        dib.CountOther(200, 0, 260, 180, kUntouched) + dib.CountOther(0, 150, 200, 180, kUntouched);
    probed = SendMessageW(window, kProbe, 0x1234, 0x5678);
  };
  animater_.Animate(window_, kFormAnimationMilliseconds, kOpenAnimation);
  EXPECT_EQ(notBackground, 0);
  EXPECT_EQ(touchedOutside, 0);
  // The window's own procedure got the request after the fill, and its
  // answers came back unchanged.
  EXPECT_EQ(reached, 1);
  EXPECT_EQ(seenByOwnProc, buttonFace);
  EXPECT_EQ(printed, kPrintResult);
  EXPECT_EQ(probed, kProbeResult);
  EXPECT_EQ(seen_.probeW, 0x1234u);
  EXPECT_EQ(seen_.probeL, 0x5678);
}

TEST_F(Animation, PictureIsCopiedAtItsSizeInPixels) {
  ASSERT_EQ(gdi::ScreenResolution().x, 96);
  const COLORREF red = RGB(200, 30, 40);
  const COLORREF back = RGB(0x99, 0x66, 0x33); // OLE colour 0x00336699
  // Larger than one inch, so only the picture's own size limits the copy.
  const gdi::UniqueBitmap bitmap = SolidBitmap(128, 128, red);
  ASSERT_TRUE(bitmap);
  PictureForm form(window_, bitmap.get());
  int notPicture = -1, notBack = -1;
  seen_.duringAnimation = [&](HWND window) {
    const test::Dib dib(200, 150, kUntouched);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.dc()), PRF_CLIENT);
    notPicture = dib.CountOther(0, 0, 96, 96, red);
    notBack = dib.CountOther(96, 0, 200, 150, back) + dib.CountOther(0, 96, 96, 150, back);
  };
  EXPECT_TRUE(animater_.Animate(form, kFormAnimationMilliseconds, kOpenAnimation));
  EXPECT_EQ(notPicture, 0);
  EXPECT_EQ(notBack, 0);
  EXPECT_EQ(form.refreshes, 1);
  EXPECT_EQ(ProcOf(window_), &OwnProc);
  EXPECT_FALSE(HasAnimationProperties(window_));
}

TEST_F(Animation, AnAnimationStartedDuringAnotherDoesNotInstallTwice) {
  bool nestedPlayed = true, stillInstalled = false;
  seen_.duringAnimation = [&](HWND window) {
    // Not visible yet, so there is nothing to hide: AnimateWindow refuses.
    nestedPlayed = animater_.Animate(window, kFormAnimationMilliseconds, kCloseAnimation);
    stillInstalled = ProcOf(window) == &AnimWindowProc &&
                     GetPropW(window, L"PrevProc") == reinterpret_cast<HANDLE>(&OwnProc);
  };
  animater_.Animate(window_, kFormAnimationMilliseconds, kOpenAnimation);
  EXPECT_FALSE(nestedPlayed);
  EXPECT_TRUE(stillInstalled);
  EXPECT_EQ(ProcOf(window_), &OwnProc);
  EXPECT_FALSE(HasAnimationProperties(window_));
  EXPECT_EQ(SendMessageW(window_, kProbe, 1, 2), kProbeResult);
}

TEST_F(Animation, WindowDestroyedDuringTheAnimationLosesBothProperties) {
  ShowWindow(window_, SW_SHOWNA);
  seen_.duringAnimation = [](HWND window) { DestroyWindow(window); };
  animater_.Animate(window_, kFormAnimationMilliseconds, kCloseAnimation);
  EXPECT_FALSE(IsWindow(window_));
  EXPECT_TRUE(seen_.ncDestroyed);
  EXPECT_TRUE(seen_.propertiesGoneAtNcDestroy);
}

WNDPROC g_belowTop = nullptr;
int g_topCalls = 0;

LRESULT CALLBACK TopProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ++g_topCalls;
  return CallWindowProcW(g_belowTop, window, message, wParam, lParam);
}

TEST_F(Animation, SubclassAddedDuringTheAnimationStaysInTheChain) {
  g_topCalls = 0;
  seen_.duringAnimation = [](HWND window) {
    g_belowTop = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TopProc)));
  };
  animater_.Animate(window_, kFormAnimationMilliseconds, kOpenAnimation);
  EXPECT_EQ(ProcOf(window_), &TopProc);
  EXPECT_EQ(GetPropW(window_, L"FormObject"), nullptr); // the form pointer would dangle
  EXPECT_EQ(SendMessageW(window_, kProbe, 3, 4), kProbeResult);
  EXPECT_GT(g_topCalls, 0);
  EXPECT_EQ(seen_.probeW, 3u);
  DestroyWindow(window_);
  EXPECT_TRUE(seen_.propertiesGoneAtNcDestroy);
}

TEST_F(Animation, PlainWindowGivesItsClassColourAndNoWindowNoAnimation) {
  const auto setBrush = [&](HBRUSH brush) {
    SetClassLongPtrW(window_, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(brush));
  };
  EXPECT_EQ(WindowForm(window_).BackColor(), 0x8000000Fu);
  const gdi::UniqueBrush solid(CreateSolidBrush(RGB(1, 2, 3)));
  setBrush(solid.get());
  EXPECT_EQ(WindowForm(window_).BackColor(), RGB(1, 2, 3));
  setBrush(reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
  EXPECT_EQ(WindowForm(window_).BackColor(), 0x80000000u | COLOR_WINDOW);
  setBrush(nullptr);
  EXPECT_EQ(WindowForm(window_).BackColor(), 0x8000000Fu);
  setBrush(reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));

  DestroyWindow(window_);
  EXPECT_FALSE(animater_.Animate(window_, kFormAnimationMilliseconds, kOpenAnimation));
  EXPECT_FALSE(animater_.Animate(HWND{}, kFormAnimationMilliseconds, kOpenAnimation));
  // Another process's window (the desktop, already shown, so AnimateWindow
  // refuses) keeps its procedure and gets no properties left behind.
  const HWND desktop = GetDesktopWindow();
  ASSERT_NE(GetWindowThreadProcessId(desktop, nullptr), GetCurrentThreadId());
  EXPECT_FALSE(animater_.Animate(desktop, kFormAnimationMilliseconds, kOpenAnimation));
  EXPECT_FALSE(HasAnimationProperties(desktop));
}

TEST(AnimationUnits, ScreenConversionsAndColours) {
  ASSERT_EQ(gdi::ScreenResolution().x, 96);
  EXPECT_EQ(HimetricToPixels(2540), 96);
  EXPECT_EQ(OleColorToRgb(0x8000000F), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(OleColorToRgb(0x80000000u | COLOR_HIGHLIGHT), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(OleColorToRgb(0x00336699), 0x00336699u);
  EXPECT_EQ(OleColorToRgb(0x800000FF), 0u); // no such system colour
  EXPECT_EQ(OleColorToRgb(0x7F000000), 0u); // no such colour type
}

} // namespace
} // namespace id3
