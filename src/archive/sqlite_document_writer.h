#pragma once
// Writes documents with every line into the SQLite archive through statements prepared once and
// reused for every document of every batch. The caller holds the transaction.
#include <map>
#include <string>
#include <string_view>

#include "archive/document_record.h"
#include "archive/sqlite_statement.h"

namespace morvek {

class SqliteDocumentWriter {
 public:
  explicit SqliteDocumentWriter(SqliteConnection& connection);

  // Forgets the registers it looked up: a batch that was rolled back may have added them.
  void StartBatch() { registerIds_.clear(); }
  // True when the document was stored; false when the archive holds one of its register and DI
  // already, which is then left as it is.
  bool Write(const DocumentRecord& document, std::string_view arrival);

 private:
  long long RegisterId(const DocumentRecord& document);
  void WriteReceiptLines(long long id, const DocumentRecord& document);
  void WriteZReportLines(long long id, const DocumentRecord& document);

  SqliteConnection& connection_;
  std::map<std::string, long long, std::less<>> registerIds_;
  SqliteStatement register_, document_, items_, adjustments_, payments_, cash_, texts_, voids_,
      taxes_, zTaxes_, zPayments_, zCash_, zCounts_, search_;
  SqliteStatement daily_;  // the day's number and sum of the document's kind
};

}  // namespace morvek
