#pragma once
// Answers the program's message boxes and save dialogs while a test runs, as an operator would,
// and keeps what they said. Nothing modal is left waiting: a box is answered within a few
// milliseconds of its showing.
#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTimer>

namespace morvek::gui::test {

class DialogAnswerer {
 public:
  DialogAnswerer() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Answer(); });
    timer_.start();
  }

  void Clear() {
    texts.clear();
    titles.clear();
  }

  QStringList texts;   // the message boxes' texts, in order
  QStringList titles;  // their captions
  bool answerYes = false;
  QString saveAs;  // the file a save dialog gets; empty: the dialog is cancelled
  int saveDialogs = 0;

 private:
  void Answer() {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      if (!box->isVisible()) return;
      texts << box->text();
      titles << box->windowTitle();
      QAbstractButton* button = box->button(answerYes ? QMessageBox::Yes : QMessageBox::No);
      if (!button) button = box->button(QMessageBox::Ok);
      if (button) button->click();
    } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
      if (!dialog->isVisible()) return;
      ++saveDialogs;
      if (saveAs.isEmpty()) {
        dialog->reject();
      } else {
        dialog->selectFile(saveAs);
        static_cast<QDialog*>(dialog)->accept();  // QFileDialog keeps its override protected
      }
    }
  }

  QTimer timer_;
};

}  // namespace morvek::gui::test
