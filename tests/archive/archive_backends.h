#pragma once
// The archive backends the shared archive tests run against. Each gives, per test, the location of
// a fresh empty archive that OpenArchive opens, as often as a test wants to open it.
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "archive/postgres_test_schema.h"
#include "test_support.h"

namespace morvek::test {

struct ArchiveBackend {
  std::string name;  // the test's suffix: letters and digits
  // A fresh archive's location; dir lives as long as the test. Empty: the backend is not at hand
  // and the test skips.
  std::function<std::string(const TempDir& dir)> freshLocation;
};

// PostgreSQL: each test gets a schema of its own in the database MORVEK_TEST_POSTGRES names,
// dropped when the test program ends. Its tests are always listed, whatever the environment at
// build time; without a server the location is empty and they skip, unless one is required.
inline void AddPostgresBackend(std::vector<ArchiveBackend>& backends) {
  backends.push_back({"Postgres", [](const TempDir&) -> std::string {
                        const std::string server = TestPostgresServer();
                        if (!server.empty()) return KeptPostgresTestSchema(server);
                        if (PostgresRequired())
                          throw std::runtime_error(
                              "MORVEK_REQUIRE_POSTGRES=1, but MORVEK_TEST_POSTGRES names no "
                              "database");
                        return "";
                      }});
}

inline std::vector<ArchiveBackend> ArchiveBackends() {
  std::vector<ArchiveBackend> backends{
      {"Sqlite", [](const TempDir& dir) { return dir.File("archive.sqlite"); }}};
  AddPostgresBackend(backends);
  return backends;
}

}  // namespace morvek::test
