// A file another program holds open without sharing: every operation fails
// and the file stays as it was.
#include "tagstore/tag.h"

#include "testfs.h"
#include "tools/wintext_win32.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

namespace id3 {
namespace {

using test::Bytes;

struct HandleCloser {
  void operator()(HANDLE h) const { CloseHandle(h); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

TEST(TagFileWindows, FileHeldOpenWithoutSharing) {
  test::ScratchDir dir;
  TagFields tag;
  tag.title = "Title";
  const TagRecord rec = RenderTagRecord(tag, CodePage::SystemDefault());
  const Bytes content = test::Concat({Bytes(300, 0x33), Bytes(rec.begin(), rec.end())});
  const std::string path = dir.File("locked ünï.mp3");
  test::WriteAll(path, content);

  {
    UniqueHandle lock(CreateFileW(win::Widen(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_NE(lock.get(), INVALID_HANDLE_VALUE);
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(ReadTag(path), TagFields{});
    TagFields edited = tag;
    edited.title = "Edited";
    const auto w = TryWriteTag(path, edited, CodePage::SystemDefault());
    ASSERT_FALSE(w);
    EXPECT_EQ(w.error(), TagError::InUse);
    const auto r = TryRemoveTag(path);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error(), TagError::InUse);
  }
  EXPECT_EQ(test::ReadAll(path), content);
  EXPECT_EQ(ReadTag(path).title, "Title");
}

TEST(TagFileWindows, SystemCodePageIsTheAnsiOne) {
  EXPECT_EQ(CodePage::SystemDefault().Name(), "cp" + std::to_string(GetACP()));
}

} // namespace
} // namespace id3
