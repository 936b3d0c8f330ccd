// The walk of the loader: where each element's values land, how the counters step, what a
// failure leaves behind.
#include <gtest/gtest.h>

#include <string>

#include "codec/errors.h"
#include "journal/loader.h"
#include "journal_fixture.h"
#include "test_support.h"

namespace morvek {
namespace {

using test::Journal;
using test::LineOrder;
using test::LinesOf;
using test::W;

const char kExample[] =
    R"(<RQ V="1"><DAT FN="F1" ZN="Z1" DI="7"><C T="0"><P N="1" NM="A" SM="150" Q="1000" )"
    R"(PRC="150" TX="1"/><E N="2" NO="31" SM="150"/></C><TS>20151204120000</TS></DAT>)"
    R"(<MAC DI="7" NT="1"/></RQ>)";

// A journal of one receipt per document, with the given lines inside its C element.
std::string Receipt(const std::string& lines) {
  return "<RQ V=\"1\"><DAT><C T=\"0\">" + lines + "</C><TS>201512041200</TS></DAT><MAC/></RQ>";
}

std::string Documents(int count) {
  std::string xml = "<RQ V=\"1\">";
  for (int i = 1; i <= count; ++i)
    xml += "<DAT DI=\"" + std::to_string(i) + "\"><C T=\"0\"><E N=\"1\" NO=\"" +
           std::to_string(100 + i) + "\"/></C><TS>2015</TS></DAT><MAC/>";
  return xml + "</RQ>";
}

// --- the example document ---

TEST(LoaderExample, OneReceiptFillsTheEmptyModel) {
  Journal j;
  j.Load(kExample);
  EXPECT_EQ(j.model.v, 1.0f);
  EXPECT_EQ(j.model.doc_index, 1);
  const dat& d = j.Doc(0);
  EXPECT_TRUE(d.is_receipt);
  EXPECT_EQ(d.fn, "F1");
  EXPECT_EQ(d.zn, "Z1");
  EXPECT_EQ(d.di, 7.0f);
  EXPECT_EQ(d.ts.value, "20151204120000");
  const check& c = j.Receipt(0);
  ASSERT_EQ(c.sales.size(), 1u);
  EXPECT_EQ(c.sales.at(0).nm, "A");
  EXPECT_EQ(c.sales.at(0).sm, 150.0f);
  EXPECT_EQ(c.sales.at(0).q, 1000.0f);
  EXPECT_EQ(c.sales.at(0).tx, "1");
  EXPECT_EQ(LinesOf(c), (LineOrder{{1, {kLineP, 0}}, {2, {kLineE, 0}}}));
  EXPECT_EQ(c.LineCount(), 2);
  EXPECT_EQ(c.end.no, 31.0f);
  EXPECT_EQ(j.model.macs[1].di, 7.0f);
  EXPECT_EQ(j.model.macs[1].nt, 1.0f);
  EXPECT_EQ(j.model.check_no_min, 31);
  EXPECT_EQ(j.model.check_no_max, 31);
  EXPECT_EQ(j.model.z_no_min, 0);
  EXPECT_EQ(j.model.dats.size(), 1u);
}

TEST(LoaderExample, SecondLoadWithoutClearAppendsTheDocument) {
  Journal j;
  j.Load(kExample);
  j.Load(kExample);
  EXPECT_EQ(j.model.doc_index, 2);
  EXPECT_EQ(j.Doc(1).fn, "F1");
  EXPECT_EQ(LinesOf(j.Receipt(1)), (LineOrder{{1, {kLineP, 0}}, {2, {kLineE, 0}}}));
  EXPECT_EQ(j.model.macs.count(2), 1u);
  EXPECT_EQ(j.model.macs[2].di, 7.0f);
  EXPECT_EQ(j.Receipt(0).LineCount(), 2);  // the first document is untouched
}

TEST(LoaderExample, RootWithAnotherNameIsReadLikeRQ) {
  Journal j;
  std::string xml = kExample;
  xml.replace(xml.find("<RQ V=\"1\">"), 10, "<JOURNAL V=\"3\">");
  xml.replace(xml.rfind("</RQ>"), 5, "</JOURNAL>");
  j.Load(xml);
  EXPECT_EQ(j.model.v, 3.0f);
  EXPECT_EQ(j.model.doc_index, 1);
  EXPECT_EQ(j.Receipt(0).LineCount(), 2);
}

// --- accumulation across loads ---

TEST(LoaderAccumulation, TwoResponsesOfThreeDocumentsFillKeysZeroToFive) {
  Journal j;
  j.Load(Documents(3));
  j.Load(Documents(3));
  EXPECT_EQ(j.model.doc_index, 6);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(j.Doc(i).di, static_cast<float>(i % 3 + 1)) << i;
  EXPECT_EQ(j.model.check_no_min, 101);
  EXPECT_EQ(j.model.check_no_max, 103);
}

TEST(LoaderAccumulation, LoadAfterClearStartsAgainAtKeyZero) {
  Journal j;
  j.Load(Documents(3));
  j.model.Clear();
  j.Load(Documents(1));
  EXPECT_EQ(j.model.doc_index, 1);
  EXPECT_EQ(j.Doc(0).di, 1.0f);
  EXPECT_EQ(j.model.dats.count(1), 0u);
  EXPECT_EQ(j.model.check_no_max, 103);  // the ranges survive Clear
}

// --- line order and counters ---

TEST(LoaderLines, EachLineTakesTheNextNumberInDocumentOrder) {
  Journal j;
  j.Load(Receipt(R"(<P N="1"/><P N="2"/><D N="3"/><E N="4"/>)"));
  const check& c = j.Receipt();
  EXPECT_EQ(LinesOf(c),
            (LineOrder{{1, {kLineP, 0}}, {2, {kLineP, 1}}, {3, {kLineD, 0}}, {4, {kLineE, 0}}}));
  EXPECT_EQ(c.LineCount(), 4);  // the TS after the receipt closes the last line
  EXPECT_EQ(c.sale_key, 2);
  EXPECT_EQ(c.discount_key, 1);
  EXPECT_EQ(c.end_key, 1);
  EXPECT_EQ(c.line_no, 5);
}

TEST(LoaderLines, SurchargeBetweenSalesTakesItsOwnLineNumber) {
  Journal j;
  j.Load(Receipt(R"(<P N="1"/><S N="2" SM="5"/><P N="3"/>)"));
  EXPECT_EQ(LinesOf(j.Receipt()),
            (LineOrder{{1, {kLineP, 0}}, {2, {kLineS, 0}}, {3, {kLineP, 1}}}));
  EXPECT_EQ(j.Receipt().surcharges[0].sm, 5.0f);
}

TEST(LoaderLines, LineWithoutNLeavesAGapButIsCounted) {
  Journal j;
  j.Load(Receipt(R"(<P N="1"/><L>note</L><P N="3" NM="B"/>)"));
  const check& c = j.Receipt();
  EXPECT_EQ(LinesOf(c), (LineOrder{{1, {kLineP, 0}}, {3, {kLineP, 1}}}));
  EXPECT_EQ(c.comments.at(0).text, "note");
  EXPECT_EQ(c.LineCount(), 3);
}

TEST(LoaderLines, EveryLineKindRecordsItsKindAndKey) {
  Journal j;
  j.Load(Receipt(R"(<P N="1"/><CP N="2"/><D N="3"/><S N="4"/><M N="5"/><I N="6"/><O N="7"/>)"
                 R"(<L N="8">x</L><H N="9">y</H><VD N="10"/><E N="11"/>)"));
  LineOrder expected;
  for (int kind = kLineP; kind <= kLineE; ++kind) expected.push_back({kind, {kind, 0}});
  EXPECT_EQ(LinesOf(j.Receipt()), expected);
  EXPECT_EQ(j.Receipt().LineCount(), 11);
}

TEST(LoaderLines, SecondCancellationOverwritesTheFirst) {
  Journal j;
  j.Load(Receipt(R"(<P N="1"/><VD N="2" NI="1"/><P N="3"/><VD N="4" NI="3"/><E N="5"/>)"));
  const check& c = j.Receipt();
  EXPECT_EQ(c.cancel.n, 4.0f);
  EXPECT_EQ(c.cancel.ni, 3.0f);
  EXPECT_EQ(c.cancel_key, 2);
  EXPECT_EQ(c.line_order.at(2), std::make_pair(static_cast<int>(kLineVD), 0));
  EXPECT_EQ(c.line_order.at(4), std::make_pair(static_cast<int>(kLineVD), 1));
}

TEST(LoaderLines, LastLineBeforeTheMacStaysWithItsDocument) {
  // No TS after the receipt: the last P is closed when the MAC starts, before the document index
  // moves on, so it counts in its own receipt and the next receipt numbers its lines from 1.
  Journal j;
  j.Load(R"(<RQ><DAT><C T="0"><P N="1"/></C></DAT><MAC/>)"
         R"(<DAT><C T="0"><P N="1"/><E N="2"/></C><TS>1</TS></DAT><MAC/></RQ>)");
  EXPECT_EQ(j.model.doc_index, 2);
  EXPECT_EQ(j.Receipt(0).LineCount(), 1);
  EXPECT_EQ(LinesOf(j.Receipt(0)), (LineOrder{{1, {kLineP, 0}}}));
  const check& next = j.Receipt(1);
  EXPECT_EQ(LinesOf(next), (LineOrder{{1, {kLineP, 0}}, {2, {kLineE, 0}}}));
  EXPECT_EQ(next.LineCount(), 2);
}

TEST(LoaderLines, TimeStampBeforeTheReceiptKeepsEveryLineOfEveryDocument) {
  // A register that writes TS first ends every DAT with its receipt's end record.
  Journal j;
  j.Load(R"(<RQ><DAT DI="1"><TS>1</TS><C T="0"><P N="1"/><E N="2" NO="7"/></C></DAT><MAC/>)"
         R"(<DAT DI="2"><TS>2</TS><C T="0"><P N="1"/><E N="2" NO="8"/></C></DAT><MAC/></RQ>)");
  ASSERT_EQ(j.model.dats.size(), 2u);  // no empty document made up after the last one
  for (int d = 0; d < 2; ++d) {
    EXPECT_EQ(j.Receipt(d).LineCount(), 2) << d;
    EXPECT_EQ(LinesOf(j.Receipt(d)), (LineOrder{{1, {kLineP, 0}}, {2, {kLineE, 0}}})) << d;
  }
}

TEST(LoaderLines, CommentBetweenSalesIsEnteredAsAnUnknownElement) {
  Journal j;
  j.Load(Receipt(R"(<P N="1"/><!-- x --><P N="2"/><?pi data?><E N="3"/>)"));
  const check& c = j.Receipt();
  EXPECT_EQ(LinesOf(c), (LineOrder{{1, {kLineP, 0}}, {2, {kLineP, 1}}, {3, {kLineE, 0}}}));
  EXPECT_EQ(c.LineCount(), 3);
}

TEST(LoaderLines, CommentInsideAZReportEndsThePaymentTotalContext) {
  // The comment is entered like an element, so the M after it follows code 0, not the Z.
  Journal j;
  j.Load(R"(<RQ><DAT><Z NO="1"><!-- c --><M T="4" SM="9"/></Z><TS>1</TS></DAT><MAC/></RQ>)");
  EXPECT_TRUE(j.ZReport().pays.empty());
  EXPECT_FALSE(j.ZReport().has_pays);
  EXPECT_EQ(j.Receipt().payments[0].t, 4.0f);
}

TEST(LoaderLines, WhiteSpaceBetweenElementsChangesNothing) {
  const std::string compact = kExample;
  const std::string spaced =
      "<RQ V=\"1\">\r\n <DAT FN=\"F1\" ZN=\"Z1\" DI=\"7\">\n  <C T=\"0\">\n   <P N=\"1\" NM=\"A\" "
      "SM=\"150\" Q=\"1000\" PRC=\"150\" TX=\"1\"/>\n   <E N=\"2\" NO=\"31\" SM=\"150\"/>\n  "
      "</C>\n  <TS>20151204120000</TS>\n </DAT>\n <MAC DI=\"7\" NT=\"1\"/>\n</RQ>\n";
  Journal a, b;
  a.Load(compact);
  b.Load(spaced);
  EXPECT_EQ(b.model.doc_index, a.model.doc_index);
  EXPECT_EQ(b.model.dats.size(), a.model.dats.size());
  EXPECT_EQ(LinesOf(b.Receipt()), LinesOf(a.Receipt()));
  EXPECT_EQ(b.Receipt().LineCount(), a.Receipt().LineCount());
  EXPECT_EQ(b.Receipt().sales.size(), 1u);
  EXPECT_EQ(b.Doc().ts.value, "20151204120000");
}

TEST(LoaderLines, TwoReceiptElementsFillOneReceipt) {
  Journal j;
  j.Load(Receipt(R"(<P N="1" NM="A"/></C><C T="1" CN="2" ON="op"><P N="2" NM="B"/>)"));
  const check& c = j.Receipt();
  EXPECT_EQ(c.t, 1.0f);
  EXPECT_EQ(c.cn, 2);
  EXPECT_EQ(c.on, "op");
  EXPECT_EQ(c.sales.at(0).nm, "A");
  EXPECT_EQ(c.sales.at(1).nm, "B");
  EXPECT_EQ(LinesOf(c), (LineOrder{{1, {kLineP, 0}}, {2, {kLineP, 1}}}));
  EXPECT_EQ(j.Doc().checks.size(), 1u);
}

TEST(LoaderLines, TwoDocumentElementsWithoutAMacFillOneDocument) {
  Journal j;
  j.Load(R"(<RQ><DAT FN="A" TN="T1"/><DAT FN="B"/><MAC/></RQ>)");
  EXPECT_EQ(j.model.doc_index, 1);
  EXPECT_EQ(j.Doc().fn, "B");
  EXPECT_EQ(j.Doc().tn, "T1");
}

TEST(LoaderLines, TaxRecordsFillTheEndRecordInOrder) {
  Journal j;
  j.Load(Receipt(R"(<E N="1" NO="5"/><TX TX="А" TXPR="20" TXSM="100"/><TX TX="Б" TXPR="7"/>)"));
  const sale_end& e = j.Receipt().end;
  EXPECT_TRUE(e.has_taxes);
  ASSERT_EQ(e.taxes.size(), 2u);
  EXPECT_EQ(e.taxes.at(0).tx, W("А"));
  EXPECT_EQ(e.taxes.at(0).txpr, 20.0f);
  EXPECT_EQ(e.taxes.at(0).txsm, 100.0f);
  EXPECT_EQ(e.taxes.at(1).tx, W("Б"));
  EXPECT_EQ(e.taxes.at(1).txpr, 7.0f);
  EXPECT_EQ(e.tax_key, 2);
  EXPECT_EQ(j.Receipt().LineCount(), 1);  // tax records are no lines
  EXPECT_EQ(j.Receipt().end_key, 1);
}

// --- Z-reports ---

TEST(LoaderZReport, PaymentInsideTheZReportIsAPaymentTotal) {
  Journal j;
  j.Load(R"(<RQ><DAT><Z NO="5"><TXS TX="1" SMI="100"/><M T="0" SMI="100"/></Z><TS>1</TS></DAT>)"
         R"(<MAC/></RQ>)");
  const zvit& z = j.ZReport();
  EXPECT_FALSE(j.Doc().is_receipt);
  EXPECT_EQ(z.no, 5.0f);
  EXPECT_TRUE(z.has_taxes);
  EXPECT_TRUE(z.has_pays);
  EXPECT_EQ(z.taxes.at(0).smi, 100.0f);
  EXPECT_EQ(z.pays.at(0).smi, 100.0f);
  EXPECT_EQ(j.model.z_no_min, 5);
  EXPECT_EQ(j.model.z_no_max, 5);
  EXPECT_TRUE(j.Receipt().payments.empty());
}

TEST(LoaderZReport, TotalsOfEachKindAreKeyedInOrder) {
  Journal j;
  j.Load(R"(<RQ><DAT><Z NO="2"><TXS TX="A"/><TXS TX="B"/><M T="1"/><M T="2"/><IO T="0"/>)"
         R"(<M T="3"/><NC NI="4" NO="5"/><M T="6"/></Z><TS>1</TS></DAT><MAC/></RQ>)");
  const zvit& z = j.ZReport();
  EXPECT_EQ(z.taxes.at(1).tx, "B");
  ASSERT_EQ(z.pays.size(), 4u);
  EXPECT_EQ(z.pays.at(0).t, 1.0f);
  EXPECT_EQ(z.pays.at(1).t, 2.0f);
  EXPECT_EQ(z.pays.at(2).t, 3.0f);
  EXPECT_EQ(z.pays.at(3).t, 6.0f);
  EXPECT_EQ(z.counts.at(0).ni, 4.0f);
  EXPECT_EQ(z.counts.at(0).no, 5.0f);
  EXPECT_EQ(z.tax_key, 2);
  EXPECT_EQ(z.pay_key, 4);
  EXPECT_EQ(z.rotate_key, 1);
  EXPECT_EQ(z.count_key, 1);
}

TEST(LoaderZReport, LaterZReportNumberWinsOverAnEarlierReceiptMark) {
  Journal j;
  j.Load(R"(<RQ><DAT><C T="0"/><Z NO="8"/><TS>1</TS></DAT><MAC/></RQ>)");
  EXPECT_FALSE(j.Doc().is_receipt);
  j.Load(R"(<RQ><DAT><Z NO="9"/><C T="0"/><TS>1</TS></DAT><MAC/></RQ>)");
  EXPECT_TRUE(j.Doc(1).is_receipt);
  EXPECT_EQ(j.model.z_no_min, 8);
  EXPECT_EQ(j.model.z_no_max, 9);
}

TEST(LoaderZReport, UnknownAttributeOfATotalStillSetsItsFlag) {
  Journal j;
  j.Load(R"(<RQ><DAT><Z NO="1"><TXS QQ="a"/><M QQ="2"/><IO QQ="3"/><NC QQ="4"/></Z></DAT></RQ>)");
  const zvit& z = j.ZReport();
  EXPECT_TRUE(z.has_taxes);
  EXPECT_TRUE(z.has_pays);
  EXPECT_TRUE(z.has_rotates);
  EXPECT_TRUE(z.has_counts);
  EXPECT_EQ(z.taxes.at(0).tx, "a");  // stored as the code-0 attribute
  EXPECT_EQ(z.pays.at(0).t, 2.0f);
  EXPECT_EQ(z.rotates.at(0).t, 3.0f);
  EXPECT_EQ(z.counts.at(0).ni, 4.0f);
}

TEST(LoaderZReport, LiteralZMElementIsAPaymentTotalEvenInAReceipt) {
  Journal j;
  j.Load(Receipt(R"(<P N="1"/><Z_M T="2" SMI="7"/>)"));
  EXPECT_TRUE(j.ZReport().has_pays);
  EXPECT_EQ(j.ZReport().pays.at(0).smi, 7.0f);
  EXPECT_TRUE(j.Receipt().payments.empty());
}

// --- unknown names and code 0 ---

TEST(LoaderUnknownNames, ElementNamesAreCaseSensitive) {
  Journal j;
  j.Load(R"(<RQ V="1"><dat FN="5"/><MAC/></RQ>)");
  EXPECT_EQ(j.model.v, 5.0f);  // read through the RQ table as V
  EXPECT_EQ(j.Doc().fn, "");
}

TEST(LoaderUnknownNames, UnknownElementWithTextAttributeStopsTheLoad) {
  Journal j;
  EXPECT_THROW(j.Load(R"(<RQ V="1"><DAT FN="F"/><XYZ A="text"/><DAT TN="T"/></RQ>)"), ConvertError);
  EXPECT_EQ(j.Doc().fn, "F");
  EXPECT_EQ(j.Doc().tn, "");
}

TEST(LoaderUnknownNames, UnknownAttributeOfASaleIsStoredAsNAndPlacesTheLine) {
  Journal j;
  j.Load(Receipt(R"(<P QQ="1" NM="A"/>)"));
  EXPECT_EQ(j.Receipt().sales.at(0).n, 1.0f);
  EXPECT_EQ(LinesOf(j.Receipt()), (LineOrder{{1, {kLineP, 0}}}));
}

TEST(LoaderUnknownNames, UnknownAttributeOfADiscountIsStoredAsTR) {
  Journal j;
  j.Load(Receipt(R"(<D QQ="3" N="1"/>)"));
  EXPECT_EQ(j.Receipt().discounts.at(0).tr, 3.0f);
  EXPECT_EQ(j.Receipt().discounts.at(0).n, 1.0f);
}

TEST(LoaderUnknownNames, PrefixedElementIsNotTheElementOfItsLocalName) {
  Journal j;
  j.Load(R"(<RQ xmlns:a="urn:x"><DAT><C T="0"><a:P a:N="1"/></C></DAT><MAC/></RQ>)");
  EXPECT_TRUE(j.Receipt().sales.empty());
  EXPECT_EQ(j.model.v, 1.0f);  // its attribute went through the RQ table
}

TEST(LoaderUnknownNames, ElementTextOfOtherElementsIsIgnored) {
  Journal j;
  j.Load(Receipt(R"(<P N="1">junk</P><E N="2">9</E>)"));
  EXPECT_EQ(j.Receipt().sales.at(0).nm, "");
  EXPECT_EQ(j.Receipt().end.n, 2.0f);
}

TEST(LoaderUnknownNames, MacTextIsStoredNowhere) {
  Journal j;
  j.Load(R"(<RQ><DAT/><MAC DI="7" NT="2">ABCD==</MAC></RQ>)");
  EXPECT_EQ(j.model.macs[1].di, 7.0f);
  EXPECT_EQ(j.model.macs[1].nt, 2.0f);
  EXPECT_EQ(j.model.v, 0.0f);
}

// --- failures ---

TEST(LoaderFailure, TextInANumberStopsTheLoadAndKeepsEarlierLines) {
  Journal j;
  EXPECT_THROW(j.Load(Receipt(R"(<P N="1" NM="A"/><P N="2" SM="abc" NM="B"/><P N="3" NM="C"/>)")),
               ConvertError);
  const check& c = j.Receipt();
  EXPECT_EQ(c.sales.at(0).nm, "A");
  EXPECT_EQ(c.sales.at(1).n, 2.0f);  // stored before the failing attribute
  EXPECT_EQ(c.sales.at(1).nm, "");   // after it: never reached
  EXPECT_EQ(c.sales.count(2), 0u);
  EXPECT_EQ(LinesOf(c), (LineOrder{{1, {kLineP, 0}}, {2, {kLineP, 1}}}));
  EXPECT_EQ(j.model.doc_index, 0);  // the MAC was never reached
}

TEST(LoaderFailure, NumberOutsideTheFloatRangeRaisesAndKeepsWhatWasStored) {
  Journal j;
  EXPECT_THROW(j.Load(Receipt(R"(<P N="1" NM="A" SM="1e39"/>)")), ConvertError);
  EXPECT_EQ(j.Receipt().sales.at(0).nm, "A");
  EXPECT_EQ(j.Receipt().sales.at(0).sm, 0.0f);
}

TEST(LoaderFailure, DecimalCommaIsNotANumber) {
  Journal j;
  EXPECT_THROW(j.Load(Receipt(R"(<P N="1" SM="1,5"/>)")), ConvertError);
}

TEST(LoaderFailure, ZReportNumberBeyondTheIntegerRangeRaises) {
  Journal j;
  EXPECT_THROW(j.Load(R"(<RQ><DAT><Z NO="1e20"/></DAT></RQ>)"), ConvertError);
  EXPECT_EQ(j.model.z_no_min, 0);
  EXPECT_EQ(j.model.z_no_max, 0);
}

TEST(LoaderFailure, ReceiptNumberBeyondTheIntegerRangeRaises) {
  Journal j;
  EXPECT_THROW(j.Load(Receipt(R"(<E N="1" NO="-3e9"/>)")), ConvertError);
  EXPECT_EQ(j.model.check_no_min, 0);
  EXPECT_EQ(j.model.check_no_max, 0);
}

TEST(LoaderFailure, TextOfACommentLineIsStoredBeforeItsAttributes) {
  Journal j;
  EXPECT_THROW(j.Load(Receipt(R"(<L N="x">hello</L>)")), ConvertError);
  EXPECT_EQ(j.Receipt().comments.at(0).text, "hello");
  EXPECT_TRUE(j.Receipt().line_order.empty());
}

TEST(LoaderFailure, MalformedDocumentRaisesBeforeTheModelChanges) {
  Journal j;
  EXPECT_THROW(j.Load(R"(<RQ V="1"><DAT FN="F"></RQ>)"), XmlError);
  EXPECT_TRUE(j.model.dats.empty());
  EXPECT_EQ(j.model.v, 0.0f);
}

// A journal is read in one pass; one refused past its first documents leaves the model and the
// cursor as they were, and one refused after a failing value too.
TEST(LoaderFailure, RefusedTextLeavesTheModelAndTheCursorAsTheyWere) {
  const std::string whole = Receipt(R"(<P N="1" NM="A"/><E N="2" NO="7"/>)");
  const std::string cut = whole.substr(0, whole.size() - 5);
  for (const std::string& text :
       {whole + "<junk/>", cut, Receipt(R"(<P N="1" SM="abc"/>)") + "<x/>", cut + "\x98"}) {
    Journal j;
    j.model.v = 3;
    j.cursor.element = kDAT;
    EXPECT_THROW(LoadJournalText(j.model, j.cursor, text), XmlError) << text;
    EXPECT_TRUE(j.model.dats.empty()) << text;
    EXPECT_TRUE(j.model.macs.empty()) << text;
    EXPECT_EQ(j.model.doc_index, 0) << text;
    EXPECT_EQ(j.model.v, 3.0f) << text;
    EXPECT_EQ(j.model.check_no_max, 0) << text;
    EXPECT_EQ(j.cursor.element, kDAT) << text;
  }
}

TEST(LoaderFailure, RefusedSecondTextKeepsTheFirstDocumentsUntouched) {
  Journal j;
  j.Load(Receipt(R"(<P N="1" NM="A"/><E N="2" NO="7"/>)"));
  EXPECT_THROW(j.Load(Receipt(R"(<P N="1" NM="B"/>)") + "<junk/>"), XmlError);
  EXPECT_EQ(j.model.doc_index, 1);
  EXPECT_EQ(j.model.dats.size(), 1u);
  EXPECT_EQ(j.Receipt().sales.at(0).nm, "A");
  EXPECT_EQ(j.model.check_no_max, 7);
}

// --- limits ---

TEST(LoaderLimits, DeepestAllowedNestingLoads) {
  // RQ, DAT, C and 252 unknown wrappers put the P at level 256.
  std::string open, close;
  for (int i = 0; i < 252; ++i) open += "<W>", close += "</W>";
  Journal j;
  j.Load("<RQ><DAT><C T=\"0\">" + open + "<P N=\"1\" NM=\"deep\"/>" + close +
         "</C></DAT><MAC/></RQ>");
  EXPECT_EQ(j.Receipt().sales.at(0).nm, "deep");
  EXPECT_EQ(j.model.doc_index, 1);
}

TEST(LoaderLimits, OneLevelDeeperIsRefusedByTheParser) {
  std::string open, close;
  for (int i = 0; i < 253; ++i) open += "<W>", close += "</W>";
  Journal j;
  EXPECT_THROW(j.Load("<RQ><DAT><C>" + open + "<P N=\"1\"/>" + close + "</C></DAT></RQ>"),
               XmlError);
  EXPECT_TRUE(j.model.dats.empty());
}

TEST(LoaderLimits, MultiMegabyteNameIsLoaded) {
  const std::string name(3'000'000, 'N');
  Journal j;
  j.Load(Receipt("<P N=\"1\" NM=\"" + name + "\"/>"));
  EXPECT_EQ(j.Receipt().sales.at(0).nm.size(), name.size());
}

TEST(LoaderLimits, AttributeOverTheParserLimitIsAParseError) {
  Journal j;
  EXPECT_THROW(j.Load(Receipt("<P N=\"1\" NM=\"" + std::string(11'000'000, 'N') + "\"/>")),
               XmlError);
  EXPECT_TRUE(j.model.dats.empty());
}

TEST(LoaderLimits, ManyDocumentsLoadWithoutDeepRecursion) {
  Journal j;
  j.Load(Documents(5000));
  EXPECT_EQ(j.model.doc_index, 5000);
  EXPECT_EQ(j.model.check_no_max, 5100);
}

}  // namespace
}  // namespace morvek
