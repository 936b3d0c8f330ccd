#pragma once
// The archive backends the shared archive tests run against. Each gives, per test, the location of
// a fresh empty archive that OpenArchive opens, as often as a test wants to open it.
#include <functional>
#include <string>
#include <vector>

#include "test_support.h"

namespace morvek::test {

struct ArchiveBackend {
  std::string name;  // the test's suffix: letters and digits
  // A fresh archive's location; dir lives as long as the test.
  std::function<std::string(const TempDir& dir)> freshLocation;
};

// PostgreSQL joins here: when MORVEK_TEST_POSTGRES holds a connection string, a backend whose
// freshLocation makes an empty database (or schema) for each test and returns its connection
// string. Nothing is added until then.
inline void AddPostgresBackend(std::vector<ArchiveBackend>& backends) {
  (void)backends;
}

inline std::vector<ArchiveBackend> ArchiveBackends() {
  std::vector<ArchiveBackend> backends{
      {"Sqlite", [](const TempDir& dir) { return dir.File("archive.sqlite"); }}};
  AddPostgresBackend(backends);
  return backends;
}

}  // namespace morvek::test
