// The desktop program in Ukrainian: every window's texts fit their controls, the "Мова" menu
// switches every window at once and keeps the choice, and Russian comes back as it was.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTest>

#include "dialog_answerer.h"
#include "gui/archive_view.h"
#include "gui/language.h"
#include "gui/main_window_view.h"
#include "gui/retrieval_view.h"
#include "gui/small_views.h"
#include "gui_fixture.h"
#include "gui_tests.h"
#include "loopback_peers.h"
#include "test_support.h"

namespace morvek::gui::test {

namespace {

// The width a text needs on one line: the widest of its lines, without the shortcut marks.
int Needed(const QFontMetrics& metrics, QString text) {
  text.remove('&');
  int widest = 0;
  for (const QString& line : text.split('\n'))
    widest = std::max(widest, metrics.horizontalAdvance(line));
  return widest;
}

// The room a control leaves its text, as its style draws it; -1 for a widget with no text.
int Room(QWidget& widget, QString& text) {
  if (auto* label = qobject_cast<QLabel*>(&widget)) {
    if (label->wordWrap()) return -1;
    text = label->text();
    return label->contentsRect().width() - 2 * label->margin();
  }
  if (auto* button = qobject_cast<QAbstractButton*>(&widget)) {
    text = button->text();
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = text;
    const QStyle::SubElement contents =
        qobject_cast<QRadioButton*>(button) ? QStyle::SE_RadioButtonContents
        : qobject_cast<QCheckBox*>(button)  ? QStyle::SE_CheckBoxContents
                                            : QStyle::SE_PushButtonContents;
    return button->style()->subElementRect(contents, &option, button).width();
  }
  if (auto* group = qobject_cast<QGroupBox*>(&widget)) {
    text = group->title();
    QStyleOptionGroupBox option;
    option.initFrom(group);
    option.text = text;
    option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    const QRect frame = group->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                       QStyle::SC_GroupBoxFrame, group);
    return frame.width() - 16;  // the title stands inset from the frame's corners
  }
  return -1;
}

// The controls of a shown window whose text is cut off, each as "text (needs N, has M)"; `checked`
// counts the texts looked at, so that a window with nothing to look at cannot pass unseen.
QStringList CutOff(QWidget& window, int& checked) {
  QStringList cut;
  for (QWidget* widget : window.findChildren<QWidget*>()) {
    if (!widget->isVisible()) continue;
    QString text;
    const int room = Room(*widget, text);
    if (room < 0 || text.isEmpty()) continue;
    ++checked;
    const int needed = Needed(widget->fontMetrics(), text);
    if (needed > room) cut << QString("%1 (needs %2, has %3)").arg(text).arg(needed).arg(room);
  }
  // The menu bar keeps every title in view, none moved into its overflow button.
  if (auto* main = qobject_cast<QMainWindow*>(&window)) {
    QMenuBar* bar = main->menuBar();
    for (QAction* action : bar->actions()) {
      ++checked;
      const QRect place = bar->actionGeometry(action);
      if (place.isEmpty() || place.right() >= bar->width()) cut << action->text() + " (menu bar)";
    }
  }
  return cut;
}

}  // namespace

class LanguageViewTest : public QObject {
  Q_OBJECT

 private:
  // Every window of the program shown at once, each with the texts its logic gives it.
  static std::vector<QWidget*> ShowEveryWindow(DesktopFixture& f) {
    Desktop& desktop = *f.desktop;
    f.app.Form4.caption = std::string("ВНИМАНИЕ!!!!"_tr);
    f.app.Form4.Label1.text = "ИДЁТ ЗАГРУЗКА ДАННЫХ...."_tr;
    f.app.Form5.Label2.text = "3 : 59";
    f.app.Form54.FormActivate();
    desktop.RefreshAll();
    std::vector<QWidget*> windows = {&desktop.mainWindow().widget(), &desktop.retrieval().widget(),
                                     &desktop.wait().widget(),       &desktop.notice().widget(),
                                     &desktop.about().widget(),      &desktop.archive().widget()};
    for (QWidget* window : windows) {
      window->show();
      if (!QTest::qWaitForWindowExposed(window, 2000)) return {};
    }
    return windows;
  }

  static void ExpectEveryTextFits() {
    DialogAnswerer answerer;
    DesktopFixture f;
    WriteSettings("127.0.40.9");
    f.desktop->Start();
    QVERIFY(WaitFor([&] { return f.app.Form3.Edit1.text == "127.0.40.9"; }));
    const std::vector<QWidget*> windows = ShowEveryWindow(f);
    QCOMPARE(windows.size(), 6u);
    for (QWidget* window : windows) {
      int checked = 0;
      const QStringList cut = CutOff(*window, checked);
      QVERIFY2(cut.isEmpty(), qPrintable(window->windowTitle() + ": " + cut.join("; ")));
      QVERIFY2(checked >= 1, qPrintable(window->windowTitle()));
      window->hide();
    }
  }

 private slots:
  void cleanup() { UseLanguage(Language::kRussian, {MORVEK_QM_DIR}); }

  void EveryWindowsTextFitsItsControlsInRussian() { ExpectEveryTextFits(); }

  void EveryWindowsTextFitsItsControlsInUkrainian() {
    QVERIFY(UseLanguage(Language::kUkrainian, {MORVEK_QM_DIR}));
    ExpectEveryTextFits();
  }

  void TheLanguageMenuSwitchesEveryWindowAndKeepsTheChoice() {
    morvek::test::TempDir dir;
    DialogAnswerer answerer;
    DesktopFixture f;
    f.desktop->translationFolders = {MORVEK_QM_DIR};
    f.app.Form2.workDir = dir.path();
    morvek::test::WriteFile(dir.File("morvek.ini"), "[Connection]\r\nIPAddres=127.0.40.9\r\n");
    f.desktop->Start();
    QVERIFY(WaitFor([&] { return f.app.Form3.Edit1.text == "127.0.40.9"; }));
    MainWindowView& main = f.desktop->mainWindow();
    QCOMPARE(main.N7->title(), QString::fromUtf8("Мова"));
    QVERIFY(main.Languages[0]->isChecked());
    const QString russianTitle = main.widget().windowTitle();

    main.Languages[1]->trigger();
    QCOMPARE(main.Button3->text(), QString::fromUtf8("Підключити"));
    QVERIFY(
        main.widget().windowTitle().startsWith(QString::fromUtf8("З'єднання з РРО вер. 1.30 від")));
    QVERIFY(main.Languages[1]->isChecked() && !main.Languages[0]->isChecked());
    // Texts of the logic, of the views alone, and of Qt's own widgets' translations.
    QCOMPARE(f.desktop->retrieval().Button1->text(), QString::fromUtf8("Отримати"));
    QCOMPARE(f.desktop->retrieval().ComboBox1->currentText(), QString::fromUtf8("Чек+Z-звіт"));
    QCOMPARE(f.desktop->archive().FindButton->text(), QString::fromUtf8("Знайти"));
    QCOMPARE(f.desktop->retrieval().CheckBox1->text(), QString::fromUtf8("Зберігати в архів"));
    QCOMPARE(f.desktop->archive().KindBox->itemText(0), QString::fromUtf8("будь-який"));
    const QStringList groups = [&] {
      QStringList titles;
      for (auto* group : f.desktop->retrieval().widget().findChildren<QGroupBox*>())
        titles << group->title();
      return titles;
    }();
    QVERIFY2(groups.contains(QString::fromUtf8("за номерами")), qPrintable(groups.join(", ")));
    const std::string chosen = morvek::test::ReadFile(dir.File("morvek.ini"));
    QVERIFY2(chosen.find("[Language]\r\nLang=uk\r\n") != std::string::npos, chosen.c_str());

    main.Languages[0]->trigger();
    QCOMPARE(main.Button3->text(), QString::fromUtf8("Подключить"));
    QCOMPARE(main.widget().windowTitle(), russianTitle);
    QCOMPARE(f.desktop->archive().FindButton->text(), QString::fromUtf8("Найти"));
    const std::string settings = morvek::test::ReadFile(dir.File("morvek.ini"));
    QVERIFY(settings.find("Lang=ru\r\n") != std::string::npos);
    QVERIFY(settings.find("IPAddres=127.0.40.9") != std::string::npos);
  }
};

static RegisterTestClass<LanguageViewTest> registered;

}  // namespace morvek::gui::test

#include "language_view_test.moc"
