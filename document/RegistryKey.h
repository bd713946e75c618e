#pragma once
// A named key of the settings store with typed reads and writes, in the
// registry's terms: a predefined root, a backslash-separated path below it,
// and values with the registry's type codes and byte layouts.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace sonavel {

class SettingsStore;

using RegistryRoot = std::uint32_t;

inline constexpr RegistryRoot HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr RegistryRoot HKEY_CURRENT_USER = 0x80000001u;
inline constexpr RegistryRoot HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr RegistryRoot HKEY_USERS = 0x80000003u;

inline constexpr std::uint32_t REG_NONE = 0;
inline constexpr std::uint32_t REG_SZ = 1;
inline constexpr std::uint32_t REG_EXPAND_SZ = 2;
inline constexpr std::uint32_t REG_BINARY = 3;
inline constexpr std::uint32_t REG_DWORD = 4;

// A value object: copies name the same key, and nothing is held open
// between calls. Failures never throw; they give false, type 0 or the
// caller's fallback.
//
// Names, paths and texts are C strings to the store: anything from a NUL
// byte on is ignored, as it would be in the registry. An empty value name is
// the key's default value. There are no access rights per key, so the
// access a call asks for only matters in that writes fail on a store that
// cannot be written.
class CRegistryKey {
 public:
  // Works on the per-user store, opened when first used.
  CRegistryKey();
  explicit CRegistryKey(std::shared_ptr<SettingsStore> store);

  bool Reset();
  // Only the four predefined roots are accepted.
  bool SelectRoot(RegistryRoot root);
  // Creates the key (and the keys above it) or opens it; on failure the
  // previous key stays current.
  bool CreatePath(std::string_view path);
  // An empty path makes the root itself current, without touching the store.
  bool OpenPath(std::string_view path, bool create);

  // REG_NONE when the key or the value is missing or the store fails.
  std::uint32_t QueryType(std::string_view name) const;
  bool HasValue(std::string_view name) const;
  // Only REG_SZ and REG_EXPAND_SZ values; the text ends at the first NUL,
  // and references in REG_EXPAND_SZ are not expanded.
  std::string GetText(std::string_view name, std::string_view fallback) const;
  // The value's data as a little-endian number whatever its type. Data
  // longer than 4 bytes gives the fallback; shorter data is read with its
  // missing high bytes as zero, so a 1-byte flag 01 reads as 1 and empty
  // data reads as 0.
  std::int32_t GetNumber(std::string_view name, std::int32_t fallback) const;
  std::int32_t GetFlag(std::string_view name, std::int32_t fallback) const;

  // REG_SZ: the text's bytes and one terminating NUL.
  bool PutText(std::string_view name, std::string_view text);
  // REG_BINARY: 4 bytes, little-endian, two's complement.
  bool PutNumber(std::string_view name, std::int32_t value);
  bool PutFlag(std::string_view name, std::int32_t flag);

  RegistryRoot Root() const { return m_root; }
  const std::string& KeyPath() const { return m_keyPath; }
  SettingsStore& Store() const;

 private:
  std::shared_ptr<SettingsStore> m_store;  // null: the per-user store
  RegistryRoot m_root = HKEY_CURRENT_USER;
  std::string m_keyPath;
};

}  // namespace sonavel
