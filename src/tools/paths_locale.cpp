#include "tools/paths.h"

#include <iomanip>
#include <sstream>

namespace id3 {

std::string FormatFileSize(double size, const std::locale& loc) {
  const ScaledSize s = ScaleFileSize(size);
  std::ostringstream out;
  out.imbue(loc);
  out << std::fixed << std::setprecision(2) << s.value << s.unit;
  return out.str();
}

} // namespace id3
