#include "dib_win32.h"
#include "effects/gdi_win32.h"
#include "effects/line3d_win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace id3 {
namespace {

constexpr COLORREF kHost = RGB(0, 0, 0);
constexpr COLORREF kGrey = RGB(0x80, 0x80, 0x80);
constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
constexpr int kId = 38;

// What the host window received from its separators.
std::vector<Line3dMouseEvent> g_mouse;
std::vector<std::string> g_changed;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_NOTIFY) return DefWindowProcW(window, message, wParam, lParam);
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header->code == kLine3dPropertyChanged)
    g_changed.emplace_back(reinterpret_cast<const Line3dPropertyChange*>(lParam)->Property);
  else
    g_mouse.push_back(*reinterpret_cast<const Line3dMouseEvent*>(lParam));
  return 0;
}

class Line3dControl : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(gdi::ScreenResolution().y, 96);
    static const ATOM atom = [] {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = &HostProc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
      wc.lpszClassName = L"effects_test_host";
      return RegisterClassExW(&wc);
    }();
    host_ = CreateWindowExW(0, L"effects_test_host", L"host", WS_POPUP, 50, 50, 320, 120, nullptr,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(atom && host_);
    // Shown without activation: without a window manager, Wine waits two
    // seconds for the focus to move when an active window goes.
    ShowWindow(host_, SW_SHOWNA);
    g_mouse.clear();
    g_changed.clear();
  }
  void TearDown() override { DestroyWindow(host_); }

  // By default the editor's instance: 4305 x 30 twips at 105, 315.
  Line3d& Create(int width = 287, int height = 2, const PropertyBag& bag = {}) {
    control_ = CreateLine3d(host_, kId, 7, 21, width, height, bag);
    Line3d* line = Line3d::FromWindow(control_);
    EXPECT_NE(line, nullptr);
    return *line;
  }
  SIZE Size() const {
    RECT r{};
    GetClientRect(control_, &r);
    return {r.right, r.bottom};
  }
  // Pixels of a window as painted on screen, in [left, right) x [top, bottom),
  // that differ from colour.
  static int Other(HWND window, int left, int top, int right, int bottom, COLORREF colour) {
    UpdateWindow(window);
    const gdi::WindowDc dc(window);
    int other = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) other += GetPixel(dc.get(), x, y) != colour ? 1 : 0;
    return other;
  }
  int Row(int y, COLORREF colour) const { return Other(control_, 0, y, 287, y + 1, colour); }

  HWND host_ = nullptr;
  HWND control_ = nullptr;
};

TEST_F(Line3dControl, KeepsItsThicknessAndDrawsGreyOverWhite) {
  const Line3d& line = Create();
  EXPECT_EQ(Size().cx, 287);
  EXPECT_EQ(Size().cy, 2);
  EXPECT_EQ(Row(0, kGrey), 0);
  EXPECT_EQ(Row(1, kWhite), 0);
  EXPECT_EQ(line.Line1(1).Y1, 1);
  // Nothing spills onto the host: the rows above and below, the columns beside.
  EXPECT_EQ(Other(host_, 6, 20, 295, 21, kHost) + Other(host_, 6, 23, 295, 24, kHost) +
                Other(host_, 6, 21, 7, 23, kHost) + Other(host_, 294, 21, 295, 23, kHost),
            0);
  EXPECT_EQ(Line3d::FromWindow(host_), nullptr);

  // 200 twips high: the layout's own resize runs a nested layout.
  SetWindowPos(control_, nullptr, 0, 0, 287, 13, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(Size().cy, 2);
  EXPECT_EQ(Row(0, kGrey) + Row(1, kWhite), 0);
  EXPECT_EQ(Other(host_, 7, 23, 294, 34, kHost), 0);

  DestroyWindow(control_);
  const Line3d& square = Create(20, 20); // vertical, 30 twips wide
  EXPECT_EQ(Size().cx, 2);
  EXPECT_EQ(Size().cy, 20);
  EXPECT_EQ(Other(control_, 0, 0, 1, 20, kGrey) + Other(control_, 1, 0, 2, 20, kWhite), 0);
  EXPECT_EQ(square.Line1(1).X1, 1);
  EXPECT_EQ(Other(host_, 9, 21, 27, 41, kHost), 0);
}

TEST_F(Line3dControl, Color2RepaintsOnlyTheSecondLine) {
  Line3d& line = Create();
  UpdateWindow(control_);
  const LineShape before = line.Line1(1);
  line.Color2(0x0000FF); // red
  RECT dirty{};
  EXPECT_TRUE(GetUpdateRect(control_, &dirty, FALSE));
  EXPECT_EQ((std::vector{dirty.left, dirty.top, dirty.right, dirty.bottom}),
            (std::vector<LONG>{0, 1, 287, 2}));
  EXPECT_EQ(Row(0, kGrey) + Row(1, RGB(255, 0, 0)), 0);
  EXPECT_EQ(line.Line1(1).X2, before.X2);
  EXPECT_EQ(line.Color2(), 0x0000FFu);
  EXPECT_EQ(g_changed, std::vector<std::string>{"Color2"});

  line.Color1(0x80000000u | COLOR_HIGHLIGHT); // a system colour reference
  EXPECT_EQ(Row(0, GetSysColor(COLOR_HIGHLIGHT)), 0);
}

TEST_F(Line3dControl, MouseEventsReachTheOwnerEvenWhenNotEnabled) {
  Line3d& line = Create();
  EXPECT_FALSE(line.Enabled());
  SendMessageW(control_, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(10, 1));
  EXPECT_EQ(GetCapture(), control_);
  SendMessageW(control_, WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON | MK_CONTROL, MAKELPARAM(20, 0));
  SendMessageW(control_, WM_RBUTTONUP, 0, MAKELPARAM(30, 1));
  EXPECT_NE(GetCapture(), control_);
  ASSERT_EQ(g_mouse.size(), 3u);
  const Line3dMouseEvent& down = g_mouse[0];
  EXPECT_EQ(down.hdr.code, kLine3dMouseDown);
  EXPECT_EQ(down.hdr.hwndFrom, control_);
  EXPECT_EQ(down.hdr.idFrom, static_cast<UINT_PTR>(kId));
  EXPECT_EQ((std::vector<float>{float(down.Button), float(down.Shift), down.X, down.Y}),
            (std::vector<float>{1, 1, 150, 15}));
  EXPECT_EQ(g_mouse[1].hdr.code, kLine3dMouseMove);
  EXPECT_EQ((std::vector<float>{float(g_mouse[1].Button), float(g_mouse[1].Shift), g_mouse[1].X}),
            (std::vector<float>{3, 2, 300}));
  EXPECT_EQ(g_mouse[2].hdr.code, kLine3dMouseUp);
  EXPECT_EQ(g_mouse[2].Button, 2);

  line.Enabled(true);
  line.Enabled(false);
  EXPECT_EQ(g_changed, (std::vector<std::string>{"Enabled", "Enabled"}));
  SendMessageW(control_, WM_MBUTTONDOWN, MK_MBUTTON, 0);
  ASSERT_EQ(g_mouse.size(), 4u);
  EXPECT_EQ(g_mouse[3].Button, 4);
}

TEST_F(Line3dControl, PropertiesComeFromTheBagAndDefaultsAreNotSaved) {
  PropertyBag saved;
  Create().WriteProperties(saved);
  EXPECT_FALSE(saved.Contains("Color1"));
  EXPECT_FALSE(saved.Contains("Color2"));
  EXPECT_EQ(saved.Size(), 0u);
  DestroyWindow(control_);

  PropertyBag bag;
  bag.WriteProperty("Color1", 0x00FF00, kLine3dDefaultColor1);
  bag.WriteProperty("Enabled", 1, 0);
  Line3d& line = Create(287, 2, bag);
  EXPECT_TRUE(line.Enabled());
  EXPECT_EQ(Row(0, RGB(0, 255, 0)) + Row(1, kWhite), 0);
  line.ReadProperties(PropertyBag{});
  EXPECT_FALSE(line.Enabled());
  EXPECT_EQ(Row(0, kGrey), 0);
}

TEST_F(Line3dControl, RefreshRepaintsAtOnceAndPrintingDrawsTheSame) {
  Line3d& line = Create();
  UpdateWindow(control_);
  {
    const gdi::WindowDc dc(control_);
    const RECT all{0, 0, 287, 2};
    FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  ASSERT_EQ(Row(0, kHost), 0); // the window still counts as painted
  line.Refresh();
  EXPECT_EQ(Row(0, kGrey) + Row(1, kWhite), 0);

  const test::Dib dib(287, 4, RGB(255, 0, 255));
  SendMessageW(control_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.dc()), PRF_CLIENT);
  EXPECT_EQ(dib.CountOther(0, 0, 287, 1, kGrey) + dib.CountOther(0, 1, 287, 2, kWhite) +
                dib.CountOther(0, 2, 287, 4, RGB(255, 0, 255)),
            0);
}

} // namespace
} // namespace id3
