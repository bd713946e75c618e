#pragma once
// Where the settings store's files lie and whether they are there, asked the
// same way by the store and by its recovery. Neither question throws.

#include <filesystem>
#include <system_error>

namespace sonavel {

// The directory holding `file`, "." for a bare file name.
inline std::filesystem::path DirectoryOf(const std::filesystem::path& file) {
  return file.parent_path().empty() ? std::filesystem::path(".") : file.parent_path();
}

// True when anything, even a dangling symbolic link, is at `path`; false as
// well when that cannot be found out.
inline bool Exists(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::symlink_status(path, error).type() !=
             std::filesystem::file_type::not_found &&
         !error;
}

}  // namespace sonavel
