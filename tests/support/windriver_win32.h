// Reading another process's windows from a test, as a user sees them: class
// names, texts, and what a message box shows. Windows builds only.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace id3::test {

std::wstring ClassOf(HWND window);
std::wstring TextOf(HWND window);

// None: the box shows no icon; Unknown: it shows one that is none of these.
enum class BoxIcon { None, Information, Critical, Exclamation, Question, Unknown };

// A message box (a "#32770" dialog) as it is on screen at this moment.
struct BoxSeen {
  std::wstring caption;
  std::wstring text;
  BoxIcon icon = BoxIcon::None;
  std::vector<std::wstring> buttons;
};
BoxSeen ReadBox(HWND dialog);

} // namespace id3::test
