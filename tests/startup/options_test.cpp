#include "startup/options.h"
#include "startup/regformat.h"
#include "startup/verb.h"

#include <gtest/gtest.h>

namespace id3::startup {
namespace {

TEST(Options, TheFirstOptionWinsAndModifiersCountOnlyBesideOne) {
  // Where a word is an option is text::TakeOptionWord's.
  for (const char* text : {"-register", "-unregister -REGISTER -quiet"})
    EXPECT_EQ(ChooseAction(text).action, Action::Register) << text;
  EXPECT_EQ(ChooseAction("-Unregister").action, Action::Unregister);
  for (const char* text : {"", "\"C:\\My -unregister folder\\a.mp3\" -noplay", "-registered"})
    EXPECT_EQ(ChooseAction(text).action, Action::OpenWindow) << text;
  EXPECT_TRUE(ChooseAction("-register -quiet").quiet &&
              ChooseAction("-USER -unregister").user_only);
  for (const char* text : {"-register -users", "C:\\a.mp3 -quiet -user"})
    EXPECT_FALSE(ChooseAction(text).quiet || ChooseAction(text).user_only) << text;
}

// The whole command is checked where the verb is registered, under Wine.
TEST(Verb, CommandNamesTheProgramWithExe) {
  EXPECT_EQ(VerbCommand("C:\\", "ID3EDIT.EXE"), R"("C:\ID3EDIT.exe" "%1")");
  EXPECT_EQ(VerbCommand("D:\\v1.0", "id3.edit.com"), R"("D:\v1.0\id3.edit.exe" "%1")");
  const auto split = [](const char* full) {
    const ModulePath path = SplitModulePath(full);
    return path.dir + "|" + path.file;
  };
  EXPECT_EQ(split("C:\\id3edit.exe"), "C:\\|id3edit.exe");
  EXPECT_EQ(split("id3edit.exe"), "\\|id3edit.exe");
}

TEST(Verb, ParentKeysAndTheRecordOfWhatRegistrationMade) {
  EXPECT_EQ(ParentKeyPath("a\\b\\c"), "a\\b");
  EXPECT_EQ(ParentKeyPath("a"), "");
  // The number stays readable by later versions: parents in the low byte.
  EXPECT_EQ(PackCreated({1, ExtensionWas::WithoutClass}), 0x0201u);
  for (const Created c : {Created{2, ExtensionWas::Missing}, {3, ExtensionWas::WithEmptyClass}})
    EXPECT_EQ(UnpackCreated(PackCreated(c), 3), c);
  // A number it did not write claims no more than the path holds; 0 claims nothing.
  EXPECT_EQ(UnpackCreated(0x0409, 2), (Created{2, ExtensionWas::Kept}));
  EXPECT_EQ(UnpackCreated(0, 3), Created{});
}

TEST(RegFormat, Text) {
  EXPECT_EQ(CleanRegText(std::string_view("  Mp3file  \0junk", 16)), "Mp3file  ");
  EXPECT_EQ(CleanRegText(std::string_view("   ")), "");
}

} // namespace
} // namespace id3::startup
