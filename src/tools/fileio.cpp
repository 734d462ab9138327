#include "tools/fileio.h"

namespace id3::io {

std::string_view Describe(IoError error) {
  switch (error) {
  case IoError::NotFound: return "no such file";
  case IoError::IsDirectory: return "is a directory";
  case IoError::AccessDenied: return "permission denied";
  case IoError::SharingViolation: return "in use by another program";
  case IoError::NoSpace: return "no space left on the device";
  case IoError::ShortRead: return "the file is shorter than expected";
  case IoError::Other: break;
  }
  return "input/output error";
}

} // namespace id3::io
