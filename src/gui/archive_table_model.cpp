#include "gui/archive_table_model.h"

#include <QBrush>
#include <QColor>

#include "platform/translation.h"

namespace morvek::gui {

namespace {

QString Utf8(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

constexpr std::chrono::milliseconds kSlice{40};

ArchiveTableModel::ArchiveTableModel(QObject* parent) : QAbstractTableModel(parent) {
  pendingChecks_.setSingleShot(true);
  pendingChecks_.setInterval(0);
  QObject::connect(&pendingChecks_, &QTimer::timeout, [this] { CheckSlice(kSlice); });
}

void ArchiveTableModel::SetBrowser(ArchiveBrowser* browser) {
  pendingChecks_.stop();
  beginResetModel();
  browser_ = browser;
  endResetModel();
}

bool ArchiveTableModel::Apply(const ArchiveFilter& filter) {
  if (!browser_) return false;
  bool applied = false;
  std::string failure;
  beginResetModel();
  failed_ = false;
  try {
    applied = browser_->Apply(filter);
    if (!applied) failure = browser_->error();
  } catch (const std::exception& e) {
    failure = std::string(Tr("Архив не читается: ")) + e.what();
  }
  endResetModel();
  if (!failure.empty()) Fail(failure);
  if (browser_->MarksPending()) pendingChecks_.start();
  return applied && failure.empty();
}

int ArchiveTableModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() || !browser_) return 0;
  return static_cast<int>(browser_->rows().size());
}

int ArchiveTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ArchiveBrowser::kColumns;
}

QVariant ArchiveTableModel::data(const QModelIndex& index, int role) const {
  if (!browser_ || !index.isValid() || index.row() >= rowCount()) return {};
  const ArchiveRow& row = browser_->rows()[static_cast<std::size_t>(index.row())];
  const bool fault = row.mark.state == MarkState::kFault;
  switch (role) {
    case Qt::DisplayRole: return Utf8(browser_->Cell(index.row(), index.column()));
    case Qt::ToolTipRole: return Utf8(row.mark.note);
    case Qt::BackgroundRole:
      if (fault) return QBrush(QColor(255, 214, 214));
      return {};
    case Qt::ForegroundRole:
      if (index.column() != ArchiveBrowser::kMark) return {};
      if (row.mark.state == MarkState::kConsistent) return QBrush(QColor(0, 128, 0));
      if (row.mark.state == MarkState::kPending) return QBrush(QColor(160, 160, 160));
      if (fault) return QBrush(QColor(200, 0, 0));
      return QBrush(QColor(128, 128, 128));
    case Qt::TextAlignmentRole:
      switch (index.column()) {
        case ArchiveBrowser::kNumber:
        case ArchiveBrowser::kDi:
        case ArchiveBrowser::kTotal: return int(Qt::AlignRight | Qt::AlignVCenter);
        case ArchiveBrowser::kMark: return int(Qt::AlignCenter);
        default: return {};
      }
    default: return {};
  }
}

QVariant ArchiveTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  return Utf8(ArchiveBrowser::ColumnTitle(section));
}

bool ArchiveTableModel::canFetchMore(const QModelIndex& parent) const {
  return !parent.isValid() && browser_ && !failed_ && browser_->CanFetchMore();
}

void ArchiveTableModel::fetchMore(const QModelIndex& parent) {
  if (!canFetchMore(parent)) return;
  std::vector<ArchiveRow> page;
  try {
    page = browser_->NextPage();
  } catch (const std::exception& e) {
    failed_ = true;
    return Fail(std::string(Tr("Архив не читается: ")) + e.what());
  }
  if (page.empty()) return;
  const int first = rowCount();
  beginInsertRows(QModelIndex(), first, first + static_cast<int>(page.size()) - 1);
  browser_->Append(std::move(page));
  endInsertRows();
  CheckSlice(ArchiveBrowser::kPageChecks);
}

void ArchiveTableModel::CheckSlice(std::chrono::milliseconds budget) {
  if (!browser_ || failed_ || !browser_->MarksPending()) return;
  const int first = static_cast<int>(browser_->CheckedRows());
  try {
    browser_->CheckMarks(budget);
  } catch (const std::exception& e) {
    failed_ = true;
    return Fail(std::string(Tr("Архив не читается: ")) + e.what());
  }
  const int last = static_cast<int>(browser_->CheckedRows()) - 1;
  if (last >= first) emit dataChanged(index(first, 0), index(last, ArchiveBrowser::kColumns - 1));
  if (browser_->MarksPending()) pendingChecks_.start();
}

void ArchiveTableModel::Fail(const std::string& message) const {
  if (onFailure) onFailure(message);
}

}  // namespace morvek::gui
