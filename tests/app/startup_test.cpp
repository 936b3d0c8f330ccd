// Start-up and the main window's life: the settings file, the address field, the choices, the
// close that ends the program, and the About box.
#include <gtest/gtest.h>

#include "app/application.h"
#include "test_support.h"

namespace morvek {
namespace {

using test::ReadFile;
using test::RecordingUi;
using test::TempDir;
using test::W;
using test::WriteFile;

const std::string kCreating = "Файл morvek.ini отсутствует.\n Создание файла!";

struct Program {
  explicit Program(const std::string& dir) : app(ui) {
    app.Form2.workDir = dir;
    app.Create();
    app.Form3.FormActivate();
  }
  RecordingUi ui;
  Application app;
};

TEST(StartUp, FirstStartInAnEmptyFolderCreatesTheSettingsFileOnce) {
  TempDir dir;
  Program program(dir.path());
  EXPECT_EQ(program.ui.messages, std::vector<std::string>{W(kCreating)});
  EXPECT_EQ(ReadFile(dir.File("morvek.ini")), "[Connection]\r\nIPAddres=127.0.0.1\r\n");
  EXPECT_EQ(program.app.Form3.Edit1.text, "127.0.0.1");
  program.app.Form3.FormActivate();
  EXPECT_EQ(program.ui.messages.size(), 1u);
}

TEST(StartUp, AFullDottedAddressReachesTheAddressFieldWhole) {
  TempDir dir;
  WriteFile(dir.File("morvek.ini"), "[Connection]\r\nIPAddres=192.168.100.200\r\n");
  Program program(dir.path());
  EXPECT_EQ(program.app.Form3.Edit1.text, "192.168.100.200");
  EXPECT_TRUE(program.ui.messages.empty());
}

TEST(StartUp, TheAddressTypedAtClosingIsShownAtTheNextStart) {
  TempDir dir;
  {
    Program first(dir.path());
    bool quit = false;
    first.app.onQuit = [&] { quit = true; };
    first.app.Form3.Edit1.text = "10.1.2.3";
    first.app.Form3.Button1Click();
    EXPECT_TRUE(quit);
    EXPECT_TRUE(first.app.Closed());
  }
  Program next(dir.path());
  EXPECT_EQ(next.app.Form3.Edit1.text, "10.1.2.3");
}

TEST(StartUp, EveryActivationReloadsTheAddressFromTheFile) {
  TempDir dir;
  Program program(dir.path());
  program.app.Form3.Edit1.text = "typed";
  program.app.Form3.FormActivate();
  EXPECT_EQ(program.app.Form3.Edit1.text, "127.0.0.1");
}

TEST(StartUp, ASettingsFileThatCannotBeCreatedIsReportedAndTheWindowGoesOn) {
  TempDir dir;
  Program program(dir.File("missing/folder"));
  EXPECT_EQ(program.ui.errors.size(), 1u);
  EXPECT_EQ(program.app.Form3.Edit1.text, "");
  EXPECT_TRUE(program.app.Form3.Button1.enabled);
  EXPECT_TRUE(program.app.Form3.N5.enabled);
}

TEST(MainWindow, CreationSetsCaptionChoicesAndADisconnectedState) {
  RecordingUi ui;
  Application app(ui);
  app.Create();
  const TForm3& form = app.Form3;
  EXPECT_EQ(form.caption, W("Соединение с РРО вер. 1.30 от 29.01.2016"));
  EXPECT_EQ(form.GroupBox1.text, W("Подключение к  сокету TCP/IP"));
  EXPECT_EQ(form.RadioGroup1.itemIndex, 0);
  EXPECT_EQ(form.RadioGroup2.itemIndex, 1);
  EXPECT_EQ(form.RadioGroup2.items[1], W("Фиск. номер"));
  EXPECT_EQ(form.Shape1.color, Shape::kRed);
  EXPECT_EQ(form.Button3.caption, W("Подключить"));
  EXPECT_FALSE(form.N2.enabled);
  EXPECT_FALSE(app.Form1.ClientSocket1.IsActive());
}

TEST(MainWindow, ActivationShowsTheProbeCaptionWithTheButtonsDisabled) {
  TempDir dir;
  RecordingUi ui;
  Application app(ui);
  app.Form2.workDir = dir.path();
  app.Create();
  std::vector<std::string> painted;
  app.Form3.onRepaint = [&] {
    painted.push_back(app.Form3.caption);
    EXPECT_FALSE(app.Form3.Button1.enabled);
    EXPECT_FALSE(app.Form3.N5.enabled);
  };
  app.Form3.FormActivate();
  EXPECT_EQ(painted, std::vector<std::string>{W("Тестирование USB устройств: Шаг 1")});
  EXPECT_EQ(ui.sleptMs, 1100);
  EXPECT_EQ(app.Form3.caption, W("Соединение с РРО вер. 1.30 от 29.01.2016"));
  EXPECT_TRUE(app.Form3.Button1.enabled);
}

TEST(MainWindow, ProtocolOrIdentityChangeDiscardsLoadedDocuments) {
  RecordingUi ui;
  Application app(ui);
  app.Create();
  app.Form53.rq.doc_index = 3;
  app.Form3.RadioGroup1Click();
  EXPECT_EQ(app.Form53.rq.doc_index, 0);
  app.Form53.rq.doc_index = 3;
  app.Form3.Edit2Change();
  EXPECT_EQ(app.Form53.rq.doc_index, 0);
}

TEST(MainWindow, TheMenuShowsTheRetrievalWindowModally) {
  RecordingUi ui;
  Application app(ui);
  app.Create();
  int modalRuns = 0;
  app.Form53.onShowModal = [&] { ++modalRuns; };
  app.Form3.N45Click();
  EXPECT_EQ(modalRuns, 1);
  EXPECT_TRUE(app.Form53.visible);
}

TEST(AboutBox, NamesTheProgramAndItsVersion) {
  RecordingUi ui;
  Application app(ui);
  app.Create();
  bool shown = false;
  app.Form54.onShowModal = [&] {
    shown = true;
    app.Form54.FormActivate();
  };
  app.Form3.N5Click();
  EXPECT_TRUE(shown);
  EXPECT_EQ(app.Form54.caption, W("О программе morvek"));
  EXPECT_EQ(app.Form54.Label1.text, W("ПО morvek (вер. 1.30 от 29.01.2016)"));
  EXPECT_FALSE(app.Form54.Label2.text.empty());
}

}  // namespace
}  // namespace morvek
