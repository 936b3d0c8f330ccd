#pragma once
// The archive window "Архив": filters above a table of the archive's documents (a page at a time),
// the totals of the filtered set under it, the selected document's text image and the chart of
// daily sales and returns beside it, and the exports below.
#include <QWidget>
#include <memory>

#include "app/archive_window.h"
#include "gui/view.h"

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;

namespace morvek::gui {

class ArchiveTableModel;
class Desktop;
class WindowBinding;

class ArchiveView : public View {
 public:
  ArchiveView(ArchiveWindow& form, Desktop& desktop);
  ~ArchiveView() override;

  QWidget& widget() override { return window_; }
  void Refresh() override;

  // Reads the filter fields and shows the first page, the totals and the chart.
  void ApplyFilter();

  // The widgets, for the tests.
  QComboBox* RegisterBox = nullptr;  // "все", then each register
  QLineEdit* FromEdit = nullptr;
  QLineEdit* ToEdit = nullptr;
  QComboBox* KindBox = nullptr;
  QLineEdit* NumberFromEdit = nullptr;
  QLineEdit* NumberToEdit = nullptr;
  QLineEdit* TextEdit = nullptr;
  QPushButton* FindButton = nullptr;
  QTableView* Table = nullptr;
  QLabel* TotalsLabel = nullptr;
  QPlainTextEdit* DocumentText = nullptr;
  QChartView* ChartView = nullptr;
  QPushButton* CsvButton = nullptr;
  QPushButton* JsonButton = nullptr;
  QPushButton* PdfButton = nullptr;
  QPushButton* PrintButton = nullptr;
  QPushButton* CloseButton = nullptr;
  ArchiveTableModel& model() { return *model_; }

 private:
  QWidget* BuildFilters();
  QWidget* BuildButtons();
  void TakeBrowser();
  void ShowDocument();
  void Export(bool json);
  void Tell(const std::string& utf8Text);

  ArchiveWindow& form_;
  Desktop& desktop_;
  QWidget window_;
  std::unique_ptr<ArchiveTableModel> model_;
  QChart* chart_ = nullptr;
  const ArchiveBrowser* shown_ = nullptr;
  std::unique_ptr<WindowBinding> binding_;
};

}  // namespace morvek::gui
