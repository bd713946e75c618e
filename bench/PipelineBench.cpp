// Throughput of the colorize and transposition passes, on the in-memory
// control and line by line, over a generated corpus of chord sheets and
// tablature.

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <string_view>
#include <vector>

#include "bench/Corpus.h"
#include "document/TextEncoding.h"
#include "engine/NoteTable.h"
#include "view/MemoryTextControl.h"
#include "view/SongLinePass.h"
#include "view/ViewCommands.h"

namespace {

constexpr std::size_t kCorpusBytes = 12u << 20;

const std::string& Corpus() {
  static const std::string corpus = sonavel::bench::MakeSongCorpus(kCorpusBytes);
  return corpus;
}

const std::string& RealSongs() {
  static const std::string corpus = sonavel::bench::MakeRealSongCorpus(kCorpusBytes);
  return corpus;
}

void ReportBytes(benchmark::State& state, std::size_t bytes) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes));
}

// Peak memory of the whole in-memory road (set text, colorize, transpose)
// relative to the size of the text, measured as the growth of the maximum
// resident set; registered first so no earlier case has raised that peak.
void BM_PeakMemoryRatio(benchmark::State& state) {
  sonavel::BuildChordTable();
  const std::string& corpus = Corpus();
  struct rusage before {};
  getrusage(RUSAGE_SELF, &before);
  for (auto _ : state) {
    sonavel::DocumentOptions options;
    sonavel::MemoryTextControl control;
    control.SetText(corpus);
    sonavel::ViewCommands commands(control, options);
    commands.Colorize(false, false);
    benchmark::DoNotOptimize(commands.OnQuickTranspose());
  }
  struct rusage after {};
  getrusage(RUSAGE_SELF, &after);
  const double grownBytes = static_cast<double>(after.ru_maxrss - before.ru_maxrss) * 1024.0;
  state.counters["peak_over_text"] = grownBytes / static_cast<double>(corpus.size());
  ReportBytes(state, corpus.size());
}
BENCHMARK(BM_PeakMemoryRatio)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_Colorize(benchmark::State& state) {
  sonavel::BuildChordTable();
  sonavel::DocumentOptions options;
  sonavel::MemoryTextControl control;
  control.SetText(Corpus());
  sonavel::ViewCommands commands(control, options);
  for (auto _ : state) {
    commands.Colorize(false, false);
    benchmark::ClobberMemory();
  }
  ReportBytes(state, Corpus().size());
}
BENCHMARK(BM_Colorize)->Unit(benchmark::kMillisecond);

void BM_Transpose(benchmark::State& state) {
  sonavel::BuildChordTable();
  sonavel::DocumentOptions options;
  sonavel::MemoryTextControl control;
  control.SetText(Corpus());
  sonavel::ViewCommands commands(control, options);
  commands.Colorize(false, false);
  for (auto _ : state) {
    // Alternating up and down keeps the text the same size run after run.
    options.transpose.steps = (state.iterations() % 2 == 0) ? 1 : -1;
    const auto counts = commands.OnQuickTranspose();
    benchmark::DoNotOptimize(counts);
  }
  ReportBytes(state, Corpus().size());
}
BENCHMARK(BM_Transpose)->Unit(benchmark::kMillisecond);

// Colorize and transpose one line at a time, as sonavel-cli runs them: the
// engine's passes without a control.
void LinePass(benchmark::State& state, const std::string& corpus) {
  sonavel::BuildChordTable();
  if (corpus.empty()) {
    state.SkipWithError("no songs in " SONAVEL_SONGS_DIR);
    return;
  }
  std::vector<std::string_view> lines;
  sonavel::ForEachLine(corpus, [&lines](std::string_view line, bool) { lines.push_back(line); });
  sonavel::DocumentOptions options;
  sonavel::SongLinePass pass(options);
  std::string scratch;
  for (auto _ : state) {
    sonavel::TransposeCounts counts;
    for (const std::string_view line : lines) {
      pass.Colorize(line);
      benchmark::DoNotOptimize(pass.Transposed(scratch, counts));
    }
    benchmark::DoNotOptimize(counts);
  }
  ReportBytes(state, corpus.size());
}

void BM_LinePass(benchmark::State& state) { LinePass(state, Corpus()); }
BENCHMARK(BM_LinePass)->Unit(benchmark::kMillisecond);

void BM_LinePass_RealSongs(benchmark::State& state) { LinePass(state, RealSongs()); }
BENCHMARK(BM_LinePass_RealSongs)->Unit(benchmark::kMillisecond);

}  // namespace
