#include "tools/codepage.h"

#include <cctype>
#include <cerrno>
#include <iconv.h>
#include <memory>

namespace id3 {
namespace {

struct IconvCloser {
  void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};
using Iconv = std::unique_ptr<void, IconvCloser>;

Iconv OpenIconv(const std::string& to, const std::string& from) {
  iconv_t cd = iconv_open(to.c_str(), from.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return nullptr;
  return Iconv(cd);
}

// Converts as much of in as converts; returns false at the first byte that
// does not, with in advanced to it.
bool Convert(const Iconv& cd, std::string_view& in, std::string& out) {
  char* src = const_cast<char*>(in.data());
  std::size_t src_left = in.size();
  char buf[256];
  bool ok = true;
  while (src_left > 0) {
    char* dst = buf;
    std::size_t dst_left = sizeof buf;
    const std::size_t r = iconv(static_cast<iconv_t>(cd.get()), &src, &src_left, &dst, &dst_left);
    out.append(buf, static_cast<std::size_t>(dst - buf));
    if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
      ok = false;
      break;
    }
  }
  in = std::string_view(src, src_left);
  return ok;
}

// iconv's name for a Windows code page number given as digits.
std::string IconvName(std::string_view name) {
  const bool digits =
      !name.empty() && name.find_first_not_of("0123456789") == std::string_view::npos;
  return digits ? "CP" + std::string(name) : std::string(name);
}

} // namespace

CodePage CodePage::PlatformDefault() { return Windows1252(); }

std::optional<CodePage> CodePage::PlatformNamed(std::string_view name) {
  const std::string iconv_name = IconvName(name);
  if (!OpenIconv("UTF-8", iconv_name) || !OpenIconv(iconv_name, "UTF-8")) return std::nullopt;
  return CodePage(Kind::Platform, iconv_name, 0);
}

std::string CodePage::PlatformDecode(std::string_view bytes) const {
  std::string out;
  const Iconv cd = OpenIconv("UTF-8", name_);
  if (!cd) return out;
  while (!bytes.empty()) {
    if (Convert(cd, bytes, out)) break;
    out += "\xEF\xBF\xBD"; // U+FFFD for a byte the code page does not define
    bytes.remove_prefix(1);
    iconv(static_cast<iconv_t>(cd.get()), nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

std::string CodePage::PlatformEncode(std::string_view utf8) const {
  std::string out;
  const Iconv cd = OpenIconv(name_, "UTF-8");
  if (!cd) return out;
  while (!utf8.empty()) {
    if (Convert(cd, utf8, out)) break;
    out += '?';
    utf8.remove_prefix(
        std::min(utf8.size(), utf8::SequenceLength(static_cast<unsigned char>(utf8[0]))));
    iconv(static_cast<iconv_t>(cd.get()), nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

} // namespace id3
