#pragma once
// Key paths and value names of the settings store, compared as the registry
// compares them: without regard to case, for ASCII and the Latin, Greek and
// Cyrillic letters of UTF-8 text.

#include <string>
#include <string_view>

namespace sonavel {

// The text with every letter that has a simple one-to-one case pair in lower
// case. Folding keeps every byte offset, so a folded path splits into its
// components at the same offsets as the original. Bytes that are not such
// letters, including invalid UTF-8, are kept as they are.
std::string FoldCase(std::string_view text);

// A path is its components joined by backslashes; the empty path is the root
// itself. A path with an empty component (a leading, trailing or doubled
// backslash) names no key.
bool IsValidRegistryPath(std::string_view path);

}  // namespace sonavel
