#include "mpeginfo/mp3info.h"

namespace id3 {

void clsMP3Info::ResetInfo() { *this = clsMP3Info{}; }

bool clsMP3Info::LoadMP3(const std::string& path) {
  ResetInfo();
  (void)path;
  return valid_;
}

std::string clsMP3Info::FormatTime() const { return {}; }

} // namespace id3
