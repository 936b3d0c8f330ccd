#pragma once
// The shift check of the documents a window shows: for each one, the shift it belongs to checked
// as `archive check` checks it, and the numbers missing right before it. Only the shifts of those
// documents are read, with the documents next to them that the check needs (the Z-report that
// opened the shift, the receipts just before and after it), and each closed shift is checked once.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "archive/archive.h"
#include "archive/shift_check.h"

namespace morvek {

struct DocumentCheck {
  // The shift a held Z-report closes; none for a document of a shift not closed yet.
  std::optional<ShiftCheck> shift;
  // Numbers of its sort (receipt numbers, or Z-report numbers for a Z-report) that the archive
  // lacks right before it.
  std::optional<NumberRun> gapBefore;
  std::string unreadable;  // why its XML cannot be read; empty when it can
};

class ShiftMarks {
 public:
  explicit ShiftMarks(Archive& archive) : archive_(archive) {}

  // A check for each document, in their order; they may be of any registers. Raises ArchiveError
  // when the archive cannot be read.
  std::vector<DocumentCheck> Check(const std::vector<FoundDocument>& documents);
  // One document's check; lastShownDi: the last of its register's documents shown, up to which a
  // shift not closed yet is read.
  DocumentCheck CheckOne(const FoundDocument& document, long long lastShownDi);
  // The archive may have changed: every shift is checked again.
  void Forget() { checked_.clear(); }

 private:
  // The check of one stretch of a register's documents: a shift's, its first DI to its last.
  struct Stretch {
    long long firstDi = 0, lastDi = 0;
    std::optional<long long> zDi;  // the Z-report closing it; none for the shift still open
    ShiftCheckReport report;
  };

  const Stretch& StretchOf(const FoundDocument& document, long long lastShownDi);
  Stretch CheckStretch(const std::string& fiscalNumber, const std::optional<FoundDocument>& opening,
                       const std::optional<FoundDocument>& closing, long long lastDi);

  Archive& archive_;
  std::map<std::string, std::vector<Stretch>> checked_;  // per fiscal number
};

}  // namespace morvek
