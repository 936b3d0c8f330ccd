#include "gui/qt_ui.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QThread>

#include "gui/qt_text.h"
#include "gui/strip_printer.h"

namespace morvek::gui {

int QtUi::ShowBox(int icon, const QString& caption, const QString& text, int buttons) {
  if (beforeProcessing) beforeProcessing();
  QMessageBox box(static_cast<QMessageBox::Icon>(icon), caption, text,
                  static_cast<QMessageBox::StandardButtons>(buttons), QApplication::activeWindow());
  box.setWindowModality(Qt::ApplicationModal);
  return box.exec();
}

void QtUi::ShowMessage(const std::string& text) {
  ShowBox(QMessageBox::NoIcon, QString::fromUtf8(kProgramTitle), ToQt(text), QMessageBox::Ok);
}

void QtUi::ShowMessageBox(const std::string& text, const std::string& caption) {
  ShowBox(QMessageBox::NoIcon, ToQt(caption), ToQt(text), QMessageBox::Ok);
}

bool QtUi::AskYesNo(const std::string& text, const std::string& caption) {
  return ShowBox(QMessageBox::Question, ToQt(caption), ToQt(text),
                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void QtUi::ProcessMessages() {
  if (beforeProcessing) beforeProcessing();
  QCoreApplication::processEvents();
}

void QtUi::Sleep(int ms) {
  if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}

void QtUi::ShowUnhandledError(const std::string& message) {
  QString text = ToQt(message);
  if (!text.endsWith(QLatin1Char('.'))) text += QLatin1Char('.');
  ShowBox(QMessageBox::Critical, QString::fromUtf8(kProgramTitle), text, QMessageBox::Ok);
}

std::optional<std::string> QtUi::PromptSaveFile(const SaveDialogOptions& options) {
  if (beforeProcessing) beforeProcessing();
  QFileDialog dialog(QApplication::activeWindow());
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  // A file of the chosen name is replaced without a question.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setNameFilter(ToQt(options.filter));
  dialog.setDefaultSuffix(ToQt(options.defaultExt));
  dialog.selectFile(ToQt(options.fileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  // A file name is the file system's, not a text of the core: it keeps the system's encoding.
  return QFile::encodeName(dialog.selectedFiles().first()).toStdString();
}

bool QtUi::PrintStrips(const std::vector<TextStrip>& strips) {
  if (beforeProcessing) beforeProcessing();
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, QApplication::activeWindow());
  if (dialog.exec() != QDialog::Accepted) return false;
  return PrintStripsOn(printer, strips);
}

}  // namespace morvek::gui
