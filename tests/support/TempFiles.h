#pragma once
// A temporary folder of a test's own, and whole files read and written as
// bytes.

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>

namespace sonavel::test {

namespace fs = std::filesystem;

inline std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteFile(const fs::path& file, std::string_view bytes) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

// Removed with everything in it.
struct TempDirectory {
  TempDirectory() {
    std::string pattern = (fs::temp_directory_path() / "sonavel-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path = pattern;
  }
  ~TempDirectory() {
    std::error_code error;
    // Tests take permissions away; give them back so that everything can go.
    for (auto it = fs::recursive_directory_iterator(path, error); !error && it != fs::end(it); it.increment(error))
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove_all(path, error);
  }

  fs::path path;
};

}  // namespace sonavel::test
