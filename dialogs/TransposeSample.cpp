#include "dialogs/TransposeSample.h"

#include "engine/ChordTranspose.h"
#include "engine/NoteTable.h"
#include "engine/Tablature.h"

namespace sonavel {
namespace {

// The sample's chords are the names of the key of C, whatever key is chosen:
// choosing another key then visibly respells them.
constexpr int kSampleKey = 0;

void Append(std::vector<SampleRun>& runs, std::string_view text, SampleRole role) {
  runs.push_back(SampleRun{std::string(text), role});
}

void AppendHalf(std::vector<SampleRun>& runs, const TransposeOptions& options, bool transposed,
                std::string_view heading) {
  Append(runs, heading, SampleRole::Text);
  for (int j = 0; j < kSemitones; ++j) {
    std::string name(chordTable()[kSampleKey][static_cast<std::size_t>(j)]);
    if (transposed && options.transposeChords) {
      name = TransposeChord(name, options.steps, options.key, options.bIsBess).newText;
    }
    Append(runs, name, SampleRole::Chord);
    Append(runs, " ", SampleRole::Text);
  }
  Append(runs, "\n-", SampleRole::Text);
  for (int j = 0; j < kSemitones; ++j) {
    std::string fret = std::to_string(j);
    if (transposed && options.transposeTabs) {
      fret = TransposeTab(fret, options.steps, options.tabMiniValue, options.tabMaxValue).newText;
    }
    Append(runs, fret, SampleRole::Tab);
    Append(runs, "-", SampleRole::Text);
  }
}

}  // namespace

std::vector<SampleRun> BuildTransposeSample(const TransposeOptions& options, std::string_view originalHeading,
                                            std::string_view transposedHeading) {
  BuildChordTable();
  std::vector<SampleRun> runs;
  runs.reserve(2 * (1 + 4 * kSemitones + 1));
  AppendHalf(runs, options, false, originalHeading);
  AppendHalf(runs, options, true, transposedHeading);
  return runs;
}

}  // namespace sonavel
