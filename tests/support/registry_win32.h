// A registry key that a test may change as it likes: saved with everything
// below it when the scope begins and put back when the scope ends, however
// the test ends. What was added goes, what was changed or deleted comes back,
// and a key that was missing is missing again. Windows builds only.
#pragma once

#include "tools/regkey_win32.h"

#include <optional>
#include <string>

namespace id3::test {

class RegistryScope {
public:
  // AsFound leaves the key as it is (open when it exists); the others empty
  // it and open it, created lasting or volatile. A volatile key refuses
  // lasting keys below it, as HKEY_CLASSES_ROOT refuses a user without
  // administrator rights.
  enum class Start { AsFound, Empty, EmptyVolatile };

  RegistryScope(HKEY root, std::wstring path, Start start = Start::AsFound);
  ~RegistryScope();
  RegistryScope(const RegistryScope&) = delete;
  RegistryScope& operator=(const RegistryScope&) = delete;

  // The key, open for everything; null while it is missing.
  operator HKEY() const { return key_.get(); }

  // Makes the key below this one (lasting, or volatile where lasting ones are
  // refused), with the text as its default value when given.
  void Make(const std::string& sub_path, const std::optional<std::string>& text = {}) const;

private:
  HKEY root_;
  std::wstring path_;
  // Where the key's copy is kept meanwhile; empty when the key was missing.
  std::wstring saved_;
  UniqueHKey key_;
};

} // namespace id3::test
