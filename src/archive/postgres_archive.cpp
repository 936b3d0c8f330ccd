#include "archive/postgres_archive.h"

#include <limits>
#include <mutex>
#include <string>

#include "archive/pg_connection.h"
#include "archive/postgres_browse.h"
#include "archive/postgres_query.h"
#include "archive/postgres_schema.h"
#include "archive/postgres_store.h"

namespace morvek {

namespace {

constexpr const char* kRegisterColumns =
    "SELECT coalesce(name, ''), fiscal_number, serial_number, tax_number, protocol, address "
    "FROM registers ";
RegisterRecord RegisterAt(const PgResult& r, int row) {
  return {r.Text(row, 0), r.Text(row, 1), r.Text(row, 2),
          r.Text(row, 3), r.Text(row, 4), r.Text(row, 5)};
}

class PostgresArchive : public Archive {
 public:
  explicit PostgresArchive(const std::string& conninfo) : db_(conninfo) {
    MigratePostgresArchive(db_);
  }

  void NoteRegister(const RegisterRecord& record) override {
    if (record.fiscalNumber.empty()) throw ArchiveError("a register needs its fiscal number");
    const std::lock_guard lock(mutex_);
    PgParams params;
    params.Text(record.name).Text(record.fiscalNumber).Text(record.serialNumber);
    params.Text(record.taxNumber).Text(record.protocol).Text(record.address);
    try {
      db_.Exec(R"(
INSERT INTO registers (name, fiscal_number, serial_number, tax_number, protocol, address)
VALUES (NULLIF($1::text, ''), $2::text, $3::text, $4::text, $5::text, $6::text)
ON CONFLICT (fiscal_number) DO UPDATE SET
  name = coalesce(EXCLUDED.name, registers.name),
  serial_number = coalesce(NULLIF(EXCLUDED.serial_number, ''), registers.serial_number),
  tax_number = coalesce(NULLIF(EXCLUDED.tax_number, ''), registers.tax_number),
  protocol = coalesce(NULLIF(EXCLUDED.protocol, ''), registers.protocol),
  address = coalesce(NULLIF(EXCLUDED.address, ''), registers.address))",
               params);
    } catch (const PgError& error) {
      if (error.sqlState != "23505") throw;  // a unique name taken
      throw ArchiveError("the name \"" + record.name + "\" belongs to another register");
    }
  }

  std::optional<RegisterRecord> FindRegister(std::string_view key) override {
    const std::lock_guard lock(mutex_);
    const PgResult r =
        db_.Exec(std::string(kRegisterColumns) + "WHERE id = " + PgRegisterByKey("$1"),
                 PgParams().Text(key));
    if (r.Rows() == 0) return std::nullopt;
    return RegisterAt(r, 0);
  }

  std::vector<RegisterRecord> Registers() override {
    const std::lock_guard lock(mutex_);
    const PgResult r = db_.Exec(std::string(kRegisterColumns) + "ORDER BY fiscal_number");
    std::vector<RegisterRecord> registers;
    registers.reserve(static_cast<std::size_t>(r.Rows()));
    for (int row = 0; row < r.Rows(); ++row) registers.push_back(RegisterAt(r, row));
    return registers;
  }

  StoreReport Store(const std::vector<DocumentRecord>& documents, Arrival how) override {
    const std::lock_guard lock(mutex_);
    return StorePostgresDocuments(db_, documents, how);
  }

  Holdings Held(std::string_view fiscalNumber, std::string_view since) override {
    const std::lock_guard lock(mutex_);
    Holdings held;
    const PgResult last = db_.Exec(R"(
SELECT coalesce(max(d.ts) FILTER (WHERE d.kind <> 'z'), ''),
       coalesce(max(d.number) FILTER (WHERE d.kind = 'z'), 0)::bigint
FROM documents d JOIN registers r ON r.id = d.register_id WHERE r.fiscal_number = $1::text)",
                                   PgParams().Text(fiscalNumber));
    held.lastReceiptTime = last.Text(0, 0);
    held.lastZNumber = last.Int(0, 1);
    const PgResult recent = db_.Exec(R"(
SELECT d.kind = 'z', d.number, d.di
FROM documents d JOIN registers r ON r.id = d.register_id
WHERE r.fiscal_number = $1::text AND ($2::text = '' OR d.ts >= $2::text))",
                                     PgParams().Text(fiscalNumber).Text(since));
    for (int row = 0; row < recent.Rows(); ++row) {
      if (!recent.Bool(row, 0)) held.receiptNumbers.insert(recent.Int(row, 1));
      held.dis.insert(recent.Int(row, 2));
    }
    return held;
  }

  std::vector<FoundDocument> Find(const FindQuery& q) override {
    PgQuery query(PgSelectDocuments(false));
    AddPgConditions(query, q, false);
    query.sql() += " ORDER BY r.fiscal_number, d.di";
    if (q.limit > 0) {
      query.sql() += " LIMIT " + query.Next() + "::bigint";
      query.params().Int(q.limit);
    }
    const std::lock_guard lock(mutex_);
    const PgResult r = db_.Exec(query.sql(), query.params());
    std::vector<FoundDocument> found;
    found.reserve(static_cast<std::size_t>(r.Rows()));
    for (int row = 0; row < r.Rows(); ++row) found.push_back(PgFoundAt(r, row));
    return found;
  }

  std::optional<StoredDocument> Show(std::string_view registerKey, bool zReport,
                                     long long number) override {
    const std::lock_guard lock(mutex_);
    const PgResult r =
        db_.Exec(PgSelectDocuments(true) + "WHERE d.register_id = " + PgRegisterByKey("$1") +
                     " AND (d.kind = 'z') = $2::boolean AND d.number = $3::bigint "
                     "ORDER BY d.di LIMIT 1",
                 PgParams().Text(registerKey).Text(zReport ? "t" : "f").Int(number));
    if (r.Rows() == 0) return std::nullopt;
    return StoredDocument{PgFoundAt(r, 0), r.Text(0, 7)};
  }

  void ForEachDocument(std::string_view fiscalNumber, std::string_view from, std::string_view to,
                       const std::function<void(const StoredDocument&)>& visit) override {
    // Page by page, so that a register's whole tape is never in memory at once and the visitor
    // may use the archive between pages.
    constexpr int kPage = 256;
    const std::lock_guard lock(mutex_);
    long long after = std::numeric_limits<long long>::min();
    for (;;) {
      const PgResult r =
          db_.Exec(PgSelectDocuments(true) + R"(
WHERE r.fiscal_number = $1::text AND d.di > $2::bigint
  AND ($3::text = '' OR d.ts >= $3::text) AND ($4::text = '' OR d.ts <= $4::text)
ORDER BY d.di LIMIT $5::bigint)",
                   PgParams().Text(fiscalNumber).Int(after).Text(from).Text(to).Int(kPage));
      for (int row = 0; row < r.Rows(); ++row) {
        const StoredDocument document{PgFoundAt(r, row), r.Text(row, 7)};
        after = document.found.di;
        visit(document);
      }
      if (r.Rows() < kPage) return;
    }
  }

  std::vector<FoundDocument> Page(const FindQuery& query, const std::optional<FoundDocument>& after,
                                  int rows) override {
    const std::lock_guard lock(mutex_);
    return PageInPostgres(db_, query, after, rows);
  }

  DocumentTotals Totals(const FindQuery& query) override {
    const std::lock_guard lock(mutex_);
    return TotalsInPostgres(db_, query);
  }

  std::vector<DailyTotals> Daily(const FindQuery& query) override {
    const std::lock_guard lock(mutex_);
    return DailyInPostgres(db_, query);
  }

  std::optional<FoundDocument> Nearest(std::string_view fiscalNumber, long long di, Side side,
                                       bool zReport) override {
    const std::lock_guard lock(mutex_);
    return NearestInPostgres(db_, fiscalNumber, di, side, zReport);
  }

  void ForEachDocumentBetween(std::string_view fiscalNumber, long long firstDi, long long lastDi,
                              const std::function<void(const StoredDocument&)>& visit) override {
    const std::lock_guard lock(mutex_);
    ForEachBetweenInPostgres(db_, fiscalNumber, firstDi, lastDi, visit);
  }

 private:
  std::recursive_mutex mutex_;  // one statement at a time on the connection; visitors may call in
  PgConnection db_;
};

}  // namespace

std::unique_ptr<Archive> OpenPostgresArchive(const std::string& connection) {
  return std::make_unique<PostgresArchive>(connection);
}

}  // namespace morvek
