// Real files: what the reader finds in the corpus that mutagen, eyeD3,
// id3lib and ffmpeg tagged (tests/data/id3v2/make-corpus) and in the bundled
// public samples, against what mutagen reads in the same files, and against
// what ffprobe reads where it reads the frame.
#include "id3v2/fields.h"
#include "id3v2/reader.h"
#include "tools/bytesource.h"

#include "testfs.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <fstream>
#include <set>

namespace id3::id3v2 {

// For failures: what the comment holds.
void PrintTo(const Comment& c, std::ostream* os) {
  *os << c.language << "/" << c.description << ": " << testing::PrintToString(c.text);
}

namespace {

using nlohmann::json;

// The identifiers of each text frame, as mutagen names them (it names 2.2
// frames as 2.3 does).
constexpr std::pair<TextFrame, const char*> kIds[] = {
    {TextFrame::kTitle, "TIT2"},        {TextFrame::kArtist, "TPE1"},
    {TextFrame::kBand, "TPE2"},         {TextFrame::kAlbum, "TALB"},
    {TextFrame::kRecorded, "TDRC"},     {TextFrame::kYear, "TYER"},
    {TextFrame::kReleased, "TDRL"},     {TextFrame::kOriginalYear, "TDOR"},
    {TextFrame::kOriginalYear, "TORY"}, {TextFrame::kTrack, "TRCK"},
    {TextFrame::kGenre, "TCON"},
};

// Where ffprobe reads otherwise: it drops the last 0xFF of a frame that
// unsynchronisation ended in 0xFF 0x00, and shows the reference "RX" as it
// stands, where we show "Remix".
const std::set<std::pair<std::string, std::string>> kFfprobeDiffers = {
    {"made-v23-unsync.mp3", "title"}, {"mutagen-v24-utf16be.mp3", "genre"}};

std::string First(const std::optional<std::vector<std::string>>& values) {
  return values ? values->front() : "";
}

TEST(Id3v2Corpus, AgreesWithMutagenAndFfprobe) {
  std::ifstream views_file(test::FromU8(test::GenFile("id3v2/views.json")));
  ASSERT_TRUE(views_file) << "made by tests/data/id3v2/make-corpus";
  const json views = json::parse(views_file);
  ASSERT_GT(views.size(), 40u);
  for (const json& v : views) {
    const std::string name = v["file"];
    SCOPED_TRACE(name);
    const std::string path = v["bundled"] ? test::DataFile(name) : test::GenFile("id3v2/" + name);
    const auto file = io::OpenForReading(path);
    ASSERT_TRUE(file);
    const io::FileSource src(file->file, file->size);
    const auto found = Read(src, CodePage::Windows1252());
    ASSERT_TRUE(found);
    if (v["version"].is_null()) {
      EXPECT_FALSE(found->tag);
      continue;
    }
    ASSERT_TRUE(found->tag);
    const Tag& tag = *found->tag;
    const Header& h = tag.place.header;
    EXPECT_EQ("2." + std::to_string(h.major) + "." + std::to_string(h.revision), v["version"]);
    EXPECT_EQ(tag.skipped_frames, 0u);

    // Every text frame read, as mutagen reads it.
    const json& text = v["text"];
    for (std::size_t i = 0; i < kTextFrameCount; ++i) {
      const auto frame = static_cast<TextFrame>(i);
      std::optional<std::vector<std::string>> want;
      for (const auto& [f, id] : kIds)
        if (f == frame && !want && text.contains(id)) want = text[id];
      if (want && want->empty()) want.reset();
      EXPECT_EQ(tag.Text(frame), want) << i;
    }
    std::vector<Comment> comments;
    for (const json& c : v["comments"]) comments.push_back({c["lang"], c["desc"], c["text"]});
    EXPECT_EQ(tag.comments, comments);

    // ffprobe keeps the first value of a frame, names the comment by its
    // description, and joins 2.3's year and day into one date.
    const json& probe = v["ffprobe"];
    const Fields shown = ShownFields(tag);
    const auto against = [&](const char* key, const std::string& ours) {
      if (probe.contains(key) && !kFfprobeDiffers.contains({name, key})) {
        EXPECT_EQ(ours, probe[key]) << key;
      }
    };
    against("title", First(tag.Text(TextFrame::kTitle)));
    against(probe.contains("artist") ? "artist" : "album_artist",
            First(tag.Text(tag.Text(TextFrame::kArtist) ? TextFrame::kArtist : TextFrame::kBand)));
    against("album", First(tag.Text(TextFrame::kAlbum)));
    against("track", First(tag.Text(TextFrame::kTrack)));
    if (shown.genre) against("genre", shown.genre->substr(0, shown.genre->find(" / ")));
    if (shown.comment)
      against(probe.contains("ID3v1 Comment") ? "ID3v1 Comment" : "comment", *shown.comment);
    if (shown.year && probe.contains("date")) {
      EXPECT_EQ(std::string(probe["date"]).substr(0, 4), shown.year->substr(0, 4));
    }
  }
}

} // namespace
} // namespace id3::id3v2
