#include "editor/form1.h"

namespace id3 {

// Placeholder until the window lands: no window, so nothing to wait for.
void ShowForm1() {}

int RunMessageLoop() { return 0; }

} // namespace id3
