#include "archive/sqlite_statement.h"

#include <climits>

namespace morvek {

namespace {

// How long a connection waits for another's write to end before it gives up: collectors write
// batches of thousands of documents into one file at once, each in well under this time.
constexpr int kBusyTimeoutMs = 60'000;

int Length(std::string_view text) {
  if (text.size() > static_cast<std::size_t>(INT_MAX)) throw ArchiveError("a value too long");
  return static_cast<int>(text.size());
}

}  // namespace

void ThrowSqlite(sqlite3* db, std::string_view what) {
  throw ArchiveError(std::string(what) + ": " + (db ? sqlite3_errmsg(db) : "out of memory"));
}

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql) : db_(db) {
  if (sqlite3_prepare_v3(db, sql.data(), Length(sql), SQLITE_PREPARE_PERSISTENT, &statement_,
                         nullptr) != SQLITE_OK)
    ThrowSqlite(db, "cannot prepare a statement of the archive");
}

SqliteStatement::~SqliteStatement() {
  sqlite3_finalize(statement_);
}

SqliteStatement& SqliteStatement::Bind(int index, long long value) {
  if (sqlite3_bind_int64(statement_, index, value) != SQLITE_OK)
    ThrowSqlite(db_, "cannot bind a value");
  return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, std::string_view text) {
  if (sqlite3_bind_text(statement_, index, text.data(), Length(text), SQLITE_TRANSIENT) !=
      SQLITE_OK)
    ThrowSqlite(db_, "cannot bind a text");
  return *this;
}

SqliteStatement& SqliteStatement::BindBlob(int index, std::string_view bytes) {
  if (sqlite3_bind_blob(statement_, index, bytes.data(), Length(bytes), SQLITE_TRANSIENT) !=
      SQLITE_OK)
    ThrowSqlite(db_, "cannot bind bytes");
  return *this;
}

SqliteStatement& SqliteStatement::BindNull(int index) {
  if (sqlite3_bind_null(statement_, index) != SQLITE_OK) ThrowSqlite(db_, "cannot bind a value");
  return *this;
}

SqliteStatement& SqliteStatement::BindOrNull(int index, std::string_view text) {
  return text.empty() ? BindNull(index) : Bind(index, text);
}

bool SqliteStatement::Step() {
  const int result = sqlite3_step(statement_);
  if (result == SQLITE_ROW) return true;
  if (result == SQLITE_DONE) return false;
  // The reason before the reset, which would otherwise report its own outcome.
  const std::string reason = sqlite3_errmsg(db_);
  sqlite3_reset(statement_);
  throw ArchiveError("the archive refused a statement: " + reason);
}

void SqliteStatement::Run() {
  while (Step()) {
  }
  Reset();
}

void SqliteStatement::Reset() {
  sqlite3_reset(statement_);
  sqlite3_clear_bindings(statement_);
}

long long SqliteStatement::Int(int column) const {
  return sqlite3_column_int64(statement_, column);
}

std::string SqliteStatement::Text(int column) const {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
  return text
             ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)))
             : std::string();
}

std::string SqliteStatement::Blob(int column) const {
  const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement_, column));
  return bytes ? std::string(bytes,
                             static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)))
               : std::string();
}

bool SqliteStatement::IsNull(int column) const {
  return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

SqliteConnection::SqliteConnection(const std::string& path) {
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;
  if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    const std::string reason = db_ ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close(db_);
    throw ArchiveError("cannot open the archive " + path + ": " + reason);
  }
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
}

SqliteConnection::~SqliteConnection() {
  sqlite3_close_v2(db_);
}

void SqliteConnection::Execute(const std::string& sql) {
  char* message = nullptr;
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    const std::string reason = message ? message : sqlite3_errmsg(db_);
    sqlite3_free(message);
    throw ArchiveError("the archive refused a statement: " + reason);
  }
}

long long SqliteConnection::QueryInt(std::string_view sql) {
  SqliteStatement statement(db_, sql);
  if (!statement.Step()) throw ArchiveError("the archive gave no answer to a query");
  return statement.Int(0);
}

SqliteTransaction::SqliteTransaction(SqliteConnection& connection) : connection_(connection) {
  connection_.Execute("BEGIN IMMEDIATE");
}

SqliteTransaction::~SqliteTransaction() {
  if (!open_) return;
  // Nothing to report from a destructor; a rollback that fails leaves SQLite to undo the
  // transaction when the connection closes.
  sqlite3_exec(connection_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void SqliteTransaction::Commit() {
  connection_.Execute("COMMIT");
  open_ = false;
}

}  // namespace morvek
