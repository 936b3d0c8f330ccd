#pragma once
// The texts a view gives its widgets itself rather than from a control model (group titles,
// captions, hints), in the operator's language; set again when the operator switches it.
#include <QCoreApplication>
#include <QLabel>
#include <QString>
#include <functional>
#include <vector>

namespace morvek::gui {

// A text of the desktop program's own, through Qt's translator (morvek_uk.qm).
inline QString QtTr(const char* russianUtf8) {
  return QCoreApplication::translate("morvek", russianUtf8);
}

// Marks a text that a ViewTexts shows, translated there.
constexpr const char* QtTrLater(const char* russianUtf8) {
  return russianUtf8;
}

class ViewTexts {
 public:
  // Sets the widget's text now and again at every switch; returns the widget.
  template <class Widget, class Setter>
  Widget* Set(Widget* widget, Setter setter, const char* russianUtf8) {
    Add([=] { (widget->*setter)(QtTr(russianUtf8)); });
    return widget;
  }
  QLabel* Caption(const char* russianUtf8) {
    return Set(new QLabel, &QLabel::setText, russianUtf8);
  }
  // Anything else that shows texts: run now and at every switch.
  void Add(std::function<void()> show) {
    show();
    shows_.push_back(std::move(show));
  }
  void Retranslate() const {
    for (const auto& show : shows_) show();
  }

 private:
  std::vector<std::function<void()>> shows_;
};

}  // namespace morvek::gui
