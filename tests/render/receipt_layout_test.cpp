// The receipt as the register prints it, line for line, in the receipt and cash-document layouts.
// Expected lines keep the trailing spaces PlaceRight's padding leaves: a text of n < 38
// characters becomes n + 35 characters long, and a "  " added in front adds 2.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codec/errors.h"
#include "layout_support.h"

namespace morvek::test {
namespace {

const std::string kSeparator = "  --------------------------------------";

std::string S(std::size_t n) {
  return std::string(n, ' ');
}

class ReceiptLayout : public RenderFixture {
 protected:
  ReceiptLayout() : document(AddReceiptDocument(5, 1)), c(document.checks[0]) {}

  void Render(Layout layout = Layout::Receipt) { MakeRenderer().RenderReceipt(list, 0, layout); }
  // The lines between the five header lines and the four footer lines of a sale receipt.
  std::vector<std::string> Body() { return Middle(list, 5, 4); }

  dat& document;
  check& c;
};

TEST_F(ReceiptLayout, SaleReceiptMatchesThePrintedImageLineForLine) {
  sale& bread = AddSale(c);
  bread.nm = W("Хліб");
  bread.q = 1500;
  bread.prc = 1250;
  bread.sm = 1875;
  bread.tx = "1";
  sale_end& end = AddEnd(c);
  end.no = 12345;
  end.sm = 1875;
  tx& vat = AddTax(end);
  vat.tx = "1";
  vat.txpr = 20;
  vat.txsm = 312;
  sale_pay& cash = AddPayment(c);
  cash.nm = W("ГОТІВКА");
  cash.sm = 2000;
  cash.rm = 125;

  Render();

  EXPECT_TRUE(SameLines(list.lines, {
                                        W("          ДП \"Компанія VERNO\""),
                                        W("                м.Київ"),
                                        W("     ЗН ЖЛ00001234  ФН 3000012345"),
                                        W("         Касир Каса01"),
                                        kSeparator,
                                        W("  Хліб"),
                                        Padded("  1.500. X 12.50 =              18.75 A", 53),
                                        kSeparator,
                                        Padded("  Сума                          18.75", 56),
                                        Padded("       ПДВ_A A =20.00%           3.12", 52),
                                        kSeparator,
                                        Padded("  ГОТІВКА                       20.00", 50),
                                        Padded("  Решта                         -1.25", 42),
                                        Padded("  000012345         05.03.2016  14:07", 54),
                                        W("         ФІСКАЛЬНИЙ ЧЕК"),
                                        kSeparator,
                                        kSeparator,
                                    }));
}

TEST_F(ReceiptLayout, FiscalNumberComesFromTheDocumentAtPositionZero) {
  AddReceiptDocument(6, 2).zn = "ZN-SECOND";
  model.dats[1].fn = "FN-SECOND";
  model.dats[0].fn = "FN-FIRST";

  MakeRenderer().RenderReceipt(list, 1, Layout::Receipt);

  ASSERT_GE(list.lines.size(), 3u);
  EXPECT_TRUE(SameLine(list.lines[2], W("     ЗН ZN-SECOND  ФН FN-FIRST")));
}

TEST_F(ReceiptLayout, QuantityHasThreeDecimalsInTheReceiptLayout) {
  sale& s = AddSale(c);
  s.nm = "Tea";
  s.q = 1400;
  s.prc = 1000;
  s.sm = 1400;
  s.tx = "1";
  Render();
  EXPECT_TRUE(SameLines(Body(), {"  Tea", "  1.400. X 10.00 =" + S(14) + "14.00 A" + S(14)}));
}

TEST_F(ReceiptLayout, QuantityIsWholeInTheCashDocumentLayout) {
  c.t = 2;
  sale& s = AddSale(c);
  s.nm = "Tea";
  s.q = 1400;
  s.prc = 1000;
  s.sm = 1400;
  s.tx = "1";
  Render(Layout::CashDocument);
  // "1. X 10.00 =" is 12 characters: 47 padded, 49 with the prefix.
  EXPECT_TRUE(SameLines(Body(), {"  Tea", "  1. X 10.00 =" + S(18) + "14.00 A" + S(10)}));
}

TEST_F(ReceiptLayout, GoodsWithoutQuantityShareOneLineWithTheAmount) {
  sale& s = AddSale(c);
  s.nm = W("Молоко");
  s.sm = 3000;
  s.tx = "2";
  Render();
  // "Молоко" and seven spaces are 13 characters: 48 padded, 50 with the prefix.
  EXPECT_TRUE(SameLines(Body(), {Padded("  Молоко                        30.00 Б", 50)}));
}

std::string Name80() {
  std::string name;
  for (int i = 0; i < 8; ++i) name += "0123456789";
  return name;
}

TEST_F(ReceiptLayout, LongNameWrapsEvery34CharactersAboveTheQuantityLine) {
  const std::string name = Name80();
  sale& s = AddSale(c);
  s.nm = name;
  s.q = 1000;
  s.prc = 500;
  s.sm = 500;
  s.tx = "1";
  Render();
  EXPECT_TRUE(
      SameLines(Body(), {"  " + name.substr(0, 34), "  " + name.substr(34, 34),
                         "  " + name.substr(68), "  1.000. X 5.00 =" + S(16) + "5.00 A" + S(13)}));
}

TEST_F(ReceiptLayout, LongNameWithoutQuantityPutsTheAmountBesideItsLastPiece) {
  const std::string name = Name80();
  sale& s = AddSale(c);
  s.nm = name;
  s.sm = 500;
  s.tx = "1";
  Render();
  // The last 12 characters and seven spaces are 19 characters: 54 padded, 56 with the prefix.
  EXPECT_TRUE(SameLines(Body(), {"  " + name.substr(0, 34), "  " + name.substr(34, 34),
                                 "  " + name.substr(68) + S(19) + "5.00 A" + S(17)}));
}

TEST_F(ReceiptLayout, NameOfExactly34CharactersIsNotWrapped) {
  const std::string name = Name80().substr(0, 34);
  sale& s = AddSale(c);
  s.nm = name;
  s.q = 1000;
  s.prc = 500;
  s.sm = 500;
  s.tx = "1";
  Render();
  ASSERT_EQ(Body().size(), 2u);
  EXPECT_EQ(Body()[0], "  " + name);
}

TEST_F(ReceiptLayout, CpGoodsKeepTheWholeNameAndWholeQuantity) {
  const std::string name = Name80().substr(0, 40);
  sale& s = AddCpSale(c);
  s.nm = name;
  s.q = 2000;
  s.prc = 500;
  s.sm = 1000;
  s.tx = "1";
  Render();
  // "2. X 5.00 =" is 11 characters: 46 padded, 48 with the prefix.
  EXPECT_TRUE(SameLines(Body(), {"  " + name, "  2. X 5.00 =" + S(19) + "10.00 A" + S(9)}));
}

TEST_F(ReceiptLayout, DiscountWithoutRateShowsTwoSpacesBeforeBase) {
  sale_up_down& d = AddDiscount(c);
  d.ty = 0;
  d.tr = 1;
  d.sm = 500;
  Render();
  // "  Знижка  на Суму" is 17 characters: 52 padded, 54 with the prefix; an empty group is "*".
  EXPECT_TRUE(SameLines(Body(), {Padded("    Знижка  на Суму             -5.00 *", 54)}));
}

TEST_F(ReceiptLayout, PercentDiscountOnTheTaxShowsItsRate) {
  sale_up_down& d = AddDiscount(c);
  d.pr = 10;
  d.ty = 1;
  d.tr = 2;
  d.sm = 250;
  d.tx = "2";
  Render();
  // "  Знижка -10.00% на Податок" is 27 characters: 62 padded, 64 with the prefix.
  EXPECT_TRUE(SameLines(Body(), {Padded("    Знижка -10.00% на Податок   -2.50 Б", 64)}));
}

TEST_F(ReceiptLayout, DiscountWithoutBaseShowsOnlyItsCaption) {
  sale_up_down& d = AddDiscount(c);
  d.pr = 3;
  d.sm = 100;
  d.tx = "1";
  Render();
  EXPECT_TRUE(SameLines(Body(), {W("    Знижка ") + S(21) + "-1.00 A" + S(7)}));
}

TEST_F(ReceiptLayout, PercentSurchargeShowsRateAndSign) {
  sale_up_down& s = AddSurcharge(c);
  s.pr = 5;
  s.ty = 1;
  s.sm = 100;
  s.tx = "1";
  Render();
  // "  Надбавка 5.00%" is 16 characters: 51 padded, 53 with the prefix.
  EXPECT_TRUE(SameLines(Body(), {Padded("    Надбавка 5.00%               1.00 A", 53)}));
}

TEST_F(ReceiptLayout, SurchargeOfAnAmountKeepsTheRateWithoutSign) {
  sale_up_down& s = AddSurcharge(c);
  s.pr = 5;
  s.ty = 0;
  s.tr = 1;
  s.sm = 100;
  s.tx = "1";
  Render();
  EXPECT_TRUE(SameLines(Body(), {W("    Надбавка 5.00") + S(16) + "1.00 A" + S(13)}));
}

TEST_F(ReceiptLayout, SurchargeWithoutTaxGroupFailsTheReceipt) {
  AddSurcharge(c).sm = 100;
  EXPECT_THROW(Render(), ConvertError);
  EXPECT_EQ(list.lines.size(), 5u);  // the header stays
}

TEST_F(ReceiptLayout, CashInAndOutEndTheirAmountsInColumn37) {
  AddCashIn(c).sm = 10000;
  AddCashOut(c).sm = 10000;
  Render();
  EXPECT_TRUE(SameLines(Body(), {Padded("  Внесок                       100.00", 43),
                                 Padded("  Видача                      -100.00", 43)}));
}

TEST_F(ReceiptLayout, CommentIsPrintedAsItIs) {
  AddComment(c).text = W("Дякуємо за покупку!");
  Render();
  EXPECT_TRUE(SameLines(Body(), {W("  Дякуємо за покупку!")}));
}

TEST_F(ReceiptLayout, ServiceInfoIsDecodedFromBase64) {
  sale_serv_info& h = AddServiceInfo(c);
  h.ht = "QR";
  h.text = "1euz4Q==";
  Render();
  EXPECT_TRUE(SameLines(Body(), {W("  QR Хліб")}));
}

TEST_F(ReceiptLayout, BarBitLineServiceInfoKeepsItsRawText) {
  sale_serv_info& h = AddServiceInfo(c);
  h.ht = "BarBitLine";
  h.text = "1euz4Q==";
  Render();
  EXPECT_TRUE(SameLines(Body(), {"  BarBitLine 1euz4Q=="}));
}

TEST_F(ReceiptLayout, ServiceInfoShowsItsRawTextInTheCashDocumentLayout) {
  c.t = 2;
  sale_serv_info& h = AddServiceInfo(c);
  h.ht = "QR";
  h.text = "1euz4Q==";
  Render(Layout::CashDocument);
  EXPECT_TRUE(SameLines(Body(), {"  1euz4Q=="}));
}

TEST_F(ReceiptLayout, MissingLineNumberRendersNothingAndTheNextLineFollows) {
  AddComment(c).text = "first";
  // A line element without N: counted, but never placed in the line order.
  c.comments[c.comment_key++].text = "unplaced";
  ++c.line_no;
  AddComment(c).text = "third";
  ASSERT_EQ(c.LineCount(), 3);
  Render();
  EXPECT_TRUE(SameLines(Body(), {"  first", "  third"}));
}

TEST_F(ReceiptLayout, TaxGroupOutsideTheTableShowsTooManyParameters) {
  sale& s = AddSale(c);
  s.nm = W("Сіль");
  s.sm = 300;
  s.tx = "9";
  Render();
  // "Сіль" and seven spaces: 46 padded, 48 with the prefix; the value fills columns 17 to 37.
  EXPECT_TRUE(SameLines(Body(), {Padded("  Сіль            3.00 Много параметров", 48)}));
}

TEST_F(ReceiptLayout, GoodsWithATaxGroupThatIsNoIntegerFailAfterTheHeader) {
  sale& s = AddSale(c);
  s.nm = "Tea";
  s.sm = 300;
  s.tx = "A";
  EXPECT_THROW(Render(), ConvertError);
  EXPECT_EQ(list.lines.size(), 5u);
}

TEST_F(ReceiptLayout, TotalsWithoutTaxRecordsAddTwoSeparators) {
  sale_end& end = AddEnd(c);
  end.sm = 1875;
  end.tx = "1";
  end.txpr = 20;
  end.txsm = 312;
  end.txal = 0;
  Render();
  EXPECT_TRUE(SameLines(
      Body(), {kSeparator, Padded("  Сума                          18.75", 56),
               Padded("       ПДВ_A A =20.00%           3.12", 52), kSeparator, kSeparator}));
}

TEST_F(ReceiptLayout, TotalsWithExciseShowTheExciseLineAfterTheTax) {
  sale_end& end = AddEnd(c);
  end.sm = 1875;
  end.tx = "1";
  end.dtpr = 20;
  end.dtsm = 312;
  end.txal = 1;
  end.txpr = 5;
  end.txsm = 50;
  Render();
  EXPECT_TRUE(SameLines(
      Body(), {kSeparator, Padded("  Сума                          18.75", 56),
               Padded("       ПДВ_A A =20.00%           3.12", 52),
               W("  Акцз. збір Д = 5.00%") + S(11) + "0.50" + S(15), kSeparator, kSeparator}));
}

TEST_F(ReceiptLayout, TotalsListEveryTaxRecord) {
  sale_end& end = AddEnd(c);
  end.sm = 5000;
  tx& a = AddTax(end);
  a.tx = "1";
  a.txpr = 20;
  a.txsm = 500;
  tx& b = AddTax(end);
  b.tx = "2";
  b.txpr = 7;
  b.txsm = 140;
  Render();
  EXPECT_TRUE(
      SameLines(Body(), {kSeparator, Padded("  Сума                          50.00", 56),
                         Padded("       ПДВ_A A =20.00%           5.00", 52),
                         W("       ПДВ_Б Б = 7.00%") + S(11) + "1.40" + S(15), kSeparator}));
}

TEST_F(ReceiptLayout, TaxRecordWithATaxGroupThatIsNoIntegerFailsTheReceipt) {
  sale_end& end = AddEnd(c);
  AddTax(end).tx = "x";
  EXPECT_THROW(Render(), ConvertError);
  // Header, separator and the sum line were added before the failure.
  ASSERT_EQ(list.lines.size(), 7u);
  EXPECT_EQ(list.lines[5], kSeparator);
}

TEST_F(ReceiptLayout, CancelledSaleShowsTheMarkInsteadOfTotalsAndNoFiscalCaption) {
  sale_end& end = AddEnd(c);
  end.no = 12;
  end.vd = 1;
  end.sm = 1000;
  sale_pay& p = AddPayment(c);
  p.nm = W("ГОТІВКА");
  p.sm = 1000;
  Render();
  EXPECT_TRUE(SameLines(
      Middle(list, 5, 0),
      {W("       * ЧЕК АНУЛЬОВАНО *"), Padded("  ГОТІВКА                       10.00", 50),
       Padded("  000000012         05.03.2016  14:07", 54), kSeparator, kSeparator}));
}

TEST_F(ReceiptLayout, ReturnReceiptHasTheReturnHeadingAndTheExpenseCaption) {
  c.t = 1;
  Render();
  EXPECT_TRUE(
      SameLines(Middle(list, 4, 0), {kSeparator, W("               ПОВЕРНЕННЯ"), kSeparator,
                                     Padded("  000000005         05.03.2016  14:07", 54),
                                     W("         ВИДАТКОВИЙ ЧЕК"), kSeparator, kSeparator}));
}

TEST_F(ReceiptLayout, ServiceReceiptHasNoTotalsAndTheServiceCaption) {
  c.t = 2;
  AddEnd(c).sm = 1000;
  Render();
  EXPECT_TRUE(SameLines(Middle(list, 5, 0), {Padded("  000000005         05.03.2016  14:07", 54),
                                             W("         СЛУЖБОВИЙ ЧЕК"), kSeparator, kSeparator}));
}

TEST_F(ReceiptLayout, UnknownReceiptTypeHasNoCaption) {
  c.t = 3;
  Render();
  EXPECT_TRUE(SameLines(Middle(list, 5, 0), {Padded("  000000005         05.03.2016  14:07", 54),
                                             kSeparator, kSeparator}));
}

TEST_F(ReceiptLayout, CreditPaymentShowsTheTransaction) {
  sale_pay& p = AddPayment(c);
  p.nm = W("КРЕДИТ");
  p.sm = 2000;
  p.rrn = "123456789012";
  Render();
  // "  КРЕДИТ" and six spaces are 14 characters: 49 padded.
  EXPECT_TRUE(SameLines(Body(), {Padded("  КРЕДИТ                        20.00", 49),
                                 W("  Транзакція N"), "  123456789012"}));
}

TEST_F(ReceiptLayout, PaymentsAreNotShownInTheCashDocumentLayout) {
  c.t = 2;
  AddPayment(c).sm = 100;
  AddEnd(c).sm = 100;
  Render(Layout::CashDocument);
  EXPECT_TRUE(Body().empty());
}

TEST_F(ReceiptLayout, DocumentWithoutStampShowsOnlyTheSeparatorsEndingInColumn37) {
  document.ts.value.clear();
  Render();
  ASSERT_EQ(list.lines.size(), 9u);
  EXPECT_TRUE(SameLine(list.lines[5], "  000000005" + S(21) + "..  :" + S(17)));
}

TEST_F(ReceiptLayout, CashDeskNumbersBelowTenGetALeadingZero) {
  c.end.cs = 7;
  Render();
  EXPECT_EQ(list.lines[3], W("         Касир Каса07"));
  list.Clear();
  c.end.cs = 10;
  Render();
  EXPECT_EQ(list.lines[3], W("         Касир Каса10"));
}

TEST_F(ReceiptLayout, CashDocumentLayoutHasItsOwnDeskLine) {
  c.t = 2;
  c.end.cs = 7;
  Render(Layout::CashDocument);
  EXPECT_EQ(list.lines[3], W("            Каса07"));
  list.Clear();
  c.end.cs = 10;
  Render(Layout::CashDocument);
  EXPECT_EQ(list.lines[3], W("            Каса10"));
}

TEST_F(ReceiptLayout, CashDocumentShowsCashLinesAndServiceCaption) {
  c.t = 2;
  AddCashIn(c).sm = 10000;
  c.end.no = 3;
  Render(Layout::CashDocument);
  EXPECT_TRUE(
      SameLines(list.lines, {W("          ДП \"Компанія VERNO\""), W("                м.Київ"),
                             W("     ЗН ЖЛ00001234  ФН 3000012345"), W("            Каса01"),
                             kSeparator, Padded("  Внесок                       100.00", 43),
                             Padded("  000000003         05.03.2016  14:07", 54),
                             W("         СЛУЖБОВИЙ ЧЕК"), kSeparator, kSeparator}));
}

TEST_F(ReceiptLayout, NegativeAmountKeepsItsSignInTheColumn) {
  AddCashIn(c).sm = -10000;
  Render();
  EXPECT_TRUE(SameLines(Body(), {Padded("  Внесок                      -100.00", 43)}));
}

TEST_F(ReceiptLayout, AmountThatRoundsShowsTheRoundedKopeck) {
  AddCashIn(c).sm = 1999.6f;
  Render();
  EXPECT_TRUE(SameLines(Body(), {Padded("  Внесок                        20.00", 43)}));
}

TEST_F(ReceiptLayout, TinyNegativeAmountIsNeverMinusZero) {
  AddCashIn(c).sm = -0.4f;
  Render();
  EXPECT_TRUE(SameLines(Body(), {Padded("  Внесок                         0.00", 43)}));
}

TEST_F(ReceiptLayout, AmountBeyondNineWholeDigitsTurnsToExponentForm) {
  AddCashIn(c).sm = 1e10f;            // 100000000.00: nine whole digits stay fixed-point
  AddCashIn(c).sm = 137438953472.0f;  // 2^37 kopecks: 1374389534.72, ten whole digits
  AddCashIn(c).sm = -137438953472.0f;
  Render();
  EXPECT_TRUE(SameLines(Body(), {Padded("  Внесок                 100000000.00", 43),
                                 W("  Внесок") + S(17) + "1.37438953E9" + S(6),
                                 W("  Внесок") + S(16) + "-1.37438953E9" + S(6)}));
}

}  // namespace
}  // namespace morvek::test
