#include "testfs.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

namespace fs = std::filesystem;

namespace id3::test {

ScratchDir::ScratchDir() {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  path_ = fs::temp_directory_path() /
          ("id3test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  fs::create_directories(path_);
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  for (int tries = 0; tries < 500 && (fs::remove_all(path_, ec), ec); ++tries)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

std::string ScratchDir::File(std::string_view utf8_name) const {
  return U8(path_ / FromU8(utf8_name));
}

std::string ScratchTest::Make(std::string_view name, const Bytes& content) const {
  const std::string path = dir.File(name);
  WriteAll(path, content);
  return path;
}

std::string U8(const fs::path& path) {
  const std::u8string s = path.u8string();
  return std::string(s.begin(), s.end());
}

fs::path FromU8(std::string_view utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

Bytes ReadAll(const std::string& utf8_path) {
  std::ifstream in(FromU8(utf8_path), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + utf8_path);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& utf8_path, const Bytes& bytes) {
  std::ofstream out(FromU8(utf8_path), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + utf8_path);
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

std::optional<std::string> WaitForLine(const std::string& utf8_path) {
  for (int tries = 0; tries < 2000; ++tries) {
    std::ifstream in(FromU8(utf8_path), std::ios::binary);
    const std::string text(std::istreambuf_iterator<char>(in), {});
    if (const auto end = text.find('\n'); end != std::string::npos)
      return text.substr(0, end > 0 && text[end - 1] == '\r' ? end - 1 : end);
    in.close();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return std::nullopt;
}

} // namespace id3::test
