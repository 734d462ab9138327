// Byte counts as text in a given locale's separators, and in the environment's.
#include "tools/paths.h"

#include <gtest/gtest.h>

#include <locale>

namespace id3 {
namespace {

// English (United States) separators and grouping, whatever the machine has.
struct UsPunct : std::numpunct<char> {
  char do_decimal_point() const override { return '.'; }
  char do_thousands_sep() const override { return ','; }
  std::string do_grouping() const override { return "\3"; }
};

TEST(FormatFileSize, UnitsAndTwoDecimals) {
  const std::locale us(std::locale::classic(), new UsPunct);
  // clang-format off
  const std::pair<double, std::string> cases[] = {
      {0, "0.00 Bytes"}, {1024, "1,024.00 Bytes"}, {1025, "1.00 KB"}, {1536, "1.50 KB"},
      {1048576, "1,024.00 KB"}, {1048577, "1.00 MB"}, {4000000, "3.81 MB"}, {1073741824, "1,024.00 MB"},
      {1099511627776.0, "1,024.00 GB"}, {5629499534213120.0, "5,242,880.00 GB"}};
  // clang-format on
  for (const auto& [size, text] : cases)
    EXPECT_EQ(FormatTwoDecimals(ScaleFileSize(size).value, us) +
                  std::string(ScaleFileSize(size).unit),
              text);
  // The user's locale: whatever its separators, two decimals and the unit.
  EXPECT_TRUE(FormatFileSize(1536).starts_with('1') && FormatFileSize(1536).ends_with("50 KB"));
}

} // namespace
} // namespace id3
