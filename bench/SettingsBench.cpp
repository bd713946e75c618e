// Loading and saving the whole settings record on a store on disk. Both
// happen once per run of the editor, and must stay far below what a user
// could notice at start-up or exit (50 ms).

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>

#include "document/Settings.h"
#include "document/SettingsStore.h"

namespace sonavel {
namespace {

// A store with all 21 values in a fresh temporary directory, removed after.
class BenchStore {
 public:
  BenchStore() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "sonavel-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    m_directory = pattern;
    CSettings seed(Open());
    seed.font = "DejaVu Sans Mono";
    seed.steps = -3;
  }
  ~BenchStore() {
    std::error_code error;
    std::filesystem::remove_all(m_directory, error);
  }
  BenchStore(const BenchStore&) = delete;
  BenchStore& operator=(const BenchStore&) = delete;

  std::shared_ptr<SettingsStore> Open() const {
    return std::make_shared<SettingsStore>(m_directory / "registry.sqlite3");
  }

 private:
  std::filesystem::path m_directory;
};

void BM_SettingsLoad(benchmark::State& state) {
  const BenchStore bench;
  CSettings settings(bench.Open(), SettingsPersistence::ReadOnly);
  for (auto _ : state) {
    settings.Load();
    benchmark::DoNotOptimize(settings.steps);
  }
  if (settings.steps != -3) state.SkipWithError("the stored values were not loaded");
}
BENCHMARK(BM_SettingsLoad)->Unit(benchmark::kMicrosecond);

// Loading as the editor does: creating the settings keys if needed.
void BM_SettingsLoadCreatingKeys(benchmark::State& state) {
  const BenchStore bench;
  CSettings settings(bench.Open());
  for (auto _ : state) {
    settings.Load();
    benchmark::DoNotOptimize(settings.steps);
  }
}
BENCHMARK(BM_SettingsLoadCreatingKeys)->Unit(benchmark::kMicrosecond);

void BM_SettingsSave(benchmark::State& state) {
  const BenchStore bench;
  CSettings settings(bench.Open());
  for (auto _ : state) {
    settings.steps = -settings.steps;  // a real change every time
    settings.Save();
  }
}
BENCHMARK(BM_SettingsSave)->Unit(benchmark::kMicrosecond);

// What start-up pays: opening and checking the database, then loading.
void BM_SettingsOpenAndLoad(benchmark::State& state) {
  const BenchStore bench;
  for (auto _ : state) {
    const CSettings settings(bench.Open(), SettingsPersistence::ReadOnly);
    benchmark::DoNotOptimize(settings.steps);
  }
}
BENCHMARK(BM_SettingsOpenAndLoad)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace sonavel
