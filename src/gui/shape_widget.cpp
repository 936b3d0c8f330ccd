#include "gui/shape_widget.h"

#include <QPainter>

namespace morvek::gui {

ShapeWidget::ShapeWidget(const Shape& shape, QWidget* parent) : QWidget(parent), shape_(shape) {}

QColor ShapeWidget::ColorOf(int windowsColor) {
  return QColor(windowsColor & 0xFF, (windowsColor >> 8) & 0xFF, (windowsColor >> 16) & 0xFF);
}

void ShapeWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(ColorOf(shape_.color));
  const int side = qMin(width(), height()) - 1;
  painter.drawRoundedRect(QRectF(0.5, 0.5, side, side), side / 4.0, side / 4.0);
}

}  // namespace morvek::gui
