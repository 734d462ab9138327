// A thin layer over the platform's file API: byte access at 64-bit offsets,
// named by UTF-8 paths (UTF-16 at the Win32 calls), with failures as values.
#pragma once

#include <cstdint>
#include <expected>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace id3::io {

enum class IoError {
  NotFound,         // no such file or folder
  IsDirectory,      // the path names a folder
  AccessDenied,     // permission denied, read-only file or medium
  SharingViolation, // another program holds the file open without sharing
  NoSpace,          // no space left on the device
  ShortRead,        // the file ended before the bytes asked for
  Other,            // anything else the platform reports
};

// Plain words for a failure, for messages such as the command-line tool's.
std::string_view Describe(IoError error);

template <class T> using Result = std::expected<T, IoError>;

enum class PathKind { Missing, File, Directory, Other };

// What the path names; Missing also for an empty or malformed path.
PathKind KindOf(const std::string& path);

// Length of the named file in bytes.
Result<std::uint64_t> SizeOf(const std::string& path);

struct SizedFile;

// An open file. Move-only: the one owner closes it.
class File {
public:
  enum class Access { Read, ReadWrite };

  static Result<File> Open(const std::string& path, Access access);

  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  ~File();

  Result<std::uint64_t> Size() const;
  // Reads exactly out.size() bytes at offset, or fails (ShortRead at the end).
  Result<void> ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const;
  // Reads up to out.size() bytes at offset; returns how many were read.
  Result<std::size_t> ReadSomeAt(std::uint64_t offset, std::span<std::uint8_t> out) const;
  // Writes all of data at offset, or fails.
  Result<void> WriteAt(std::uint64_t offset, std::span<const std::uint8_t> data);
  // Sets the file's length, cutting or extending it.
  Result<void> Truncate(std::uint64_t length);
  // Closes now and reports what closing said; the destructor closes quietly.
  Result<void> Close();

  using Native = std::intptr_t; // a HANDLE on Windows, a descriptor elsewhere

private:
  explicit File(Native native) : native_(native) {}
  friend Result<SizedFile> OpenForReading(const std::string& path);
  Native native_;
};

// A file open for reading and its length when it was opened.
struct SizedFile {
  File file;
  std::uint64_t size;
};

// Open(path, Access::Read) and Size() in one: opening asks the file system
// whether the path is a folder anyway, and the same answer holds the length,
// so the two cost one query. Over many files every call counts.
Result<SizedFile> OpenForReading(const std::string& path);

// A seam for fault-injection tests: when a hook is set, every file operation
// asks it first, and fails with the error it returns. A hook may also end the
// process, to show what a crash at that point leaves on disk.
enum class Operation { Open, Size, Read, Write, Truncate, Close };
using FaultHook = std::optional<IoError> (*)(Operation);
void SetFaultHook(FaultHook hook);
std::optional<IoError> InjectedFault(Operation op);

} // namespace id3::io
