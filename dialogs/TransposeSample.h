#pragma once
// The before-and-after sample of the Transpose dialog: twelve chord names and
// twelve fret numbers, untransposed and transposed with the given options.

#include <string>
#include <string_view>
#include <vector>

#include "engine/TransposeOptions.h"

namespace sonavel {

// Which colour role a piece of the sample is shown in.
enum class SampleRole { Text, Chord, Tab };

struct SampleRun {
  std::string text;  // UTF-8
  SampleRole role = SampleRole::Text;

  friend bool operator==(const SampleRun&, const SampleRun&) = default;
};

// The sample as coloured runs, in order. The headings are inserted as they
// are given (the caller translates them). The transposed half goes through
// TransposeChord and TransposeTab, exactly as the transpose command does.
std::vector<SampleRun> BuildTransposeSample(const TransposeOptions& options, std::string_view originalHeading,
                                            std::string_view transposedHeading);

}  // namespace sonavel
