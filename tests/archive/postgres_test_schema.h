#pragma once
// The PostgreSQL server the tests use: MORVEK_TEST_POSTGRES names a database (scripts/test.sh
// starts a throwaway cluster and sets it). Each test works in a schema of its own, made fresh and
// dropped at its end, so that tests running at once never see each other's rows. Without the
// variable the tests skip, unless MORVEK_REQUIRE_POSTGRES=1, which makes them fail.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "archive/pg_connection.h"

namespace morvek::test {

// The server named by MORVEK_TEST_POSTGRES; empty when none is.
inline std::string TestPostgresServer() {
  const char* server = std::getenv("MORVEK_TEST_POSTGRES");
  return server ? server : "";
}

inline bool PostgresRequired() {
  const char* required = std::getenv("MORVEK_REQUIRE_POSTGRES");
  return required && std::string(required) == "1";
}

// A fresh schema in the test database, dropped with everything in it at the end.
class PostgresTestSchema {
 public:
  // The name is made of letters, digits and "_", so it may stand in the statement text.
  explicit PostgresTestSchema(const std::string& server)
      : server_(server), name_(FreshName()), connection_(InSchema(server, name_)) {
    PgConnection(server_).Exec("CREATE SCHEMA " + name_);
    sql_ = std::make_unique<PgConnection>(connection_);
  }
  ~PostgresTestSchema() {
    sql_.reset();
    try {
      PgConnection(server_).Exec("DROP SCHEMA " + name_ + " CASCADE");
    } catch (const ArchiveError& error) {
      std::cerr << "the test schema " << name_ << " stays: " << error.what() << '\n';
    }
  }
  PostgresTestSchema(const PostgresTestSchema&) = delete;
  PostgresTestSchema& operator=(const PostgresTestSchema&) = delete;

  const std::string& name() const { return name_; }
  // The server's connection string, its statements going to this schema.
  const std::string& connection() const { return connection_; }
  // A connection of the test's own into the schema, to look at the tables.
  PgConnection& sql() { return *sql_; }
  long long Count(const std::string& table) {
    return sql_->Exec("SELECT count(*) FROM " + table).Int(0, 0);
  }

 private:
  static std::string FreshName() {
    static std::atomic<int> counter{0};
    std::random_device random;
    return "morvek_test_" + std::to_string(getpid()) + "_" + std::to_string(++counter) + "_" +
           std::to_string(random() % 1000000);
  }
  // The connection string with "search_path" set to the schema, as a URI or as key=value words.
  static std::string InSchema(const std::string& server, const std::string& schema) {
    if (server.find("://") != std::string::npos)
      return server + (server.find('?') == std::string::npos ? "?" : "&") +
             "options=-csearch_path%3D" + schema;
    return server + " options='-csearch_path=" + schema + "'";
  }

  std::string server_, name_, connection_;
  std::unique_ptr<PgConnection> sql_;
};

// The connection string of a fresh schema that stays until the test program ends, for tests that
// keep only a location.
inline std::string KeptPostgresTestSchema(const std::string& server) {
  static std::mutex mutex;
  static std::vector<std::unique_ptr<PostgresTestSchema>> kept;
  const std::lock_guard lock(mutex);
  kept.push_back(std::make_unique<PostgresTestSchema>(server));
  return kept.back()->connection();
}

// A test with a schema of its own; it skips (or fails when one is required) without a server.
class PostgresTest : public testing::Test {
 protected:
  void SetUp() override {
    server_ = TestPostgresServer();
    if (server_.empty()) {
      if (PostgresRequired())
        FAIL() << "MORVEK_REQUIRE_POSTGRES=1, but MORVEK_TEST_POSTGRES names no database";
      GTEST_SKIP() << "no PostgreSQL server: MORVEK_TEST_POSTGRES is not set";
    }
    schema_ = std::make_unique<PostgresTestSchema>(server_);
  }
  const std::string& server() const { return server_; }
  const std::string& connection() const { return schema_->connection(); }
  PostgresTestSchema& schema() { return *schema_; }

 private:
  std::string server_;
  std::unique_ptr<PostgresTestSchema> schema_;
};

}  // namespace morvek::test
