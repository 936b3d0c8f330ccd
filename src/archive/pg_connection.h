#pragma once
// One libpq connection for the PostgreSQL archive: statements prepared once and run with bound
// parameters only, results in binary form, errors as ArchiveError whose text never holds the
// connection string's password. Not for two threads at once.
#include <libpq-fe.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "archive/archive_error.h"

namespace morvek {

// A statement failed; sqlState is the server's five-character code ("40P01": a deadlock).
struct PgError : ArchiveError {
  PgError(const std::string& message, std::string state)
      : ArchiveError(message), sqlState(std::move(state)) {}
  std::string sqlState;
};

// The values of a statement's $1, $2, ...: texts and numbers as text, bytes as binary.
class PgParams {
 public:
  PgParams& Text(std::string_view value);
  PgParams& Int(long long value);
  PgParams& Bytes(std::string_view value);

  int Count() const { return static_cast<int>(values_.size()); }
  std::vector<const char*> Values() const;
  std::vector<int> Lengths() const;
  const std::vector<int>& Formats() const { return formats_; }

 private:
  std::vector<std::string> values_;
  std::vector<int> formats_;
};

// A result in binary form. Integer columns must be bigint in the statement (cast them).
class PgResult {
 public:
  explicit PgResult(PGresult* result) : result_(result, PQclear) {}
  int Rows() const { return PQntuples(result_.get()); }
  bool IsNull(int row, int column) const { return PQgetisnull(result_.get(), row, column) != 0; }
  // Raw bytes: UTF-8 of a text column, the bytes of a bytea; empty for NULL.
  std::string Text(int row, int column) const;
  long long Int(int row, int column) const;  // 0 for NULL
  bool Bool(int row, int column) const;
  const PGresult* raw() const { return result_.get(); }

 private:
  std::unique_ptr<PGresult, void (*)(PGresult*)> result_;
};

class PgConnection {
 public:
  // Connects with a libpq connection string (URI or key=value words); raises ArchiveError naming
  // the redacted location.
  explicit PgConnection(const std::string& conninfo);
  ~PgConnection();
  PgConnection(const PgConnection&) = delete;
  PgConnection& operator=(const PgConnection&) = delete;

  // Runs one statement; raises PgError. A connection the server has dropped is opened again for
  // a statement outside a transaction.
  PgResult Exec(const std::string& sql, const PgParams& params = {});
  // Ends a failed transaction; what the server says to it does not matter.
  void RollBackQuietly() noexcept;

 private:
  PgResult ExecOnce(const std::string& sql, const PgParams& params);
  void Reconnect();
  [[noreturn]] void Fail(const std::string& what, const PGresult* result = nullptr) const;
  std::string Scrubbed(std::string text) const;

  PGconn* conn_ = nullptr;
  std::vector<std::string> secrets_;                          // texts never to be shown
  std::map<std::string, std::string, std::less<>> prepared_;  // statement text -> name
};

// BEGIN now, ROLLBACK at the end of the scope unless committed.
class PgTransaction {
 public:
  explicit PgTransaction(PgConnection& connection);
  ~PgTransaction();
  PgTransaction(const PgTransaction&) = delete;
  PgTransaction& operator=(const PgTransaction&) = delete;
  void Commit();

 private:
  PgConnection& connection_;
  bool open_ = true;
};

}  // namespace morvek
