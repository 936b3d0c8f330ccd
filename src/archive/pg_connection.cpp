#include "archive/pg_connection.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "archive/archive.h"

namespace morvek {

namespace {

// libpq's message on one line.
std::string OneLine(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '\n' || c == '\t') {
      if (!out.empty() && out.back() != ' ') out += ' ';
    } else {
      out += c;
    }
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

// libpq quotes the part of a connection string it cannot read, which may be the password.
std::string WithoutQuoted(std::string_view text) {
  std::string out;
  bool quoted = false;
  for (const char c : text) {
    if (c == '"') {
      if (!quoted) out += "\"...\"";
      quoted = !quoted;
    } else if (!quoted) {
      out += c;
    }
  }
  return OneLine(out);
}

}  // namespace

PgParams& PgParams::Text(std::string_view value) {
  // A text parameter ends at its first zero byte: the rest would be lost without a word.
  if (value.find('\0') != std::string_view::npos)
    throw ArchiveError("a text with a zero byte cannot go into the archive");
  values_.emplace_back(value);
  formats_.push_back(0);
  return *this;
}

PgParams& PgParams::Int(long long value) {
  return Text(std::to_string(value));
}

PgParams& PgParams::Bytes(std::string_view value) {
  values_.emplace_back(value);
  formats_.push_back(1);
  return *this;
}

std::vector<const char*> PgParams::Values() const {
  std::vector<const char*> pointers;
  for (const std::string& value : values_) pointers.push_back(value.c_str());
  return pointers;
}

std::vector<int> PgParams::Lengths() const {
  std::vector<int> lengths;
  for (const std::string& value : values_) lengths.push_back(static_cast<int>(value.size()));
  return lengths;
}

std::string PgResult::Text(int row, int column) const {
  const PGresult* r = result_.get();
  return std::string(PQgetvalue(r, row, column),
                     static_cast<std::size_t>(PQgetlength(r, row, column)));
}

long long PgResult::Int(int row, int column) const {
  if (IsNull(row, column)) return 0;
  const auto* bytes =
      reinterpret_cast<const unsigned char*>(PQgetvalue(result_.get(), row, column));
  const int length = PQgetlength(result_.get(), row, column);
  if (length != 8 && length != 4)
    throw ArchiveError("the archive sent a number of an unknown size");
  // Binary integers come in network byte order.
  std::uint64_t value = 0;
  for (int i = 0; i < length; ++i) value = (value << 8) | bytes[i];
  if (length == 4) return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
  return static_cast<long long>(value);
}

bool PgResult::Bool(int row, int column) const {
  return !IsNull(row, column) && PQgetlength(result_.get(), row, column) == 1 &&
         PQgetvalue(result_.get(), row, column)[0] != 0;
}

PgConnection::PgConnection(const std::string& conninfo) {
  const std::string location = RedactedLocation(conninfo);
  char* parseError = nullptr;
  PQconninfoOption* options = PQconninfoParse(conninfo.c_str(), &parseError);
  if (options == nullptr) {
    const std::string why = parseError ? WithoutQuoted(parseError) : "out of memory";
    PQfreemem(parseError);
    // Where the string cannot be read, neither can its password be found to be hidden.
    throw ArchiveError("cannot read the archive's PostgreSQL connection string: " + why);
  }
  for (const PQconninfoOption* o = options; o->keyword != nullptr; ++o)
    if (o->val != nullptr && *o->val != '\0' && std::strcmp(o->keyword, "password") == 0)
      secrets_.emplace_back(o->val);
  PQconninfoFree(options);

  // Defaults the connection string may override (it is expanded in place of "dbname"), and the
  // encoding it may not: every text this archive sends and reads is UTF-8. A server that does
  // not answer must not keep a collector waiting for ever.
  std::vector<const char*> keys{"fallback_application_name"};
  std::vector<const char*> values{"morvek"};
  if (std::getenv("PGCONNECT_TIMEOUT") == nullptr) {
    keys.push_back("connect_timeout");
    values.push_back("10");
  }
  keys.insert(keys.end(), {"keepalives_idle", "keepalives_interval", "keepalives_count"});
  values.insert(values.end(), {"60", "10", "6"});
  keys.insert(keys.end(), {"dbname", "client_encoding", nullptr});
  values.insert(values.end(), {conninfo.c_str(), "UTF8", nullptr});
  conn_ = PQconnectdbParams(keys.data(), values.data(), 1);
  if (conn_ == nullptr)
    throw ArchiveError("cannot open the archive " + location + ": out of memory");
  if (PQstatus(conn_) != CONNECTION_OK) {
    const std::string why = OneLine(PQerrorMessage(conn_));
    PQfinish(conn_);
    conn_ = nullptr;
    throw ArchiveError(Scrubbed("cannot open the archive " + location + ": " + why));
  }
  // Notices ("relation already exists, skipping") are no news to the user.
  PQsetNoticeProcessor(
      conn_, [](void*, const char*) {}, nullptr);
}

PgConnection::~PgConnection() {
  if (conn_ != nullptr) PQfinish(conn_);
}

std::string PgConnection::Scrubbed(std::string text) const {
  for (const std::string& secret : secrets_)
    for (std::size_t at = text.find(secret); at != std::string::npos;
         at = text.find(secret, at + 3))
      text.replace(at, secret.size(), "***");
  return text;
}

void PgConnection::Fail(const std::string& what, const PGresult* result) const {
  const auto field = [result](int code) -> std::string {
    const char* text = result ? PQresultErrorField(result, code) : nullptr;
    return text ? text : "";
  };
  // The server's own words, without the labels libpq puts around them.
  std::string why = field(PG_DIAG_MESSAGE_PRIMARY);
  if (const std::string detail = field(PG_DIAG_MESSAGE_DETAIL); !detail.empty())
    why += " (" + detail + ")";
  if (why.empty()) why = PQerrorMessage(conn_);
  throw PgError(Scrubbed(what + ": " + OneLine(why)), field(PG_DIAG_SQLSTATE));
}

void PgConnection::Reconnect() {
  PQreset(conn_);
  prepared_.clear();  // they were the old session's
  if (PQstatus(conn_) != CONNECTION_OK)
    Fail("the connection to the archive is lost and cannot be opened again");
}

PgResult PgConnection::Exec(const std::string& sql, const PgParams& params) {
  // A statement outside a transaction that met a connection the server had dropped goes again
  // once on a new one. Those this archive runs so read, or write what writing twice leaves alike.
  const bool outside = PQtransactionStatus(conn_) == PQTRANS_IDLE;
  try {
    return ExecOnce(sql, params);
  } catch (const PgError&) {
    if (!outside || PQstatus(conn_) != CONNECTION_BAD) throw;
  }
  Reconnect();
  return ExecOnce(sql, params);
}

PgResult PgConnection::ExecOnce(const std::string& sql, const PgParams& params) {
  const std::vector<const char*> values = params.Values();
  const std::vector<int> lengths = params.Lengths();
  PGresult* raw = nullptr;
  if (params.Count() == 0) {
    raw = PQexecParams(conn_, sql.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 1);
  } else {
    auto statement = prepared_.find(sql);
    if (statement == prepared_.end()) {
      const std::string name = "morvek_" + std::to_string(prepared_.size() + 1);
      const PgResult made(PQprepare(conn_, name.c_str(), sql.c_str(), params.Count(), nullptr));
      if (PQresultStatus(made.raw()) != PGRES_COMMAND_OK)
        Fail("the archive refused a statement", made.raw());
      statement = prepared_.emplace(sql, name).first;
    }
    raw = PQexecPrepared(conn_, statement->second.c_str(), params.Count(), values.data(),
                         lengths.data(), params.Formats().data(), 1);
  }
  PgResult result(raw);
  const ExecStatusType status = PQresultStatus(raw);
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
    Fail("the archive refused a statement", raw);
  return result;
}

void PgConnection::RollBackQuietly() noexcept {
  PQclear(PQexec(conn_, "ROLLBACK"));
}

PgTransaction::PgTransaction(PgConnection& connection) : connection_(connection) {
  connection_.Exec("BEGIN");
}

PgTransaction::~PgTransaction() {
  if (open_) connection_.RollBackQuietly();
}

void PgTransaction::Commit() {
  connection_.Exec("COMMIT");
  open_ = false;
}

}  // namespace morvek
