// The interface in Ukrainian: which language a start chooses, the windows' texts in it, switched
// while the program runs and kept for the next start, and the texts that stay as they are.
#include <gtest/gtest.h>

#include <optional>

#include "app/app_test_support.h"
#include "app/application.h"
#include "platform/translation.h"
#include "test_support.h"

namespace morvek {
namespace {

using test::ReadFile;
using test::TempDir;
using test::W;

struct ChoiceCase {
  std::optional<Language> option;
  const char* settings;
  const char* locale;
  Language chosen;
};

TEST(Language, TheOptionComesFirstThenTheSettingsFileThenTheLocaleThenRussian) {
  const auto ru = Language::kRussian, uk = Language::kUkrainian;
  const ChoiceCase cases[] = {
      {std::nullopt, "", "", ru},
      {std::nullopt, "", "C.UTF-8", ru},
      {std::nullopt, "", "ru_UA.UTF-8", ru},
      {std::nullopt, "", "uk_UA.UTF-8", uk},
      {std::nullopt, "", "uk", uk},
      {std::nullopt, "uk", "C", uk},
      {std::nullopt, "ru", "uk_UA.UTF-8", ru},
      {std::nullopt, "UK", "", ru},  // the file holds what the menu wrote: "uk" or "ru"
      {std::nullopt, "de", "uk_UA.UTF-8", uk},
      {ru, "uk", "uk_UA.UTF-8", ru},
      {uk, "ru", "C", uk},
  };
  for (const ChoiceCase& c : cases)
    EXPECT_EQ(ChooseLanguage(c.option, c.settings, c.locale), c.chosen)
        << c.settings << " / " << c.locale;
}

// Ukrainian for one test, Russian again however it ends.
struct InUkrainian {
  InUkrainian() { SetLanguage(Language::kUkrainian); }
  ~InUkrainian() { SetLanguage(Language::kRussian); }
};

TEST(Language, TextsInBothEncodingsFollowTheLanguageAndUnknownOnesStayAsTheyAre) {
  EXPECT_EQ(Tr("Подключить"), "Подключить");
  EXPECT_EQ(TrCp1251(W("Подключить")), W("Подключить"));
  InUkrainian ukrainian;
  EXPECT_EQ(Tr("Подключить"), "Підключити");
  EXPECT_EQ(TrCp1251(W("Подключить")), W("Підключити"));
  EXPECT_EQ(std::string("Файл morvek.ini отсутствует.\n Создание файла!"_tr),
            W("Файл morvek.ini відсутній.\n Створення файлу!"));
  EXPECT_EQ(Tr("Текст, которого нет в переводе"), "Текст, которого нет в переводе");
  EXPECT_GT(TranslatedTexts(Language::kUkrainian), 150u);
}

TEST(Language, AStartInUkrainianShowsItsWindowsAndMessagesInUkrainian) {
  InUkrainian ukrainian;
  test::StartedApp program;
  const Application& app = program.app;
  EXPECT_EQ(app.Form3.caption, W("З'єднання з РРО вер. 1.30 від 29.01.2016"));
  EXPECT_EQ(app.Form3.Button3.caption, W("Підключити"));
  EXPECT_EQ(app.Form3.N7.caption, W("Мова"));
  EXPECT_EQ(app.Form53.ComboBox1.text, W("Чек+Z-звіт"));
  EXPECT_EQ(app.Form5.Button1.caption, W("Перервати"));
  EXPECT_EQ(app.Form54.Button1.caption, W("Закрити"));
  EXPECT_EQ(app.FormArchive.caption, W("Архів"));
}

TEST(Language, TheMenuSwitchesEveryWindowAtOnceAndKeepsTheChoiceBesideTheAddress) {
  test::StartedApp program;
  Application& app = program.app;
  const TempDir& dir = program.dir;
  app.Form53.ComboBox1.Select(0);
  app.Form3.Shape1.color = Shape::kLime;  // connected: the button offers to disconnect
  app.Form3.Button3.caption = W("Отключить");

  app.Form3.ChooseLanguage(Language::kUkrainian);
  EXPECT_EQ(CurrentLanguage(), Language::kUkrainian);
  EXPECT_EQ(app.Form3.caption, W("З'єднання з РРО вер. 1.30 від 29.01.2016"));
  EXPECT_EQ(app.Form3.Button3.caption, W("Відключити"));
  EXPECT_EQ(app.Form53.Button1.caption, W("Отримати"));
  EXPECT_EQ(app.Form53.ComboBox1.itemIndex, 0);
  EXPECT_EQ(app.Form53.ComboBox1.text, W("Z-звіт"));
  EXPECT_EQ(app.Form5.Label1.text, W("Запит з'єднання:"));
  EXPECT_EQ(ReadFile(dir.File("morvek.ini")),
            "[Connection]\r\nIPAddres=127.0.0.1\r\n[Language]\r\nLang=uk\r\n");

  app.Form3.ChooseLanguage(Language::kRussian);
  EXPECT_EQ(app.Form3.caption, W("Соединение с РРО вер. 1.30 от 29.01.2016"));
  EXPECT_EQ(app.Form3.Button3.caption, W("Отключить"));
  EXPECT_EQ(app.Form53.ComboBox1.text, W("Z-отчет"));
  EXPECT_EQ(ReadFile(dir.File("morvek.ini")),
            "[Connection]\r\nIPAddres=127.0.0.1\r\n[Language]\r\nLang=ru\r\n");
}

}  // namespace
}  // namespace morvek
