#include "gui/list_box_model.h"

#include <algorithm>
#include <climits>

#include "gui/qt_text.h"

namespace morvek::gui {

ListBoxModel::ListBoxModel(const ListBox& list, QObject* parent)
    : QAbstractListModel(parent), list_(list), clears_(list.clears) {
  Refresh();
}

QModelIndex ListBoxModel::index(int row, int column, const QModelIndex& parent) const {
  if (row < 0 || row >= shown_ || column != 0 || parent.isValid()) return QModelIndex();
  return createIndex(row, column);
}

int ListBoxModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shown_;
}

QVariant ListBoxModel::data(const QModelIndex& index, int role) const {
  // Between a change of the list and the next refresh a paint may still ask for an old row.
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= shown_ ||
      static_cast<std::size_t>(index.row()) >= list_.lines.size())
    return QVariant();
  return ToQt(list_.lines[static_cast<std::size_t>(index.row())]);
}

void ListBoxModel::Refresh() {
  const int size = static_cast<int>(std::min<std::size_t>(list_.lines.size(), INT_MAX));
  if (list_.clears != clears_ || size < shown_) {
    beginResetModel();
    clears_ = list_.clears;
    shown_ = size;
    endResetModel();
  } else if (size > shown_) {
    beginInsertRows(QModelIndex(), shown_, size - 1);
    shown_ = size;
    endInsertRows();
  }
}

}  // namespace morvek::gui
