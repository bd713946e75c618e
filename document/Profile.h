#pragma once
// The program's profile in the per-user store, as an application framework
// keeps it: integers, texts and binary blocks in sections below
// "Software\Quillon Works\Sonavel" (the recent files, the bar state, the
// window placement). Reads of a missing value, or of a store that fails,
// give the caller's fallback; writes report whether they reached the store.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace sonavel {

class SettingsStore;

class CProfile {
 public:
  static constexpr std::string_view kKey = "Software\\Quillon Works\\Sonavel";

  // The per-user store, or the given one (tests).
  CProfile();
  explicit CProfile(std::shared_ptr<SettingsStore> store);

  std::int32_t GetInt(std::string_view section, std::string_view name, std::int32_t fallback) const;
  bool WriteInt(std::string_view section, std::string_view name, std::int32_t value);
  std::string GetString(std::string_view section, std::string_view name, std::string_view fallback) const;
  bool WriteString(std::string_view section, std::string_view name, std::string_view text);
  std::vector<std::uint8_t> GetBinary(std::string_view section, std::string_view name) const;
  bool WriteBinary(std::string_view section, std::string_view name, const std::vector<std::uint8_t>& data);

 private:
  SettingsStore& Store() const;
  bool Write(std::string_view section, std::string_view name, std::uint32_t type, const std::vector<std::uint8_t>& data);
  std::vector<std::uint8_t> Read(std::string_view section, std::string_view name, std::uint32_t type) const;

  std::shared_ptr<SettingsStore> m_store;  // null: the per-user store
};

}  // namespace sonavel
