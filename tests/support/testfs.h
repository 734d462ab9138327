// Real files on disk for the tests: a scratch folder per test, whole-file
// reads and writes, and the paths of the bundled and generated test data.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace id3::test {

using Bytes = std::vector<std::uint8_t>;

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes (after a program that still holds it has
// let go, for a few seconds at the most); File gives the UTF-8 path of a
// file in it.
class ScratchDir {
public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::filesystem::path& Path() const { return path_; }
  std::string File(std::string_view utf8_name) const;

private:
  std::filesystem::path path_;
};

// A test with a scratch folder of its own; Make writes a new file there.
class ScratchTest : public ::testing::Test {
protected:
  std::string Make(std::string_view name, const Bytes& content) const;
  ScratchDir dir;
};

// Paths as UTF-8, the form the program's functions take, and back.
std::string U8(const std::filesystem::path& path);
std::filesystem::path FromU8(std::string_view utf8);

Bytes ReadAll(const std::string& utf8_path);
void WriteAll(const std::string& utf8_path, const Bytes& bytes);
Bytes Concat(std::initializer_list<Bytes> parts);

// The first line another program writes into a file, once it has written it
// whole, without its line break; nothing when none comes within 20 seconds.
std::optional<std::string> WaitForLine(const std::string& utf8_path);
inline Bytes Repeat(std::uint8_t value, std::size_t count) { return Bytes(count, value); }
// text n times over.
inline std::string Times(int n, std::string_view text) {
  std::string out;
  while (n-- > 0) out += text;
  return out;
}

// Files bundled under tests/data, those the build generates, and the
// program's samples (samples/).
inline std::string DataFile(std::string_view name) {
  return ID3_TEST_DATA_DIR "/" + std::string(name);
}
inline std::string GenFile(std::string_view name) {
  return ID3_TEST_GEN_DIR "/" + std::string(name);
}
inline std::string SampleFile(std::string_view name) {
  return ID3_SAMPLES_DIR "/" + std::string(name);
}

} // namespace id3::test
