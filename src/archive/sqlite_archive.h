#pragma once
#include <memory>
#include <string>

#include "archive/archive.h"
#include "archive/sqlite_statement.h"

namespace morvek {

class SqliteDocumentWriter;

// The archive in one SQLite file, in WAL mode so that readers never wait for a writer, with
// foreign keys enforced and a busy timeout so that collectors writing from several threads, each
// with its own archive object on the same file, take turns instead of failing.
class SqliteArchive final : public Archive {
 public:
  // Opens the file (":memory:": a database in memory), creating and migrating it.
  explicit SqliteArchive(const std::string& path);
  ~SqliteArchive() override;

  void NoteRegister(const RegisterRecord& record) override;
  std::optional<RegisterRecord> FindRegister(std::string_view nameOrFiscalNumber) override;
  std::vector<RegisterRecord> Registers() override;
  StoreReport Store(const std::vector<DocumentRecord>& documents, Arrival how) override;
  Holdings Held(std::string_view fiscalNumber, std::string_view since) override;
  std::vector<FoundDocument> Find(const FindQuery& query) override;
  std::optional<StoredDocument> Show(std::string_view registerKey, bool zReport,
                                     long long number) override;
  void ForEachDocument(std::string_view fiscalNumber, std::string_view from, std::string_view to,
                       const std::function<void(const StoredDocument&)>& visit) override;
  std::vector<FoundDocument> Page(const FindQuery& query, const std::optional<FoundDocument>& after,
                                  int rows) override;
  DocumentTotals Totals(const FindQuery& query) override;
  std::vector<DailyTotals> Daily(const FindQuery& query) override;
  std::optional<FoundDocument> Nearest(std::string_view fiscalNumber, long long di, Side side,
                                       bool zReport) override;
  void ForEachDocumentBetween(std::string_view fiscalNumber, long long firstDi, long long lastDi,
                              const std::function<void(const StoredDocument&)>& visit) override;

  // The connection itself, for reading the tables directly where the interface does not reach
  // (checks of what was stored).
  SqliteConnection& connection() { return connection_; }

 private:
  std::optional<long long> RegisterId(std::string_view nameOrFiscalNumber);
  // The register the query's key names into id (none for every register); false when the key
  // names none the archive holds.
  bool QueriedRegister(const FindQuery& query, std::optional<long long>& id);

  SqliteConnection connection_;
  std::unique_ptr<SqliteDocumentWriter> writer_;  // made at the first Store, kept for the next
};

// The archive in an SQLite file (":memory:": in memory), created and migrated on opening.
std::unique_ptr<Archive> OpenSqliteArchive(const std::string& path);

}  // namespace morvek
