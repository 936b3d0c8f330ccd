#pragma once
// A list box of the logic shown in a QListView. The lines stay in the logic's ListBox; the model
// converts only the rows the view asks for, and a refresh tells the view what changed: appended
// lines as inserted rows, a cleared list as a reset. Half a million lines stay responsive.
#include <QAbstractListModel>

#include "platform/controls.h"

namespace morvek::gui {

class ListBoxModel : public QAbstractListModel {
 public:
  explicit ListBoxModel(const ListBox& list, QObject* parent = nullptr);

  // The view's layout asks for the index of every row at each change; this one answers without
  // the two virtual calls of the base's check.
  QModelIndex index(int row, int column = 0,
                    const QModelIndex& parent = QModelIndex()) const override;
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  // Takes in what the list gained or lost since the last refresh.
  void Refresh();

 private:
  const ListBox& list_;
  int shown_ = 0;
  unsigned long clears_ = 0;
};

}  // namespace morvek::gui
