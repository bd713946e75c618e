#pragma once
// A generated corpus of song sheets for the benchmarks: chord lines over
// lyrics, bracketed chords and guitar tablature, CR LF line ends, mostly
// ASCII with some accented Latin-1 letters. Deterministic for a given size.

#include <cstddef>
#include <string>

namespace sonavel::bench {

std::string MakeSongCorpus(std::size_t minBytes);

}  // namespace sonavel::bench
