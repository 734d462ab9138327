#include "id3v2/to_id3v1.h"

#include "id3v2/fields.h"
#include "tools/text.h"

#include <algorithm>
#include <string_view>

namespace id3::id3v2 {
namespace {

constexpr std::size_t kYearDigits = 4;
constexpr std::uint32_t kLastTrack = 255;

std::optional<std::string> YearOf(std::string_view date) {
  if (text::DigitRun(date) < kYearDigits) return std::nullopt;
  return std::string(date.substr(0, kYearDigits));
}

void ProposeYear(const Tag& tag, Proposal& p) {
  std::optional<std::string> first_date;
  for (const TextFrame f : kDateFrames) {
    const auto& values = tag.Text(f);
    if (!values) continue;
    if (!first_date) first_date = JoinValues(*values);
    p.year = YearOf(values->front());
    if (p.year) return;
  }
  if (first_date) p.warnings.push_back({Field::kYear, Reason::kNoYear, *first_date});
}

void ProposeTrack(const Tag& tag, Proposal& p) {
  const auto& values = tag.Text(TextFrame::kTrack);
  if (!values) return;
  const std::string& text = values->front();
  std::string_view rest(text);
  rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
  const std::size_t digits = text::DigitRun(rest);
  // More digits than 32 bits hold are far above the last track too.
  const std::uint32_t number = text::ParseNumber(rest.substr(0, digits)).value_or(kLastTrack + 1);
  p.track = 0;
  if (digits == 0)
    p.warnings.push_back({Field::kTrack, Reason::kTrackNotNumber, text});
  else if (number == 0)
    p.warnings.push_back({Field::kTrack, Reason::kTrackZero, text});
  else if (number > kLastTrack)
    p.warnings.push_back({Field::kTrack, Reason::kTrackAbove255, text});
  else
    p.track = static_cast<std::uint8_t>(number);
}

void ProposeGenre(const Tag& tag, Proposal& p) {
  const auto& values = tag.Text(TextFrame::kGenre);
  if (!values) return;
  for (const Genre& g : ParseGenres(*values)) {
    p.genre = GenreByte(g);
    if (p.genre) return;
  }
  p.warnings.push_back({Field::kGenre, Reason::kGenreNotInTable, JoinValues(*values)});
}

} // namespace

std::string Describe(const Warning& w) {
  const std::string value = "\"" + w.value + "\"";
  switch (w.reason) {
  case Reason::kNoYear: return "year: no year of four digits in " + value + "; kept";
  case Reason::kTrackZero: return "track " + value + " is 0; no track written";
  case Reason::kTrackAbove255: return "track " + value + " is above 255; no track written";
  case Reason::kTrackNotNumber: return "track " + value + " is not a number; no track written";
  case Reason::kGenreNotInTable: break;
  }
  return "genre " + value + " is not in the genre table; kept";
}

Proposal ProposeId3v1(const Tag& tag) {
  const Fields shown = ShownFields(tag);
  Proposal p;
  p.title = shown.title;
  p.artist = shown.artist;
  p.album = shown.album;
  p.comment = shown.comment;
  ProposeYear(tag, p);
  ProposeTrack(tag, p);
  ProposeGenre(tag, p);
  return p;
}

} // namespace id3::id3v2
