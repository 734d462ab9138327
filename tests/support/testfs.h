// Real files on disk for the tests: a scratch folder per test, whole-file
// reads and writes, and the paths of the bundled and generated test data.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace id3::test {

using Bytes = std::vector<std::uint8_t>;

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class ScratchDir {
public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // The UTF-8 path of a file in the folder.
  std::string File(std::string_view utf8_name) const;

private:
  std::filesystem::path path_;
};

// A test with a scratch folder of its own.
class ScratchTest : public ::testing::Test {
protected:
  // Writes a new file of the folder; its UTF-8 path.
  std::string Make(std::string_view name, const Bytes& content) const;

  ScratchDir dir;
};

// A filesystem path as UTF-8, the form the program's functions take.
std::string U8(const std::filesystem::path& path);
std::filesystem::path FromU8(std::string_view utf8);

Bytes ReadAll(const std::string& utf8_path);
void WriteAll(const std::string& utf8_path, const Bytes& bytes);
Bytes Concat(std::initializer_list<Bytes> parts);
Bytes Repeat(std::uint8_t value, std::size_t count);

// Files bundled under tests/data, and those the build generates.
std::string DataFile(std::string_view name);
std::string GenFile(std::string_view name);
// The program's bundled samples (samples/).
std::string SampleFile(std::string_view name);

} // namespace id3::test
