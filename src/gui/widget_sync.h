#pragma once
// Showing control models in widgets, and writing what the operator types back into them. A widget
// is only touched when it shows something else, so a refresh never moves the caret or the
// selection of a field being typed into.
#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "gui/qt_text.h"
#include "platform/controls.h"

namespace morvek::gui {

inline void ShowEdit(QLineEdit& widget, const Edit& edit) {
  if (FromQt(widget.text()) != edit.text) widget.setText(ToQt(edit.text));
  widget.setEnabled(edit.enabled);
  widget.setMaxLength(edit.maxLength > 0 ? edit.maxLength : 32767);
}

// Every keystroke reaches the model at once.
inline void TakeEdits(QLineEdit& widget, Edit& edit) {
  QObject::connect(&widget, &QLineEdit::textEdited,
                   [&edit](const QString& text) { edit.text = FromQt(text); });
}

inline void ShowButton(QPushButton& widget, const Button& button, const char* fallback) {
  const QString caption = TextOr(button.caption, fallback);
  if (widget.text() != caption) widget.setText(caption);
  widget.setEnabled(button.enabled);
}

inline void ShowCheckBox(QCheckBox& widget, const CheckBox& box, const char* fallback) {
  const QString caption = TextOr(box.caption, fallback);
  if (widget.text() != caption) widget.setText(caption);
  if (widget.isChecked() != box.checked) widget.setChecked(box.checked);
  widget.setEnabled(box.enabled);
}

inline void ShowLabel(QLabel& widget, const Label& label, const char* fallback = "") {
  const QString text = TextOr(label.text, fallback);
  if (widget.text() != text) widget.setText(text);
}

inline void ShowRadioGroup(QButtonGroup& group, const RadioGroup& model) {
  QAbstractButton* chosen = group.button(model.itemIndex);
  if (chosen) {
    if (!chosen->isChecked()) chosen->setChecked(true);
    return;
  }
  group.setExclusive(false);
  for (QAbstractButton* button : group.buttons()) button->setChecked(false);
  group.setExclusive(true);
}

}  // namespace morvek::gui
