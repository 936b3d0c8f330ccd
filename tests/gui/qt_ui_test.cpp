// The Qt Ui: message boxes with the core's Windows-1251 texts, the report of an unhandled error,
// the Yes/No question, the save dialog; and handlers whose failures end at that report.
#include <QLineEdit>
#include <QTest>
#include <stdexcept>

#include "dialog_answerer.h"
#include "gui/retrieval_view.h"
#include "gui_fixture.h"
#include "gui_tests.h"
#include "test_support.h"

namespace morvek::gui::test {

using morvek::test::W;

class QtUiTest : public QObject {
  Q_OBJECT

 private slots:
  void MessagesShowTheTextsInUnicode() {
    DialogAnswerer answerer;
    QtUi ui;
    ui.ShowMessageBox(W("Печать требует затрат бумажной ленты"), W("Продолжить?"));
    ui.ShowMessage(W("Файл morvek.ini отсутствует.\n Создание файла!"));
    QCOMPARE(answerer.texts,
             QStringList({QString::fromUtf8("Печать требует затрат бумажной ленты"),
                          QString::fromUtf8("Файл morvek.ini отсутствует.\n Создание файла!")}));
    QCOMPARE(answerer.titles, QStringList({QString::fromUtf8("Продолжить?"), "morvek"}));
  }

  void QuestionReturnsTheOperatorsAnswer() {
    DialogAnswerer answerer;
    QtUi ui;
    answerer.answerYes = true;
    QVERIFY(ui.AskYesNo(W("Печать требует затрат бумажной ленты"), W("Продолжить?")));
    answerer.answerYes = false;
    QVERIFY(!ui.AskYesNo(W("Печать требует затрат бумажной ленты"), W("Продолжить?")));
    QCOMPARE(answerer.texts.size(), 2);
  }

  void UnhandledErrorEndsWithAFullStopUnderTheProgramsTitle() {
    DialogAnswerer answerer;
    QtUi ui;
    ui.ShowUnhandledError(W("'1x' is not a valid integer value"));
    ui.ShowUnhandledError("Cannot create file out.txt.");
    QCOMPARE(answerer.texts,
             QStringList({"'1x' is not a valid integer value.", "Cannot create file out.txt."}));
    QCOMPARE(answerer.titles, QStringList({"morvek", "morvek"}));
  }

  void SaveDialogAddsTheDefaultExtension() {
    DialogAnswerer answerer;
    morvek::test::TempDir folder;
    answerer.saveAs = QString::fromStdString(folder.File("tape"));
    QtUi ui;
    const auto chosen = ui.PromptSaveFile({"*.txt", "*.txt", "txt"});
    QVERIFY(chosen.has_value());
    QCOMPARE(QString::fromStdString(*chosen), QString::fromStdString(folder.File("tape.txt")));
    answerer.saveAs.clear();
    QVERIFY(!ui.PromptSaveFile({"*.txt", "*.txt", "txt"}).has_value());
  }

  void AFailingHandlerIsReportedAndTheProgramCarriesOn() {
    DialogAnswerer answerer;
    DesktopFixture f;
    f.desktop->Run([] { throw std::runtime_error("Bad journal"); });
    f.app.Form53.Edit1.text = "42";
    f.desktop->Run([&f] { f.app.Form53.Edit2.text = f.app.Form53.Edit1.text; });
    QCOMPARE(answerer.texts, QStringList({"Bad journal."}));
    QCOMPARE(f.desktop->retrieval().Edit2->text(), QString("42"));
  }
};

static RegisterTestClass<QtUiTest> registered;

}  // namespace morvek::gui::test

#include "qt_ui_test.moc"
