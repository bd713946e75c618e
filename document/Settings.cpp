#include "document/Settings.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "document/SettingsStore.h"

namespace sonavel {

namespace {

constexpr std::string_view kSettingsPath = "Software\\Quillon Works\\Sonavel\\Settings";
constexpr std::chrono::milliseconds kSaveWait{2000};
// A bound of -1 leaves that side open, which is why -1 itself cannot be a
// bound; no setting needs it.
constexpr std::int32_t kOpen = -1;
constexpr std::int32_t kMaxColor = 0x00FFFFFF;

struct FlagField {
  bool SettingsValues::*member;
  bool fallback;
};
template <typename T>
struct NumberField {
  T SettingsValues::*member;
  T fallback;
  std::int32_t min;
  std::int32_t max;
};
struct TextField {
  std::string SettingsValues::*member;
  std::string_view fallback;
};

struct Setting {
  std::string_view subkey;
  std::string_view name;
  std::variant<FlagField, NumberField<std::int32_t>, NumberField<ColorRef>, TextField> field;
};

using Int = NumberField<std::int32_t>;
using Color = NumberField<ColorRef>;

// Every setting once, in the order values are loaded.
constexpr std::array kSettings{
    Setting{"main", "useSystemBackground", FlagField{&SettingsValues::useSystemBackground, true}},
    Setting{"main", "font", TextField{&SettingsValues::font, "Fixedsys"}},
    Setting{"main", "backgroundcolor",
            Color{&SettingsValues::backgroundcolor, kDefaultBackgroundColor, 0, kMaxColor}},
    Setting{"main", "chordcolor",
            Color{&SettingsValues::chordcolor, kDefaultChordColor, 0, kMaxColor}},
    Setting{"main", "tabcolor", Color{&SettingsValues::tabcolor, kDefaultTabColor, 0, kMaxColor}},
    Setting{"main", "textcolor",
            Color{&SettingsValues::textcolor, kDefaultTextColor, 0, kMaxColor}},
    Setting{"main", "fontBold", FlagField{&SettingsValues::fontBold, false}},
    Setting{"main", "fontItalic", FlagField{&SettingsValues::fontItalic, false}},
    Setting{"main", "wordWrap", FlagField{&SettingsValues::wordWrap, true}},
    Setting{"misc", "autoColorOnOpen", FlagField{&SettingsValues::autoColorOnOpen, true}},
    Setting{"main", "fontSize", Int{&SettingsValues::fontSize, 9, kOpen, kOpen}},
    Setting{"misc", "quickExit", FlagField{&SettingsValues::quickExit, true}},
    Setting{"misc", "autoColor", FlagField{&SettingsValues::autoColor, false}},
    Setting{"Transposing", "bIsBess", FlagField{&SettingsValues::bIsBess, false}},
    Setting{"Transposing", "chordInBrackets", FlagField{&SettingsValues::chordInBrackets, false}},
    Setting{"Transposing", "tabMaxValue", Int{&SettingsValues::tabMaxValue, 15, 0, 99}},
    Setting{"Transposing", "tabMiniValue", Int{&SettingsValues::tabMiniValue, 0, 0, 99}},
    Setting{"Transposing", "transposeChords", FlagField{&SettingsValues::transposeChords, true}},
    Setting{"Transposing", "transposeTabs", FlagField{&SettingsValues::transposeTabs, true}},
    Setting{"Transposing", "key", Int{&SettingsValues::key, 0, 0, 20}},
    Setting{"Transposing", "steps", Int{&SettingsValues::steps, 1, -12, 12}},
};

// Values are written grouped by subkey in this order.
constexpr std::array<std::string_view, kSettings.size()> kSaveOrder{
    "useSystemBackground",
    "font",
    "backgroundcolor",
    "chordcolor",
    "tabcolor",
    "textcolor",
    "autoColorOnOpen",
    "quickExit",
    "autoColor",
    "fontBold",
    "fontItalic",
    "wordWrap",
    "fontSize",
    "bIsBess",
    "chordInBrackets",
    "tabMaxValue",
    "tabMiniValue",
    "transposeChords",
    "transposeTabs",
    "key",
    "steps",
};

constexpr std::size_t IndexOf(std::string_view name) {
  for (std::size_t i = 0; i < kSettings.size(); ++i)
    if (kSettings[i].name == name) return i;
  return kSettings.size();
}

constexpr auto kSaveIndices = [] {
  std::array<std::size_t, kSaveOrder.size()> indices{};
  for (std::size_t i = 0; i < kSaveOrder.size(); ++i) indices[i] = IndexOf(kSaveOrder[i]);
  return indices;
}();

constexpr bool SavesEverySettingOnce() {
  std::array<int, kSettings.size()> uses{};
  for (const std::size_t index : kSaveIndices) {
    if (index >= kSettings.size()) return false;
    ++uses[index];
  }
  for (const int count : uses)
    if (count != 1) return false;
  return true;
}
static_assert(SavesEverySettingOnce(), "the save order must name every setting exactly once");

template <typename... Visitors>
struct Overloaded : Visitors... {
  using Visitors::operator()...;
};
// Clang 14 does not deduce aggregate template arguments by itself.
template <typename... Visitors>
Overloaded(Visitors...) -> Overloaded<Visitors...>;

bool WithinBounds(std::int32_t value, std::int32_t min, std::int32_t max) {
  return (min == kOpen || value >= min) && (max == kOpen || value <= max);
}

constexpr std::uint32_t Bit(std::size_t index) { return std::uint32_t{1} << index; }
static_assert(kSettings.size() <= 32, "one bit per setting");

std::uint32_t DifferingFields(const SettingsValues& a, const SettingsValues& b) {
  std::uint32_t differing = 0;
  for (std::size_t i = 0; i < kSettings.size(); ++i) {
    std::visit([&](const auto& field) { differing |= a.*field.member != b.*field.member ? Bit(i) : 0; },
               kSettings[i].field);
  }
  return differing;
}

std::int32_t LittleEndianNumber(const std::vector<std::uint8_t>& data) {
  return static_cast<std::int32_t>(std::uint32_t{data[0]} | std::uint32_t{data[1]} << 8 |
                                   std::uint32_t{data[2]} << 16 | std::uint32_t{data[3]} << 24);
}

// Whether the stored value is in the form Save writes and Load takes as it
// is. Such a value may be another instance's change; anything else (missing,
// out of bounds, of another type or size) is put right on saving.
bool InSavedForm(const Setting& setting, const ValueLookup& value) {
  if (value.status != LookupStatus::Found || !value.dataRead) return false;
  const std::vector<std::uint8_t>& data = value.data;
  return std::visit(
      Overloaded{
          [&](const FlagField&) {
            return value.type == REG_BINARY && data.size() == 4 && (LittleEndianNumber(data) & ~1) == 0;
          },
          [&]<typename T>(const NumberField<T>& field) {
            return value.type == REG_BINARY && data.size() == 4 &&
                   WithinBounds(LittleEndianNumber(data), field.min, field.max);
          },
          [&](const TextField&) {
            return value.type == REG_SZ && !data.empty() &&
                   std::find(data.begin(), data.end(), 0) == data.end() - 1;
          },
      },
      setting.field);
}

}  // namespace

CSettings::CSettings() : CSettings(SettingsStore::PerUser()) {}

CSettings::CSettings(std::shared_ptr<SettingsStore> store, SettingsPersistence persistence)
    : m_settingsKey(std::move(store)), m_persistence(persistence) {
  Load();
}

CSettings& CSettings::operator=(const CSettings& other) {
  m_assigned |= other.m_assigned | DifferingFields(*this, other);
  SettingsValues::operator=(other);
  m_settingsKey = other.m_settingsKey;
  return *this;
}

CSettings CSettings::WorkingCopy() const {
  CSettings copy(*this);
  copy.m_persistence = SettingsPersistence::ReadOnly;
  return copy;
}

CSettings::~CSettings() {
  // A destructor must not throw; a save that cannot finish is lost like
  // any other failed write.
  try {
    Save();
  } catch (...) {
  }
  m_settingsKey.Reset();
}

void CSettings::SetDefaults() {
  for (const Setting& setting : kSettings) {
    std::visit(
        [this](const auto& field) {
          using Value = std::remove_cvref_t<decltype(this->*field.member)>;
          this->*field.member = Value(field.fallback);
        },
        setting.field);
  }
}

bool CSettings::SelectSubkey(std::string_view subkey) {
  std::string path(kSettingsPath);
  if (!subkey.empty()) path.append("\\").append(subkey);
  m_settingsKey.SelectRoot(HKEY_CURRENT_USER);
  return m_settingsKey.OpenPath(path, m_persistence == SettingsPersistence::LoadAndSave);
}

void CSettings::Load() {
  SetDefaults();
  for (const Setting& setting : kSettings) {
    // A key that cannot be made current must not be read: the previous key
    // would still be current.
    if (!SelectSubkey(setting.subkey) || !m_settingsKey.HasValue(setting.name)) continue;
    const std::string_view name = setting.name;
    std::visit(
        Overloaded{
            [&](const FlagField& field) {
              this->*field.member = m_settingsKey.GetFlag(name, 0) != 0;
            },
            [&]<typename T>(const NumberField<T>& field) {
              const std::int32_t value = m_settingsKey.GetNumber(name, 0);
              if (WithinBounds(value, field.min, field.max))
                this->*field.member = static_cast<T>(value);
            },
            [&](const TextField& field) { this->*field.member = m_settingsKey.GetText(name, ""); },
        },
        setting.field);
  }
  m_stored = *this;
  m_assigned = 0;
}

void CSettings::Save() {
  if (m_persistence == SettingsPersistence::ReadOnly) return;
  // One transaction for every value: another process holding the store's
  // lock costs one short wait and one failure, not a wait per value, and
  // the store never holds half a save.
  struct WriteBatch {
    explicit WriteBatch(SettingsStore& store) : store(store) { store.BeginWriteBatch(kSaveWait); }
    ~WriteBatch() {
      if (!ended) End();
    }
    bool End() {
      ended = true;
      if (store.EndWriteBatch()) return true;
      if (!store.File().empty()) {
        std::fprintf(stderr, "sonavel: the settings could not be saved in %s\n", store.File().c_str());
      }
      return false;
    }
    SettingsStore& store;
    bool ended = false;
  } batch(m_settingsKey.Store());
  const std::uint32_t changed = m_assigned | DifferingFields(*this, m_stored);
  for (const std::size_t index : kSaveIndices) {
    const Setting& setting = kSettings[index];
    if (!SelectSubkey(setting.subkey)) continue;
    const std::string_view name = setting.name;
    // Read within the batch, so no other instance writes in between.
    if ((changed & Bit(index)) == 0 &&
        InSavedForm(setting, m_settingsKey.Store().ReadValue(m_settingsKey.Root(), m_settingsKey.KeyPath(), name,
                                                             SettingsStore::kMaxValueBytes))) {
      continue;
    }
    std::visit(
        Overloaded{
            [&](const FlagField& field) {
              m_settingsKey.PutFlag(name, this->*field.member ? 1 : 0);
            },
            [&]<typename T>(const NumberField<T>& field) {
              m_settingsKey.PutNumber(name, static_cast<std::int32_t>(this->*field.member));
            },
            [&](const TextField& field) { m_settingsKey.PutText(name, this->*field.member); },
        },
        setting.field);
  }
  // A save that failed leaves the changes to the next one.
  if (batch.End()) {
    m_stored = *this;
    m_assigned = 0;
  }
}

void CSettings::ValidateColors() {
  if (textcolor != chordcolor && textcolor != tabcolor && chordcolor != tabcolor) return;
  backgroundcolor = kDefaultBackgroundColor;
  chordcolor = kDefaultChordColor;
  tabcolor = kDefaultTabColor;
  textcolor = kDefaultTextColor;
}

TransposeOptions CSettings::TransposeDefaults() const {
  TransposeOptions options;
  options.steps = steps;
  options.key = key;
  options.bIsBess = bIsBess;
  options.transposeChords = transposeChords;
  options.transposeTabs = transposeTabs;
  options.tabMiniValue = tabMiniValue;
  options.tabMaxValue = tabMaxValue;
  return options;
}

void CSettings::SetTransposeDefaults(const TransposeOptions& options) {
  steps = options.steps;
  key = options.key;
  bIsBess = options.bIsBess;
  transposeChords = options.transposeChords;
  transposeTabs = options.transposeTabs;
  tabMiniValue = options.tabMiniValue;
  tabMaxValue = options.tabMaxValue;
}

// ---- theSettings --------------------------------------------------------

namespace {

CSettings* g_installed = nullptr;

CSettings& UnboundDefaults() {
  static CSettings defaults(SettingsStore::WithoutFile(), SettingsPersistence::ReadOnly);
  return defaults;
}

std::shared_ptr<SettingsStore> PerUserStoreFor(SettingsPersistence persistence) {
  // A read-only reader gets its own read-only store, which creates neither
  // the directory nor the database when they are missing.
  if (persistence == SettingsPersistence::ReadOnly)
    return std::make_shared<SettingsStore>(SettingsStore::DefaultPath(), StoreAccess::ReadOnly);
  return SettingsStore::PerUser();
}

}  // namespace

CSettings& theSettings() { return g_installed != nullptr ? *g_installed : UnboundDefaults(); }

SettingsScope::SettingsScope(SettingsPersistence persistence)
    : SettingsScope(PerUserStoreFor(persistence), persistence) {}

SettingsScope::SettingsScope(std::shared_ptr<SettingsStore> store, SettingsPersistence persistence)
    : m_settings(std::move(store), persistence), m_previous(g_installed) {
  g_installed = &m_settings;
}

SettingsScope::~SettingsScope() { g_installed = m_previous; }

}  // namespace sonavel
