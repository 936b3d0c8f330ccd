// The findings of archive check as one JSON document.
#include <nlohmann/json.hpp>

#include "cli/check_report.h"

namespace morvek {

namespace {

using nlohmann::json;

json Runs(const std::vector<NumberRun>& runs) {
  json list = json::array();
  for (const NumberRun& run : runs) list.push_back({{"first", run.first}, {"last", run.last}});
  return list;
}

std::string_view StateName(ShiftState state) {
  switch (state) {
    case ShiftState::kConsistent: return "consistent";
    case ShiftState::kDiffers: return "differs";
    case ShiftState::kIncomplete: return "incomplete";
    case ShiftState::kWithoutOpening:
    case ShiftState::kUnreadable: return "not checkable";
  }
  return "";
}

json Shift(const ShiftCheck& shift) {
  json item = {{"z_report", shift.zNumber},
               {"di", shift.zDi},
               {"timestamp", shift.zTimestamp},
               {"state", StateName(shift.state)}};
  switch (shift.state) {
    case ShiftState::kConsistent: break;
    case ShiftState::kWithoutOpening:
    case ShiftState::kUnreadable:
      item["reason"] = check_phrase::NotCheckable(shift);
      if (!shift.unreadableDis.empty()) item["unreadable_dis"] = shift.unreadableDis;
      break;
    case ShiftState::kIncomplete:
      item["missing_dis"] = Runs(shift.missingDis);
      item["missing_receipts"] = Runs(shift.missingReceipts);
      break;
    case ShiftState::kDiffers: {
      json differences = json::array();
      for (const ShiftDifference& d : shift.differences) {
        json difference = {{"figure", ShiftFigureName(d.key.figure)},
                           {"money", IsMoney(d.key.figure)},
                           {"z_report", d.zReport},
                           {"receipts", d.receipts}};
        if (ByTaxLetter(d.key.figure)) difference["tax"] = d.key.taxLetter;
        if (ByPaymentForm(d.key.figure)) difference["form"] = d.key.form;
        differences.push_back(std::move(difference));
      }
      item["differences"] = std::move(differences);
      break;
    }
  }
  return item;
}

json Register(const CheckedRegister& checked) {
  const ShiftCheckReport& report = checked.report;
  json gaps = json::array();
  for (const auto& [runs, documents] :
       {std::pair{&report.receiptGaps, "receipts"}, std::pair{&report.zGaps, "z"}})
    for (const NumberRun& run : *runs)
      gaps.push_back({{"documents", documents}, {"first", run.first}, {"last", run.last}});
  json unreadable = json::array();
  for (const UnreadableDocument& document : report.unreadable)
    unreadable.push_back({{"di", document.di}, {"reason", document.reason}});
  json shifts = json::array();
  for (const ShiftCheck& shift : report.shifts)
    if (shift.state != ShiftState::kConsistent) shifts.push_back(Shift(shift));
  return {{"name", checked.record.name},
          {"fiscal_number", checked.record.fiscalNumber},
          {"consistent", report.Consistent()},
          {"shift_count",
           {{"checked", report.shifts.size()},
            {"consistent", report.ShiftsIn(ShiftState::kConsistent)},
            {"differs", report.ShiftsIn(ShiftState::kDiffers)},
            {"incomplete", report.ShiftsIn(ShiftState::kIncomplete)},
            {"not_checkable", report.ShiftsIn(ShiftState::kWithoutOpening) +
                                  report.ShiftsIn(ShiftState::kUnreadable)}}},
          {"gaps", std::move(gaps)},
          {"unreadable", std::move(unreadable)},
          {"shifts", std::move(shifts)}};
}

}  // namespace

void WriteCheckJson(std::ostream& out, const std::vector<CheckedRegister>& registers) {
  bool consistent = true;
  json list = json::array();
  for (const CheckedRegister& checked : registers) {
    consistent = consistent && checked.report.Consistent();
    list.push_back(Register(checked));
  }
  const json document = {{"consistent", consistent}, {"registers", std::move(list)}};
  // Texts that are not UTF-8 (a register's name, a reason) come out with replacement characters.
  out << document.dump(2, ' ', false, json::error_handler_t::replace) << '\n';
}

}  // namespace morvek
