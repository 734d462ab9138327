// How fast AudioFacts finds and reads the first frame.
//
//   ScanThroughJunk/<kind>  Load on a file whose first frame stands behind
//                           bytes that are no audio (zeros, or random bytes,
//                           where false syncs are frequent), as far behind as
//                           the search goes (1 MiB); the rate is of the junk.
//   LoadOrdinaryFile        Load on a 5 MB VBR file as encoders write it:
//                           ID3v2 with a picture, Xing block, ID3v1.
//
// The files are written once to the temporary folder and read from the page
// cache, so the figures are of the code, not of the disk.
#include "mpeginfo/audio_facts.h"
#include "mpeginfo/stream.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kJunk = id3::mpeg::kSearchLimit - 1;
constexpr std::size_t kOrdinary = 5'000'000;

Bytes ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

fs::path WriteFile(const std::string& name, const Bytes& bytes) {
  const fs::path path = fs::temp_directory_path() / ("id3bench-" + name + ".mp3");
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return path;
}

// The real encoder output this folder's tests use: lame -V 2 behind an ID3v2
// tag with a 12 KB picture, with an ID3v1 tag at the end.
Bytes Fixture() {
  const Bytes b = ReadFile(fs::path(ID3_BENCH_DATA_DIR) / "mpeginfo" / "vbr-cover-v1v2.mp3");
  if (b.size() < 20'000) {
    std::fprintf(stderr, "mpeginfo_bench: the fixture vbr-cover-v1v2.mp3 is missing\n");
    std::exit(1);
  }
  return b;
}

// The fixture's audio frames behind `lead` bytes of junk.
fs::path JunkFile(const std::string& kind) {
  Bytes junk(kJunk, 0);
  if (kind == "random") {
    std::mt19937 rng(1);
    for (auto& b : junk) b = static_cast<std::uint8_t>(rng());
  }
  const Bytes fixture = Fixture();
  const std::size_t audio_at = 12142; // behind the fixture's ID3v2 tag
  junk.insert(junk.end(), fixture.begin() + audio_at, fixture.end());
  return WriteFile("junk-" + kind, junk);
}

// The fixture grown to 5 MB by repeating its audio frames.
fs::path OrdinaryFile() {
  const Bytes fixture = Fixture();
  const std::size_t audio_at = 12142, audio_end = fixture.size() - 128;
  Bytes b(fixture.begin(), fixture.begin() + audio_end);
  while (b.size() + (audio_end - audio_at) + 128 <= kOrdinary)
    b.insert(b.end(), fixture.begin() + audio_at, fixture.begin() + audio_end);
  b.resize(kOrdinary - 128, 0);
  b.insert(b.end(), fixture.end() - 128, fixture.end());
  return WriteFile("ordinary", b);
}

void ScanThroughJunk(benchmark::State& state, const std::string& kind) {
  const fs::path path = JunkFile(kind);
  id3::AudioFacts info;
  if (!info.Load(path.string()) || info.FirstFrameOffset() != static_cast<std::int64_t>(kJunk)) {
    state.SkipWithError("the frame behind the junk was not where it was put");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(info.Load(path.string()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(kJunk));
  fs::remove(path);
}
BENCHMARK_CAPTURE(ScanThroughJunk, zeros, std::string("zeros"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(ScanThroughJunk, random, std::string("random"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void LoadOrdinaryFile(benchmark::State& state) {
  const fs::path path = OrdinaryFile();
  id3::AudioFacts info;
  if (!info.Load(path.string()) || !info.IsVbr()) {
    state.SkipWithError("the ordinary file did not load as VBR");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(info.Load(path.string()));
  fs::remove(path);
}
BENCHMARK(LoadOrdinaryFile)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
