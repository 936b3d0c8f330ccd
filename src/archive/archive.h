#pragma once
// Where control tapes live: every document of every register kept once, identified by its register
// (the fiscal number) and its DI. One interface, two backends: SQLite in one file by default, and
// PostgreSQL for a central archive that several collectors fill. Every statement takes its values
// as bound parameters. Texts are UTF-8; a document's XML keeps the register's bytes.
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "archive/archive_error.h"
#include "archive/document_record.h"

namespace morvek {

struct RegisterRecord {
  std::string name;  // the fleet's name for it; empty when none was given
  std::string fiscalNumber, serialNumber, taxNumber;
  std::string protocol;  // "datecs", "zelmar"; empty when not known
  std::string address;   // host:port it was last read through; empty when not known
};

// How a document came into the archive.
enum class Arrival { kFetched, kImported, kCollected };

struct StoreReport {
  long long stored = 0;
  long long held = 0;  // the archive had them already: nothing changed
};

// What the archive holds of one register, for a collector deciding what to fetch.
struct Holdings {
  std::string lastReceiptTime;  // the timestamp of the newest receipt; empty when none is held
  long long lastZNumber = 0;    // 0 when none is held
  std::set<long long> receiptNumbers;  // of the receipts from `since` on
  std::set<long long> dis;             // of the documents from `since` on
};

struct FindQuery {
  std::string registerKey;                 // a name or a fiscal number; empty: every register
  std::string from, to;                    // "YYYY-MM-DD HH:MM:SS", inclusive; empty: open
  std::vector<DocumentKind> kinds;         // empty: any
  long long numberFrom = 0, numberTo = 0;  // both 0: any number
  std::string text;  // words that all stand in an item name or a line text; empty: any
  std::optional<long long> amount;  // the document's total, kopecks
  std::string rrn;                  // a payment's transaction number
  int limit = 0;                    // 0: all
};

struct FoundDocument {
  std::string registerName, fiscalNumber;
  DocumentKind kind = DocumentKind::kReceipt;
  long long number = 0, di = 0;
  std::string timestamp;
  long long total = 0;
};

struct StoredDocument {
  FoundDocument found;
  std::string xml;  // as the register sent it
};

// The documents a query matches, summed: the line under a window's list.
struct DocumentTotals {
  long long documents = 0;
  long long sales = 0;    // the totals of sale receipts (kind receipt), kopecks
  long long returns = 0;  // the totals of return receipts
  bool operator==(const DocumentTotals&) const = default;
};

// One register's sales and returns on one day.
struct DailyTotals {
  std::string fiscalNumber;
  std::string day;  // "YYYY-MM-DD"; empty for documents without a timestamp
  long long sales = 0, returns = 0;
  bool operator==(const DailyTotals&) const = default;
};

// Which way from a DI a nearest document is looked for.
enum class Side { kBefore, kAfter };

class Archive {
 public:
  virtual ~Archive() = default;

  // Adds the register, or updates it by its fiscal number; fields left empty keep what is there.
  virtual void NoteRegister(const RegisterRecord& record) = 0;
  // The register of that name, else of that fiscal number.
  virtual std::optional<RegisterRecord> FindRegister(std::string_view nameOrFiscalNumber) = 0;
  virtual std::vector<RegisterRecord> Registers() = 0;

  // One transaction: every document is stored whole (its register added when new), or counted as
  // held when the archive has one of its register and DI. Nothing of the batch stays when it fails.
  virtual StoreReport Store(const std::vector<DocumentRecord>& documents, Arrival how) = 0;

  // What is held of the register of that fiscal number; since: "YYYY-MM-DD HH:MM:SS" or empty.
  virtual Holdings Held(std::string_view fiscalNumber, std::string_view since) = 0;

  // Matching documents in register and DI order.
  virtual std::vector<FoundDocument> Find(const FindQuery& query) = 0;
  // The document of a register (name or fiscal number): a Z-report or a receipt of that number.
  virtual std::optional<StoredDocument> Show(std::string_view registerKey, bool zReport,
                                             long long number) = 0;
  // Every document of the register of that fiscal number with a timestamp in from..to (either may
  // be empty), in DI order.
  virtual void ForEachDocument(std::string_view fiscalNumber, std::string_view from,
                               std::string_view to,
                               const std::function<void(const StoredDocument&)>& visit) = 0;

  // Browsing, as the archive window does: the query's amount, RRN and limit are not used there.
  // A page of the matching documents in time order (timestamp, then register, then DI; those
  // without a timestamp first), at most `rows` of them, from the one after `after` on.
  virtual std::vector<FoundDocument> Page(const FindQuery& query,
                                          const std::optional<FoundDocument>& after, int rows) = 0;
  // Every matching document summed, whatever page is shown.
  virtual DocumentTotals Totals(const FindQuery& query) = 0;
  // The matching documents' sales and returns per register and day, in that order.
  virtual std::vector<DailyTotals> Daily(const FindQuery& query) = 0;

  // Around a shift: of the register of that fiscal number, the Z-report (zReport) or else the
  // document of another kind nearest to `di` on that side of it, `di` itself left out.
  virtual std::optional<FoundDocument> Nearest(std::string_view fiscalNumber, long long di,
                                               Side side, bool zReport) = 0;
  // Every document of the register with a DI in first..last, in DI order.
  virtual void ForEachDocumentBetween(std::string_view fiscalNumber, long long firstDi,
                                      long long lastDi,
                                      const std::function<void(const StoredDocument&)>& visit) = 0;
};

// The archive at location: a "postgresql://" or "postgres://" connection string, otherwise the path
// of an SQLite file (":memory:" for one in memory). Created on first use and migrated forward.
// Raises ArchiveError with a message that names the location without its password.
std::unique_ptr<Archive> OpenArchive(const std::string& location);

// The location with the password of a connection string replaced by "***".
std::string RedactedLocation(std::string_view location);

// The archive a command uses: the one named, else "Archive"/"Path" of the settings file, else
// "morvek-archive.sqlite" in the working folder.
std::string ArchiveLocation(const std::string& named,
                            const std::string& settingsPath = "morvek.ini");

}  // namespace morvek
