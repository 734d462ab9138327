#include "tools/paths.h"

#include <iomanip>
#include <sstream>
#include <stdexcept>

namespace id3 {

std::string FormatTwoDecimals(double value) {
  std::locale env = std::locale::classic();
  try {
    env = std::locale(""); // the environment's: LC_ALL, LC_NUMERIC, LANG
  } catch (const std::runtime_error&) {
    // a locale the system does not have: the classic one
  }
  std::ostringstream out;
  out.imbue(env);
  out << std::fixed << std::setprecision(2) << value;
  return out.str();
}

} // namespace id3
