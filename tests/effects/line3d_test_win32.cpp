#include "dib.h"
#include "effects/gdi.h"
#include "effects/line3d.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace id3 {
namespace {

constexpr COLORREF kHostColour = RGB(0, 0, 0);
constexpr COLORREF kGrey = RGB(0x80, 0x80, 0x80);
constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
constexpr int kId = 38;

// What the host window received from its separators.
struct Received {
  std::vector<Line3dMouseEvent> mouse;
  std::vector<std::string> changed;
};
Received g_received;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY) {
    const auto *header = reinterpret_cast<const NMHDR *>(lParam);
    if (header->code == kLine3dPropertyChanged)
      g_received.changed.emplace_back(
          reinterpret_cast<const Line3dPropertyChange *>(lParam)->Property);
    else if (header->code >= kLine3dMouseDown && header->code <= kLine3dMouseUp)
      g_received.mouse.push_back(*reinterpret_cast<const Line3dMouseEvent *>(lParam));
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
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
    ASSERT_NE(atom, 0);
    host_ = CreateWindowExW(0, L"effects_test_host", L"host", WS_POPUP, 50, 50, 320, 120, nullptr,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(host_, nullptr);
    // Shown without activation: without a window manager, Wine waits two
    // seconds for the focus to move when an active window goes.
    ShowWindow(host_, SW_SHOWNA);
    g_received = {};
  }
  void TearDown() override { DestroyWindow(host_); }

  // The editor's instance: 4305 x 30 twips.
  Line3d &Create(int width = 287, int height = 2, const PropertyBag &bag = {}) {
    control_ = CreateLine3d(host_, kId, 7, 21, width, height, bag);
    Line3d *line = Line3d::FromWindow(control_);
    EXPECT_NE(line, nullptr);
    return *line;
  }
  SIZE Size() const {
    RECT r{};
    GetClientRect(control_, &r);
    return {r.right, r.bottom};
  }
  // A pixel of the control as painted on screen.
  COLORREF Screen(int x, int y) const {
    UpdateWindow(control_);
    const gdi::WindowDc dc(control_);
    return GetPixel(dc.get(), x, y);
  }
  int RowOther(int y, int width, COLORREF colour) const {
    int other = 0;
    for (int x = 0; x < width; ++x)
      other += Screen(x, y) != colour ? 1 : 0;
    return other;
  }
  int ColumnOther(int x, int height, COLORREF colour) const {
    int other = 0;
    for (int y = 0; y < height; ++y)
      other += Screen(x, y) != colour ? 1 : 0;
    return other;
  }
  COLORREF HostScreen(int x, int y) const {
    UpdateWindow(host_);
    const gdi::WindowDc dc(host_);
    return GetPixel(dc.get(), x, y);
  }

  HWND host_ = nullptr;
  HWND control_ = nullptr;
};

TEST_F(Line3dControl, EditorInstanceIsGreyOverWhiteAndStaysTwoPixelsHigh) {
  const Line3d &line = Create();
  EXPECT_EQ(Size().cx, 287);
  EXPECT_EQ(Size().cy, 2);
  EXPECT_EQ(GetDlgCtrlID(control_), kId);
  EXPECT_EQ(RowOther(0, 287, kGrey), 0);
  EXPECT_EQ(RowOther(1, 287, kWhite), 0);
  // Nothing spills onto the host around it.
  EXPECT_EQ(HostScreen(7, 23), kHostColour);
  EXPECT_EQ(HostScreen(7 + 287, 21), kHostColour);
  EXPECT_EQ(HostScreen(6, 21), kHostColour);
  EXPECT_EQ(line.Line1(0).X2, 287);
  EXPECT_EQ(line.Line1(1).Y1, 1);
  EXPECT_EQ(Line3d::FromWindow(host_), nullptr);
}

TEST_F(Line3dControl, HorizontalOneResizedTallerSnapsBack) {
  Create();
  // 200 twips high, through the nested resize of the layout.
  SetWindowPos(control_, nullptr, 0, 0, 287, 13, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(Size().cy, 2);
  EXPECT_EQ(Size().cx, 287);
  EXPECT_EQ(RowOther(0, 287, kGrey), 0);
  EXPECT_EQ(RowOther(1, 287, kWhite), 0);
  EXPECT_EQ(HostScreen(7, 21 + 2), kHostColour);
}

TEST_F(Line3dControl, SquareOneBecomesVertical) {
  const Line3d &line = Create(20, 20);
  EXPECT_EQ(Size().cx, 2);
  EXPECT_EQ(Size().cy, 20);
  EXPECT_EQ(ColumnOther(0, 20, kGrey), 0);
  EXPECT_EQ(ColumnOther(1, 20, kWhite), 0);
  EXPECT_EQ(line.Line1(1).X1, 1);
  EXPECT_EQ(line.Line1(1).Y2, 20);
  EXPECT_EQ(HostScreen(7 + 2, 21), kHostColour);
}

TEST_F(Line3dControl, Color2RepaintsOnlyTheSecondLine) {
  Line3d &line = Create();
  UpdateWindow(control_);
  const LineShape before = line.Line1(1);
  line.Color2(0x0000FF); // red
  RECT dirty{};
  EXPECT_EQ(GetUpdateRect(control_, &dirty, FALSE), TRUE);
  EXPECT_EQ(dirty.top, 1);
  EXPECT_EQ(dirty.bottom, 2);
  EXPECT_EQ(dirty.right, 287);
  EXPECT_EQ(RowOther(0, 287, kGrey), 0);
  EXPECT_EQ(RowOther(1, 287, RGB(255, 0, 0)), 0);
  EXPECT_EQ(line.Line1(1).Y1, before.Y1);
  EXPECT_EQ(line.Line1(1).X2, before.X2);
  EXPECT_EQ(line.Color2(), 0x0000FFu);
  EXPECT_EQ(g_received.changed, std::vector<std::string>{"Color2"});

  line.Color1(0x80000000u | COLOR_HIGHLIGHT); // a system colour reference
  EXPECT_EQ(RowOther(0, 287, GetSysColor(COLOR_HIGHLIGHT)), 0);
}

TEST_F(Line3dControl, MouseEventsReachTheOwnerEvenWhenNotEnabled) {
  Line3d &line = Create();
  EXPECT_FALSE(line.Enabled());
  SendMessageW(control_, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(10, 1));
  SendMessageW(control_, WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON | MK_CONTROL, MAKELPARAM(20, 0));
  SendMessageW(control_, WM_RBUTTONUP, 0, MAKELPARAM(30, 1));
  ASSERT_EQ(g_received.mouse.size(), 3u);
  const Line3dMouseEvent &down = g_received.mouse[0];
  EXPECT_EQ(down.hdr.code, kLine3dMouseDown);
  EXPECT_EQ(down.hdr.hwndFrom, control_);
  EXPECT_EQ(down.hdr.idFrom, static_cast<UINT_PTR>(kId));
  EXPECT_EQ(down.Button, 1);
  EXPECT_EQ(down.Shift, 1);
  EXPECT_FLOAT_EQ(down.X, 150.0f);
  EXPECT_FLOAT_EQ(down.Y, 15.0f);
  const Line3dMouseEvent &move = g_received.mouse[1];
  EXPECT_EQ(move.hdr.code, kLine3dMouseMove);
  EXPECT_EQ(move.Button, 3);
  EXPECT_EQ(move.Shift, 2);
  EXPECT_FLOAT_EQ(move.X, 300.0f);
  const Line3dMouseEvent &up = g_received.mouse[2];
  EXPECT_EQ(up.hdr.code, kLine3dMouseUp);
  EXPECT_EQ(up.Button, 2);
  EXPECT_EQ(up.Shift, 0);

  line.Enabled(true);
  EXPECT_EQ(g_received.changed, std::vector<std::string>{"Enabled"});
  line.Enabled(false);
  SendMessageW(control_, WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(0, 0));
  ASSERT_EQ(g_received.mouse.size(), 4u);
  EXPECT_EQ(g_received.mouse[3].Button, 4);
  EXPECT_EQ(GetCapture(), control_);
  SendMessageW(control_, WM_MBUTTONUP, 0, MAKELPARAM(0, 0));
  EXPECT_NE(GetCapture(), control_);
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
  Line3d &line = Create(287, 2, bag);
  EXPECT_TRUE(line.Enabled());
  EXPECT_EQ(RowOther(0, 287, RGB(0, 255, 0)), 0);
  EXPECT_EQ(RowOther(1, 287, kWhite), 0);
  PropertyBag again;
  line.WriteProperties(again);
  EXPECT_EQ(again.ReadProperty("Color1", 0), 0x00FF00u);
  EXPECT_EQ(again.Size(), 2u);

  line.ReadProperties(PropertyBag{});
  EXPECT_FALSE(line.Enabled());
  EXPECT_EQ(RowOther(0, 287, kGrey), 0);
}

TEST_F(Line3dControl, RefreshRepaintsAtOnce) {
  Line3d &line = Create();
  UpdateWindow(control_);
  {
    const gdi::WindowDc dc(control_);
    const RECT all{0, 0, 287, 2};
    FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  ASSERT_EQ(Screen(0, 0), kHostColour); // the window still counts as painted
  line.Refresh();
  EXPECT_EQ(RowOther(0, 287, kGrey), 0);
  EXPECT_EQ(RowOther(1, 287, kWhite), 0);
}

TEST_F(Line3dControl, PrintClientDrawsTheSameLines) {
  Create();
  const test::Dib dib(287, 4, RGB(255, 0, 255));
  SendMessageW(control_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.dc()), PRF_CLIENT);
  EXPECT_EQ(dib.CountOther(0, 0, 287, 1, kGrey), 0);
  EXPECT_EQ(dib.CountOther(0, 1, 287, 2, kWhite), 0);
  EXPECT_EQ(dib.CountOther(0, 2, 287, 4, RGB(255, 0, 255)), 0);
}

} // namespace
} // namespace id3
