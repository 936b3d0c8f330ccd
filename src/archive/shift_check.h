#pragma once
// The shifts of one register checked against what the archive holds of it. A shift is the run of
// receipts between two Z-reports in DI order: Z-report k closes the shift that Z-report k-1
// opened. It is checked when the archive holds both, or when k is 1 (everything before it);
// otherwise it cannot be checked, which is no fault of the register. A checkable shift that lacks
// documents (DIs between its two Z-reports, receipt numbers inside it) is incomplete; a complete
// one has its Z-report's figures set against the sums of its receipts. Besides, the receipt numbers
// (every kind but the Z-report shares them) and the Z-report numbers are searched for gaps
// between the smallest and the largest held.
//
// Pure logic: the documents come one by one in DI order from wherever they are kept, and only
// their numbers and each shift's sums stay in memory.
#include <string>
#include <vector>

#include "archive/document_record.h"
#include "archive/shift_figures.h"

namespace morvek {

// first..last, inclusive.
struct NumberRun {
  long long first = 0, last = 0;
  bool operator==(const NumberRun&) const = default;
};

enum class ShiftState {
  kConsistent,
  kDiffers,         // its figures and its receipts' sums disagree
  kIncomplete,      // the archive lacks documents of it
  kWithoutOpening,  // not checkable: the Z-report that opened it is not held
  kUnreadable,      // not checkable: one of its documents (or its Z-report) cannot be read
};

// The shift a held Z-report closes.
struct ShiftCheck {
  long long zNumber = 0, zDi = 0;
  std::string zTimestamp;  // "YYYY-MM-DD HH:MM:SS"; empty when it has none
  ShiftState state = ShiftState::kConsistent;
  std::vector<NumberRun> missingDis, missingReceipts;  // of an incomplete shift
  std::vector<ShiftDifference> differences;            // of a complete one
  std::vector<long long> unreadableDis;                // of one that cannot be read
};

struct UnreadableDocument {
  long long di = 0;
  std::string reason;
};

struct ShiftCheckReport {
  std::vector<NumberRun> receiptGaps, zGaps;
  std::vector<UnreadableDocument> unreadable;
  std::vector<ShiftCheck> shifts;  // in DI order

  // Nothing lacking, nothing unreadable, nothing different. Shifts that cannot be checked alone
  // leave it consistent.
  bool Consistent() const;
  long long ShiftsIn(ShiftState state) const;
};

// The dates ("YYYY-MM-DD", inclusive; empty: open) of the Z-reports whose shifts are checked. A
// gap is reported when the document held right after it falls in them. A document without a
// timestamp is never left out.
struct ShiftCheckLimits {
  std::string from, to;

  // Whether a document of this timestamp ("YYYY-MM-DD HH:MM:SS", its date alone, or empty) lies
  // in them.
  bool Contain(const std::string& timestamp) const;
};

class ShiftChecker {
 public:
  explicit ShiftChecker(ShiftCheckLimits limits = {});

  // The next document in DI order. Raises std::invalid_argument for one out of that order.
  void Add(const DocumentRecord& document);
  // The next document, whose XML cannot be read: its DI, kind, number and timestamp as the
  // archive lists them.
  void AddUnreadable(const DocumentRecord& header, std::string reason);
  // The next document, of a shift whose Z-report lies outside the limits: its DI, kind, number
  // and timestamp count for the gaps and the shifts around it; its figures are not needed.
  void Pass(const DocumentRecord& header);

  ShiftCheckReport Finish() const;

 private:
  // What stays of each document.
  struct Held {
    long long di = 0, number = 0;
    bool zReport = false;
    std::string date;  // "YYYY-MM-DD" or empty: short enough to stay inside the string
  };
  // The documents after one Z-report up to and including the next.
  struct Segment {
    std::size_t first = 0, z = 0;  // indexes into held_: its first document and its Z-report
    std::string zTimestamp;
    std::vector<long long> unreadableDis;
    ShiftFigures receipts, zReport;
  };

  void CheckOrder(long long di) const;
  void Note(const DocumentRecord& document);
  std::vector<NumberRun> Gaps(bool zReports) const;
  // The shift segments_[index] closes; the receipt numbers held right before and after it, or
  // the smallest long long for none.
  ShiftCheck Check(std::size_t index, long long numberBefore, long long numberAfter) const;

  ShiftCheckLimits limits_;
  std::vector<Held> held_;
  std::vector<Segment> segments_;
  Segment open_;  // the shift no held Z-report has closed yet
  std::vector<UnreadableDocument> unreadable_;
};

// All of a register's documents, in DI order, at once.
ShiftCheckReport CheckShifts(const std::vector<DocumentRecord>& documents,
                             const ShiftCheckLimits& limits = {});

}  // namespace morvek
