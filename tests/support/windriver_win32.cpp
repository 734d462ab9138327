#include "windriver_win32.h"

#include "dib_win32.h"

#include "effects/gdi_win32.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <utility>

namespace id3::test {
namespace {

std::vector<std::uint32_t> ScreenPixels(const RECT& r) {
  Dib canvas(r.right - r.left, r.bottom - r.top);
  const gdi::WindowDc screen(nullptr);
  BitBlt(canvas.dc(), 0, 0, r.right - r.left, r.bottom - r.top, screen.get(), r.left, r.top,
         SRCCOPY);
  return canvas.Pixels();
}

std::vector<std::uint32_t> IconPixels(LPCWSTR id, int width, int height, std::uint32_t background) {
  Dib canvas(width, height);
  const gdi::UniqueBrush brush(CreateSolidBrush(
      RGB((background >> 16) & 0xFF, (background >> 8) & 0xFF, background & 0xFF)));
  const RECT all{0, 0, width, height};
  FillRect(canvas.dc(), &all, brush.get());
  DrawIconEx(canvas.dc(), 0, 0, LoadIconW(nullptr, id), width, height, 0, nullptr, DI_NORMAL);
  return canvas.Pixels();
}

// Pixels that differ by more than a little in any colour, so that smoothing
// of the drawn edges does not count.
std::size_t Differences(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    for (int shift = 0; shift < 24; shift += 8) {
      const int x = static_cast<int>((a[i] >> shift) & 0xFF);
      const int y = static_cast<int>((b[i] >> shift) & 0xFF);
      if (std::abs(x - y) > 24) {
        ++n;
        break;
      }
    }
  }
  return n;
}

// Which system icon the control shows, by comparing what is on screen with
// each candidate drawn the same size over the same background: another
// process's icon handle cannot be read from here.
BoxIcon IconOf(HWND icon) {
  RedrawWindow(icon, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  RECT r{};
  GetWindowRect(icon, &r);
  if (r.right <= r.left || r.bottom <= r.top) return BoxIcon::Unknown;
  const auto shown = ScreenPixels(r);
  if (shown.empty()) return BoxIcon::Unknown;
  const std::uint32_t background = shown.front();
  const std::array<std::pair<LPCWSTR, BoxIcon>, 4> candidates{{
      {IDI_EXCLAMATION, BoxIcon::Exclamation},
      {IDI_HAND, BoxIcon::Critical},
      {IDI_ASTERISK, BoxIcon::Information},
      {IDI_QUESTION, BoxIcon::Question},
  }};
  BoxIcon best = BoxIcon::Unknown;
  std::size_t best_diff = shown.size() / 10; // more than 10% off is no match
  for (const auto& [id, kind] : candidates) {
    const std::size_t diff =
        Differences(shown, IconPixels(id, r.right - r.left, r.bottom - r.top, background));
    if (diff < best_diff) {
      best_diff = diff;
      best = kind;
    }
  }
  return best;
}

} // namespace

std::wstring ClassOf(HWND window) {
  std::array<wchar_t, 64> name{};
  GetClassNameW(window, name.data(), static_cast<int>(name.size()));
  return name.data();
}

std::wstring TextOf(HWND window) {
  const auto n = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  const auto got =
      SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(got));
  return text;
}

BoxSeen ReadBox(HWND dialog) {
  BoxSeen box{TextOf(dialog), L"", BoxIcon::None, {}};
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const std::wstring cls = ClassOf(child);
    if (_wcsicmp(cls.c_str(), L"Button") == 0) {
      box.buttons.push_back(TextOf(child));
    } else if (_wcsicmp(cls.c_str(), L"Static") == 0) {
      if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
        box.icon = IconOf(child);
      else if (GetWindowTextLengthW(child) > 0)
        box.text = TextOf(child);
    }
  }
  return box;
}

} // namespace id3::test
