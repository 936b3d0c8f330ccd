#include "archive/postgres_archive.h"

#include <limits>
#include <mutex>
#include <string>

#include "archive/fold_case.h"
#include "archive/pg_connection.h"
#include "archive/postgres_schema.h"
#include "archive/postgres_store.h"

namespace morvek {

namespace {

// The columns of a FoundDocument, and the XML as column 7 where wanted, of documents d joined to
// their registers r.
std::string SelectDocuments(bool withXml) {
  return std::string(
             "SELECT coalesce(r.name, ''), r.fiscal_number, d.kind, d.number, d.di, "
             "coalesce(d.ts, ''), d.total") +
         (withXml ? ", d.xml" : "") + " FROM documents d JOIN registers r ON r.id = d.register_id ";
}
constexpr const char* kRegisterColumns =
    "SELECT coalesce(name, ''), fiscal_number, serial_number, tax_number, protocol, address "
    "FROM registers ";
// The id of the register named by the parameter, else of the one with that fiscal number.
std::string RegisterByKey(const std::string& placeholder) {
  const std::string p = placeholder + "::text";
  return "(SELECT id FROM registers WHERE name = " + p + " OR fiscal_number = " + p +
         " ORDER BY (name = " + p + ") DESC NULLS LAST LIMIT 1)";
}

DocumentKind KindOf(const std::string& name) {
  if (const auto kind = KindNamed(name)) return *kind;
  throw ArchiveError("the archive holds a document of an unknown kind \"" + name + "\"");
}

FoundDocument FoundAt(const PgResult& r, int row) {
  FoundDocument found;
  found.registerName = r.Text(row, 0);
  found.fiscalNumber = r.Text(row, 1);
  found.kind = KindOf(r.Text(row, 2));
  found.number = r.Int(row, 3);
  found.di = r.Int(row, 4);
  found.timestamp = r.Text(row, 5);
  found.total = r.Int(row, 6);
  return found;
}

RegisterRecord RegisterAt(const PgResult& r, int row) {
  return {r.Text(row, 0), r.Text(row, 1), r.Text(row, 2),
          r.Text(row, 3), r.Text(row, 4), r.Text(row, 5)};
}

// A statement put together from fixed pieces, each value a parameter of its own.
class Query {
 public:
  explicit Query(std::string head) : sql_(std::move(head)) {}
  // The next parameter's placeholder, "$n".
  std::string Next() { return "$" + std::to_string(params_.Count() + 1); }
  void Where(const std::string& condition) {
    sql_ += (conditions_++ == 0 ? " WHERE " : " AND ") + condition;
  }
  // Adds "before$n after" as a condition and gives the parameters, to bind $n's value.
  PgParams& Where(const std::string& before, const std::string& after) {
    Where(before + Next() + after);
    return params_;
  }
  PgParams& params() { return params_; }
  std::string& sql() { return sql_; }

 private:
  std::string sql_;
  PgParams params_;
  int conditions_ = 0;
};

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
    const PgResult r = db_.Exec(std::string(kRegisterColumns) + "WHERE id = " + RegisterByKey("$1"),
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
    Query query(SelectDocuments(false));
    if (!q.registerKey.empty()) {
      query.Where("d.register_id = " + RegisterByKey(query.Next()));
      query.params().Text(q.registerKey);
    }
    if (!q.from.empty()) query.Where("d.ts >= ", "::text").Text(q.from);
    if (!q.to.empty()) query.Where("d.ts <= ", "::text").Text(q.to);
    if (!q.kinds.empty()) {
      std::string kinds = "{";
      for (const DocumentKind kind : q.kinds)
        kinds.append(kinds.size() > 1 ? "," : "").append(KindName(kind));
      query.Where("d.kind = ANY(", "::text[])").Text(kinds + "}");
    }
    if (q.numberFrom != 0 || q.numberTo != 0) {
      query.Where("d.number >= ", "::bigint").Int(q.numberFrom);
      if (q.numberTo != 0) query.Where("d.number <= ", "::bigint").Int(q.numberTo);
    }
    if (q.text.find_first_not_of(" \t\r\n\f\v") != std::string::npos)
      query
          .Where(
              "d.id IN (SELECT document_id FROM document_words "
              "WHERE words @@ plainto_tsquery('simple', ",
              "::text))")
          .Text(FoldCase(q.text));
    if (q.amount) query.Where("d.total = ", "::bigint").Int(*q.amount);
    if (!q.rrn.empty())
      query
          .Where("EXISTS (SELECT 1 FROM payments p WHERE p.document_id = d.id AND p.rrn = ",
                 "::text)")
          .Text(q.rrn);
    query.sql() += " ORDER BY r.fiscal_number, d.di";
    if (q.limit > 0) {
      query.sql() += " LIMIT " + query.Next() + "::bigint";
      query.params().Int(q.limit);
    }
    const std::lock_guard lock(mutex_);
    const PgResult r = db_.Exec(query.sql(), query.params());
    std::vector<FoundDocument> found;
    found.reserve(static_cast<std::size_t>(r.Rows()));
    for (int row = 0; row < r.Rows(); ++row) found.push_back(FoundAt(r, row));
    return found;
  }

  std::optional<StoredDocument> Show(std::string_view registerKey, bool zReport,
                                     long long number) override {
    const std::lock_guard lock(mutex_);
    const PgResult r =
        db_.Exec(SelectDocuments(true) + "WHERE d.register_id = " + RegisterByKey("$1") +
                     " AND (d.kind = 'z') = $2::boolean AND d.number = $3::bigint "
                     "ORDER BY d.di LIMIT 1",
                 PgParams().Text(registerKey).Text(zReport ? "t" : "f").Int(number));
    if (r.Rows() == 0) return std::nullopt;
    return StoredDocument{FoundAt(r, 0), r.Text(0, 7)};
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
          db_.Exec(SelectDocuments(true) + R"(
WHERE r.fiscal_number = $1::text AND d.di > $2::bigint
  AND ($3::text = '' OR d.ts >= $3::text) AND ($4::text = '' OR d.ts <= $4::text)
ORDER BY d.di LIMIT $5::bigint)",
                   PgParams().Text(fiscalNumber).Int(after).Text(from).Text(to).Int(kPage));
      for (int row = 0; row < r.Rows(); ++row) {
        const StoredDocument document{FoundAt(r, row), r.Text(row, 7)};
        after = document.found.di;
        visit(document);
      }
      if (r.Rows() < kPage) return;
    }
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
