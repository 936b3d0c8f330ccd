#pragma once
// The connection indicator: a square with rounded corners in the colour of a Shape model.
#include <QWidget>

#include "platform/controls.h"

namespace morvek::gui {

class ShapeWidget : public QWidget {
 public:
  ShapeWidget(const Shape& shape, QWidget* parent);
  // The colour as the window system numbers them, red in the low byte.
  static QColor ColorOf(int windowsColor);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const Shape& shape_;
};

}  // namespace morvek::gui
