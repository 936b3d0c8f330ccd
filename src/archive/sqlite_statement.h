#pragma once
// A thin owner of one SQLite connection and of its prepared statements. Values go in through typed
// Bind calls only; a failure raises ArchiveError with SQLite's own message.
#include <sqlite3.h>

#include <string>
#include <string_view>

#include "archive/archive_error.h"

namespace morvek {

// A text that is bound as NULL when empty: names and timestamps that were not given.
struct OrNull {
  std::string_view text;
};

// Bytes bound as a BLOB, kept exactly.
struct Bytes {
  std::string_view bytes;
};

class SqliteStatement {
 public:
  SqliteStatement(sqlite3* db, std::string_view sql);
  ~SqliteStatement();
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;

  // Parameters count from 1, as in the SQL text's "?" order.
  SqliteStatement& Bind(int index, long long value);
  SqliteStatement& Bind(int index, std::string_view text);
  SqliteStatement& BindBlob(int index, std::string_view bytes);
  SqliteStatement& BindNull(int index);
  // Empty text as NULL: names and timestamps that were not given.
  SqliteStatement& BindOrNull(int index, std::string_view text);

  // Binds the values to parameters 1, 2, ... in order, runs the statement and makes it ready for
  // the next values.
  template <typename... Values>
  void RunWith(const Values&... values) {
    int index = 0;
    (BindValue(++index, values), ...);
    Run();
  }

  // True while a row stands; false when done.
  bool Step();
  // Runs a statement that returns no rows, and makes it ready for the next values.
  void Run();
  // Ready for new values: the old bindings cleared.
  void Reset();

  long long Int(int column) const;
  std::string Text(int column) const;  // NULL reads as empty
  std::string Blob(int column) const;
  bool IsNull(int column) const;

 private:
  void BindValue(int index, long long value) { Bind(index, value); }
  void BindValue(int index, int value) { Bind(index, static_cast<long long>(value)); }
  void BindValue(int index, bool value) { Bind(index, value ? 1LL : 0LL); }
  void BindValue(int index, std::string_view text) { Bind(index, text); }
  void BindValue(int index, const std::string& text) { Bind(index, std::string_view(text)); }
  void BindValue(int index, OrNull text) { BindOrNull(index, text.text); }
  void BindValue(int index, Bytes blob) { BindBlob(index, blob.bytes); }

  sqlite3* db_;
  sqlite3_stmt* statement_ = nullptr;
};

class SqliteConnection {
 public:
  // Opens (creating) the database file; ":memory:" holds one in memory.
  explicit SqliteConnection(const std::string& path);
  ~SqliteConnection();
  SqliteConnection(const SqliteConnection&) = delete;
  SqliteConnection& operator=(const SqliteConnection&) = delete;

  // Statements of fixed text, without values.
  void Execute(const std::string& sql);
  // The integer the one-row statement gives (a PRAGMA, a count).
  long long QueryInt(std::string_view sql);
  long long LastInsertId() const { return sqlite3_last_insert_rowid(db_); }
  int Changes() const { return sqlite3_changes(db_); }
  sqlite3* handle() const { return db_; }

 private:
  sqlite3* db_ = nullptr;
};

// Raises ArchiveError naming what failed and SQLite's reason.
[[noreturn]] void ThrowSqlite(sqlite3* db, std::string_view what);

// Commits at Commit(); rolls back when left otherwise (an exception), so a batch stays whole or
// leaves nothing. BEGIN IMMEDIATE takes the write lock at once, so that a writer waits its turn
// under the busy timeout instead of failing when it would turn a read into a write.
class SqliteTransaction {
 public:
  explicit SqliteTransaction(SqliteConnection& connection);
  ~SqliteTransaction();
  SqliteTransaction(const SqliteTransaction&) = delete;
  SqliteTransaction& operator=(const SqliteTransaction&) = delete;
  void Commit();

 private:
  SqliteConnection& connection_;
  bool open_ = true;
};

}  // namespace morvek
