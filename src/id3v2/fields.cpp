#include "id3v2/fields.h"

#include "tagstore/genres.h"
#include "tools/text.h"

#include <algorithm>
#include <limits>
#include <string_view>

namespace id3::id3v2 {
namespace {

constexpr std::string_view kSeparator = " / ";

// The number of a run of digits, saturated.
std::uint32_t NumberOf(std::string_view digits) {
  constexpr std::uint32_t kMax = std::numeric_limits<std::uint32_t>::max();
  std::uint32_t n = 0;
  for (const char c : digits) {
    const auto d = static_cast<std::uint32_t>(c - '0');
    n = n > (kMax - d) / 10 ? kMax : n * 10 + d;
  }
  return n;
}

bool AllDigits(std::string_view s) {
  return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

Genre Numbered(std::string_view digits) {
  Genre g;
  g.kind = Genre::Kind::kNumber;
  g.number = NumberOf(digits);
  return g;
}

// "RX" and "CR", as a value of their own or in parentheses.
std::optional<Genre> Keyword(std::string_view s) {
  Genre g;
  if (s == "RX")
    g.kind = Genre::Kind::kRemix;
  else if (s == "CR")
    g.kind = Genre::Kind::kCover;
  else
    return std::nullopt;
  return g;
}

void ParseValue(std::string_view v, std::vector<Genre>& out) {
  if (AllDigits(v)) {
    out.push_back(Numbered(v));
    return;
  }
  if (const auto k = Keyword(v)) {
    out.push_back(*k);
    return;
  }
  // References in parentheses, then a name; "((" begins a name that itself
  // begins with "(".
  while (v.starts_with('(') && !v.starts_with("((")) {
    const auto close = v.find(')');
    if (close == std::string_view::npos) break;
    const std::string_view inner = v.substr(1, close - 1);
    if (AllDigits(inner)) {
      out.push_back(Numbered(inner));
    } else if (const auto k = Keyword(inner)) {
      out.push_back(*k);
    } else {
      break;
    }
    v.remove_prefix(close + 1);
  }
  if (v.starts_with("((")) v.remove_prefix(1);
  if (!v.empty())
    out.push_back(Genre{.kind = Genre::Kind::kName, .number = 0, .name = std::string(v)});
}

// A genre's name for showing: the table's for a number it has, "(n)" for
// one it has not.
std::string NameOf(const Genre& g) {
  switch (g.kind) {
  case Genre::Kind::kRemix: return "Remix";
  case Genre::Kind::kCover: return "Cover";
  case Genre::Kind::kName: return g.name;
  case Genre::Kind::kNumber: break;
  }
  if (const auto byte = GenreByte(g)) return GenreName(*byte);
  std::string reference = "(";
  reference += std::to_string(g.number);
  reference += ')';
  return reference;
}

// "ID3v1 Comment", "ID3v1.1 Comment", "ID3v1.x Comment", in any letter case.
bool NamesId3v1Comment(std::string_view d) {
  constexpr std::string_view kHead = "ID3v1", kTail = " Comment";
  if (d.size() < kHead.size() + kTail.size() ||
      !text::EqualIgnoringCase(d.substr(0, kHead.size()), kHead) ||
      !text::EqualIgnoringCase(d.substr(d.size() - kTail.size()), kTail))
    return false;
  const std::string_view middle = d.substr(kHead.size(), d.size() - kHead.size() - kTail.size());
  return middle.empty() ||
         (middle.size() > 1 && middle[0] == '.' && middle.find(' ') == std::string_view::npos);
}

std::optional<std::string> Joined(const Tag& tag, TextFrame f) {
  const auto& values = tag.Text(f);
  if (!values) return std::nullopt;
  return JoinValues(*values);
}

} // namespace

std::string JoinValues(const std::vector<std::string>& values) {
  std::string out;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) out += kSeparator;
    out += values[i];
  }
  return out;
}

std::vector<Genre> ParseGenres(const std::vector<std::string>& values) {
  std::vector<Genre> genres;
  for (const auto& v : values) ParseValue(v, genres);
  return genres;
}

std::optional<std::uint8_t> GenreByte(const Genre& g) {
  if (g.kind == Genre::Kind::kNumber && g.number < static_cast<std::uint32_t>(kGenreCount))
    return static_cast<std::uint8_t>(g.number);
  if (g.kind != Genre::Kind::kName) return std::nullopt;
  const auto index = FindGenre(g.name);
  if (!index) return std::nullopt;
  return static_cast<std::uint8_t>(*index);
}

const Comment* ChosenComment(const Tag& tag) {
  const Comment* blank = nullptr;
  for (const Comment& c : tag.comments) {
    if (c.text.empty()) continue;
    if (NamesId3v1Comment(c.description)) return &c;
    if (!blank && c.description.empty()) blank = &c;
  }
  return blank;
}

Fields ShownFields(const Tag& tag) {
  Fields f;
  f.title = Joined(tag, TextFrame::kTitle);
  f.artist = Joined(tag, TextFrame::kArtist);
  if (!f.artist) f.artist = Joined(tag, TextFrame::kBand);
  f.album = Joined(tag, TextFrame::kAlbum);
  for (const TextFrame date : kDateFrames) {
    f.year = Joined(tag, date);
    if (f.year) break;
  }
  if (const Comment* c = ChosenComment(tag)) f.comment = JoinValues(c->text);
  f.track = Joined(tag, TextFrame::kTrack);
  if (const auto& genre = tag.Text(TextFrame::kGenre)) {
    std::vector<std::string> names;
    for (const Genre& g : ParseGenres(*genre)) {
      std::string name = NameOf(g);
      // "(17)Rock" names one genre twice.
      if (std::find(names.begin(), names.end(), name) == names.end())
        names.push_back(std::move(name));
    }
    f.genre = JoinValues(names);
  }
  return f;
}

} // namespace id3::id3v2
