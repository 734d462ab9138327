// Real files made by tests/data/tagstore/make-codepages: the code page each
// one's ID3v1 tag is decided to be in, and its text recoded into another,
// byte for byte as Python's codecs write it. Every recode case is here; the
// messages id3v1 makes of them are its own tests'.
#include "tagstore/codepage_choice.h"

#include "inspect/inspection.h"
#include "tools/codepage_candidates.h"

#include "testfs.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <tuple>

namespace id3 {
namespace {

using nlohmann::json;

json Cases() { return json::parse(test::ReadAll(test::GenFile("codepages/cases.json"))); }

std::optional<CodePage> Named(const json& name) {
  return name.is_null() ? std::nullopt : CodePage::Named(std::string(name));
}

// The file as id3v1 and the editor see it: its record, and the code page
// decided from it and from the texts its ID3v2 tag offers.
Inspection Inspected(const json& name, std::optional<CodePage> option, const CodePage& fallback) {
  std::vector<std::uint8_t> windows;
  return InspectFile(test::GenFile("codepages/" + std::string(name)), {option, fallback}, windows)
      .value();
}

TEST(CodePageChoice, EachFileDecided) {
  const json cases = Cases();
  for (const json& c : cases["decisions"]) {
    const CodePageChoice choice =
        Inspected(c["file"], Named(c["option"]), *Named(c["fallback"])).code_page;
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
    // A code page given is the option, which wins over the file's evidence.
    const Inspection file = Inspected(c["file"], Named(c["from"]), CodePage::Windows1252());
    const RecodedRecord recoded =
        RecodeRecord(file.end.record.value(), file.code_page.code_page, *Named(c["to"]));
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
