// The portable helpers: text between UTF-8 and the record's code pages, the
// option words of an argument text, file names and size texts, the two-window
// byte source.
#include "tools/bytesource.h"
#include "tools/codepage.h"
#include "tools/codepage_candidates.h"
#include "tools/fileio.h"
#include "tools/paths.h"
#include "tools/text.h"

#include "counting_source.h"
#include "testfs.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

namespace id3 {
namespace {

TEST(CodePage, Windows1252) {
  const CodePage cp = CodePage::Windows1252();
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(cp.Encode(cp.Decode(all)), all);
  EXPECT_EQ(cp.Decode("a\x80\xF6\x9F"), "a€öŸ");
  // U+0080 to U+009F are not the bytes 0x80 to 0x9F.
  EXPECT_EQ(cp.Encode("\u0080\u009F\u00A0"), "??\xA0");
  // Characters it lacks, and malformed UTF-8, become '?'.
  EXPECT_EQ(cp.Encode("a☃b曲c😀\xFF\xE2\x82x\xF5\x80\x80\x80\xE2"), "a?b?c????x?????");
  // Cut to a width without splitting a character.
  EXPECT_EQ(cp.EncodeFit("Björk Guðmundsdóttir", 4), "Bj\xF6r");
  EXPECT_EQ(cp.FitBytes("Bj\xF6rk", 3), "Bj\xF6");
  for (const char* name : {"windows-1252", "CP1252", "1252"})
    EXPECT_EQ(CodePage::Named(name).value().Name(), "windows-1252") << name;
  EXPECT_FALSE(CodePage::Named("no-such-code-page"));
  // Sequences led by the lowest and highest lead bytes of each length.
  EXPECT_EQ(utf8::Count("aé☃😀अ\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBD\xF4\x8F\xBF\xBF"), 10u);
  EXPECT_EQ(utf8::Prefix("aé☃😀", 3), "aé☃");
  EXPECT_EQ(utf8::Prefix("ab", 5), "ab");
}

TEST(FileLayer, WhatAPathNamesAndItsSize) {
  const test::ScratchDir dir;
  const std::string file = dir.File("five.mp3"), folder = test::U8(dir.Path());
  test::WriteAll(file, test::Bytes(5, 0));
  EXPECT_EQ(std::tuple(io::KindOf(file), io::SizeOf(file)), std::tuple(io::PathKind::File, 5u));
  // Reading across the end gives what is there, or ShortRead where all was asked for.
  const auto opened = io::OpenForReading(file);
  std::array<std::uint8_t, 8> buffer{};
  EXPECT_EQ(std::tuple(opened->size, opened->file.ReadSomeAt(2, buffer),
                       opened->file.ReadAt(2, buffer).error()),
            std::tuple(5u, 3u, io::IoError::ShortRead));
  // A write of one byte, the least a write can be.
  EXPECT_TRUE(io::File::Open(file, io::File::Access::ReadWrite)->WriteAt(4, test::Bytes{7}));
  EXPECT_EQ(test::ReadAll(file), (test::Bytes{0, 0, 0, 0, 7}));
  EXPECT_EQ(std::tuple(io::KindOf(folder), io::SizeOf(folder).error()),
            std::tuple(io::PathKind::Directory, io::IoError::IsDirectory));
  EXPECT_EQ(std::tuple(io::KindOf(file + "x"), io::SizeOf(file + "x").error()),
            std::tuple(io::PathKind::Missing, io::IoError::NotFound));
}

TEST(CodePage, ThePlatformsOwn) {
  const auto cyrillic = CodePage::Named("1251");
  ASSERT_TRUE(cyrillic);
  EXPECT_EQ(cyrillic->Encode("Жö"), "\xC6?");
  EXPECT_EQ(CodePage::Named("ISO-8859-15").value().Encode("€"), "\xA4");
  EXPECT_EQ(CodePage::Named("utf-8").value().Encode("é"), "\xC3\xA9");
  // A double-byte code page: a character is never cut in half.
  const auto japanese = CodePage::Named("932");
  if (!japanese) GTEST_SKIP() << "code page 932 is not available";
  EXPECT_EQ(japanese->EncodeFit("aあい", 4), "a\x82\xA0");
  // Bytes cut between two characters.
  for (const auto& [width, kept] : {std::pair{0u, ""}, {1u, "a"}, {2u, "a"}, {3u, "a\x82\xA0"}})
    EXPECT_EQ(japanese->FitBytes("a\x82\xA0", width), kept) << width;
}

TEST(CodePage, EveryCandidateByItsNames) {
  for (const CandidateCodePage& c : CandidateCodePages()) {
    const auto cp = CodePage::Named(c.name);
    ASSERT_TRUE(cp && CodePage::Named(std::to_string(c.number))) << c.name;
    EXPECT_EQ(FindCandidate(cp->Name()), &c);
    for (const std::string& name : {std::to_string(c.number), "CP" + std::to_string(c.number),
                                    "Windows-" + std::to_string(c.number)})
      EXPECT_EQ(FindCandidate(name), &c) << name;
  }
  EXPECT_EQ(FindCandidate("UTF8"), &CandidateCodePages().back());
  for (const char* name : {"ISO-8859-15", "cp", "windows-", "1251x", "cp-1251", "437", ""})
    EXPECT_EQ(FindCandidate(name), nullptr) << name;
  // 1255 and 1258 hold a letter back in case a combining mark follows.
  EXPECT_EQ(CodePage::Named("1255")->Decode("\xF9\xEC\xE5\xED"), "שלום");
}

TEST(TakeOptionWord, WholeWordsOutsideQuotesWithTheBlanksBeforeThem) {
  // text, what is left of it, whether the option was there
  const std::tuple<std::string_view, std::string_view, bool> cases[] = {
      {"song.mp3\t -NoPlay  ", "song.mp3  ", true},
      {"-noplay  song.mp3", "song.mp3", true}, // first: the blanks after it go
      {"a -noplay b -noplay", "a b", true},
      {"\"C:\\x -noplay.mp3\" -noplay", "\"C:\\x -noplay.mp3\"", true},
      {"\"a -noplay\"", "\"a -noplay\"", false},
      {"pre-noplay.mp3", "pre-noplay.mp3", false}};
  for (const auto& [args, rest, found] : cases) {
    const text::OptionTaken taken = text::TakeOptionWord(args, "-noplay");
    EXPECT_TRUE(taken.found == found && taken.rest == rest) << args << " left " << taken.rest;
  }
  // Where a path comes first, a word at the very start is the path.
  EXPECT_FALSE(text::TakeOptionWord("-noplay", "-noplay", text::OptionAt::kAfterBlank).found);
  // Nothing is read outside the text given.
  EXPECT_EQ(text::TakeOptionWord(std::string_view("  -noplay  x").substr(2, 7), "-noplay").rest,
            "");
}

TEST(Paths, FileNameOfAndStripExtension) {
  // path, FileNameOf, StripExtension
  // clang-format off
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {"C:\\Music\\song.mp3", "song.mp3", "C:\\Music\\song"}, {"", "", ""},
      {"C:\\Music\\", "C:\\Music\\", ""}, {"/home/me/", "/home/me/", ""},
      {"a.b.mp3", "a.b.mp3", "a.b"}, {".mp3", ".mp3", ""}, {"song", "song", ""},
      {"/home/me/song.mp3", "song.mp3", "/home/me/song"},
      {"C:\\a/b.mp3", "a/b.mp3", "C:\\a/b"}, // the backslash first
      {"C:/x\\y.mp3", "y.mp3", "C:/x\\y"}, {"C:\\my.dir\\song", "song", "C:\\my"}};
  // clang-format on
  for (const auto& [path, name, stem] : cases) {
    EXPECT_EQ(FileNameOf(path), name) << path;
    EXPECT_EQ(StripExtension(path), stem) << path;
  }
}

TEST(WindowedSource, SameBytesAsTheSourceAndReadsOnlyOutsideTheWindows) {
  std::vector<std::uint8_t> storage; // one storage for all sizes, as over many files
  for (const std::uint64_t size : {0u, 100u, 65u * 1024, 300u * 1024}) {
    test::Bytes bytes(static_cast<std::size_t>(size));
    for (std::size_t i = 0; i < bytes.size(); ++i)
      bytes[i] = static_cast<std::uint8_t>(i * 131 + i / 7);
    const test::CountingSource counting(bytes);
    const auto windowed = io::WindowedSource::Read(counting, storage);
    ASSERT_TRUE(windowed);
    EXPECT_EQ(counting.reads, size == 0 ? 1 : size <= 64 * 1024 ? 1 : 2) << size;

    const io::MemorySource plain(bytes);
    const std::uint64_t offsets[] = {0, 1, 4000, 65535, 65536, 70000, size - 4096, size - 1, size};
    for (const std::uint64_t offset : offsets) {
      if (offset > size) continue;
      for (const std::size_t length : {1u, 10u, 128u, 5000u}) {
        const int reads = counting.reads;
        test::Bytes want(length), got(length);
        const auto a = plain.ReadAt(offset, want);
        const auto b = windowed->ReadAt(offset, got);
        ASSERT_TRUE(a && b);
        ASSERT_EQ(*a, *b) << size << " at " << offset << " for " << length;
        EXPECT_EQ(want, got) << size << " at " << offset << " for " << length;
        // Inside a window, or in the head up to the end of a short source.
        constexpr std::uint64_t kHead = io::WindowedSource::kHeadSize;
        constexpr std::uint64_t kTail = io::WindowedSource::kTailSize;
        // The tail of a source shorter than both windows follows the head.
        const bool in_head = offset + length <= kHead || size <= kHead + kTail;
        const bool in_tail = offset >= size - std::min(size, kTail);
        EXPECT_EQ(counting.reads, reads + (in_head || in_tail ? 0 : 1)) << offset << " " << length;
      }
    }
  }
}

} // namespace
} // namespace id3
