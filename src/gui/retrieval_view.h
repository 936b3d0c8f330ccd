#pragma once
// The retrieval window "Форма запроса и отображения данных": requests by number and by date, and
// the list the operator reads in a fixed-pitch font. ListBox1, the assembled document, has no
// widget: it was never seen.
#include <QWidget>
#include <memory>

#include "app/tform53.h"
#include "gui/edit_mask.h"
#include "gui/view.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace morvek::gui {

class Desktop;
class ListBoxModel;
class WindowBinding;

// "Courier New" where the system has it (fontconfig maps it to Liberation Mono), otherwise the
// system's fixed font.
QFont ListFont();

class RetrievalView : public View {
 public:
  RetrievalView(TForm53& form, Desktop& desktop);
  ~RetrievalView() override;

  QWidget& widget() override { return window_; }
  void Refresh() override;

  // The widgets, for the tests.
  QComboBox* ComboBox1 = nullptr;
  QLineEdit* Edit3 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QLineEdit* Edit2 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button6 = nullptr;
  QLineEdit* Edit4 = nullptr;
  QLineEdit* Edit6 = nullptr;
  QLineEdit* Edit5 = nullptr;
  QLineEdit* Edit7 = nullptr;
  QPushButton* Button4 = nullptr;
  QPushButton* Button5 = nullptr;
  QListView* ListBox2 = nullptr;
  QPushButton* Button3 = nullptr;
  QPushButton* Button7 = nullptr;  // "Печать на принтер"
  QPushButton* Button8 = nullptr;  // "Сохранить PDF"
  QPushButton* Button2 = nullptr;
  QCheckBox* CheckBox1 = nullptr;
  ListBoxModel& listModel() { return *listModel_; }

  static const EditMask& DateMask();
  static const EditMask& TimeMask();

 private:
  QWidget* BuildByNumber();
  QWidget* BuildByDate();
  QPushButton* HandlerButton(void (TForm53::*handler)());
  // Scrolls the list so that line is its first visible one.
  void ShowFromLine(std::size_t line);
  QLineEdit* MaskedField(Edit& model, const EditMask& mask, const char* hint);
  void ShowComboBox();

  TForm53& form_;
  Desktop& desktop_;
  QWidget window_;
  std::unique_ptr<ListBoxModel> listModel_;
  std::unique_ptr<WindowBinding> binding_;
};

}  // namespace morvek::gui
