// Real files made by tests/data/tagstore/make-codepages: the code page each
// one's ID3v1 tag is decided to be in, and its text recoded into another,
// byte for byte as Python's codecs write it.
#include "tagstore/codepage_choice.h"

#include "id3v2/reader.h"
#include "id3v2/to_id3v1.h"
#include "tools/bytesource.h"
#include "tools/codepage_candidates.h"

#include "testfs.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <fstream>
#include <tuple>

namespace id3 {
namespace {

using nlohmann::json;

json Cases() {
  std::ifstream in(test::FromU8(test::GenFile("codepages/cases.json")));
  EXPECT_TRUE(in) << "made by tests/data/tagstore/make-codepages";
  return in ? json::parse(in) : json::object();
}

std::optional<CodePage> Named(const json& name) {
  return name.is_null() ? std::nullopt : CodePage::Named(std::string(name));
}

// A file's ID3v1 record, and the texts its ID3v2 tag offers.
struct Inspected {
  TagRecord record;
  Id3v2Texts id3v2;
};

Inspected Inspect(const std::string& name) {
  const std::string path = test::GenFile("codepages/" + name);
  const auto read = TryReadRecord(path);
  EXPECT_TRUE(read && read->record) << name;
  Inspected out{read && read->record ? *read->record : TagRecord{}, {}};
  const auto file = io::OpenForReading(path);
  const auto found = id3v2::Read(io::FileSource(file->file, file->size), CodePage::Windows1252());
  if (found && found->tag) {
    const auto p = id3v2::ProposeId3v1(*found->tag);
    out.id3v2 = {p.title, p.artist, p.album, p.comment};
  }
  return out;
}

TEST(CodePageChoice, EachFileDecided) {
  const json cases = Cases();
  for (const json& c : cases["decisions"]) {
    const Inspected file = Inspect(c["file"]);
    const CodePageChoice choice =
        ChooseCodePage(file.record, file.id3v2, Named(c["option"]), *Named(c["fallback"]));
    EXPECT_EQ(std::pair(choice.name, std::string(FromName(choice.from))),
              std::pair(std::string(c["codepage"]), std::string(c["from"])))
        << c["file"];
    EXPECT_EQ(FindCandidate(choice.code_page.Name()), FindCandidate(choice.name)) << c["file"];
  }
}

TEST(CodePageChoice, RecodedAsPythonWritesIt) {
  const json cases = Cases();
  for (const json& c : cases["recodes"]) {
    SCOPED_TRACE(std::string(c["file"]) + " to " + std::string(c["to"]));
    const Inspected file = Inspect(c["file"]);
    const CodePage from =
        c["from"].is_null()
            ? ChooseCodePage(file.record, file.id3v2, std::nullopt, CodePage::Windows1252())
                  .code_page
            : *Named(c["from"]);
    const RecodedRecord recoded = RecodeRecord(file.record, from, *Named(c["to"]));
    std::string hex;
    for (const std::uint8_t b : recoded.record) {
      hex += "0123456789abcdef"[b >> 4];
      hex += "0123456789abcdef"[b & 0xF];
    }
    EXPECT_EQ(hex, c["record"]);
    ASSERT_EQ(recoded.fields.size(), c["fields"].size());
    for (std::size_t i = 0; i < recoded.fields.size(); ++i) {
      const RecodedField& f = recoded.fields[i];
      const json& want = c["fields"][i];
      EXPECT_EQ(std::tuple(f.before, f.after, f.replaced, f.cut),
                std::tuple(std::string(want["before"]), std::string(want["after"]),
                           bool(want["replaced"]), bool(want["cut"])))
          << FieldName(f.field);
    }
  }
}

} // namespace
} // namespace id3
