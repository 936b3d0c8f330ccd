#include "gui/archive_view.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "gui/archive_chart.h"
#include "gui/archive_output.h"
#include "gui/archive_table_model.h"
#include "gui/desktop.h"
#include "gui/edit_mask.h"
#include "gui/qt_text.h"
#include "gui/retrieval_view.h"
#include "gui/window_binding.h"
#include "platform/translation.h"

namespace morvek::gui {

namespace {

QString Utf8(const std::string& text) {
  return QString::fromStdString(text);
}

QLineEdit* DateField(ViewTexts& texts) {
  auto* field = texts.Set(new QLineEdit, &QLineEdit::setToolTip, QtTrLater("дд.мм.гг"));
  field->setInputMask(RetrievalView::DateMask().inputMask);
  field->setMaximumWidth(80);
  return field;
}

QLineEdit* NumberField(ViewTexts& texts, const char* hint) {
  auto* field = texts.Set(new QLineEdit, &QLineEdit::setPlaceholderText, hint);
  field->setMaximumWidth(80);
  return field;
}

}  // namespace

ArchiveView::ArchiveView(ArchiveWindow& form, Desktop& desktop) : form_(form), desktop_(desktop) {
  window_.setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  model_ = std::make_unique<ArchiveTableModel>();
  model_->onFailure = [this](const std::string& message) { Tell(message); };

  Table = new QTableView;
  Table->setModel(model_.get());
  Table->setSelectionBehavior(QAbstractItemView::SelectRows);
  Table->setSelectionMode(QAbstractItemView::SingleSelection);
  Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Table->verticalHeader()->setVisible(false);
  Table->verticalHeader()->setDefaultSectionSize(22);
  Table->horizontalHeader()->setStretchLastSection(true);
  TotalsLabel = new QLabel;
  auto* left = new QWidget;
  auto* leftLayout = new QVBoxLayout(left);
  leftLayout->setContentsMargins(0, 0, 0, 0);
  leftLayout->addWidget(Table);
  leftLayout->addWidget(TotalsLabel);

  DocumentText = new QPlainTextEdit;
  DocumentText->setReadOnly(true);
  DocumentText->setFont(ListFont());
  DocumentText->setLineWrapMode(QPlainTextEdit::NoWrap);
  chart_ = new QChart;
  chart_->legend()->setAlignment(Qt::AlignBottom);
  texts.Add([this] { chart_->setTitle(QtTr("Продажи по дням (возвраты пунктиром)")); });
  ChartView = new QChartView(chart_);
  ChartView->setRenderHint(QPainter::Antialiasing);
  ChartView->setMinimumHeight(220);
  auto* right = new QSplitter(Qt::Vertical);
  right->addWidget(DocumentText);
  right->addWidget(ChartView);
  right->setSizes({360, 320});

  auto* panes = new QSplitter(Qt::Horizontal);
  panes->addWidget(left);
  panes->addWidget(right);
  panes->setStretchFactor(0, 3);
  panes->setStretchFactor(1, 2);

  auto* layout = new QVBoxLayout(&window_);
  layout->addWidget(BuildFilters());
  layout->addWidget(panes, 1);
  layout->addWidget(BuildButtons());
  window_.resize(1240, 740);

  QObject::connect(Table->selectionModel(), &QItemSelectionModel::currentRowChanged,
                   [this] { ShowDocument(); });
  binding_ = std::make_unique<WindowBinding>(form, *this, desktop);
  binding_->placement = WindowBinding::Placement::kScreenCentre;
  binding_->onCloseRequest = [this] {
    // The model lets go of the browser before the logic drops it.
    model_->SetBrowser(nullptr);
    shown_ = nullptr;
    desktop_.Run([this] { form_.FormClose(); });
    return true;
  };
  Refresh();
}

ArchiveView::~ArchiveView() {
  Table->setModel(nullptr);
}

QWidget* ArchiveView::BuildFilters() {
  auto* box = new QWidget;
  auto* row = new QHBoxLayout(box);
  row->setContentsMargins(0, 0, 0, 0);
  RegisterBox = new QComboBox;
  RegisterBox->setMinimumWidth(150);
  FromEdit = DateField(texts);
  ToEdit = DateField(texts);
  KindBox = new QComboBox;
  texts.Add([this] {
    const int chosen = KindBox->currentIndex();
    KindBox->clear();
    for (const std::string& kind : ArchiveKindChoices()) KindBox->addItem(Utf8(kind));
    KindBox->setCurrentIndex(std::max(chosen, 0));
  });
  NumberFromEdit = NumberField(texts, QtTrLater("с"));
  NumberToEdit = NumberField(texts, QtTrLater("по"));
  TextEdit = texts.Set(new QLineEdit, &QLineEdit::setPlaceholderText, QtTrLater("слова в тексте"));
  FindButton = texts.Set(new QPushButton, &QPushButton::setText, QtTrLater("Найти"));
  row->addWidget(texts.Caption(QtTrLater("Касса")));
  row->addWidget(RegisterBox);
  row->addWidget(texts.Caption(QtTrLater("Даты")));
  row->addWidget(FromEdit);
  row->addWidget(new QLabel(QStringLiteral("–")));
  row->addWidget(ToEdit);
  row->addWidget(texts.Caption(QtTrLater("Вид")));
  row->addWidget(KindBox);
  row->addWidget(texts.Caption(QtTrLater("Номера")));
  row->addWidget(NumberFromEdit);
  row->addWidget(NumberToEdit);
  row->addWidget(texts.Caption(QtTrLater("Текст")));
  row->addWidget(TextEdit, 1);
  row->addWidget(FindButton);
  QObject::connect(FindButton, &QPushButton::clicked, [this] { ApplyFilter(); });
  for (QLineEdit* field : {FromEdit, ToEdit, NumberFromEdit, NumberToEdit, TextEdit})
    QObject::connect(field, &QLineEdit::returnPressed, [this] { ApplyFilter(); });
  return box;
}

QWidget* ArchiveView::BuildButtons() {
  auto* box = new QWidget;
  auto* row = new QHBoxLayout(box);
  row->setContentsMargins(0, 0, 0, 0);
  CsvButton = texts.Set(new QPushButton, &QPushButton::setText, QtTrLater("В CSV..."));
  JsonButton = texts.Set(new QPushButton, &QPushButton::setText, QtTrLater("В JSON..."));
  PdfButton = texts.Set(new QPushButton, &QPushButton::setText, QtTrLater("В PDF..."));
  PrintButton = texts.Set(new QPushButton, &QPushButton::setText, QtTrLater("Печать..."));
  CloseButton = texts.Set(new QPushButton, &QPushButton::setText, QtTrLater("Закрыть"));
  for (QPushButton* button : {CsvButton, JsonButton, PdfButton, PrintButton})
    row->addWidget(button);
  row->addStretch();
  row->addWidget(CloseButton);
  QObject::connect(CsvButton, &QPushButton::clicked, [this] { Export(false); });
  QObject::connect(JsonButton, &QPushButton::clicked, [this] { Export(true); });
  QObject::connect(PdfButton, &QPushButton::clicked, [this] {
    if (!form_.browser) return;
    const std::string said = SavePdf(*form_.browser, desktop_.app().ui);
    if (!said.empty()) Tell(said);
  });
  QObject::connect(PrintButton, &QPushButton::clicked, [this] {
    if (!form_.browser) return;
    const std::string said = PrintDocuments(*form_.browser, desktop_.app().ui);
    if (!said.empty()) Tell(said);
  });
  QObject::connect(CloseButton, &QPushButton::clicked, [this] { window_.close(); });
  return box;
}

void ArchiveView::Refresh() {
  const QString caption = TextOr(form_.caption, "Архив");
  if (window_.windowTitle() != caption) window_.setWindowTitle(caption);
  if (form_.browser.get() != shown_) TakeBrowser();
}

void ArchiveView::TakeBrowser() {
  shown_ = form_.browser.get();
  model_->SetBrowser(form_.browser.get());
  DocumentText->clear();
  if (!form_.browser) return;
  RegisterBox->clear();
  RegisterBox->addItem(QtTr("все"), QString());
  try {
    for (const RegisterRecord& r : form_.browser->Registers()) {
      const std::string label =
          r.name.empty() ? r.fiscalNumber : r.name + " (" + r.fiscalNumber + ")";
      RegisterBox->addItem(Utf8(label), Utf8(r.fiscalNumber));
    }
  } catch (const std::exception& e) {
    Tell(std::string(Tr("Архив не читается: ")) + e.what());
  }
  ApplyFilter();
}

void ArchiveView::ApplyFilter() {
  if (!form_.browser) return;
  ArchiveFilter filter;
  filter.registerKey = RegisterBox->currentData().toString().toStdString();
  filter.from = MaskedText(RetrievalView::DateMask(), FromEdit->displayText());
  filter.to = MaskedText(RetrievalView::DateMask(), ToEdit->displayText());
  filter.kind = KindBox->currentIndex();
  filter.numberFrom = NumberFromEdit->text().toStdString();
  filter.numberTo = NumberToEdit->text().toStdString();
  filter.text = TextEdit->text().toStdString();
  DocumentText->clear();
  if (!model_->Apply(filter)) return;
  TotalsLabel->setText(Utf8(form_.browser->TotalsText()));
  Table->resizeColumnsToContents();
  try {
    ShowDailyTotals(*chart_, form_.browser->Daily());
  } catch (const std::exception& e) {
    Tell(std::string(Tr("Архив не читается: ")) + e.what());
  }
  if (model_->rowCount() > 0) Table->selectRow(0);
}

void ArchiveView::ShowDocument() {
  const int row = Table->currentIndex().row();
  if (!form_.browser || row < 0) return DocumentText->clear();
  QStringList lines;
  for (const std::string& line : form_.browser->TextImageOf(row)) lines << Utf8(line);
  DocumentText->setPlainText(lines.join(QLatin1Char('\n')));
}

void ArchiveView::Export(bool json) {
  if (!form_.browser) return;
  Ui& ui = desktop_.app().ui;
  const std::optional<std::string> path =
      json ? ui.PromptSaveFile({"*.jsonl", "archive.jsonl", "jsonl"})
           : ui.PromptSaveFile({"*.csv", "archive.csv", "csv"});
  if (!path) return;
  try {
    if (json) return Tell(form_.browser->ExportJson(*path));
    // The three files are named after what was typed: NAME-documents.csv and so on.
    std::string prefix = *path;
    if (prefix.ends_with(".csv")) prefix.resize(prefix.size() - 4);
    Tell(form_.browser->ExportCsv(prefix));
  } catch (const std::exception& e) {
    Tell(std::string(Tr("Выгрузка не удалась: ")) + e.what());
  }
}

void ArchiveView::Tell(const std::string& utf8Text) {
  desktop_.app().ui.ShowMessage(Utf8ToCp1251(utf8Text));
}

}  // namespace morvek::gui
