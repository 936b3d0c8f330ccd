#pragma once
// The desktop program around one Application: a view for each window the operator sees, every
// handler run so that no failure crosses the toolkit's event loop, and every view refreshed from
// the control models after each handler and whenever the logic lets pending events through.
#include <QStringList>
#include <functional>
#include <memory>

#include "app/application.h"
#include "gui/qt_ui.h"
#include "platform/translation.h"

namespace morvek::gui {

class MainWindowView;
class RetrievalView;
class WaitView;
class NoticeView;
class AboutView;
class ArchiveView;

class Desktop {
 public:
  Desktop(Application& app, QtUi& ui);
  ~Desktop();
  Desktop(const Desktop&) = delete;
  Desktop& operator=(const Desktop&) = delete;

  // The windows' creation handlers, then the main window, centred on the screen.
  void Start();

  // Runs a handler of the logic: a failure goes to the report of unhandled errors and the program
  // carries on; then the views show the models again.
  void Run(const std::function<void()>& handler);
  void RefreshAll();
  // "Мова": the program's and Qt's translators, every window's texts, and the choice kept.
  void ChooseLanguage(Language language);
  // Where the switch looks for the program's .qm files.
  QStringList translationFolders;

  // Records that a window became the active one; true when its activation handler is to run:
  // another of the program's windows was active before it (or none yet), and the main window is
  // not behind a modal window. Qt hands the main window activation when a modal window hides for
  // a request, and when a window of the logic's own hides: neither is the operator's doing.
  bool NoteActivation(const void* window);
  // A window of the logic hid: the window the toolkit activates next was not chosen.
  void NoteHidden(const void* window);
  // A window shown modally (the retrieval window, the About box) and its end: then the main window
  // comes back, and its activation runs.
  void ModalBegins(const void* window);
  void ModalEnds();

  Application& app() { return app_; }
  MainWindowView& mainWindow() { return *main_; }
  RetrievalView& retrieval() { return *retrieval_; }
  WaitView& wait() { return *wait_; }
  NoticeView& notice() { return *notice_; }
  AboutView& about() { return *about_; }
  ArchiveView& archive() { return *archive_; }

 private:
  Application& app_;
  QtUi& ui_;
  const void* activeWindow_ = nullptr;
  const void* modalWindow_ = nullptr;
  std::unique_ptr<MainWindowView> main_;
  std::unique_ptr<RetrievalView> retrieval_;
  std::unique_ptr<WaitView> wait_;
  std::unique_ptr<NoticeView> notice_;
  std::unique_ptr<AboutView> about_;
  std::unique_ptr<ArchiveView> archive_;
};

}  // namespace morvek::gui
