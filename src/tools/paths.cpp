#include "tools/paths.h"

namespace id3 {

ScaledSize ScaleFileSize(double size) {
  if (size <= 1024) return {size, " Bytes"};
  size /= 1024;
  if (size <= 1024) return {size, " KB"};
  size /= 1024;
  if (size <= 1024) return {size, " MB"};
  return {size / 1024, " GB"};
}

std::string FileNameOf(const std::string& path) {
  if (path.empty() || path.back() == '\\' || path.back() == '/') return path;
  std::size_t sep = path.rfind('\\');
  if (sep == std::string::npos) sep = path.rfind('/');
  return sep == std::string::npos ? path : path.substr(sep + 1);
}

std::string StripExtension(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(0, dot);
}

std::string FormatFileSize(double size) {
  const ScaledSize s = ScaleFileSize(size);
  return FormatTwoDecimals(s.value) + std::string(s.unit);
}

} // namespace id3
