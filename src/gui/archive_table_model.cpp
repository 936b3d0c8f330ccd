#include "gui/archive_table_model.h"

#include <QBrush>
#include <QColor>

namespace morvek::gui {

namespace {

QString Utf8(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

void ArchiveTableModel::SetBrowser(ArchiveBrowser* browser) {
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
    failure = std::string("Архив не читается: ") + e.what();
  }
  endResetModel();
  if (!failure.empty()) Fail(failure);
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
    return Fail(std::string("Архив не читается: ") + e.what());
  }
  if (page.empty()) return;
  const int first = rowCount();
  beginInsertRows(QModelIndex(), first, first + static_cast<int>(page.size()) - 1);
  browser_->Append(std::move(page));
  endInsertRows();
}

void ArchiveTableModel::Fail(const std::string& message) const {
  if (onFailure) onFailure(message);
}

}  // namespace morvek::gui
