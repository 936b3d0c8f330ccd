// ListBox2's model: appended lines reach the view as inserted rows, a refilled list as a reset,
// and the rows read as the Unicode of the Windows-1251 lines.
#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include "gui/list_box_model.h"
#include "gui_tests.h"
#include "test_support.h"

namespace morvek::gui::test {

using morvek::test::W;

class ListBoxModelTest : public QObject {
  Q_OBJECT

 private slots:
  void AppendedLinesArriveAsOneInsertionOfTheNewRows() {
    ListBox list;
    list.Add("first");
    ListBoxModel model(list);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    for (int i = 0; i < 1000; ++i) list.Add("line " + std::to_string(i));
    model.Refresh();
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted[0][1].toInt(), 1);
    QCOMPARE(inserted[0][2].toInt(), 1000);
    QCOMPARE(reset.count(), 0);
    QCOMPARE(model.rowCount(), 1001);
    QCOMPARE(model.data(model.index(1000), Qt::DisplayRole).toString(), QString("line 999"));
  }

  void IndexesOnlyTheShownRowsOfTheOneColumn() {
    ListBox list;
    list.Add("a");
    list.Add("b");
    ListBoxModel model(list);
    list.Add("not yet refreshed");
    const QModelIndex parent = model.index(0);
    const struct {
      int row, column;
      bool child, valid;
    } cases[] = {{0, 0, false, true},   {1, 0, false, true},  {2, 0, false, false},
                 {-1, 0, false, false}, {0, 1, false, false}, {0, 0, true, false}};
    for (const auto& c : cases) {
      const QModelIndex index = model.index(c.row, c.column, c.child ? parent : QModelIndex());
      QCOMPARE(index.isValid(), c.valid);
      if (c.valid) QCOMPARE(index.row(), c.row);
    }
  }

  void AClearedAndRefilledListResetsTheView() {
    ListBox list;
    list.Add("old one");
    list.Add("old two");
    ListBoxModel model(list);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    list.Clear();
    for (int i = 0; i < 3; ++i) list.Add("new");
    model.Refresh();
    QCOMPARE(reset.count(), 1);
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.data(model.index(0), Qt::DisplayRole).toString(), QString("new"));
  }

  void AnUnchangedListSignalsNothing() {
    ListBox list;
    list.Add("line");
    ListBoxModel model(list);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.Refresh();
    QCOMPARE(inserted.count() + reset.count(), 0);
  }

  void RowsReadAsUnicode() {
    ListBox list;
    list.Add(W("ФІСКАЛЬНИЙ ЧЕК   №"));
    ListBoxModel model(list);
    QCOMPARE(model.data(model.index(0), Qt::DisplayRole).toString(),
             QString::fromUtf8("ФІСКАЛЬНИЙ ЧЕК   №"));
  }

  void ARowGoneBeforeTheRefreshReadsEmpty() {
    ListBox list;
    list.Add("a");
    list.Add("b");
    ListBoxModel model(list);
    list.Clear();
    QVERIFY(!model.data(model.index(1), Qt::DisplayRole).isValid());
  }
};

static RegisterTestClass<ListBoxModelTest> registered;

}  // namespace morvek::gui::test

#include "list_box_model_test.moc"
