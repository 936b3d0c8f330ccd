#include "archive/sqlite_schema.h"

#include <string>

namespace morvek {

namespace {

// Version 1: the registers, their documents with every line, and the text index. Money, counts and
// DI are integers (kopecks, thousandths); texts UTF-8; a document's XML the register's bytes.
constexpr std::string_view kVersion1 = R"sql(
CREATE TABLE registers (
  id INTEGER PRIMARY KEY,
  name TEXT UNIQUE,
  fiscal_number TEXT NOT NULL UNIQUE,
  serial_number TEXT,
  tax_number TEXT,
  protocol TEXT,
  address TEXT
);
CREATE TABLE documents (
  id INTEGER PRIMARY KEY,
  register_id INTEGER NOT NULL REFERENCES registers(id),
  di INTEGER NOT NULL,
  kind TEXT NOT NULL CHECK (kind IN ('receipt', 'return', 'service', 'cancelled', 'z')),
  number INTEGER NOT NULL,
  ts TEXT,
  total INTEGER NOT NULL,
  xml BLOB NOT NULL,
  arrival TEXT NOT NULL CHECK (arrival IN ('fetched', 'imported', 'collected')),
  arrived_at TEXT NOT NULL,
  UNIQUE (register_id, di)
);
CREATE INDEX documents_by_number ON documents (register_id, kind, number);
CREATE INDEX documents_by_time ON documents (register_id, ts);

CREATE TABLE items (
  document_id INTEGER NOT NULL REFERENCES documents(id),
  line INTEGER NOT NULL, packed INTEGER NOT NULL, code TEXT, name TEXT, tax_letter TEXT,
  sum INTEGER NOT NULL, quantity INTEGER NOT NULL, price INTEGER NOT NULL
);
CREATE INDEX items_by_document ON items (document_id);
CREATE TABLE adjustments (
  document_id INTEGER NOT NULL REFERENCES documents(id),
  line INTEGER NOT NULL, surcharge INTEGER NOT NULL, tax_letter TEXT, sum INTEGER NOT NULL
);
CREATE INDEX adjustments_by_document ON adjustments (document_id);
CREATE TABLE payments (
  document_id INTEGER NOT NULL REFERENCES documents(id),
  line INTEGER NOT NULL, form INTEGER NOT NULL, name TEXT, sum INTEGER NOT NULL,
  change INTEGER NOT NULL, rrn TEXT
);
CREATE INDEX payments_by_document ON payments (document_id);
CREATE INDEX payments_by_rrn ON payments (rrn);
CREATE TABLE cash_lines (
  document_id INTEGER NOT NULL REFERENCES documents(id),
  line INTEGER NOT NULL, out INTEGER NOT NULL, form INTEGER NOT NULL, name TEXT,
  sum INTEGER NOT NULL
);
CREATE INDEX cash_lines_by_document ON cash_lines (document_id);
CREATE TABLE text_lines (
  document_id INTEGER NOT NULL REFERENCES documents(id),
  line INTEGER NOT NULL, text TEXT
);
CREATE INDEX text_lines_by_document ON text_lines (document_id);
CREATE TABLE voids (
  document_id INTEGER NOT NULL REFERENCES documents(id),
  line INTEGER NOT NULL, voided_line INTEGER NOT NULL
);
CREATE INDEX voids_by_document ON voids (document_id);
CREATE TABLE taxes (
  document_id INTEGER NOT NULL REFERENCES documents(id),
  letter TEXT, rate TEXT, tax INTEGER NOT NULL, duty INTEGER NOT NULL
);
CREATE INDEX taxes_by_document ON taxes (document_id);

CREATE TABLE z_taxes (
  document_id INTEGER NOT NULL REFERENCES documents(id),
  letter TEXT, rate TEXT, sales INTEGER NOT NULL, returns INTEGER NOT NULL,
  sales_tax INTEGER NOT NULL, returns_tax INTEGER NOT NULL,
  sales_duty INTEGER NOT NULL, returns_duty INTEGER NOT NULL
);
CREATE INDEX z_taxes_by_document ON z_taxes (document_id);
CREATE TABLE z_payments (
  document_id INTEGER NOT NULL REFERENCES documents(id),
  form INTEGER NOT NULL, name TEXT, sales INTEGER NOT NULL, returns INTEGER NOT NULL
);
CREATE INDEX z_payments_by_document ON z_payments (document_id);
CREATE TABLE z_cash (
  document_id INTEGER NOT NULL REFERENCES documents(id),
  form INTEGER NOT NULL, name TEXT, cash_in INTEGER NOT NULL, cash_out INTEGER NOT NULL,
  till INTEGER NOT NULL
);
CREATE INDEX z_cash_by_document ON z_cash (document_id);
CREATE TABLE z_counts (
  document_id INTEGER PRIMARY KEY REFERENCES documents(id),
  sales_count INTEGER NOT NULL, returns_count INTEGER NOT NULL
);

-- One row per document, its rowid the document's id: item names, comments and service lines.
-- Case is folded for Cyrillic as for Latin; letters such as "й" and "ї" stay themselves.
CREATE VIRTUAL TABLE document_text USING fts5(
  body, content = '', tokenize = 'unicode61 remove_diacritics 2'
);
)sql";

// Version 2: searches over a period of every register start from the documents of that period.
constexpr std::string_view kVersion2 = "CREATE INDEX documents_by_day ON documents (ts)";

// Version 3: browsing. The documents in time order, of all registers and of one (a document
// without a timestamp counts as ''), and the number and sum of each register's documents of a kind
// per day, kept by every store, so that the archive window's totals never read a million rows.
constexpr std::string_view kVersion3 = R"sql(
CREATE INDEX documents_in_time ON documents (coalesce(ts, ''), register_id, di);
CREATE INDEX documents_of_register_in_time ON documents (register_id, coalesce(ts, ''), di);
CREATE TABLE daily_totals (
  register_id INTEGER NOT NULL REFERENCES registers(id),
  day TEXT NOT NULL,
  kind TEXT NOT NULL,
  documents INTEGER NOT NULL,
  total INTEGER NOT NULL,
  PRIMARY KEY (register_id, day, kind)
) WITHOUT ROWID;
INSERT INTO daily_totals (register_id, day, kind, documents, total)
  SELECT register_id, coalesce(substr(ts, 1, 10), ''), kind, count(*), sum(total)
  FROM documents GROUP BY 1, 2, 3;
)sql";

constexpr SqliteMigration kMigrations[] = {
    {1, kVersion1},
    {2, kVersion2},
    {3, kVersion3},
};

}  // namespace

std::span<const SqliteMigration> SqliteMigrations() {
  return kMigrations;
}

void MigrateSqlite(SqliteConnection& connection, std::span<const SqliteMigration> migrations) {
  const int latest = migrations.empty() ? 0 : migrations.back().version;
  // Checked before taking the write lock too, so that opening an archive that is up to date
  // never waits for a writer.
  if (connection.QueryInt("PRAGMA user_version") == latest) return;
  SqliteTransaction transaction(connection);
  const long long current = connection.QueryInt("PRAGMA user_version");
  if (current > latest)
    throw ArchiveError("the archive is of version " + std::to_string(current) +
                       ", newer than this program knows (" + std::to_string(latest) + ")");
  if (current == latest) return;  // another connection brought it there meanwhile
  if (current == 0) {
    connection.Execute(
        "CREATE TABLE schema_migrations (version INTEGER PRIMARY KEY, applied_at TEXT NOT NULL)");
  }
  SqliteStatement record(connection.handle(),
                         "INSERT INTO schema_migrations (version, applied_at) "
                         "VALUES (?, strftime('%Y-%m-%d %H:%M:%S', 'now'))");
  for (const SqliteMigration& migration : migrations) {
    if (migration.version <= current) continue;
    connection.Execute(std::string(migration.sql));
    record.Bind(1, migration.version).Run();
  }
  // PRAGMA takes no parameters; the version is this program's own number.
  connection.Execute("PRAGMA user_version = " + std::to_string(latest));
  transaction.Commit();
}

}  // namespace morvek
