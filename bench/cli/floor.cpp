// The least any tool must do to report on a file's tags and first frame: open
// it, read its first 64 KiB and its last 128 bytes, close it.
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
  std::vector<unsigned char> head(64 * 1024), tail(128);
  unsigned long checksum = 0;
  for (int i = 1; i < argc; ++i) {
    const int fd = open(argv[i], O_RDONLY);
    if (fd < 0) return 1;
    struct stat st {};
    fstat(fd, &st);
    const ssize_t n = pread(fd, head.data(), head.size(), 0);
    const ssize_t m = st.st_size >= 128 ? pread(fd, tail.data(), tail.size(), st.st_size - 128) : 0;
    if (n > 0) checksum += head[static_cast<size_t>(n) - 1];
    if (m > 0) checksum += tail[0];
    close(fd);
  }
  std::printf("%lu\n", checksum);
  return 0;
}
