#include "effects/animater_win32.h"

#include "effects/flagdescription.h"

namespace id3 {

bool Animater::Animate(HWND window, DWORD milliseconds, DWORD flags) {
  WindowForm form(window);
  return AnimateForm(form, milliseconds, flags);
}

bool Animater::Animate(AnimatedForm& form, DWORD milliseconds, DWORD flags) {
  return AnimateForm(form, milliseconds, flags);
}

std::string Animater::FlagDescription() const { return id3::FlagDescription(); }

} // namespace id3
