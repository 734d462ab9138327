#include "tools/fileio.h"

#include <atomic>

namespace id3::io {
namespace {

std::atomic<FaultHook> g_fault_hook{nullptr};

} // namespace

void SetFaultHook(FaultHook hook) { g_fault_hook.store(hook); }

std::optional<IoError> InjectedFault(Operation op) {
  const FaultHook hook = g_fault_hook.load(std::memory_order_relaxed);
  return hook ? hook(op) : std::nullopt;
}

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

Result<void> File::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const {
  auto got = ReadSomeAt(offset, out);
  if (!got) return std::unexpected(got.error());
  if (*got != out.size()) return std::unexpected(IoError::ShortRead);
  return {};
}

} // namespace id3::io
