#include "startup/modtools_win32.h"
#include "startup/shellverb_win32.h"
#include "wintest_win32.h"

#include "tools/wintext_win32.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace id3::startup {
namespace {

using test::BoxIcon;
using test::KeyExists;
using test::MakeKey;
using test::TestKey;

constexpr std::string_view kCommand = R"("C:\Tools\id3edit.exe" "%1")";

TEST(RegGetString, StringsAsStoredWithoutLeadingBlanks) {
  const TestKey root("get-strings", TestKey::Kind::Writable);
  ASSERT_EQ(RegWriteValue(root.Get(), "k", "padded", REG_SZ, std::string("  Mp3 file  ")), 0);
  ASSERT_EQ(RegWriteValue(root.Get(), "k", "empty", REG_SZ, std::string()), 0);
  ASSERT_EQ(RegWriteValue(root.Get(), "k", "", REG_SZ, std::string("Ünïcødé 音")), 0);
  ASSERT_EQ(RegWriteValue(root.Get(), "k", "fits", REG_SZ, std::string(1023, 'x')), 0);
  ASSERT_EQ(RegWriteValue(root.Get(), "k", "long", REG_SZ, std::string(1024, 'x')), 0);
  const std::wstring expand = L"%TEMP%";
  const UniqueHKey k = OpenRegKey(root.Get(), "k", KEY_SET_VALUE);
  RegSetValueExW(k.get(), L"expand", 0, REG_EXPAND_SZ,
                 reinterpret_cast<const BYTE*>(expand.c_str()),
                 static_cast<DWORD>((expand.size() + 1) * sizeof(wchar_t)));

  EXPECT_EQ(RegGetString(root.Get(), "k", "padded"), "Mp3 file  ");
  EXPECT_EQ(RegGetString(root.Get(), "k", "empty"), "");
  EXPECT_EQ(RegGetString(root.Get(), "k", ""), "Ünïcødé 音");
  EXPECT_EQ(RegGetString(root.Get(), "k", "expand"), "%TEMP%");
  // 2048 bytes with the NUL still fit; two more do not.
  EXPECT_EQ(RegGetString(root.Get(), "k", "fits"), std::string(1023, 'x'));
  EXPECT_EQ(RegGetString(root.Get(), "k", "long"), "");
  EXPECT_EQ(RegGetString(root.Get(), "k", "missing"), "");
  EXPECT_EQ(RegGetString(root.Get(), "missing", ""), "");
}

TEST(RegGetString, NumbersAndRawBytes) {
  const TestKey root("get-numbers", TestKey::Kind::Writable);
  ASSERT_EQ(RegWriteValue(root.Get(), "", "seven", REG_DWORD, std::uint32_t{7}), 0);
  ASSERT_EQ(RegWriteValue(root.Get(), "", "max", REG_DWORD, std::uint32_t{0xFFFFFFFF}), 0);
  const std::array<BYTE, 3> bytes{0x00, 0x0A, 0xFF};
  RegSetValueExW(root.Get(), L"raw", 0, REG_BINARY, bytes.data(), bytes.size());
  EXPECT_EQ(RegGetString(root.Get(), "", "seven"), "007");
  EXPECT_EQ(RegGetString(root.Get(), "", "max"), "4294967295");
  EXPECT_EQ(RegGetString(root.Get(), "", "raw"), "000AFF");
}

TEST(RegWriteValue, CreatesParentsStoresTheNulAndReportsRefusals) {
  const TestKey root("set", TestKey::Kind::Writable);
  ASSERT_EQ(RegWriteValue(root.Get(), "a\\b\\c", "", REG_SZ, std::string("Ab")), 0);
  const UniqueHKey c = OpenRegKey(root.Get(), "a\\b\\c", KEY_QUERY_VALUE);
  DWORD type = 0;
  std::array<wchar_t, 8> data{L'?', L'?', L'?', L'?'};
  DWORD size = sizeof data;
  ASSERT_EQ(RegQueryValueExW(c.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                             &size),
            0);
  EXPECT_EQ(type, DWORD{REG_SZ});
  EXPECT_EQ(size, 3 * sizeof(wchar_t));
  EXPECT_EQ(std::wstring(data.data(), 3), std::wstring(L"Ab\0", 3));

  // A number for a string type or the other way round, or another type.
  EXPECT_EQ(RegWriteValue(root.Get(), "x", "", REG_SZ, std::uint32_t{1}), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegWriteValue(root.Get(), "x", "", REG_DWORD, std::string("1")), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegWriteValue(root.Get(), "x", "", REG_BINARY, std::string("1")),
            ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(KeyExists(root.Get(), "x"));

  const TestKey refusing("set-refused", TestKey::Kind::Refusing);
  EXPECT_NE(RegWriteValue(refusing.Get(), "a", "", REG_SZ, std::string("v")), 0);
  EXPECT_FALSE(KeyExists(refusing.Get(), "a"));
}

TEST(RegDeleteKeyPath, DeletesOneLeafKey) {
  const TestKey root("delete", TestKey::Kind::Writable);
  MakeKey(root.Get(), "a\\b", "");
  EXPECT_NE(RegDeleteKeyPath(root.Get(), "a"), 0);
  EXPECT_TRUE(KeyExists(root.Get(), "a\\b"));
  EXPECT_EQ(RegDeleteKeyPath(root.Get(), "a\\b"), 0);
  EXPECT_FALSE(KeyExists(root.Get(), "a\\b"));
  EXPECT_TRUE(KeyExists(root.Get(), "a"));
  EXPECT_EQ(RegDeleteKeyPath(root.Get(), "a\\b"), ERROR_FILE_NOT_FOUND);
  EXPECT_NE(RegDeleteKeyPath(root.Get(), ""), 0);
  EXPECT_TRUE(KeyExists(root.Get(), "a"));
}

// The machine-wide root refuses new keys, as HKEY_CLASSES_ROOT does for a
// user without administrator rights: the verb goes to the user's classes.
TEST(Registration, RefusedMachineWideFallsBackToTheUser) {
  const TestKey machine("machine", TestKey::Kind::Refusing);
  const TestKey user("user", TestKey::Kind::Writable);
  Outcome outcome{};
  const auto boxes = test::AnswerBoxesDuring(
      [&] { outcome = RunRegister(machine.Get(), user.Get(), kCommand, false); });
  EXPECT_EQ(outcome, Outcome::Registered);
  EXPECT_EQ(RegGetString(user.Get(), ".mp3", ""), "Mp3file");
  EXPECT_EQ(RegGetString(user.Get(), "Mp3file\\Shell\\Edit ID3 Tag\\Command", ""), kCommand);
  EXPECT_FALSE(KeyExists(machine.Get(), ".mp3"));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Registration complete!\r\n\r\n"
                           "You may now Right-Click on MP3 files to edit their ID3 Tags.");
  EXPECT_EQ(boxes[0].caption, "Quelmo ID3TAG EDITOR");
  EXPECT_EQ(boxes[0].icon, BoxIcon::Information);
  EXPECT_EQ(boxes[0].buttons, std::vector<std::string>{"OK"});

  // With a class named machine-wide the user's ".mp3" is left alone.
  const TestKey user2("user2", TestKey::Kind::Writable);
  MakeKey(machine.Get(), ".mp3", "TestAudio");
  EXPECT_EQ(RegisterVerb(machine.Get(), user2.Get(), kCommand), Placement::ForUser);
  EXPECT_EQ(RegGetString(user2.Get(), "TestAudio\\Shell\\Edit ID3 Tag\\Command", ""), kCommand);
  EXPECT_FALSE(KeyExists(user2.Get(), ".mp3"));
  EXPECT_EQ(RegGetString(machine.Get(), ".mp3", ""), "TestAudio");
}

TEST(Registration, FailsWhenBothPlacesRefuse) {
  const TestKey machine("machine", TestKey::Kind::Refusing);
  const TestKey user("user", TestKey::Kind::Refusing);
  Outcome outcome{};
  const auto boxes = test::AnswerBoxesDuring(
      [&] { outcome = RunRegister(machine.Get(), user.Get(), kCommand, false); });
  EXPECT_EQ(outcome, Outcome::RegistrationFailed);
  EXPECT_TRUE(test::SubKeys(user.Get(), "").empty());
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Registration failed!");
  EXPECT_EQ(boxes[0].caption, "Quelmo ID3TAG EDITOR");
  EXPECT_EQ(boxes[0].icon, BoxIcon::Critical);
  // A quiet run tells the outcome by its result alone.
  EXPECT_TRUE(test::AnswerBoxesDuring([&] {
                outcome = RunRegister(machine.Get(), user.Get(), kCommand, true);
              }).empty());
  EXPECT_EQ(outcome, Outcome::RegistrationFailed);
}

TEST(Removal, DeletesFromBothPlacesOrSaysWhatIsLeft) {
  const TestKey machine("machine", TestKey::Kind::Writable);
  const TestKey user("user", TestKey::Kind::Writable);
  MakeKey(machine.Get(), ".mp3", "TestAudio");
  MakeKey(user.Get(), ".mp3", "UserAudio");
  for (const TestKey* root : {&machine, &user})
    for (const char* cls : {"TestAudio", "UserAudio"})
      MakeKey(root->Get(), CommandKeyPath(cls), std::string(kCommand));
  Outcome outcome{};
  auto boxes =
      test::AnswerBoxesDuring([&] { outcome = RunUnregister(machine.Get(), user.Get(), false); });
  EXPECT_EQ(outcome, Outcome::Unregistered);
  for (const TestKey* root : {&machine, &user})
    for (const char* cls : {"TestAudio", "UserAudio"}) {
      EXPECT_FALSE(KeyExists(root->Get(), VerbKeyPath(cls)));
      EXPECT_TRUE(KeyExists(root->Get(), std::string(cls) + "\\Shell"));
    }
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Registration successfully deleted!");
  EXPECT_EQ(boxes[0].icon, BoxIcon::Information);

  // A verb key that holds more than its Command cannot be deleted.
  MakeKey(machine.Get(), CommandKeyPath("TestAudio"), std::string(kCommand));
  MakeKey(user.Get(), CommandKeyPath("TestAudio"), std::string(kCommand));
  MakeKey(user.Get(), VerbKeyPath("TestAudio") + "\\DropTarget", "");
  boxes =
      test::AnswerBoxesDuring([&] { outcome = RunUnregister(machine.Get(), user.Get(), false); });
  EXPECT_EQ(outcome, Outcome::UnregistrationFailed);
  EXPECT_FALSE(KeyExists(machine.Get(), VerbKeyPath("TestAudio")));
  EXPECT_FALSE(KeyExists(user.Get(), CommandKeyPath("TestAudio")));
  EXPECT_TRUE(KeyExists(user.Get(), VerbKeyPath("TestAudio")));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Registration could not be deleted!");
  EXPECT_EQ(boxes[0].caption, "Quelmo ID3TAG EDITOR");
  EXPECT_EQ(boxes[0].icon, BoxIcon::Critical);
}

} // namespace
} // namespace id3::startup
