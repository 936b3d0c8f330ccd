// What is particular to the SQLite file: its versions and migrations, its settings, and the lines
// of a document as its tables hold them.
#include <gtest/gtest.h>

// Records and queries name only the fields a test sets; the others keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

#include <string>
#include <vector>

#include "archive/archive_documents.h"
#include "archive/sqlite_archive.h"
#include "archive/sqlite_schema.h"

namespace morvek::test {
namespace {

int LatestVersion() {
  return SqliteMigrations().back().version;
}

long long Count(SqliteConnection& connection, const std::string& table) {
  return connection.QueryInt("SELECT count(*) FROM " + table);
}

TEST(SqliteArchiveVersions, AFreshFileIsCreatedAtTheLatestVersionWithItsSteps) {
  TempDir dir;
  SqliteArchive archive(dir.File("a.sqlite"));
  EXPECT_EQ(archive.connection().QueryInt("PRAGMA user_version"), LatestVersion());
  EXPECT_EQ(Count(archive.connection(), "schema_migrations"),
            static_cast<long long>(SqliteMigrations().size()));
  EXPECT_EQ(archive.connection().QueryInt("SELECT max(version) FROM schema_migrations"),
            LatestVersion());
}

TEST(SqliteArchiveVersions, AFileAtTheLatestVersionIsLeftAlone) {
  TempDir dir;
  const std::string path = dir.File("a.sqlite");
  {
    SqliteArchive archive(path);
    archive.Store({Receipt({.di = 1})}, Arrival::kImported);
    // Marks the step's record, so that a second application would show.
    archive.connection().Execute("UPDATE schema_migrations SET applied_at = 'then'");
  }
  SqliteArchive again(path);
  EXPECT_EQ(Count(again.connection(), "schema_migrations"),
            static_cast<long long>(SqliteMigrations().size()));
  EXPECT_EQ(again.connection().QueryInt(
                "SELECT count(*) FROM schema_migrations WHERE applied_at = 'then'"),
            static_cast<long long>(SqliteMigrations().size()));
  EXPECT_EQ(again.Find({}).size(), 1u);
}

TEST(SqliteArchiveVersions, AFileOfVersionTwoGetsTheDailySumsOfTheDocumentsItHolds) {
  TempDir dir;
  const std::string path = dir.File("a.sqlite");
  {
    SqliteArchive archive(path);
    archive.Store({Receipt({.di = 1, .timestamp = "2016-03-05 09:00:00", .total = 100}),
                   Receipt({.di = 2, .timestamp = "2016-03-05 10:00:00", .total = 250}),
                   Receipt({.di = 3,
                            .timestamp = "2016-03-06 10:00:00",
                            .total = 40,
                            .kind = DocumentKind::kReturn})},
                  Arrival::kImported);
    // Back to what version 2 had: no daily sums, no time indexes.
    SqliteConnection& c = archive.connection();
    c.Execute("DROP TABLE daily_totals");
    c.Execute("DROP INDEX documents_in_time");
    c.Execute("DROP INDEX documents_of_register_in_time");
    c.Execute("DELETE FROM schema_migrations WHERE version > 2");
    c.Execute("PRAGMA user_version = 2");
  }
  SqliteArchive again(path);
  EXPECT_EQ(again.connection().QueryInt("PRAGMA user_version"), LatestVersion());
  EXPECT_EQ(Count(again.connection(), "daily_totals"), 2);
  EXPECT_EQ(again.Totals({}), (DocumentTotals{3, 350, 40}));
  EXPECT_EQ(again.Totals({.from = "2016-03-06 00:00:00", .to = "2016-03-06 23:59:59"}),
            (DocumentTotals{1, 0, 40}));
}

TEST(SqliteArchiveVersions, AnOlderFileTakesTheLaterStepsAndKeepsItsDocuments) {
  TempDir dir;
  const std::string path = dir.File("a.sqlite");
  {
    SqliteArchive archive(path);
    archive.Store({Receipt({.di = 1})}, Arrival::kImported);
  }
  std::vector<SqliteMigration> later(SqliteMigrations().begin(), SqliteMigrations().end());
  const int next = LatestVersion() + 1;
  later.push_back({next, "ALTER TABLE registers ADD COLUMN note TEXT"});
  {
    SqliteConnection connection(path);
    MigrateSqlite(connection, later);
    EXPECT_EQ(connection.QueryInt("PRAGMA user_version"), next);
    EXPECT_EQ(connection.QueryInt("SELECT max(version) FROM schema_migrations"), next);
    EXPECT_EQ(Count(connection, "registers WHERE note IS NULL"), 1);
    EXPECT_EQ(Count(connection, "documents"), 1);
  }
}

TEST(SqliteArchiveVersions, AFileOfALaterProgramIsRefusedUntouched) {
  TempDir dir;
  const std::string path = dir.File("a.sqlite");
  {
    SqliteArchive archive(path);
    archive.connection().Execute("PRAGMA user_version = " + std::to_string(LatestVersion() + 1));
  }
  EXPECT_THROW(SqliteArchive{path}, ArchiveError);
  SqliteConnection connection(path);
  EXPECT_EQ(connection.QueryInt("PRAGMA user_version"), LatestVersion() + 1);
}

TEST(SqliteArchiveVersions, AFileThatIsNoArchiveIsRefused) {
  TempDir dir;
  WriteFile(dir.File("text.sqlite"), "not a database, only words that fill a page or two\n");
  EXPECT_THROW(SqliteArchive{dir.File("text.sqlite")}, ArchiveError);
  EXPECT_THROW(SqliteArchive{dir.File("no/such/folder/a.sqlite")}, ArchiveError);
}

TEST(SqliteArchiveSettings, AFileIsWrittenAheadWithForeignKeysEnforced) {
  TempDir dir;
  SqliteArchive archive(dir.File("a.sqlite"));
  SqliteStatement mode(archive.connection().handle(), "PRAGMA journal_mode");
  ASSERT_TRUE(mode.Step());
  EXPECT_EQ(mode.Text(0), "wal");
  EXPECT_EQ(archive.connection().QueryInt("PRAGMA foreign_keys"), 1);
  EXPECT_THROW(archive.connection().Execute("INSERT INTO z_counts VALUES (42, 1, 1)"),
               ArchiveError);
}

TEST(SqliteArchiveLines, EveryLineOfADocumentLandsInItsTable) {
  SqliteArchive archive(":memory:");
  DocumentRecord receipt = Receipt({.di = 1, .item = "Сік 'Садочок'; \"0,95\"", .rrn = "6074"});
  receipt.adjustments.push_back({4, true, "", 100});
  receipt.cash.push_back({5, true, 0, "ГОТІВКА", 700});
  receipt.voids.push_back({6, 1});
  archive.Store({receipt, ZReport(kFiscalA, 2, 1, "2016-03-05 23:00:00", 9'000'000'000)},
                Arrival::kFetched);
  SqliteConnection& db = archive.connection();
  SqliteStatement items(db.handle(), "SELECT name, sum, quantity, price, tax_letter FROM items");
  ASSERT_TRUE(items.Step());
  EXPECT_EQ(items.Text(0), "Сік 'Садочок'; \"0,95\"");
  EXPECT_EQ(items.Int(1), 1250);
  EXPECT_EQ(items.Int(2), 1000);
  EXPECT_EQ(items.Text(4), "А");
  EXPECT_EQ(Count(db, "payments WHERE rrn = '6074' AND name = 'КАРТКА'"), 1);
  EXPECT_EQ(Count(db, "adjustments WHERE surcharge = 1 AND tax_letter IS NULL"), 1);
  EXPECT_EQ(Count(db, "cash_lines WHERE out = 1 AND sum = 700"), 1);
  EXPECT_EQ(Count(db, "voids WHERE voided_line = 1"), 1);
  EXPECT_EQ(Count(db, "taxes"), 1);
  EXPECT_EQ(Count(db, "z_taxes WHERE sales = 9000000000"), 1);
  EXPECT_EQ(Count(db, "z_payments"), 1);
  EXPECT_EQ(Count(db, "z_cash WHERE till = 9000000000"), 1);
  EXPECT_EQ(Count(db, "z_counts WHERE sales_count = 3"), 1);
  EXPECT_EQ(
      Count(db, "documents WHERE arrival = 'fetched' AND arrived_at LIKE '20__-__-__ __:__:__'"),
      2);
  EXPECT_EQ(Count(db, "documents WHERE typeof(xml) = 'blob'"), 2);
}

}  // namespace
}  // namespace morvek::test
