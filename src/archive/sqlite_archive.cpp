#include "archive/sqlite_archive.h"

#include "archive/sqlite_browse.h"
#include "archive/sqlite_document_writer.h"
#include "archive/sqlite_find.h"
#include "archive/sqlite_rows.h"
#include "archive/sqlite_schema.h"

namespace morvek {

namespace {

std::string_view ArrivalName(Arrival how) {
  switch (how) {
    case Arrival::kFetched: return "fetched";
    case Arrival::kImported: return "imported";
    case Arrival::kCollected: return "collected";
  }
  throw ArchiveError("an unknown arrival");
}

// The documents of one register with a timestamp in from..to (either may be empty).
std::string DocumentsOfRegister(std::string_view columns, std::string_view from,
                                std::string_view to) {
  std::string sql = "SELECT " + std::string(columns) +
                    " FROM documents d JOIN registers r ON r.id = d.register_id"
                    " WHERE r.fiscal_number = ?";
  if (!from.empty()) sql += " AND d.ts >= ?";
  if (!to.empty()) sql += " AND d.ts <= ?";
  return sql;
}

void BindRange(SqliteStatement& statement, std::string_view from, std::string_view to) {
  int index = 2;
  if (!from.empty()) statement.Bind(index++, from);
  if (!to.empty()) statement.Bind(index, to);
}

}  // namespace

SqliteArchive::SqliteArchive(const std::string& path) : connection_(path) {
  // WAL: readers never wait for the writer; NORMAL: a commit is durable once the log is synced at
  // a checkpoint, and a crash loses at most the last transactions, never the file's consistency.
  if (path != ":memory:") connection_.Execute("PRAGMA journal_mode = WAL");
  connection_.Execute("PRAGMA synchronous = NORMAL");
  // Searches read documents all over the file: mapped, they are read without a system call each.
  connection_.Execute("PRAGMA mmap_size = 1073741824");
  connection_.Execute("PRAGMA foreign_keys = ON");
  MigrateSqlite(connection_, SqliteMigrations());
}

SqliteArchive::~SqliteArchive() = default;

void SqliteArchive::NoteRegister(const RegisterRecord& record) {
  if (record.fiscalNumber.empty()) throw ArchiveError("a register without a fiscal number");
  SqliteStatement statement(
      connection_.handle(),
      "INSERT INTO registers (name, fiscal_number, serial_number, tax_number, protocol, address) "
      "VALUES (?, ?, ?, ?, ?, ?) ON CONFLICT (fiscal_number) DO UPDATE SET "
      "name = COALESCE(excluded.name, name), "
      "serial_number = COALESCE(excluded.serial_number, serial_number), "
      "tax_number = COALESCE(excluded.tax_number, tax_number), "
      "protocol = COALESCE(excluded.protocol, protocol), "
      "address = COALESCE(excluded.address, address)");
  statement.RunWith(OrNull{record.name}, record.fiscalNumber, OrNull{record.serialNumber},
                    OrNull{record.taxNumber}, OrNull{record.protocol}, OrNull{record.address});
}

namespace {

constexpr std::string_view kRegisterColumns =
    "SELECT name, fiscal_number, serial_number, tax_number, protocol, address FROM registers";

RegisterRecord ReadRegister(const SqliteStatement& row) {
  return {row.Text(0), row.Text(1), row.Text(2), row.Text(3), row.Text(4), row.Text(5)};
}

}  // namespace

std::optional<RegisterRecord> SqliteArchive::FindRegister(std::string_view nameOrFiscalNumber) {
  const std::optional<long long> id = RegisterId(nameOrFiscalNumber);
  if (!id) return std::nullopt;
  SqliteStatement statement(connection_.handle(), std::string(kRegisterColumns) + " WHERE id = ?");
  statement.Bind(1, *id);
  if (!statement.Step()) return std::nullopt;
  return ReadRegister(statement);
}

std::vector<RegisterRecord> SqliteArchive::Registers() {
  SqliteStatement statement(connection_.handle(),
                            std::string(kRegisterColumns) + " ORDER BY fiscal_number");
  std::vector<RegisterRecord> registers;
  while (statement.Step()) registers.push_back(ReadRegister(statement));
  return registers;
}

bool SqliteArchive::QueriedRegister(const FindQuery& query, std::optional<long long>& id) {
  if (query.registerKey.empty()) return true;
  id = RegisterId(query.registerKey);
  return id.has_value();
}

std::optional<long long> SqliteArchive::RegisterId(std::string_view nameOrFiscalNumber) {
  // A name first: the fleet's names are what people type.
  SqliteStatement statement(connection_.handle(),
                            "SELECT id FROM registers WHERE name = ? OR fiscal_number = ? "
                            "ORDER BY name = ? DESC NULLS LAST LIMIT 1");
  statement.Bind(1, nameOrFiscalNumber).Bind(2, nameOrFiscalNumber).Bind(3, nameOrFiscalNumber);
  if (!statement.Step()) return std::nullopt;
  return statement.Int(0);
}

StoreReport SqliteArchive::Store(const std::vector<DocumentRecord>& documents, Arrival how) {
  const std::string_view arrival = ArrivalName(how);
  if (!writer_) writer_ = std::make_unique<SqliteDocumentWriter>(connection_);
  writer_->StartBatch();
  StoreReport report;
  SqliteTransaction transaction(connection_);
  for (const DocumentRecord& document : documents)
    ++(writer_->Write(document, arrival) ? report.stored : report.held);
  transaction.Commit();
  return report;
}

Holdings SqliteArchive::Held(std::string_view fiscalNumber, std::string_view since) {
  Holdings held;
  SqliteStatement last(connection_.handle(),
                       "SELECT (SELECT max(ts) FROM documents WHERE register_id = r.id AND kind "
                       "<> 'z'), (SELECT max(number) FROM documents WHERE register_id = r.id AND "
                       "kind = 'z') FROM registers r WHERE r.fiscal_number = ?");
  last.Bind(1, fiscalNumber);
  if (!last.Step()) return held;
  held.lastReceiptTime = last.Text(0);
  held.lastZNumber = last.Int(1);

  SqliteStatement documents(connection_.handle(),
                            DocumentsOfRegister("d.kind = 'z', d.number, d.di", since, ""));
  BindRange(documents, since, "");
  documents.Bind(1, fiscalNumber);
  while (documents.Step()) {
    if (documents.Int(0) == 0) held.receiptNumbers.insert(documents.Int(1));
    held.dis.insert(documents.Int(2));
  }
  return held;
}

std::vector<FoundDocument> SqliteArchive::Find(const FindQuery& query) {
  std::optional<long long> registerId;
  if (!QueriedRegister(query, registerId)) return {};
  return FindInSqlite(connection_, query, registerId);
}

std::optional<StoredDocument> SqliteArchive::Show(std::string_view registerKey, bool zReport,
                                                  long long number) {
  const std::optional<long long> registerId = RegisterId(registerKey);
  if (!registerId) return std::nullopt;
  // Should a register have numbered two documents alike, the later one is shown.
  SqliteStatement statement(
      connection_.handle(),
      "SELECT " + std::string(kFoundColumns) +
          ", d.xml FROM documents d JOIN registers r ON r.id = d.register_id"
          " WHERE d.register_id = ? AND d.kind IN (?, ?, ?, ?) AND d.number = ?"
          " ORDER BY d.di DESC LIMIT 1");
  statement.Bind(1, *registerId);
  const DocumentKind receipts[] = {DocumentKind::kReceipt, DocumentKind::kReturn,
                                   DocumentKind::kService, DocumentKind::kCancelled};
  for (int i = 0; i < 4; ++i)
    statement.Bind(2 + i, KindName(zReport ? DocumentKind::kZReport : receipts[i]));
  statement.Bind(6, number);
  if (!statement.Step()) return std::nullopt;
  return ReadStored(statement);
}

void SqliteArchive::ForEachDocument(std::string_view fiscalNumber, std::string_view from,
                                    std::string_view to,
                                    const std::function<void(const StoredDocument&)>& visit) {
  SqliteStatement statement(
      connection_.handle(),
      DocumentsOfRegister(std::string(kFoundColumns) + ", d.xml", from, to) + " ORDER BY d.di");
  statement.Bind(1, fiscalNumber);
  BindRange(statement, from, to);
  while (statement.Step()) visit(ReadStored(statement));
}

std::vector<FoundDocument> SqliteArchive::Page(const FindQuery& query,
                                               const std::optional<FoundDocument>& after,
                                               int rows) {
  std::optional<long long> registerId;
  if (!QueriedRegister(query, registerId)) return {};
  return PageInSqlite(connection_, query, registerId, after, rows);
}

DocumentTotals SqliteArchive::Totals(const FindQuery& query) {
  std::optional<long long> registerId;
  if (!QueriedRegister(query, registerId)) return {};
  return TotalsInSqlite(connection_, query, registerId);
}

std::vector<DailyTotals> SqliteArchive::Daily(const FindQuery& query) {
  std::optional<long long> registerId;
  if (!QueriedRegister(query, registerId)) return {};
  return DailyInSqlite(connection_, query, registerId);
}

std::optional<FoundDocument> SqliteArchive::Nearest(std::string_view fiscalNumber, long long di,
                                                    Side side, bool zReport) {
  return NearestInSqlite(connection_, fiscalNumber, di, side, zReport);
}

void SqliteArchive::ForEachDocumentBetween(
    std::string_view fiscalNumber, long long firstDi, long long lastDi,
    const std::function<void(const StoredDocument&)>& visit) {
  ForEachBetweenInSqlite(connection_, fiscalNumber, firstDi, lastDi, visit);
}

std::unique_ptr<Archive> OpenSqliteArchive(const std::string& path) {
  return std::make_unique<SqliteArchive>(path);
}

}  // namespace morvek
