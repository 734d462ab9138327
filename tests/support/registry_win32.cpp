#include "registry_win32.h"

#include "tools/wintext_win32.h"

namespace id3::test {
namespace {

// The copies, one key each below this one, which goes with the last of them.
constexpr wchar_t kCopies[] = L"Software\\Id3TestSavedKeys";

UniqueHKey Open(HKEY root, const std::wstring& path) {
  return OpenRegKey(root, win::Narrow(path), KEY_ALL_ACCESS);
}

UniqueHKey Create(HKEY root, const std::wstring& path, DWORD options) {
  HKEY key = nullptr;
  RegCreateKeyExW(root, path.c_str(), 0, nullptr, options, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  return UniqueHKey(key);
}

} // namespace

RegistryScope::RegistryScope(HKEY root, std::wstring path, Start start)
    : root_(root), path_(std::move(path)) {
  static int copies = 0;
  if (const UniqueHKey found = Open(root_, path_)) {
    saved_ = kCopies + (L"\\" + std::to_wstring(GetCurrentProcessId())) + L"." +
             std::to_wstring(++copies);
    RegCopyTreeW(found.get(), nullptr,
                 Create(HKEY_CURRENT_USER, saved_, REG_OPTION_NON_VOLATILE).get());
  }
  if (start == Start::AsFound) {
    key_ = Open(root_, path_);
    return;
  }
  RegDeleteTreeW(root_, path_.c_str());
  key_ = Create(root_, path_,
                start == Start::EmptyVolatile ? REG_OPTION_VOLATILE : REG_OPTION_NON_VOLATILE);
}

RegistryScope::~RegistryScope() {
  key_.reset();
  RegDeleteTreeW(root_, path_.c_str());
  if (saved_.empty()) return;
  RegCopyTreeW(Open(HKEY_CURRENT_USER, saved_).get(), nullptr,
               Create(root_, path_, REG_OPTION_NON_VOLATILE).get());
  RegDeleteTreeW(HKEY_CURRENT_USER, saved_.c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, kCopies);
}

void RegistryScope::Make(const std::string& sub_path,
                         const std::optional<std::string>& text) const {
  UniqueHKey key = Create(key_.get(), win::Widen(sub_path), REG_OPTION_NON_VOLATILE);
  if (!key) key = Create(key_.get(), win::Widen(sub_path), REG_OPTION_VOLATILE);
  if (key && text) WriteRegText(key.get(), "", *text);
}

} // namespace id3::test
