// A file another program holds open without sharing: every operation fails
// and the file stays as it was.
#include "tagstore/tag.h"

#include "sample_tag.h"
#include "testfs.h"
#include "tools/wintext_win32.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

namespace id3 {
namespace {

TEST(TagFileWindows, FileHeldOpenWithoutSharing) {
  const CodePage cp = CodePage::SystemDefault();
  EXPECT_EQ(cp.Name(), "cp" + std::to_string(GetACP()));
  test::ScratchDir dir;
  const test::Bytes content =
      test::Concat({test::Bytes(300, 0x33), test::RecordBytes(test::SampleTag(), cp)});
  const std::string path = dir.File("locked ünï.mp3");
  test::WriteAll(path, content);
  {
    const std::unique_ptr<void, decltype(&CloseHandle)> lock(
        CreateFileW(win::Widen(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL, nullptr),
        &CloseHandle);
    ASSERT_NE(lock.get(), INVALID_HANDLE_VALUE);
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(TryReadRecord(path).error(), TagError::InUse);
    EXPECT_EQ(test::WriteTagOf(path, test::SampleTag(), cp), std::unexpected(TagError::InUse));
    EXPECT_EQ(TryRemoveTag(path), std::unexpected(TagError::InUse));
  }
  EXPECT_EQ(test::ReadAll(path), content);
  EXPECT_EQ(test::TagOf(path).title, "Title");
}

} // namespace
} // namespace id3
