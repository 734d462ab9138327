#include "tools/fileio.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace id3::io {
namespace {

constexpr File::Native kClosed = -1;

IoError FromErrno(int err) {
  switch (err) {
  case ENOENT:
  case ENOTDIR:
  case ENAMETOOLONG: return IoError::NotFound;
  case EISDIR: return IoError::IsDirectory;
  case EACCES:
  case EPERM:
  case EROFS: return IoError::AccessDenied;
  case ETXTBSY: return IoError::SharingViolation;
  case ENOSPC:
  case EDQUOT:
  case EFBIG: return IoError::NoSpace;
  default: return IoError::Other;
  }
}

int Fd(File::Native native) { return static_cast<int>(native); }

} // namespace

PathKind KindOf(const std::string& path) {
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0) return PathKind::Missing;
  if (S_ISREG(st.st_mode)) return PathKind::File;
  if (S_ISDIR(st.st_mode)) return PathKind::Directory;
  return PathKind::Other;
}

Result<std::uint64_t> SizeOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return std::unexpected(FromErrno(errno));
  if (S_ISDIR(st.st_mode)) return std::unexpected(IoError::IsDirectory);
  return static_cast<std::uint64_t>(st.st_size);
}

namespace {

// Opens the path and looks at what it opened: a folder opens too, and is
// refused here.
Result<std::pair<int, struct stat>> OpenAndStat(const std::string& path, File::Access access) {
  if (auto fault = InjectedFault(Operation::Open)) return std::unexpected(*fault);
  const int flags = (access == File::Access::Read ? O_RDONLY : O_RDWR) | O_CLOEXEC;
  const int fd = ::open(path.c_str(), flags);
  if (fd < 0) return std::unexpected(FromErrno(errno));
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    const IoError error = S_ISDIR(st.st_mode) ? IoError::IsDirectory : FromErrno(errno);
    ::close(fd);
    return std::unexpected(error);
  }
  return std::pair{fd, st};
}

} // namespace

Result<File> File::Open(const std::string& path, Access access) {
  auto opened = OpenAndStat(path, access);
  if (!opened) return std::unexpected(opened.error());
  return File(opened->first);
}

Result<SizedFile> OpenForReading(const std::string& path) {
  auto opened = OpenAndStat(path, File::Access::Read);
  if (!opened) return std::unexpected(opened.error());
  SizedFile sized{File(opened->first), static_cast<std::uint64_t>(opened->second.st_size)};
  if (auto fault = InjectedFault(Operation::Size)) return std::unexpected(*fault);
  return sized;
}

File::File(File&& other) noexcept : native_(other.native_) { other.native_ = kClosed; }

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    if (native_ != kClosed) ::close(Fd(native_));
    native_ = other.native_;
    other.native_ = kClosed;
  }
  return *this;
}

File::~File() {
  if (native_ != kClosed) ::close(Fd(native_));
}

Result<std::uint64_t> File::Size() const {
  if (auto fault = InjectedFault(Operation::Size)) return std::unexpected(*fault);
  struct stat st {};
  if (::fstat(Fd(native_), &st) != 0) return std::unexpected(FromErrno(errno));
  return static_cast<std::uint64_t>(st.st_size);
}

Result<std::size_t> File::ReadSomeAt(std::uint64_t offset, std::span<std::uint8_t> out) const {
  if (auto fault = InjectedFault(Operation::Read)) return std::unexpected(*fault);
  std::size_t done = 0;
  while (done < out.size()) {
    const ssize_t n = ::pread(Fd(native_), out.data() + done, out.size() - done,
                              static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return std::unexpected(FromErrno(errno));
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

Result<void> File::WriteAt(std::uint64_t offset, std::span<const std::uint8_t> data) {
  if (auto fault = InjectedFault(Operation::Write)) return std::unexpected(*fault);
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::pwrite(Fd(native_), data.data() + done, data.size() - done,
                               static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return std::unexpected(FromErrno(errno));
    }
    // Nothing written and no error: trying again would loop for ever.
    if (n == 0) return std::unexpected(IoError::Other);
    done += static_cast<std::size_t>(n);
  }
  return {};
}

Result<void> File::Truncate(std::uint64_t length) {
  if (auto fault = InjectedFault(Operation::Truncate)) return std::unexpected(*fault);
  if (::ftruncate(Fd(native_), static_cast<off_t>(length)) != 0)
    return std::unexpected(FromErrno(errno));
  return {};
}

Result<void> File::Close() {
  const int fd = Fd(native_);
  native_ = kClosed;
  if (fd >= 0 && ::close(fd) != 0) return std::unexpected(FromErrno(errno));
  if (auto fault = InjectedFault(Operation::Close)) return std::unexpected(*fault);
  return {};
}

} // namespace id3::io
