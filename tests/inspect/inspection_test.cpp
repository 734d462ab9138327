// One inspection of each file the taggers left (tests/data/trailing): the
// reads it costs, where the audio ends, and a CBR stream's duration against
// ffprobe's of the stream alone.
#include "inspect/inspection.h"

#include "counting_source.h"
#include "testfs.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace id3 {
namespace {

TEST(Inspection, TheHeadAndTheTailReadOnceAndTheAudioEndsAtTheFirstBlock) {
  std::vector<std::uint8_t> windows;
  int timed = 0;
  for (const auto& layout :
       nlohmann::json::parse(test::ReadAll(test::GenFile("trailing/layouts.json")))) {
    const std::string name = layout["file"];
    SCOPED_TRACE(name);
    const test::Bytes file = test::ReadAll(test::GenFile("trailing/" + name));
    const test::CountingSource src(file);
    const InspectRequest request{std::nullopt, CodePage::Windows1252(), true};
    const auto in = Inspect(src, name, request, windows);
    ASSERT_TRUE(in);
    const std::uint64_t audio_end = layout["audio_end"];
    ASSERT_GT(file.size(), io::WindowedSource::kHeadSize + kEndWindow);
    // The head and the tail; one more read where a block reaches back past
    // the tail.
    EXPECT_EQ(src.reads, file.size() - audio_end <= kEndWindow ? 2 : 3);
    if (!layout["unclear"]) {
      EXPECT_EQ(in->end.audio_end, audio_end);
    }
    EXPECT_TRUE(in->audio.Valid());
    if (!layout["seconds"].is_null()) {
      // One frame of MPEG-2 Layer III at 22,050 Hz is 26 ms.
      EXPECT_NEAR(in->audio.ExactSeconds(), layout["seconds"].get<double>(), 0.027);
      ++timed;
    }
  }
  EXPECT_EQ(timed, 1);
}

} // namespace
} // namespace id3
