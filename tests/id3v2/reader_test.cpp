// The ID3v2 reader over bytes in memory: each version's layout, the frame
// flags, damaged tags, the text encodings, and what it costs to read.
#include "id3v2/reader.h"

#include "id3v2_synth.h"
#include "sample_tag.h"

#include <gtest/gtest.h>

#include <zlib.h>

namespace id3::id3v2 {
namespace {

using test::Bytes;
using test::CommData;
using test::Concat;
using test::Id3v2Tag;
using test::Text;
using test::TextData;
using test::V2Frame;

const CodePage kCp = CodePage::Windows1252();

Bytes Zlib(const Bytes& data) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  Bytes out(size);
  compress(out.data(), &size, data.data(), static_cast<uLong>(data.size()));
  out.resize(size);
  return out;
}

// 0xFF 0x00 behind each 0xFF.
Bytes Unsynchronised(const Bytes& data) {
  Bytes out;
  for (const std::uint8_t b : data) {
    out.push_back(b);
    if (b == 0xFF) out.push_back(0);
  }
  return out;
}

// What was found, in one line: the version, each text frame's values, the
// comments, frames skipped, a tag cut short, the other tags.
std::string Summary(const Found& found) {
  static const char* const kNames[] = {"title", "artist",   "band",     "album", "recorded",
                                       "year",  "released", "original", "track", "genre"};
  std::string s;
  if (const auto& t = found.tag) {
    const Header& h = t->place.header;
    s = "2." + std::to_string(h.major) + "." + std::to_string(h.revision);
    for (std::size_t i = 0; i < kTextFrameCount; ++i) {
      if (!t->texts[i]) continue;
      s += std::string(" ") + kNames[i] + "=";
      for (const auto& v : *t->texts[i]) s += v + (&v == &t->texts[i]->back() ? "" : "|");
    }
    for (const Comment& c : t->comments) {
      s += " comm[" + c.language + "/" + c.description + "]=";
      for (const auto& v : c.text) s += v + (&v == &c.text.back() ? "" : "|");
    }
    if (t->skipped_frames) s += " skipped=" + std::to_string(t->skipped_frames);
    if (t->cut_short) s += " cut";
  } else {
    s = "none";
  }
  for (const PlacedTag& o : found.others)
    s += " other=2." + std::to_string(o.header.major) + "@" + std::to_string(o.offset);
  return s;
}

std::string Read(const io::ByteSource& src) {
  const auto found = id3v2::Read(src, kCp);
  return found ? Summary(*found) : "read error";
}
std::string Read(const Bytes& file) { return Read(io::MemorySource(file)); }

Bytes Frame3(std::string_view id, std::string_view text) { return V2Frame(3, id, TextData(text)); }
Bytes Frame4(std::string_view id, std::string_view text, std::uint16_t flags = 0) {
  return V2Frame(4, id, TextData(text), flags);
}

// What stands for the audio: the reader never looks into it.
const Bytes kAudio(834, 0x55);

TEST(Id3v2Header, LengthIsHeaderSynchsafeSizeAndFooter) {
  const auto header = [](const char* magic, std::uint8_t major, std::uint8_t revision,
                         std::uint8_t flags, Bytes size) {
    return Concat({Text(magic), Bytes{major, revision, flags}, std::move(size)});
  };
  const auto length = [](const Bytes& b) {
    const auto h = ParseHeader(b);
    return h ? h->Length() : 0;
  };
  EXPECT_EQ(length(header("ID3", 3, 1, 0, {0, 0, 0x02, 0x01})), 10u + 257u);
  EXPECT_EQ(length(header("ID3", 4, 0, 0, {0x7F, 0x7F, 0x7F, 0x7F})), 10u + 0x0FFFFFFFu);
  EXPECT_EQ(length(header("ID3", 4, 0, 0xEF, {0, 0, 0x01, 0})), 10u + 128u); // other flags
  // Not an ID3v2 header: not synchsafe, a version byte of 0xFF, "id3", cut short.
  for (const Bytes& b : {header("ID3", 4, 0, 0, {0, 0, 0x80, 0}), header("ID3", 0xFF, 0, 0, {}),
                         header("ID3", 4, 0xFF, 0, {0, 0, 0, 0}),
                         header("id3", 4, 0, 0, {0, 0, 0, 0}), header("ID3", 4, 0, 0, {0, 0, 0})})
    EXPECT_EQ(ParseHeader(b), std::nullopt) << testing::PrintToString(b);
  EXPECT_EQ(ParseFooter(header("3DI", 4, 0, 0x10, {0, 0, 0, 9})),
            (Header{.major = 4, .revision = 0, .flags = 0x10, .size = 9}));
  EXPECT_EQ(ParseFooter(header("ID3", 4, 0, 0x10, {0, 0, 0, 9})), std::nullopt);
}

TEST(Id3v2Reader, VersionsLayoutsAndFlags) {
  const Bytes title3 = Frame3("TIT2", "T");
  const Bytes sync = TextData("\xFF\xE0\xFF");
  const Bytes squeezed = Zlib(TextData("Squeezed"));
  const Bytes bomb = Zlib(TextData(std::string(2 * kMaxTextData, 'a')));
  const struct {
    const char* what;
    Bytes file;
    std::string want;
  } cases[] = {
      {"2.2 compressed as a whole: no scheme was ever defined",
       Id3v2Tag(V2Frame(2, "TT2", TextData("Two")), 0x40, 2), "none other=2.2@0"},
      {"2.3 unsynchronised as a whole, the extended header too",
       Id3v2Tag(Unsynchronised(
                    Concat({test::Be32(6), Bytes(6, 0xFF), V2Frame(3, "TIT2", sync), title3})),
                0xC0, 3),
       "2.3.0 title=\xC3\xBF\xC3\xA0\xC3\xBF"},
      {"2.4 extended headers, counted with their size, synchsafe",
       Id3v2Tag(Concat({test::Synchsafe(128), Bytes{1, 0}, Bytes(122, 0), Frame4("TALB", "Al")}),
                0x40),
       "2.4.0 album=Al"},
      {"an extended header larger than the tag leaves no frames",
       Id3v2Tag(Concat({test::Be32(99), Bytes(6, 0), title3}), 0x40, 3), "2.3.0"},
      {"2.4 unsynchronised by the tag's flag",
       Id3v2Tag(V2Frame(4, "TIT2", Unsynchronised(sync)), 0x80),
       "2.4.0 title=\xC3\xBF\xC3\xA0\xC3\xBF"},
      {"2.4 data length; compressed with it; a group and a length",
       Id3v2Tag(Concat(
           {V2Frame(4, "TIT2", Concat({test::Synchsafe(2), TextData({"D\xFF\0x", 4})}), 0x0001),
            V2Frame(4, "TALB", Concat({test::Be32(9), squeezed}), 0x0009),
            V2Frame(4, "TPE1", Concat({Bytes{7}, test::Be32(2), TextData("G")}), 0x0041)})),
       "2.4.0 title=D\xC3\xBF|x artist=G album=Squeezed"},
      {"2.3 compressed; grouped; encrypted is skipped; flags it does not know; a text ends at "
       "its first terminator",
       Id3v2Tag(Concat({V2Frame(3, "TIT2", Concat({test::Be32(9), squeezed}), 0x0080),
                        V2Frame(3, "TPE1", Concat({Bytes{1}, TextData("G")}), 0x0020),
                        V2Frame(3, "TALB", Concat({Bytes{1}, TextData("E")}), 0x0040),
                        V2Frame(3, "TRCK", TextData("7"), 0x1F1F),
                        V2Frame(3, "TCON", TextData({"Clean\0JUNK", 10}))}),
                0, 3),
       "2.3.0 title=Squeezed artist=G track=7 genre=Clean skipped=1"},
      {"2.4 encrypted, data that does not inflate, or inflates past 1 MiB: skipped",
       Id3v2Tag(Concat({V2Frame(4, "TIT2", Concat({Bytes{1}, TextData("E")}), 0x0004),
                        V2Frame(4, "TALB", Concat({test::Be32(9), Bytes(9, 7)}), 0x0009),
                        V2Frame(4, "TCON", Concat({test::Be32(9), bomb}), 0x0009),
                        Frame4("TPE1", "A")})),
       "2.4.0 artist=A skipped=3"},
      {"flags announcing more than the frame holds", Id3v2Tag(V2Frame(4, "TIT2", Bytes{0}, 0x0041)),
       "2.4.0 skipped=1"},
  };
  for (const auto& c : cases) EXPECT_EQ(Read(Concat({c.file, kAudio})), c.want) << c.what;
}

TEST(Id3v2Reader, DamagedTags) {
  const Bytes title = Frame4("TIT2", "T");
  const Bytes v1 = test::RecordBytes(test::SampleTag());
  // 2.4 sizes of 300 bytes: 0x12C as a plain integer, as old encoders wrote
  // it (and as 2.3 does), reads as 172 synchsafe.
  const Bytes plain = V2Frame(3, "COMM", CommData("", std::string(295, 'x')));
  const Bytes synchsafe200 = Frame4("TPE1", std::string(199, 'y'));
  const Bytes big = Id3v2Tag(Concat({title, Bytes(5000, 0)}));
  const Bytes small = Id3v2Tag(title);
  const Bytes appended = Id3v2Tag(title, 0x10);
  const Bytes many = [] {
    Bytes b;
    for (int i = 0; i < 20; ++i) b = Concat({b, Id3v2Tag({})});
    return b;
  }();
  const struct {
    const char* what;
    Bytes file;
    std::string want;
  } cases[] = {
      {"no tag", kAudio, "none"},
      {"a frame of size 0, one without an identifier: skipped",
       Id3v2Tag(Concat({V2Frame(4, "TALB", {}), V2Frame(4, "ti2x", TextData("?")),
                        V2Frame(4, "TX09", TextData("?")), title})),
       "2.4.0 title=T skipped=2"},
      {"a frame past the tag's end ends the frames",
       Id3v2Tag(Concat({title, Text("TALB"), test::Synchsafe(50), Bytes(6, 0)})),
       "2.4.0 title=T skipped=1"},
      {"the first frame of a kind counts; padding ends the frames",
       Id3v2Tag(Concat({title, Frame4("TIT2", "U"), Bytes(20, 0), Frame4("TALB", "P")})),
       "2.4.0 title=T"},
      {"a tag claiming more than the file holds", Bytes(big.begin(), big.begin() + 100),
       "2.4.0 title=T cut"},
      {"a frame that the file's end cuts", Bytes(small.begin(), small.end() - 1),
       "2.4.0 skipped=1 cut"},
      {"several tags: the first is read",
       Concat({Id3v2Tag(title, 0x10), Id3v2Tag(Frame3("TALB", "B"), 0, 3)}),
       "2.4.0 title=T other=2.3@32"},
      {"only 16 are listed", many,
       "2.4.0 other=2.4@10 other=2.4@20 other=2.4@30 other=2.4@40 other=2.4@50 other=2.4@60 "
       "other=2.4@70 other=2.4@80 other=2.4@90 other=2.4@100 other=2.4@110 other=2.4@120 "
       "other=2.4@130 other=2.4@140 other=2.4@150"},
      {"a 2.4 tag appended at the end", Concat({kAudio, appended}), "none other=2.4@834"},
      {"appended in front of an ID3v1 tag", Concat({Id3v2Tag(title), kAudio, appended, v1}),
       "2.4.0 title=T other=2.4@856"},
      {"a footer without its header is no tag",
       Concat({kAudio, Bytes(appended.begin() + 1, appended.end())}), "none"},
      {"a plain 2.4 size in front of the padding", Id3v2Tag(Concat({title, plain, Bytes(64, 0)})),
       "2.4.0 title=T comm[eng/]=" + std::string(295, 'x')},
      {"2.4 sizes as plain integers: the reading that lands on a frame",
       Id3v2Tag(Concat({plain, title, synchsafe200, Frame4("TALB", "A")})),
       "2.4.0 title=T artist=" + std::string(199, 'y') +
           " album=A comm[eng/]=" + std::string(295, 'x')},
      {"an unknown version is no tag to read, only listed", Id3v2Tag(title, 0, 5),
       "none other=2.5@0"},
      {"a text frame of an unknown encoding is skipped",
       Id3v2Tag(Concat({V2Frame(4, "TIT2", TextData("T", 4)), Frame4("TPE1", "")})),
       "2.4.0 skipped=1"},
  };
  for (const auto& c : cases) EXPECT_EQ(Read(c.file), c.want) << c.what;
}

TEST(Id3v2Reader, Encodings) {
  const std::optional<CodePage> cp1251 = CodePage::Named("1251");
  const std::optional<CodePage> utf8 = CodePage::Named("utf-8");
  ASSERT_TRUE(cp1251 && utf8);
  const struct {
    const char* what;
    Bytes data;
    std::vector<std::string> want;
    const CodePage* cp = &kCp;
  } cases[] = {
      {"Latin-1 as the code page given", TextData("\x80 \xC0"), {"€ À"}},
      {"the same bytes in 1251", TextData("\x80 \xC0"), {"Ђ А"}, &*cp1251},
      {"bytes that are no UTF-8: Latin-1 as the frame says", TextData("Caf\xE9"), {"Café"}, &*utf8},
      {"UTF-8 where it is", TextData("Caf\xC3\xA9"), {"Café"}, &*utf8},
      {"2.4 values, the empty ones dropped", TextData(std::string("A\0\0B\0", 5)), {"A", "B"}},
      {"UTF-16 with BOMs", Bytes{1, 0xFF, 0xFE, 'a', 0, 0, 0, 0xFE, 0xFF, 0, 'b'}, {"a", "b"}},
      {"without a BOM: the first string's", Bytes{1, 0xFE, 0xFF, 0, 'a', 0, 0, 0, 'b'}, {"a", "b"}},
      {"no BOM at all: little-endian", Bytes{1, 'a', 0, 0x38, 0x04}, {"aи"}},
      {"an odd trailing byte dropped", Bytes{1, 0xFF, 0xFE, 'a', 0, 'b'}, {"a"}},
      {"surrogates: a pair, and ones alone",
       Bytes{1, 0x3D, 0xD8, 0x00, 0xDE, 0x00, 0xDC, 0x3D, 0xD8, 'x', 0, 0x3D, 0xD8, 0x00, 0xE0},
       {"\xF0\x9F\x98\x80\xEF\xBF\xBD\xEF\xBF\xBDx\xEF\xBF\xBD\xEE\x80\x80"}},
      {"UTF-8, a BOM dropped, bad bytes replaced",
       TextData("\xEF\xBB\xBF\xC3\xA9\xC3x\x80", 3),
       {"é\xEF\xBF\xBDx\xEF\xBF\xBD"}},
      {"a BOM's second byte alone is none", Bytes{1, 0x41, 0xFF}, {"\xEF\xBD\x81"}},
  };
  for (const auto& c : cases) EXPECT_EQ(TextValues(c.data, *c.cp), c.want) << c.what;
  EXPECT_EQ(TextValues(Bytes{}, kCp), std::nullopt);
  EXPECT_EQ(TextValues(Bytes{0}, kCp, Values::kFirst), std::vector<std::string>{});

  // A comment: its language, its description in UTF-16 with the text behind it.
  const Bytes comm = {1, 'd', 'e', 'u', 0xFF, 0xFE, 'd', 0, 0, 0, 0xFF, 0xFE, 't', 0, 0, 0};
  EXPECT_EQ(CommentOf(comm, kCp), (Comment{"deu", "d", {"t"}}));
  EXPECT_EQ(CommentOf(Bytes{0, 'e', 'n'}, kCp), std::nullopt);
  EXPECT_EQ(CommentOf(Bytes{5, 'e', 'n', 'g'}, kCp), std::nullopt);
}

// A cover picture of 5 MB costs a skip: what is read is the frame headers and
// the 16 KiB read ahead of them. A 2.3 tag unsynchronised as a whole is read
// through to its last wanted frame, since its frames can only be found after
// resynchronising, but 64 KiB at a time rather than all at once.
TEST(Id3v2Reader, ReadsFrameHeadersAndTheWantedFramesOnly) {
  const Bytes picture = V2Frame(4, "APIC", Bytes(5'000'000, 0x77));
  const Bytes file = Concat(
      {Id3v2Tag(Concat({Frame4("TIT2", "T"), picture, Frame4("TALB", "A"), Frame4("TXXX", "x")})),
       kAudio});
  const test::CountingSource src(file);
  EXPECT_EQ(Read(src), "2.4.0 title=T album=A");
  // And the last 4 KiB, for the blocks at the file's end.
  EXPECT_LT(src.bytes_read, 21'000u);

  const Bytes whole =
      Concat({Id3v2Tag(Unsynchronised(
                           Concat({Frame3("TIT2", "T"), V2Frame(3, "APIC", Bytes(100'000, 0xFF)),
                                   Frame3("TALB", "A")})),
                       0x80, 3),
              kAudio});
  const test::CountingSource unsynchronised(whole);
  EXPECT_EQ(Read(unsynchronised), "2.3.0 title=T album=A");
  EXPECT_GT(unsynchronised.bytes_read, 200'000u);
  EXPECT_LE(unsynchronised.largest_read, 64u * 1024);

  // Small frames behind the source's windows: a read per 16 KiB, not per frame.
  Bytes small;
  for (int i = 0; i < 3000; ++i) small = Concat({small, Frame4("TXXX", "x")});
  const Bytes crowded = Concat({Id3v2Tag(Concat({small, Frame4("TALB", "A")})), kAudio});
  const test::CountingSource crowd(crowded);
  EXPECT_EQ(Read(crowd), "2.4.0 album=A");
  EXPECT_LT(crowd.reads, 10);

  // A read that fails is an error, wherever it falls.
  for (const std::uint64_t at : {std::uint64_t{5}, std::uint64_t{20}, std::uint64_t{5'000'030},
                                 std::uint64_t{5'000'050}, std::uint64_t{file.size() - 1}}) {
    test::CountingSource failing(file);
    failing.fail_from = at;
    EXPECT_EQ(Read(failing), "read error") << at;
  }
}

} // namespace
} // namespace id3::id3v2
