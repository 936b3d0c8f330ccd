// The Z-report as the register prints it, and the numbers it records in the window's tables.
// Expected lines keep the trailing spaces PlaceRight's padding leaves: a text of n < 38
// characters becomes n + 35 characters long.
#include <gtest/gtest.h>

#include <map>
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

class ZReportLayout : public RenderFixture {
 protected:
  ZReportLayout() : document(AddZReportDocument(3, 10)), z(document.zvits[0]) {}

  void Render(int walkIndex = 0) { MakeRenderer().RenderZReport(list, 0, walkIndex); }
  // The lines between the five heading lines and the four footer lines.
  std::vector<std::string> Body() { return Middle(list, 5, 4); }

  dat& document;
  zvit& z;
};

TEST_F(ZReportLayout, ReportWithoutTotalsPrintsZeroLinesAndNoRates) {
  Render();
  EXPECT_TRUE(SameLines(list.lines, {
                                        W("          ДП \"Компанія VERNO\""),
                                        W("                м.Київ"),
                                        W("     ЗН ЖЛ00001234  ФН 3000012345"),
                                        W("           Z-звіт N 3"),
                                        W("              ЗАГАЛОМ"),
                                        W("  ------        Податок       Обіг"),
                                        "                    0.00      0.00",
                                        W("  Чеків продажу 0"),
                                        "                    0.00      0.00",
                                        W("  Чеків повернення 0"),
                                        W("  Податок     від "),
                                        // "        " pads to 43; the stamp ends in column 37
                                        S(20) + "05.03.2016  23:59" + S(6),
                                        W("         ФІСКАЛЬНИЙ ЧЕК"),
                                        kSeparator,
                                        kSeparator,
                                    }));
}

TEST_F(ZReportLayout, FullReportMatchesThePrintedImageLineForLine) {
  vid_pay& cash = AddPay(z);
  cash.nm = W("ГОТІВКА");
  cash.smi = 150000;
  vid_rotate& service = AddRotate(z);
  service.nm = W("СЛУЖБОВЕ");
  service.smo = 5000;
  service.smi = 10000;
  service.smt = 20000;
  vid_tax& vat = AddTax(z);
  vat.tx = "1";
  vat.ts = "201603050000";
  vat.txpr = 20;
  vat.txi = 25000;
  vat.smi = 150000;
  vat.smo = 3000;
  AddCount(z).ni = 12;

  Render();

  EXPECT_TRUE(SameLines(Body(), {
                                    W("  ------      Повернення    Продаж"),
                                    Padded("  ГОТІВКА           0.00      1500.00", 44),
                                    Padded("  ВСЬОГО            0.00      1500.00", 54),
                                    W("  ------         Видача     Внесок"),
                                    Padded("  СЛУЖБОВЕ         50.00       100.00", 45),
                                    Padded("  Готівка в касі               200.00", 72),
                                    W("  ------        Податок       Обіг"),
                                    Padded("  ДОД. A          250.00      1500.00", 43),
                                    W("  Чеків продажу 12"),
                                    Padded("  ВІД. A            0.00        30.00", 43),
                                    W("  Чеків повернення 0"),
                                    W("  Податок     від ") + S(7) + "05.03.2016  " + S(16),
                                    Padded("            ПДВ_A (Вкл) A =    20.00%", 63),
                                }));
}

TEST_F(ZReportLayout, PaymentFormsAreSummedIntoTheTotalLine) {
  vid_pay& cash = AddPay(z);
  cash.nm = W("ГОТІВКА");
  cash.smi = 150000;
  vid_pay& card = AddPay(z);
  card.nm = W("КАРТКА");
  card.smi = 2550;
  card.smo = 1000;
  Render();
  ASSERT_GE(list.lines.size(), 9u);
  EXPECT_TRUE(SameLines(
      {list.lines.begin() + 5, list.lines.begin() + 9},
      {W("  ------      Повернення    Продаж"), Padded("  ГОТІВКА           0.00      1500.00", 44),
       W("  КАРТКА") + S(11) + "10.00" + S(8) + "25.50" + S(6),
       W("  ВСЬОГО           ") + "10.00" + S(6) + "1525.50" + S(17)}));
}

TEST_F(ZReportLayout, ExciseGroupAddsAnExciseLineAndMovesTheLetterOn) {
  vid_tax& x = AddTax(z);
  x.tx = "1";
  x.dti = 500;
  x.txi = 1000;
  x.smi = 20000;
  x.dtpr = 5;
  x.txpr = 20;
  Render();
  const std::vector<std::string> body = Body();
  ASSERT_EQ(body.size(), 9u);
  EXPECT_TRUE(SameLines({body.begin() + 1, body.begin() + 3},
                        {Padded("  ДОД. A            5.00       190.00", 43),
                         Padded("  ДОД. Б           10.00       200.00", 43)}));
  EXPECT_TRUE(SameLines({body.begin() + 7, body.end()},
                        {Padded("    Акцизний збір (Вк2) A =     5.00%", 63),
                         Padded("            ПДВ_Б (Вкл) Б =    20.00%", 63)}));
}

TEST_F(ZReportLayout, ReturnsHaveNoExciseLine) {
  vid_tax& x = AddTax(z);
  x.tx = "1";
  x.dti = 500;
  x.dto = 200;
  x.smo = 3000;
  Render();
  const std::vector<std::string> body = Body();
  ASSERT_GE(body.size(), 5u);
  EXPECT_TRUE(SameLine(body[4], Padded("  ВІД. A            2.00        30.00", 43)));
  EXPECT_EQ(body[5], W("  Чеків повернення 0"));
}

TEST_F(ZReportLayout, RateWithoutExciseIsASingleVatLine) {
  vid_tax& x = AddTax(z);
  x.tx = "1";
  x.txpr = 20;
  Render();
  const std::vector<std::string> body = Body();
  ASSERT_FALSE(body.empty());
  EXPECT_TRUE(SameLine(body.back(), Padded("            ПДВ_A (Вкл) A =    20.00%", 63)));
  EXPECT_TRUE(SameLine(body[body.size() - 2], W("  Податок     від ") + S(15) + "..  " + S(16)))
      << "an empty stamp of the tax record gives only its separators";
}

TEST_F(ZReportLayout, GroupSixWithExciseShowsTooManyParametersOnItsSecondSalesLine) {
  vid_tax& x = AddTax(z);
  x.tx = "6";
  x.dti = 500;
  x.txi = 1000;
  x.smi = 20000;
  Render();
  const std::vector<std::string> body = Body();
  ASSERT_GE(body.size(), 3u);
  EXPECT_TRUE(SameLine(body[1], Padded("  ДОД. *            5.00       190.00", 43)));
  // "  ДОД. Много параметров" is 23 characters (58 padded); the amount overwrites its end.
  EXPECT_TRUE(SameLine(body[2], W("  ДОД. Много параме") + "10.00" + S(7) + "200.00" + S(21)));
}

TEST_F(ZReportLayout, ReceiptCountsAreWrittenOneAfterTheOther) {
  count_check& a = AddCount(z);
  a.ni = 12;
  a.no = 1;
  count_check& b = AddCount(z);
  b.ni = 3;
  b.no = 0;
  Render();
  const std::vector<std::string> body = Body();
  ASSERT_EQ(body.size(), 6u);
  EXPECT_EQ(body[2], W("  Чеків продажу 123"));
  EXPECT_EQ(body[4], W("  Чеків повернення 10"));
}

TEST_F(ZReportLayout, TaxGroupThatIsNoIntegerFailsAfterTheLinesSoFar) {
  AddTax(z).tx = "x";
  EXPECT_THROW(Render(), ConvertError);
  ASSERT_EQ(list.lines.size(), 6u);
  EXPECT_EQ(list.lines.back(), W("  ------        Податок       Обіг"));
}

TEST_F(ZReportLayout, LargeAndNegativeAmountsKeepTheirColumns) {
  vid_pay& cash = AddPay(z);
  cash.nm = W("ГОТІВКА");
  cash.smi = 2e11f;
  cash.smo = -1000;
  Render();
  ASSERT_GE(list.lines.size(), 7u);
  EXPECT_TRUE(SameLine(list.lines[6], W("  ГОТІВКА") + S(9) + "-10.00" + S(10) + "2E9" + S(7)));
}

TEST_F(ZReportLayout, NumberIsRecordedUnderTheWalkIndexAndMarkedShown) {
  Render(4);
  EXPECT_EQ(tables.zNumberByPosition.Snapshot(), (std::map<int, int>{{4, 3}}));
  EXPECT_EQ(tables.shownZNumbers.Snapshot(), (std::map<int, int>{{3, 1}}));
  EXPECT_TRUE(tables.zNumberByPosition.IsFilled());
}

TEST_F(ZReportLayout, RenderedAgainItIsRecordedAgainUnderTheNewWalkIndex) {
  Render(2);
  Render(5);
  EXPECT_EQ(tables.zNumberByPosition.Snapshot(), (std::map<int, int>{{2, 3}, {5, 3}}));
  EXPECT_EQ(tables.zNumberByPosition.Count(), 2);
  EXPECT_EQ(tables.shownZNumbers.Count(), 2);
}

TEST_F(ZReportLayout, NumberFirstRecordedUnderKeyZeroIsNotRecordedAgain) {
  Render(0);
  Render(5);
  EXPECT_EQ(tables.zNumberByPosition.Snapshot(), (std::map<int, int>{{0, 3}}));
  EXPECT_EQ(tables.zNumberByPosition.Count(), 1);
  EXPECT_EQ(tables.shownZNumbers.Count(), 1);
}

TEST_F(ZReportLayout, NumberStandingUnderKeyZeroLeavesBothTablesAlone) {
  tables.zNumberByPosition.Set(0, 3);
  Render(7);
  EXPECT_EQ(tables.zNumberByPosition.Snapshot(), (std::map<int, int>{{0, 3}}));
  EXPECT_FALSE(tables.shownZNumbers.IsFilled());
  EXPECT_EQ(list.lines[3], W("           Z-звіт N 3"));
}

}  // namespace
}  // namespace morvek::test
