#pragma once
// The three small windows: the wait window of the handshake and the Datecs driver, the notice
// window of the retrieval requests, and the About box.
#include <QWidget>
#include <memory>

#include "app/tform4.h"
#include "app/tform5.h"
#include "app/tform54.h"
#include "gui/view.h"

class QLabel;
class QPushButton;

namespace morvek::gui {

class Desktop;
class WindowBinding;

// The labels of the wait and notice windows.
QFont LargeLabelFont();

class WaitView : public View {
 public:
  WaitView(TForm5& form, Desktop& desktop);
  ~WaitView() override;
  QWidget& widget() override { return window_; }
  void Refresh() override;

  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QPushButton* Button1 = nullptr;  // "Прервать"

 private:
  TForm5& form_;
  QWidget window_;
  std::unique_ptr<WindowBinding> binding_;
};

class NoticeView : public View {
 public:
  NoticeView(TForm4& form, Desktop& desktop);
  ~NoticeView() override;
  QWidget& widget() override { return window_; }
  void Refresh() override;

  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;

 private:
  TForm4& form_;
  QWidget window_;
  std::unique_ptr<WindowBinding> binding_;
};

class AboutView : public View {
 public:
  AboutView(TForm54& form, Desktop& desktop);
  ~AboutView() override;
  QWidget& widget() override { return window_; }
  void Refresh() override;

  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QPushButton* Button1 = nullptr;

 private:
  TForm54& form_;
  QWidget window_;
  std::unique_ptr<WindowBinding> binding_;
};

}  // namespace morvek::gui
