#include "gui/archive_chart.h"

#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>
#include <algorithm>

#include "gui/view_texts.h"

namespace morvek::gui {

namespace {

// Noon of the day, so that a point sits in the middle of its day on the axis.
qint64 DayPoint(const std::string& day) {
  const QDate date = QDate::fromString(QString::fromStdString(day), Qt::ISODate);
  return QDateTime(date, QTime(12, 0)).toMSecsSinceEpoch();
}

}  // namespace

void ShowDailyTotals(QChart& chart, const std::vector<DailyTotals>& days) {
  chart.removeAllSeries();
  for (QAbstractAxis* axis : chart.axes()) {
    chart.removeAxis(axis);
    delete axis;
  }
  auto* time = new QDateTimeAxis;
  time->setFormat(QStringLiteral("dd.MM"));
  time->setTickCount(6);
  auto* money = new QValueAxis;
  money->setLabelFormat(QStringLiteral("%.0f"));
  money->setTitleText(QtTr("грн"));
  chart.addAxis(time, Qt::AlignBottom);
  chart.addAxis(money, Qt::AlignLeft);

  qint64 first = 0, last = 0;
  double top = 0;
  std::string current;
  QLineSeries* sales = nullptr;
  QLineSeries* returns = nullptr;
  for (const DailyTotals& day : days) {
    if (day.day.empty()) continue;  // documents without a time have no place on the axis
    if (!sales || day.fiscalNumber != current) {
      current = day.fiscalNumber;
      sales = new QLineSeries;
      sales->setName(QString::fromStdString(current));
      returns = new QLineSeries;
      chart.addSeries(sales);
      chart.addSeries(returns);
      // A register once in the legend: its returns are the dashed line of its colour.
      for (QLegendMarker* marker : chart.legend()->markers(returns)) marker->setVisible(false);
      QPen dashed = returns->pen();
      dashed.setColor(sales->color());
      dashed.setStyle(Qt::DashLine);
      returns->setPen(dashed);
      for (QLineSeries* series : {sales, returns}) {
        series->setPointsVisible(true);  // a single day is a point, not a line
        series->attachAxis(time);
        series->attachAxis(money);
      }
    }
    const qint64 x = DayPoint(day.day);
    sales->append(static_cast<qreal>(x), static_cast<double>(day.sales) / 100.0);
    returns->append(static_cast<qreal>(x), static_cast<double>(day.returns) / 100.0);
    first = first == 0 ? x : std::min(first, x);
    last = std::max(last, x);
    top = std::max(
        {top, static_cast<double>(day.sales) / 100.0, static_cast<double>(day.returns) / 100.0});
  }
  constexpr qint64 kHalfDay = 12LL * 3600 * 1000;
  if (first == 0) first = last = QDateTime::currentDateTime().toMSecsSinceEpoch();
  time->setRange(QDateTime::fromMSecsSinceEpoch(first - kHalfDay),
                 QDateTime::fromMSecsSinceEpoch(last + kHalfDay));
  money->setRange(0, top > 0 ? top * 1.05 : 1);
  money->applyNiceNumbers();
}

}  // namespace morvek::gui
