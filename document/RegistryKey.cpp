#include "document/RegistryKey.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "document/SettingsStore.h"

namespace sonavel {

namespace {

constexpr std::size_t kNumberBytes = 4;

std::string_view UpToNul(std::string_view text) { return text.substr(0, text.find('\0')); }

bool IsPredefinedRoot(RegistryRoot root) {
  return root == HKEY_CLASSES_ROOT || root == HKEY_CURRENT_USER || root == HKEY_LOCAL_MACHINE ||
         root == HKEY_USERS;
}

std::array<std::uint8_t, kNumberBytes> LittleEndian(std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  return {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
          static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
}

}  // namespace

CRegistryKey::CRegistryKey() = default;

CRegistryKey::CRegistryKey(std::shared_ptr<SettingsStore> store) : m_store(std::move(store)) {}

SettingsStore& CRegistryKey::Store() const {
  return m_store ? *m_store : *SettingsStore::PerUser();
}

bool CRegistryKey::Reset() {
  m_keyPath.clear();
  m_root = HKEY_CURRENT_USER;
  return true;
}

bool CRegistryKey::SelectRoot(RegistryRoot root) {
  if (!IsPredefinedRoot(root)) return false;
  m_root = root;
  return true;
}

bool CRegistryKey::CreatePath(std::string_view path) {
  path = UpToNul(path);
  if (!Store().CreateKey(m_root, path)) return false;
  m_keyPath = path;
  return true;
}

bool CRegistryKey::OpenPath(std::string_view path, bool create) {
  path = UpToNul(path);
  if (path.empty()) {
    m_keyPath.clear();
    return true;
  }
  if (create) return CreatePath(path);
  if (!Store().KeyExists(m_root, path)) return false;
  m_keyPath = path;
  return true;
}

std::uint32_t CRegistryKey::QueryType(std::string_view name) const {
  const ValueLookup lookup = Store().ReadValue(m_root, m_keyPath, UpToNul(name), 0);
  return lookup.status == LookupStatus::Found ? lookup.type : REG_NONE;
}

bool CRegistryKey::HasValue(std::string_view name) const {
  return Store().ReadValue(m_root, m_keyPath, UpToNul(name), 0).status == LookupStatus::Found;
}

std::string CRegistryKey::GetText(std::string_view name, std::string_view fallback) const {
  // Type and data come from one read, so the type cannot change in between.
  const ValueLookup lookup =
      Store().ReadValue(m_root, m_keyPath, UpToNul(name), SettingsStore::kMaxValueBytes);
  if (lookup.status != LookupStatus::Found || !lookup.dataRead ||
      (lookup.type != REG_SZ && lookup.type != REG_EXPAND_SZ))
    return std::string(fallback);
  const auto end = std::find(lookup.data.begin(), lookup.data.end(), std::uint8_t{0});
  return std::string(lookup.data.begin(), end);
}

std::int32_t CRegistryKey::GetNumber(std::string_view name, std::int32_t fallback) const {
  const ValueLookup lookup = Store().ReadValue(m_root, m_keyPath, UpToNul(name), kNumberBytes);
  if (lookup.status != LookupStatus::Found || !lookup.dataRead) return fallback;
  std::uint32_t bits = 0;
  for (std::size_t i = 0; i < lookup.data.size(); ++i)
    bits |= std::uint32_t{lookup.data[i]} << (8 * i);
  return static_cast<std::int32_t>(bits);
}

std::int32_t CRegistryKey::GetFlag(std::string_view name, std::int32_t fallback) const {
  return GetNumber(name, fallback);
}

bool CRegistryKey::PutText(std::string_view name, std::string_view text) {
  text = UpToNul(text);
  std::vector<std::uint8_t> data(text.begin(), text.end());
  data.push_back(0);
  return Store().WriteValue(m_root, m_keyPath, UpToNul(name), REG_SZ, data);
}

bool CRegistryKey::PutNumber(std::string_view name, std::int32_t value) {
  return Store().WriteValue(m_root, m_keyPath, UpToNul(name), REG_BINARY, LittleEndian(value));
}

bool CRegistryKey::PutFlag(std::string_view name, std::int32_t flag) {
  return PutNumber(name, flag);
}

}  // namespace sonavel
