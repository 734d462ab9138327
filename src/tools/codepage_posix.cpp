#include "tools/codepage.h"

#include <cctype>
#include <cerrno>
#include <iconv.h>
#include <map>
#include <memory>
#include <utility>

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

// iconv_open looks the conversion up and may load it, microseconds a call,
// and deciding a tag's code page tries many: each thread keeps the
// descriptors it opened (iconv's state is per descriptor, so not shared).
iconv_t Descriptor(const std::string& to, const std::string& from) {
  thread_local std::map<std::pair<std::string, std::string>, Iconv> opened;
  auto [at, added] = opened.try_emplace({to, from});
  if (added) at->second = OpenIconv(to, from);
  return static_cast<iconv_t>(at->second.get());
}

// Converts as much of in as converts; returns false at the first byte that
// does not, with in advanced to it. Either way the descriptor is flushed and
// back in its initial state: the decoders of 1255 and 1258 hold a letter back
// until they see whether a combining mark follows.
bool Convert(iconv_t cd, std::string_view& in, std::string& out) {
  char* src = const_cast<char*>(in.data());
  std::size_t src_left = in.size();
  char buf[256];
  bool ok = true;
  bool flushed = false;
  while (!flushed) {
    char* dst = buf;
    std::size_t dst_left = sizeof buf;
    const bool flushing = src_left == 0 || !ok;
    const std::size_t r = flushing ? iconv(cd, nullptr, nullptr, &dst, &dst_left)
                                   : iconv(cd, &src, &src_left, &dst, &dst_left);
    out.append(buf, static_cast<std::size_t>(dst - buf));
    if (r == static_cast<std::size_t>(-1) && errno != E2BIG) ok = false;
    flushed = flushing && r != static_cast<std::size_t>(-1);
  }
  in = std::string_view(src, src_left);
  return ok;
}

// iconv's name for a Windows code page number given as digits.
std::string IconvName(std::string_view name) {
  const bool digits =
      !name.empty() && name.find_first_not_of("0123456789") == std::string_view::npos;
  if (!digits) return std::string(name);
  return name == "65001" ? "UTF-8" : "CP" + std::string(name);
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
  const iconv_t cd = Descriptor("UTF-8", name_);
  if (!cd) return out;
  while (!bytes.empty()) {
    if (Convert(cd, bytes, out)) break;
    out += "\xEF\xBF\xBD"; // U+FFFD for a byte the code page does not define
    bytes.remove_prefix(1);
  }
  return out;
}

std::string CodePage::PlatformEncode(std::string_view utf8) const {
  std::string out;
  const iconv_t cd = Descriptor(name_, "UTF-8");
  if (!cd) return out;
  while (!utf8.empty()) {
    if (Convert(cd, utf8, out)) break;
    out += '?';
    utf8.remove_prefix(
        std::min(utf8.size(), utf8::SequenceLength(static_cast<unsigned char>(utf8[0]))));
  }
  return out;
}

} // namespace id3
