#include "document/Profile.h"

#include "document/RegistryKey.h"
#include "document/SettingsStore.h"

namespace sonavel {
namespace {

std::string SectionPath(std::string_view section) {
  return std::string(CProfile::kKey) + "\\" + std::string(section);
}

}  // namespace

CProfile::CProfile() = default;

CProfile::CProfile(std::shared_ptr<SettingsStore> store) : m_store(std::move(store)) {}

SettingsStore& CProfile::Store() const { return m_store ? *m_store : *SettingsStore::PerUser(); }

bool CProfile::Write(std::string_view section, std::string_view name, std::uint32_t type,
                     const std::vector<std::uint8_t>& data) {
  const std::string path = SectionPath(section);
  return Store().CreateKey(HKEY_CURRENT_USER, path) && Store().WriteValue(HKEY_CURRENT_USER, path, name, type, data);
}

std::vector<std::uint8_t> CProfile::Read(std::string_view section, std::string_view name, std::uint32_t type) const {
  ValueLookup value = Store().ReadValue(HKEY_CURRENT_USER, SectionPath(section), name, SettingsStore::kMaxValueBytes);
  if (value.status != LookupStatus::Found || value.type != type || !value.dataRead) return {};
  return std::move(value.data);
}

std::int32_t CProfile::GetInt(std::string_view section, std::string_view name, std::int32_t fallback) const {
  const std::vector<std::uint8_t> data = Read(section, name, REG_DWORD);
  if (data.size() != 4) return fallback;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
                                   static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24);
}

bool CProfile::WriteInt(std::string_view section, std::string_view name, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  return Write(section, name, REG_DWORD,
               {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
                static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)});
}

std::string CProfile::GetString(std::string_view section, std::string_view name, std::string_view fallback) const {
  const std::vector<std::uint8_t> data = Read(section, name, REG_SZ);
  if (data.empty()) return std::string(fallback);
  const std::string text(data.begin(), data.end());
  return text.substr(0, text.find('\0'));
}

bool CProfile::WriteString(std::string_view section, std::string_view name, std::string_view text) {
  std::vector<std::uint8_t> data(text.begin(), text.end());
  data.push_back(0);
  return Write(section, name, REG_SZ, data);
}

std::vector<std::uint8_t> CProfile::GetBinary(std::string_view section, std::string_view name) const {
  return Read(section, name, REG_BINARY);
}

bool CProfile::WriteBinary(std::string_view section, std::string_view name, const std::vector<std::uint8_t>& data) {
  return Write(section, name, REG_BINARY, data);
}

}  // namespace sonavel
