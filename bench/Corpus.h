#pragma once
// A generated corpus of song sheets for the benchmarks: chord lines over
// lyrics, bracketed chords and guitar tablature, CR LF line ends, mostly
// ASCII with some accented Latin-1 letters. Deterministic for a given size.

#include <cstddef>
#include <string>

namespace sonavel::bench {

std::string MakeSongCorpus(std::size_t minBytes);

// The real songs of SONAVEL_SONGS_DIR that are UTF-8, each followed by a
// blank line, repeated to at least minBytes: far fewer chords and frets to
// the byte than the generated corpus. Empty without the songs.
std::string MakeRealSongCorpus(std::size_t minBytes);

}  // namespace sonavel::bench
