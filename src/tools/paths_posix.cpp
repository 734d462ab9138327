#include "tools/paths.h"

#include <iomanip>
#include <sstream>
#include <stdexcept>

namespace id3 {

std::string FormatTwoDecimals(double value, const std::locale& loc) {
  std::ostringstream out;
  out.imbue(loc);
  out << std::fixed << std::setprecision(2) << value;
  return out.str();
}

std::string FormatTwoDecimals(double value) {
  // The environment's (LC_ALL, LC_NUMERIC, LANG), looked up once: making a
  // locale reads the system's locale files, which cost a hundred times the
  // rest of a file's report.
  static const std::locale env = [] {
    try {
      return std::locale("");
    } catch (const std::runtime_error&) {
      return std::locale::classic(); // a locale the system does not have
    }
  }();
  return FormatTwoDecimals(value, env);
}

} // namespace id3
