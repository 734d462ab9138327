// id3v1 end to end, in-process: real files, the real tag store and scan. Odd files give a
// clear result or a clear error, and nothing is changed unless the command succeeds.
#include "cli/app.h"
#include "version.h"

#include "id3v2_synth.h"
#include "sample_tag.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <sstream>

namespace id3::cli {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using test::Bytes;
using test::Concat;

struct Outcome {
  int status;
  std::string out, err;
};

Outcome Cli(std::vector<std::string> args) {
  args.insert(args.begin(), "id3v1");
  std::string out, err;
  const int status = RunCli(
      args, [&](std::string_view t) { out += t; }, [&](std::string_view t) { err += t; });
  return {status, out, err};
}

std::vector<json> JsonLines(const std::string& out) {
  std::vector<json> objects;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) objects.push_back(json::parse(line));
  return objects;
}

json ShowJson(const std::string& path) {
  return json::parse(Cli({"show", "--json", "--any-name", path}).out);
}

// 100 frames of MPEG-1 Layer III, 128 kbit/s: 3 s.
const Bytes kAudio = test::Frames(test::kCbr128, 100);

const TagFields kSample = [] {
  TagFields f = test::SampleTag();
  f.track = 4;
  return f;
}();

TagFields TagOf(const std::string& path) { return test::TagOf(path, CodePage::Windows1252()); }

// The record in one line: title|artist|album|year|comment|track|genre.
std::string Brief(const TagFields& t) {
  return t.title + '|' + t.artist + '|' + t.album + '|' + t.year + '|' + t.comment + '|' +
         (t.track ? std::to_string(*t.track) : "-") + '|' +
         (t.genre.empty() ? std::to_string(t.genre_byte) : t.genre);
}

using CliTest = test::ScratchTest;

TEST_F(CliTest, ShowTextHasTheWindowsCaptions) {
  const auto frame = [](std::string_view id, std::string_view text) {
    return test::V2Frame(4, id, test::TextData(text, 3));
  };
  const Bytes v2 = test::Id3v2Tag(
      Concat({frame("TIT2", "Ωmega"), frame("TPE1", std::string("A\0B", 3)),
              frame("TDRC", "2004-05-06"), frame("TRCK", "3/12"), frame("TCON", "(17)Eurodance"),
              test::V2Frame(4, "COMM", test::CommData("iTunNORM", " 0A2B")),
              test::V2Frame(4, "COMM", test::CommData("", "Note")), Bytes(20, 0)}));
  const Bytes other = test::Id3v2Tag({}, 0, 3);
  const std::string path = Make("a.mp3", Concat({v2, other, kAudio, test::RecordBytes(kSample)}));
  const Outcome r = Cli({"show", path, path});
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string block =
      path + "\nTitle: Title\nArtist: Artist\nAlbum: Album\nYear: 2001\nNote: Comment\nTrack: 4\n"
             "Genre: Pop\nCode page: windows-1252 (default)\n"
             "Trailing: ID3v1 at 41878 (128 bytes)\nID3v2: 2.4.0, 168 bytes\n  Title: Ωmega\n  "
             "Artist: A / B\n"
             "  Year: 2004-05-06\n  Note: Note\n  Track: 3/12\n  Genre: Rock / Eurodance\n"
             "Other ID3v2: 2.3.0, 10 bytes at 168, not read\nBitrate: 128\nEmphasis: None\n"
             "Duration: 0:03\nFrequency: 44100\nLayer: 3\nFile size: 41.02 KB\nMode: Stereo\n"
             "Mpeg version: 1\n";
  EXPECT_EQ(r.out, block + "\n" + block);
  EXPECT_EQ(ShowJson(path)["id3v2"], json::parse(R"({"version":"2.4.0","size":168,
      "title":"Ωmega","artist":"A / B","album":null,"year":"2004-05-06","comment":"Note",
      "track":"3/12","genre":"Rock / Eurodance"})"));
}

TEST_F(CliTest, ShowJsonHasExactlyTheDocumentedKeys) {
  const std::string tagged = Make("a.mp3", Concat({kAudio, test::RecordBytes(kSample)}));
  // Tags over bytes that hold no audio: an empty ID3v2 tag, one appended.
  const std::string junk =
      Make("b.MP3", Concat({test::Id3v2Tag({}), Bytes(3000, 0x55), test::Id3v2Tag({}, 0x10),
                            test::RecordBytes(kSample)}));
  // A name need not be UTF-8 (on POSIX): what is not becomes U+FFFD.
  const std::string missing =
      dir.File("c") +
      "\xFF\xED\xA0\x80\xE6\x9B\x41中\"\x01\xC2\x80\xF0\x90\x80\x80\xED\x9F\xBF.mp3";
  // A name cut inside a sequence.
  const std::string cut = dir.File("d") + "\xE6\x9B";
  const Outcome r = Cli({"show", "--json", tagged, junk, missing, cut});
  EXPECT_EQ(r.status, 1);
  auto objects = JsonLines(r.out);
  ASSERT_EQ(objects.size(), 4u);
  EXPECT_EQ(objects[0], json::parse(R"({"file":)" + json(tagged).dump() + R"(,
      "tag":{"title":"Title","artist":"Artist","album":"Album","year":"2001",
             "comment":"Comment","track":4,"genre":"Pop","genre_number":13,
             "codepage":"windows-1252","codepage_from":"default"},
      "id3v2":null,"id3v2_others":[],
      "trailing":[{"kind":"ID3v1","offset":41700,"size":128}],"trailing_unclear":null,
      "audio":{"valid":true,"bitrate_kbps":128,"vbr":false,"frequency_hz":44100,
               "duration_s":2.606,"frames":100,"mpeg_version":1,"layer":3,"channel_mode":"Stereo",
               "emphasis":"None","protected":false,"copyrighted":false,"original":false,
               "header_position":0},
      "file_size":41828,"error":null})"));
  EXPECT_EQ(std::tuple(objects[1]["tag"]["track"], objects[1]["id3v2"]["size"],
                       objects[1]["id3v2_others"], objects[1]["audio"]),
            std::tuple(4, 10, json::parse(R"([{"version":"2.4.0","offset":3010,"size":20}])"),
                       json{{"valid", false}}));
  EXPECT_EQ(objects[2]["file"],
            dir.File("c") +
                "\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFDA中\"\u0001\u0080\U00010000\uD7FF.mp3");
  objects[2].erase("file");
  EXPECT_EQ(objects[2], json::parse(R"({"tag":null,"id3v2":null,"id3v2_others":[],"trailing":[],
      "trailing_unclear":null,"audio":null,"file_size":null,"error":"no such file"})"));
  EXPECT_EQ(objects[3]["file"], dir.File("d") + "\uFFFD\uFFFD");
  EXPECT_EQ(r.err, "id3v1: " + missing + ": no such file\nid3v1: " + cut + ": not an .mp3 name\n");
}

// Names a command line makes awkward, in files read by several threads; a
// folder, missing files and names without .mp3 among them.
TEST_F(CliTest, ManyFilesInTheirOrderEachFailureForItsFile) {
  const std::string_view names[] = {"with  blanks ", "ünïcødé 曲", "-register", "pre -unregister"};
  std::vector<std::string> files;
  std::string want_err;
  for (int i = 0; i < 100; ++i) { // 3 threads: one for each 32 files
    const char* ext = i % 7 == 3 ? ".txt" : i % 2 ? ".MP3" : ".mp3";
    files.push_back(dir.File(std::string(names[i % 4]) + std::to_string(i) + ext));
    const char* error = i % 7 == 3 ? "not an .mp3 name" : i % 5 == 2 ? "no such file" : nullptr;
    if (i == 1) {
      fs::create_directory(test::FromU8(files.back()));
      error = "is a directory";
    } else if (i % 5 != 2) {
      test::WriteAll(files.back(), kAudio);
    }
    if (error) want_err += "id3v1: " + files.back() + ": " + error + "\n";
  }
  const auto run = [&](std::vector<std::string> args) {
    args.push_back("--");
    args.insert(args.end(), files.begin(), files.end());
    return Cli(args);
  };
  EXPECT_EQ(run({"set", "--artist", "Name"}).err, want_err);
  const Outcome shown = run({"show", "--json", "--jobs", "3"});
  EXPECT_EQ(std::pair(shown.status, shown.err), std::pair(1, want_err));
  const auto objects = JsonLines(shown.out);
  ASSERT_EQ(objects.size(), files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    EXPECT_EQ(objects[i]["file"], files[i]);
    const json& tag = objects[i]["tag"];
    EXPECT_EQ(tag.is_null() ? "" : tag["artist"], i % 7 == 3 || i % 5 == 2 || i == 1 ? "" : "Name");
  }
  EXPECT_EQ(run({"show", "--json", "-j", "1"}).out, shown.out);
  EXPECT_EQ(run({"remove"}).err, want_err);
  for (std::size_t i = 0; i < files.size(); i += 5) EXPECT_EQ(test::ReadAll(files[i]), kAudio);
  EXPECT_EQ(Cli({"set", "--any-name", "--title", "x", files[3]}).status, 0);
  EXPECT_EQ(TagOf(files[3]).title, "x");
}

// The genre by name and by number, and the track; the other fields' bytes are
// the next test's.
TEST_F(CliTest, SetGenresAndTracks) {
  const std::string path = Make("a.mp3", Concat({kAudio, test::RecordBytes(kSample)}));
  ASSERT_EQ(Cli({"set", "--genre", "blues", "--track", "0", path}).status, 0);
  EXPECT_EQ(Brief(TagOf(path)), "Title|Artist|Album|2001|Comment|-|Blues");
  ASSERT_EQ(Cli({"set", "--genre", "255", "--track", "255", path}).status, 0);
  EXPECT_EQ(Brief(TagOf(path)), "Title|Artist|Album|2001|Comment|255|255");
}

// Words tagged on a Western system: set in another code page changes the
// bytes of what it is given only (which bytes each code page keeps is the tag
// store's).
TEST_F(CliTest, SetKeepsTheBytesOfWhatItIsNotGivenAndSaysWhatItLoses) {
  TagFields western;
  western.title = "Café Crème", western.comment = "Über Déjà", western.year = "1999";
  const Bytes file = Concat({kAudio, test::RecordBytes(western)});
  const std::string path = Make("a.mp3", file);
  Outcome r = Cli({"--codepage", "utf-8", "set", "--year", "2002", path});
  EXPECT_EQ(std::pair(r.status, r.err), std::pair(0, std::string()));
  Bytes want = file;
  std::ranges::copy(std::string("2002"), want.end() - 128 + record::kYearOffset);
  EXPECT_EQ(test::ReadAll(path), want);
  // Characters the code page lacks, and a comment that a new track number
  // cuts: warnings, or with --strict failures that leave that file alone.
  const std::string tagged = Make("b.mp3", file);
  TagFields full;
  full.comment = std::string(30, 'c');
  const Bytes full_file = Concat({kAudio, test::RecordBytes(full)});
  const std::string long_comment = Make("full.mp3", full_file);
  const std::string lacks = ": title has characters that " + CodePage::SystemDefault().Name() +
                            " lacks",
                    longer = ": comment is longer than 28 bytes";
  r = Cli({"set", "--strict", "--track", "3", long_comment, tagged});
  EXPECT_EQ(std::pair(r.status, r.err),
            std::pair(1, "id3v1: " + long_comment + longer + "; not written (--strict)\n"));
  EXPECT_EQ(test::ReadAll(long_comment), full_file);
  EXPECT_EQ(TagOf(tagged).track, 3);
  r = Cli({"set", "--title", "日本語", "--track", "3", long_comment});
  EXPECT_EQ(std::pair(r.status, r.err),
            std::pair(0, "id3v1: warning: " + long_comment + lacks + "; stored as \"???\"\n" +
                             "id3v1: warning: " + long_comment + longer + "; stored as \"" +
                             std::string(28, 'c') + "\"\n"));
  EXPECT_EQ(std::tuple(TagOf(long_comment).title, TagOf(long_comment).comment),
            std::tuple("???", std::string(28, 'c')));
}

// Too short for a tag, but a file all the same: shown without an error, and
// refused by set, which gives a file of a record's size or more its tag.
TEST_F(CliTest, FilesWithoutATagShortOrNot) {
  for (const std::size_t n : {0u, 3u, 4u, 127u, 128u, 417u}) {
    const Bytes content(kAudio.begin(), kAudio.begin() + static_cast<std::ptrdiff_t>(n));
    const std::string path = Make("tiny" + std::to_string(n) + ".mp3", content);
    const json shown = ShowJson(path);
    EXPECT_EQ(std::tuple(shown["error"], shown["file_size"], shown["tag"]),
              std::tuple(json(nullptr), json(n), json(nullptr)));
    const Outcome set = Cli({"set", "--title", "x", path});
    EXPECT_EQ(std::pair(set.status, set.err),
              n < 128 ? std::pair(1, "id3v1: " + path + ": shorter than 128 bytes\n")
                      : std::pair(0, std::string()));
    EXPECT_EQ(test::ReadAll(path).size(), n < 128 ? n : n + 128);
  }
  // Nothing but a tag.
  EXPECT_EQ(ShowJson(Make("only.mp3", test::RecordBytes(kSample)))["tag"]["title"], "Title");
}

// The files the taggers left (tests/data/trailing): show reads TAG+ into the
// title; an unclear end is shown, and set and remove refuse it with what was
// found, the file byte for byte and the next file still done. Which blocks
// are there and what set and remove write there is the tag store's.
TEST_F(CliTest, TheBlocksAtTheEndShownAndAnUnclearEndRefused) {
  const std::string plain = Make("plain.mp3", kAudio);
  for (const auto& layout : json::parse(test::ReadAll(test::GenFile("trailing/layouts.json")))) {
    const std::string name = layout["file"];
    SCOPED_TRACE(name);
    const Bytes file = test::ReadAll(test::GenFile("trailing/" + name));
    const std::string path = Make(name, file);
    const bool unclear = layout["unclear"];
    const auto& blocks = layout["blocks"];
    const json shown = ShowJson(path);
    EXPECT_EQ(shown["trailing_unclear"].is_null(), !unclear);
    EXPECT_EQ(shown["tag"].is_null() ? "" : shown["tag"]["title"],
              name == "tagplus-id3v1.mp3" ? std::string(30, 'T') + " and the rest of the title"
              : !blocks.empty() && blocks.back()[0] == "ID3v1" ? "Title"
                                                               : "");
    if (!unclear) continue;
    for (const auto& command : {std::vector<std::string>{"set", "--title", "x", path, plain},
                                std::vector<std::string>{"remove", path, plain}}) {
      const Outcome r = Cli(command);
      EXPECT_EQ(r.status, 1);
      EXPECT_TRUE(
          r.err.starts_with("id3v1: " + path + ": the blocks at its end cannot be told apart (a"))
          << r.err;
      EXPECT_EQ(test::ReadAll(path), file);
      EXPECT_EQ(test::ReadAll(plain).size(), kAudio.size() + (command[0] == "set" ? 128 : 0));
    }
  }
}

// set --from-id3v2 on files the taggers made. Everything before the record
// is kept byte for byte; a field the ID3v2 tag lacks keeps its ID3v1 value; a
// field given on the command line wins, and takes its warning with it. What
// the ID3v2 tag proposes is the ID3v2 rules' (tests/id3v2).
TEST_F(CliTest, SetFromId3v2OnTheTaggersFiles) {
  TagFields old;
  old.album = "Old album", old.comment = "Old note", old.genre_byte = 200;
  const std::string lacks = "has characters that windows-1252 lacks; stored as ";
  const struct {
    std::string line; // the file, with "+v1" the old ID3v1 record appended, then options
    int status;
    std::string record; // Brief of the record written; empty: the file is left as it was
    std::string err;    // every $ stands for "id3v1: warning: " and the path
  } cases[] = {
      {"eyed3-v23.mp3 +v1", 0, "Þórr ?|Ärtist|Old album|1999|Tag line|-|Rock",
       "$track \"300\" is above 255; no track written\n$title " + lacks + "\"Þórr ?\"\n"},
      {"eyed3-v23.mp3 +v1 --title Thor --track 5", 0, "Thor|Ärtist|Old album|1999|Tag line|5|Rock",
       ""},
      {"eyed3-v23.mp3 --strict", 1, "",
       "track \"300\" is above 255; no track written; not written (--strict)\n"},
      {"mutagen-v24-cover.mp3 +v1", 0,
       "Behind the picture|Pictured|Old album|1969|After the picture|-|200",
       "$genre \"Psychedelic\" is not in the genre table; kept\n"},
  };
  for (const auto& c : cases) {
    std::istringstream words(c.line);
    std::vector<std::string> args{"--codepage", "1252", "set", "--from-id3v2"};
    for (std::string word; words >> word;) args.push_back(word);
    const std::string file = args[4];
    const bool tagged = args.size() > 5 && args[5] == "+v1";
    args.erase(args.begin() + 4, args.begin() + (tagged ? 6 : 5));
    const Bytes original = test::ReadAll(test::GenFile("id3v2/" + file));
    const Bytes before = tagged ? Concat({original, test::RecordBytes(old)}) : original;
    const std::string path = Make(file, before);
    args.push_back(path);
    const Outcome r = Cli(args);
    std::string err = c.err;
    for (std::size_t at; (at = err.find('$')) != std::string::npos;)
      err.replace(at, 1, "id3v1: warning: " + path + ": ");
    if (c.status) err = "id3v1: " + path + ": " + err;
    EXPECT_EQ(std::pair(r.status, r.err), std::pair(c.status, err)) << c.line;
    const Bytes after = test::ReadAll(path);
    if (c.record.empty()) {
      EXPECT_EQ(after, before) << c.line;
      continue;
    }
    EXPECT_EQ(Bytes(after.begin(), after.end() - record::kSize), original) << c.line;
    EXPECT_EQ(Brief(TagOf(path)), c.record) << c.line;
  }
}

// --dry-run shows what it would write and writes nothing; a file without an
// ID3v2 tag is reported and left alone, and the others are done.
TEST_F(CliTest, SetFromId3v2DryRunAndFilesWithoutATag) {
  const std::string plain = Make("plain.mp3", kAudio);
  const Bytes v22 = test::ReadAll(test::GenFile("id3v2/made-v22.mp3"));
  const std::string tagged = Make("v22.mp3", v22);
  const std::string none = "id3v1: " + plain + ": no ID3v2 tag; left as it is\n";
  const Outcome dry = Cli({"set", "--from-id3v2", "--dry-run", plain, tagged});
  EXPECT_EQ(std::pair(dry.status, dry.err), std::pair(1, none));
  EXPECT_TRUE(dry.out.starts_with(tagged + "\nTitle: Two two\n")) << dry.out;
  EXPECT_EQ(std::pair(test::ReadAll(plain), test::ReadAll(tagged)), std::pair(kAudio, v22));
  // A file of just 128 bytes, all ID3v2 tag: it gets an ID3v1 tag too.
  const std::string cut = Make("cut.mp3", Bytes(v22.begin(), v22.begin() + 128));
  EXPECT_EQ(Cli({"set", "--from-id3v2", plain, tagged, cut}).err, none);
  EXPECT_EQ(test::ReadAll(cut).size(), 256u);
  EXPECT_EQ(test::ReadAll(plain), kAudio);
  EXPECT_EQ(Brief(TagOf(tagged)), "Two two|Old artist|Old album|1998|Old comment|4|Rock");
}

// recode: a warning for each field that lost characters or was cut, with
// --strict a refusal; --dry-run only shows; a file without a tag is reported
// and the others are done. Which bytes each code page writes is the tag
// store's, against Python's codecs (tests/tagstore).
TEST_F(CliTest, RecodeWarnsRefusesAndShows) {
  const auto zhe = [](int n) { return test::Times(n, "Ж"); };
  TagFields russian = kSample;
  russian.title = "Ўжик"; // Ў: a letter Shift-JIS lacks
  russian.artist = zhe(20);
  const Bytes before = Concat({kAudio, test::RecordBytes(russian, *CodePage::Named("1251"))});
  const std::string path = Make("a.mp3", before), plain = Make("plain.mp3", kAudio);
  const std::string sjis = CodePage::Named("932")->Name();
  const std::string title = path + ": title has characters that " + sjis + " lacks",
                    artist =
                        path + ": artist needs more bytes in " + sjis + " than the field holds";
  const std::string warnings = "id3v1: warning: " + title + "; stored as \"?жик\"\n" +
                               "id3v1: warning: " + artist + "; stored as \"" + zhe(15) + "\"\n";
  const Outcome dry = Cli({"recode", "--to", "932", "--from", "1251", "--dry-run", path});
  EXPECT_EQ(std::tuple(dry.status, dry.err, test::ReadAll(path)), std::tuple(0, warnings, before));
  EXPECT_EQ(dry.out, path + "\nCode page: windows-1251 (as given) -> " + sjis +
                         "\nTitle: Ўжик -> ?жик\nArtist: " + zhe(20) + " -> " + zhe(15) +
                         "\nAlbum: Album -> Album\nNote: Comment -> Comment\n");
  const Outcome strict = Cli({"recode", "--to", "932", "--from", "1251", "--strict", path});
  EXPECT_EQ(std::tuple(strict.status, strict.err, test::ReadAll(path)),
            std::tuple(1,
                       "id3v1: " + title + "; not written (--strict)\nid3v1: " + artist +
                           "; not written (--strict)\n",
                       before));
  // A file without evidence of its own is read in the fallback.
  const Outcome r = Cli({"recode", "--to", "932", "--default-codepage", "1251", plain, path});
  EXPECT_EQ(std::pair(r.status, r.err),
            std::pair(1, "id3v1: " + plain + ": no ID3v1 tag; left as it is\n" + warnings));
  const TagFields recoded = test::TagOf(path, *CodePage::Named("932"));
  EXPECT_EQ(std::tuple(recoded.title, recoded.artist, recoded.album),
            std::tuple("?жик", zhe(15), "Album"));
  EXPECT_EQ(test::ReadAll(plain), kAudio);
  // A name without .mp3 is not recoded.
  const std::string named = Make("only.txt", test::RecordBytes(kSample));
  const Outcome mixed = Cli({"recode", "--to", "utf-8", named});
  EXPECT_EQ(std::pair(mixed.status, mixed.err),
            std::pair(1, "id3v1: " + named + ": not an .mp3 name\n"));
}

TEST_F(CliTest, UsageErrorsChangeNothing) {
  const std::string path = Make("a.mp3", kAudio);
  for (const std::string_view line :
       {"", "show", "show --jobs 0", "set --track 256", "set --genre Rokc", "set --genre 256",
        "set --genre 13x", "set --codepage no-such --title x", "recode", "recode --to no-such",
        "recode --to 1251 --from no-such", "--default-codepage no-such show", "--jobs 2 show",
        "show --json=1", "show --jobs 1025", "set --track=x", "genres x", "frobnicate"}) {
    std::vector<std::string> args;
    std::istringstream words{std::string(line)};
    for (std::string word; words >> word;) args.push_back(word);
    if (line.find("--") != std::string_view::npos) args.push_back(path);
    const Outcome r = Cli(args);
    EXPECT_EQ(r.status, 2) << line;
    EXPECT_FALSE(r.err.empty()) << line;
  }
  EXPECT_EQ(test::ReadAll(path), kAudio);
  // After "--" even "--" is a file.
  EXPECT_EQ(Cli({"remove", "--", "--"}).err, "id3v1: --: not an .mp3 name\n");
}

TEST_F(CliTest, VersionHelpGenresAndCodePages) {
  const Outcome version = Cli({"--version"});
  EXPECT_EQ(std::tuple(version.status, version.out), std::tuple(0, "id3v1 " ID3_VERSION_TEXT "\n"));
  EXPECT_NE(Cli({"--help"}).out.find("\n  genres                   List"), std::string::npos);
  EXPECT_NE(Cli({"show", "--help"}).out.find("--jobs"), std::string::npos);
  EXPECT_EQ(Cli({"show", "--help"}).out.find("--title"), std::string::npos);
  const std::string genres = Cli({"genres"}).out;
  EXPECT_EQ(std::count(genres.begin(), genres.end(), '\n'), 126);
  EXPECT_TRUE(genres.ends_with("125\tDance Hall\n"));

  const std::string path = Make("a.mp3", kAudio);
  ASSERT_EQ(Cli({"set", "--codepage=1251", "--artist", "Жанна Ёлкина", "--", path}).status, 0);
  EXPECT_EQ(test::ReadAll(path)[kAudio.size() + record::kArtistOffset], 0xC6);
  EXPECT_EQ(json::parse(Cli({"--codepage", "1251", "show", "--json", path}).out)["tag"]["artist"],
            "Жанна Ёлкина");
}

} // namespace
} // namespace id3::cli
