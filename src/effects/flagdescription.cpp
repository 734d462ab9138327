#include "effects/flagdescription.h"

#include <array>
#include <string_view>

namespace id3 {

std::string FlagDescription() {
  static constexpr std::array<std::string_view, 19> kLines = {
      "dwFlags description:",
      "AW_SLIDE",
      "Uses slide animation. By default, roll animation is used. This flag is ignored when used "
      "with AW_CENTER.",
      "AW_ACTIVATE",
      "Activates the window. Do not use this value with AW_HIDE.",
      "AW_BLEND",
      "Uses a fade effect. This flag can be used only if hwnd is a top-level window.",
      "AW_HIDE",
      "Hides the window. By default, the window is shown.",
      "AW_CENTER",
      "Makes the window appear to collapse inward if AW_HIDE is used or expand outward if the "
      "AW_HIDE is not used.",
      "AW_HOR_POSITIVE",
      "Animates the window from left to right. This flag can be used with roll or slide "
      "animation. It is ignored when used with AW_CENTER or AW_BLEND.",
      "AW_HOR_NEGATIVE",
      "Animates the window from right to left. This flag can be used with roll or slide "
      "animation. It is ignored when used with AW_CENTER or AW_BLEND.",
      "AW_VER_POSITIVE",
      "Animates the window from top to bottom. This flag can be used with roll or slide "
      "animation. It is ignored when used with AW_CENTER or AW_BLEND.",
      "AW_VER_NEGATIVE",
      "Animates the window from bottom to top. This flag can be used with roll or slide "
      "animation. It is ignored when used with AW_CENTER or AW_BLEND.",
  };
  std::string text;
  for (std::size_t i = 0; i < kLines.size(); ++i) {
    if (i != 0) text += "\r\n";
    text += kLines[i];
  }
  return text;
}

} // namespace id3
