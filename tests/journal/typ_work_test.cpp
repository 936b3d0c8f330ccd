#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "journal/typ_work.h"

namespace morvek {
namespace {

TEST(ElementCode, EveryElementOfTheVocabularyHasItsCode) {
  const typ_work dictionary;
  const std::vector<std::string> names = {"RQ", "DAT", "MAC", "C",  "Z",  "TS", "P", "CP",
                                          "D",  "S",   "M",   "I",  "O",  "L",  "H", "VD",
                                          "E",  "TXS", "Z_M", "IO", "NC", "TX"};
  for (int code = 0; code < static_cast<int>(names.size()); ++code)
    EXPECT_EQ(dictionary.ElementCode(names[code]), code) << names[code];
}

TEST(ElementCode, UnknownNamesReadAsRootCodeZero) {
  const typ_work dictionary;
  for (const char* name : {"XYZ", "", "#comment", "#text", "DAT ", " DAT", "DATA", "a:P"})
    EXPECT_EQ(dictionary.ElementCode(name), 0) << "'" << name << "'";
}

TEST(ElementCode, LookupIsCaseSensitive) {
  const typ_work dictionary;
  EXPECT_EQ(dictionary.ElementCode("dat"), 0);
  EXPECT_EQ(dictionary.ElementCode("Dat"), 0);
  EXPECT_EQ(dictionary.ElementCode("p"), 0);
  EXPECT_EQ(dictionary.ElementCode("z_m"), 0);
}

// The attribute tables, element by element, as the journal format defines them.
const std::map<int, std::map<std::string, int>> kAttributeTables = {
    {kRQ, {{"V", 0}}},
    {kDAT, {{"FN", 0}, {"TN", 1}, {"ZN", 2}, {"DI", 3}, {"DT", 4}, {"V", 5}}},
    {kMAC, {{"DI", 0}, {"NT", 1}}},
    {kC, {{"T", 0}, {"CN", 1}, {"ON", 2}}},
    {kZ, {{"NO", 0}}},
    {kTS, {{"TS", 0}}},
    {kP, {{"N", 0}, {"C", 1}, {"CD", 2}, {"NM", 3}, {"SM", 4}, {"Q", 5}, {"PRC", 6}, {"TX", 7}}},
    {kD, {{"TR", 0}, {"TY", 1}, {"ST", 2}, {"NI", 3}, {"TX", 4}, {"PR", 5}, {"SM", 6}, {"N", 7}}},
    {kM, {{"N", 0}, {"T", 1}, {"NM", 2}, {"SM", 3}, {"RM", 4}, {"RRN", 5}}},
    {kI, {{"N", 0}, {"T", 1}, {"NM", 2}, {"SM", 3}}},
    {kL, {{"N", 0}}},
    {kH, {{"N", 0}, {"HP", 2}, {"HT", 3}}},
    {kVD, {{"N", 0}, {"NI", 1}}},
    {kE,
     {{"N", 0},
      {"NO", 1},
      {"SM", 2},
      {"SE", 3},
      {"TX", 4},
      {"TXPR", 5},
      {"TXSM", 6},
      {"DTPR", 7},
      {"DTSM", 8},
      {"TXTY", 9},
      {"TXAL", 10},
      {"CS", 11},
      {"VD", 12},
      {"TS", 13},
      {"FN", 14}}},
    {kTXS,
     {{"TX", 0},
      {"TS", 1},
      {"TXPR", 2},
      {"TXI", 3},
      {"TXO", 4},
      {"DTPR", 5},
      {"DTI", 6},
      {"DTO", 7},
      {"TXTY", 8},
      {"TXAL", 9},
      {"SMI", 10},
      {"SMO", 11}}},
    {kZ_M, {{"T", 0}, {"NM", 1}, {"SMI", 2}, {"SMO", 3}}},
    {kIO, {{"T", 0}, {"NM", 1}, {"SMI", 2}, {"SMO", 3}, {"SMT", 4}}},
    {kNC, {{"NI", 0}, {"NO", 1}}},
    {kTX,
     {{"TX", 0}, {"TXPR", 1}, {"TXSM", 2}, {"DTPR", 3}, {"DTSM", 4}, {"TXTY", 5}, {"TXAL", 6}}},
};

TEST(AttributeCode, EveryAttributeOfEveryTableHasItsCode) {
  const typ_work dictionary;
  for (const auto& [element, table] : kAttributeTables)
    for (const auto& [name, code] : table)
      EXPECT_EQ(dictionary.AttributeCode(element, name), code) << element << " " << name;
}

TEST(AttributeCode, NamesOfOtherTablesReadAsCodeZero) {
  // Every name the vocabulary knows, asked of every element whose table lacks it.
  const typ_work dictionary;
  std::vector<std::string> allNames;
  for (const auto& [element, table] : kAttributeTables)
    for (const auto& entry : table) allNames.push_back(entry.first);
  for (const auto& [element, table] : kAttributeTables)
    for (const auto& name : allNames) {
      if (!table.count(name)) {
        EXPECT_EQ(dictionary.AttributeCode(element, name), 0) << element << " " << name;
      }
    }
}

TEST(AttributeCode, PairedElementsShareOneTable) {
  const typ_work dictionary;
  for (const auto& [a, b] : {std::pair{kP, kCP}, std::pair{kD, kS}, std::pair{kI, kO}})
    for (const char* name :
         {"N", "C", "CD", "NM", "SM", "Q", "PRC", "TX", "TR", "TY", "ST", "NI", "PR", "T", "XYZ"})
      EXPECT_EQ(dictionary.AttributeCode(b, name), dictionary.AttributeCode(a, name))
          << a << "/" << b << " " << name;
  EXPECT_EQ(dictionary.AttributeCode(kS, "N"), 7);
  EXPECT_EQ(dictionary.AttributeCode(kCP, "PRC"), 6);
  EXPECT_EQ(dictionary.AttributeCode(kO, "SM"), 3);
}

TEST(AttributeCode, TaxRecordHasNoCodeForAnUnknownNameButZero) {
  const typ_work dictionary;
  EXPECT_EQ(dictionary.AttributeCode(kTX, "TX"), 0);
  EXPECT_EQ(dictionary.AttributeCode(kTX, "TXPR"), 1);
  EXPECT_EQ(dictionary.AttributeCode(kTX, "XYZ"), 0);
}

TEST(AttributeCode, UnknownNameOfASaleIsReadAsN) {
  const typ_work dictionary;
  EXPECT_EQ(dictionary.AttributeCode(kP, "XYZ"), dictionary.AttributeCode(kP, "N"));
  EXPECT_EQ(dictionary.AttributeCode(kP, "n"), 0);  // case-sensitive
}

TEST(AttributeCode, NoNameGivesTheTextCodeOfCommentAndServiceLines) {
  const typ_work dictionary;
  EXPECT_EQ(dictionary.AttributeCode(kH, "HP"), 2);
  EXPECT_EQ(dictionary.AttributeCode(kH, "HT"), 3);
  for (const auto& [element, table] : kAttributeTables)
    for (const auto& [name, code] : table) {
      EXPECT_NE(dictionary.AttributeCode(kH, name), 1) << name;
      EXPECT_NE(dictionary.AttributeCode(kL, name), 1) << name;
    }
  for (const char* name : {"", "TEXT", "#text", "text"}) {
    EXPECT_NE(dictionary.AttributeCode(kH, name), 1) << name;
    EXPECT_NE(dictionary.AttributeCode(kL, name), 1) << name;
  }
}

TEST(AttributeCode, ElementCodeOutsideTheVocabularyGivesZero) {
  const typ_work dictionary;
  EXPECT_EQ(dictionary.AttributeCode(-1, "TXPR"), 0);
  EXPECT_EQ(dictionary.AttributeCode(22, "TXPR"), 0);
  EXPECT_EQ(dictionary.AttributeCode(1000, "FN"), 0);
}

// --- the Z_M rule ---

int CodeOfMAfter(const char* previous) {
  control cursor;
  cursor.EnterElement(previous);
  cursor.EnterElement("M");
  return cursor.element;
}

TEST(EnterElement, PaymentInsideAZReportBecomesAPaymentTotal) {
  EXPECT_EQ(CodeOfMAfter("Z"), kZ_M);
  EXPECT_EQ(CodeOfMAfter("TXS"), kZ_M);
  EXPECT_EQ(CodeOfMAfter("IO"), kZ_M);
  EXPECT_EQ(CodeOfMAfter("NC"), kZ_M);
  EXPECT_EQ(CodeOfMAfter("Z_M"), kZ_M);
}

TEST(EnterElement, PaymentAfterAReceiptElementStaysAReceiptPayment) {
  for (const char* previous : {"P", "CP", "D", "S", "M", "I", "O", "L", "H", "VD", "E", "TX", "C",
                               "DAT", "RQ", "MAC", "TS", "XYZ"})
    EXPECT_EQ(CodeOfMAfter(previous), kM) << previous;
}

TEST(EnterElement, SuccessivePaymentsInAZReportStayTotals) {
  control cursor;
  cursor.EnterElement("Z");
  cursor.EnterElement("M");
  cursor.EnterElement("M");
  EXPECT_EQ(cursor.element, kZ_M);
}

TEST(EnterElement, LiteralZMNameIsAPaymentTotalAnywhere) {
  control cursor;
  cursor.EnterElement("P");
  cursor.EnterElement("Z_M");
  EXPECT_EQ(cursor.element, kZ_M);
}

TEST(EnterElement, RuleAppliesOnlyToTheExactNameM) {
  control cursor;
  cursor.EnterElement("Z");
  cursor.EnterElement("m");
  EXPECT_EQ(cursor.element, 0);
  cursor.EnterElement("Z");
  cursor.EnterElement("MM");
  EXPECT_EQ(cursor.element, 0);
}

TEST(EnterElement, ResetReturnsTheCursorToTheRoot) {
  control cursor;
  EXPECT_EQ(cursor.element, kRQ);
  cursor.EnterElement("Z");
  cursor.Reset();
  EXPECT_EQ(cursor.element, kRQ);
  cursor.EnterElement("M");
  EXPECT_EQ(cursor.element, kM);  // the reset also ends the Z-report context
}

}  // namespace
}  // namespace morvek
