#include "tools/fileio.h"

#include "tools/wintext_win32.h"

#include <windows.h>

#include <algorithm>
#include <utility>

namespace id3::io {
namespace {

constexpr File::Native kClosed = 0;

IoError FromLastError(DWORD err) {
  switch (err) {
  case ERROR_FILE_NOT_FOUND:
  case ERROR_PATH_NOT_FOUND:
  case ERROR_INVALID_NAME:
  case ERROR_BAD_NETPATH:
  case ERROR_INVALID_DRIVE: return IoError::NotFound;
  case ERROR_DIRECTORY: return IoError::IsDirectory;
  case ERROR_ACCESS_DENIED:
  case ERROR_WRITE_PROTECT: return IoError::AccessDenied;
  case ERROR_SHARING_VIOLATION:
  case ERROR_LOCK_VIOLATION:
  case ERROR_USER_MAPPED_FILE: return IoError::SharingViolation;
  case ERROR_DISK_FULL:
  case ERROR_HANDLE_DISK_FULL: return IoError::NoSpace;
  case ERROR_HANDLE_EOF: return IoError::ShortRead;
  default: return IoError::Other;
  }
}

HANDLE H(File::Native native) { return reinterpret_cast<HANDLE>(native); }

OVERLAPPED At(std::uint64_t offset) {
  OVERLAPPED ov{};
  ov.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
  ov.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return ov;
}

// Largest piece handed to one ReadFile or WriteFile call.
constexpr std::size_t kMaxChunk = 1u << 30;

} // namespace

PathKind KindOf(const std::string& path) {
  if (path.empty()) return PathKind::Missing;
  const DWORD attrs = GetFileAttributesW(win::Widen(path).c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
  if (attrs & FILE_ATTRIBUTE_DIRECTORY) return PathKind::Directory;
  if (attrs & FILE_ATTRIBUTE_DEVICE) return PathKind::Other;
  return PathKind::File;
}

Result<std::uint64_t> SizeOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(win::Widen(path).c_str(), GetFileExInfoStandard, &data))
    return std::unexpected(FromLastError(GetLastError()));
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
    return std::unexpected(IoError::IsDirectory);
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

Result<File> File::Open(const std::string& path, Access access) {
  if (auto fault = InjectedFault(Operation::Open)) return std::unexpected(*fault);
  const std::wstring wide = win::Widen(path);
  const DWORD attrs = GetFileAttributesW(wide.c_str());
  if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY))
    return std::unexpected(IoError::IsDirectory);
  // Readers let others read and write; a writer lets others only read, so a
  // player that holds the file open for writing makes the open fail.
  const DWORD desired = access == Access::Read ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
  const DWORD share = access == Access::Read ? FILE_SHARE_READ | FILE_SHARE_WRITE : FILE_SHARE_READ;
  HANDLE h = CreateFileW(wide.c_str(), desired, share, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::unexpected(FromLastError(GetLastError()));
  return File(reinterpret_cast<Native>(h));
}

Result<SizedFile> OpenForReading(const std::string& path) {
  auto file = File::Open(path, File::Access::Read);
  if (!file) return std::unexpected(file.error());
  const auto size = file->Size();
  if (!size) return std::unexpected(size.error());
  return SizedFile{std::move(*file), *size};
}

File::File(File&& other) noexcept : native_(other.native_) { other.native_ = kClosed; }

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    if (native_ != kClosed) CloseHandle(H(native_));
    native_ = other.native_;
    other.native_ = kClosed;
  }
  return *this;
}

File::~File() {
  if (native_ != kClosed) CloseHandle(H(native_));
}

Result<std::uint64_t> File::Size() const {
  if (auto fault = InjectedFault(Operation::Size)) return std::unexpected(*fault);
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(H(native_), &size)) return std::unexpected(FromLastError(GetLastError()));
  return static_cast<std::uint64_t>(size.QuadPart);
}

Result<std::size_t> File::ReadSomeAt(std::uint64_t offset, std::span<std::uint8_t> out) const {
  if (auto fault = InjectedFault(Operation::Read)) return std::unexpected(*fault);
  std::size_t done = 0;
  while (done < out.size()) {
    const std::size_t want = std::min(out.size() - done, kMaxChunk);
    OVERLAPPED ov = At(offset + done);
    DWORD got = 0;
    if (!ReadFile(H(native_), out.data() + done, static_cast<DWORD>(want), &got, &ov)) {
      const DWORD err = GetLastError();
      if (err == ERROR_HANDLE_EOF) break;
      return std::unexpected(FromLastError(err));
    }
    if (got == 0) break;
    done += got;
  }
  return done;
}

Result<void> File::WriteAt(std::uint64_t offset, std::span<const std::uint8_t> data) {
  if (auto fault = InjectedFault(Operation::Write)) return std::unexpected(*fault);
  std::size_t done = 0;
  while (done < data.size()) {
    const std::size_t want = std::min(data.size() - done, kMaxChunk);
    OVERLAPPED ov = At(offset + done);
    DWORD put = 0;
    if (!WriteFile(H(native_), data.data() + done, static_cast<DWORD>(want), &put, &ov))
      return std::unexpected(FromLastError(GetLastError()));
    if (put == 0) return std::unexpected(IoError::Other);
    done += put;
  }
  return {};
}

Result<void> File::Truncate(std::uint64_t length) {
  if (auto fault = InjectedFault(Operation::Truncate)) return std::unexpected(*fault);
  FILE_END_OF_FILE_INFO info{};
  info.EndOfFile.QuadPart = static_cast<LONGLONG>(length);
  if (!SetFileInformationByHandle(H(native_), FileEndOfFileInfo, &info, sizeof info))
    return std::unexpected(FromLastError(GetLastError()));
  return {};
}

Result<void> File::Close() {
  HANDLE h = H(native_);
  native_ = kClosed;
  if (h != nullptr && !CloseHandle(h)) return std::unexpected(FromLastError(GetLastError()));
  if (auto fault = InjectedFault(Operation::Close)) return std::unexpected(*fault);
  return {};
}

} // namespace id3::io
