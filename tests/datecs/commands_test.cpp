// The Datecs command captions and the parameter texts the entry points send.
#include <gtest/gtest.h>

#include "datecs/commands.h"
#include "datecs/driver_fixture.h"
#include "datecs/fake_register.h"

namespace morvek::test {
namespace {

TEST(DatecsCommandCaption, KnowsItsSixtySixCodesAndCallsTheRestInvalid) {
  int known = 0;
  for (int code = -1; code <= 0x100; ++code)
    if (DatecsCommandCaption(code) != W("Неверная команда")) ++known;
  EXPECT_EQ(known, 66);
  EXPECT_EQ(DatecsCommandCaption(0x22), W("Неверная команда"));
  EXPECT_EQ(DatecsCommandCaption(0xFF), W("Неверная команда"));
  EXPECT_EQ(DatecsCommandCaption(0x34), W("Регистрация продажи  и вывод на дисплей"));
  EXPECT_EQ(DatecsCommandCaption(0x62), W("Установить налоговый или иденификационный номер"));
  EXPECT_EQ(DatecsCommandCaption(0xEE),
            W("Команда EEh: Вывод интервала документов в электронном виде по дате"));
}

using DatecsEntryPoints = DatecsDriverTest;

TEST_F(DatecsEntryPoints, SendTheirParameterTextsWithoutThePassword) {
  std::vector<std::string> frames;
  DatecsFakeRegister peer({[&](DatecsPeerConnection& c) {
    for (int i = 0; i < 5; ++i) {
      frames.push_back(c.ReadFrame());
      if (frames.back().size() < 4) return;
      c.Send(DatecsReply(static_cast<std::uint8_t>(frames.back()[2]),
                         static_cast<std::uint8_t>(frames.back()[3]), ""));
    }
  }});
  ConnectTo(peer.port());
  const auto callback = Deliver();
  driver.DatecsGetDiagnostics(callback, 0, 0);
  driver.DatecsGetDiagnostics(callback, 5, 2);
  EXPECT_EQ(last.callerTag, 5);
  driver.DatecsGetDocument(callback, "secret", 1, 5, 0);
  driver.DatecsGetDocumentsByDate(callback, "secret", "050324", "0000", "060324", "0905", 0);
  driver.DatecsPrintInterval(callback, "secret", 7, 3);
  peer.Stop();
  ASSERT_EQ(frames.size(), 5u);
  const std::vector<std::pair<int, std::string>> expected = {{0x5A, "0"},
                                                             {0x5A, "1"},
                                                             {0xA7, "1,5,0"},
                                                             {0xEE, "050324,0000,060324,0905,0"},
                                                             {0xEB, "7,3"}};
  for (std::size_t i = 0; i < frames.size(); ++i) {
    EXPECT_EQ(static_cast<std::uint8_t>(frames[i][3]), expected[i].first);
    EXPECT_EQ(frames[i].substr(4, frames[i].size() - 10), expected[i].second);
  }
  EXPECT_EQ(driver.deliveries, 5);
  EXPECT_EQ(last.commandName, W("Команда EBh: Печать интервала документов"));
}

}  // namespace
}  // namespace morvek::test
