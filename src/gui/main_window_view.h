#pragma once
// The main window "Соединение с РРО": server address, register identity, protocol, the connect
// button with its indicator, the status bar and the menu.
#include <QMainWindow>
#include <array>
#include <memory>

#include "app/tform3.h"
#include "gui/view.h"

class QAction;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

namespace morvek::gui {

class Desktop;
class ShapeWidget;
class WindowBinding;

class MainWindowView : public View {
 public:
  MainWindowView(TForm3& form, Desktop& desktop);
  ~MainWindowView() override;

  QWidget& widget() override { return window_; }
  void Refresh() override;
  void ShowCentred();
  // The window became the active one (also when it came back from a modal window).
  void Activated();

  // The widgets, for the tests.
  QLineEdit* Edit1 = nullptr;
  QLineEdit* Edit2 = nullptr;
  std::array<QRadioButton*, 2> RadioGroup1{};
  std::array<QRadioButton*, 2> RadioGroup2{};
  QPushButton* Button3 = nullptr;
  QPushButton* Button1 = nullptr;
  ShapeWidget* Shape1 = nullptr;
  std::array<QLabel*, 4> StatusBar1{};
  QMenu* N2 = nullptr;
  QAction* N45 = nullptr;
  QAction* N5 = nullptr;
  QAction* N6 = nullptr;                // "Архив"
  QMenu* N7 = nullptr;                  // "Мова"
  std::array<QAction*, 2> Languages{};  // "Русский", "Українська"

 private:
  void BuildControls(QWidget& client);
  void BuildMenu();
  bool CloseRequested();

  TForm3& form_;
  Desktop& desktop_;
  QMainWindow window_;
  QGroupBox* group_ = nullptr;
  QLabel* label1_ = nullptr;
  QGroupBox* radioBox1_ = nullptr;
  QGroupBox* radioBox2_ = nullptr;
  std::unique_ptr<WindowBinding> binding_;
};

}  // namespace morvek::gui
