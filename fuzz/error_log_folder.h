#pragma once
// Failing documents write the error log into a folder made once per fuzzing process, removed at
// exit.
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>

inline const std::string& FuzzErrorLogPath() {
  static const std::string path = [] {
    static std::string folder =
        (std::filesystem::temp_directory_path() / "morvek-fuzz-XXXXXX").string();
    if (!mkdtemp(folder.data())) {
      std::perror("mkdtemp");
      std::abort();
    }
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(folder, ignored);
    });
    return folder + "/error.log";
  }();
  return path;
}
