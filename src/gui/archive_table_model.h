#pragma once
// The archive window's table: the rows an ArchiveBrowser has fetched, a page more each time the
// view scrolls near the end (canFetchMore / fetchMore), never the whole archive. The mark column
// and a faulty row's colour show the shift check, its tooltip what is wrong; marks a page could
// not check in its time are checked a slice at a time between the window's events.
#include <QAbstractTableModel>
#include <QString>
#include <QTimer>
#include <chrono>
#include <functional>

#include "app/archive_browser.h"

namespace morvek::gui {

class ArchiveTableModel : public QAbstractTableModel {
 public:
  explicit ArchiveTableModel(QObject* parent = nullptr);

  // The browser whose rows are shown; none shows nothing.
  void SetBrowser(ArchiveBrowser* browser);
  // Applies the filter and shows its first page; false when the filter does not read or the
  // archive failed (onFailure has been told).
  bool Apply(const ArchiveFilter& filter);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  bool canFetchMore(const QModelIndex& parent) const override;
  void fetchMore(const QModelIndex& parent) override;

  // A failure of the archive or of the filter, for the operator (UTF-8).
  std::function<void(const std::string&)> onFailure;

 private:
  // A slice of the pending checks, shown; the next slice is due when some are left.
  void CheckSlice(std::chrono::milliseconds budget);
  void Fail(const std::string& message) const;

  QTimer pendingChecks_;

  ArchiveBrowser* browser_ = nullptr;
  // A page failed: no more are asked for until the filter is applied again, so that a broken
  // archive says so once and not at every scroll.
  bool failed_ = false;
};

}  // namespace morvek::gui
