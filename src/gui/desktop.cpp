#include "gui/desktop.h"

#include "gui/archive_view.h"
#include "gui/language.h"
#include "gui/main_window_view.h"
#include "gui/retrieval_view.h"
#include "gui/small_views.h"

namespace morvek::gui {

Desktop::Desktop(Application& app, QtUi& ui)
    : translationFolders(TranslationFolders()), app_(app), ui_(ui) {
  main_ = std::make_unique<MainWindowView>(app.Form3, *this);
  retrieval_ = std::make_unique<RetrievalView>(app.Form53, *this);
  wait_ = std::make_unique<WaitView>(app.Form5, *this);
  notice_ = std::make_unique<NoticeView>(app.Form4, *this);
  about_ = std::make_unique<AboutView>(app.Form54, *this);
  archive_ = std::make_unique<ArchiveView>(app.FormArchive, *this);
  ui_.beforeProcessing = [this] { RefreshAll(); };
}

Desktop::~Desktop() {
  ui_.beforeProcessing = nullptr;
}

void Desktop::Start() {
  Run([this] { app_.Create(); });
  main_->ShowCentred();
}

void Desktop::Run(const std::function<void()>& handler) {
  try {
    app_.Guarded(handler);
  } catch (...) {
    ui_.ShowUnhandledError("Unknown failure");
  }
  RefreshAll();
}

void Desktop::ChooseLanguage(Language language) {
  UseLanguage(language, translationFolders);
  Run([this, language] { app_.Form3.ChooseLanguage(language); });
  for (View* view : std::initializer_list<View*>{main_.get(), retrieval_.get(), wait_.get(),
                                                 notice_.get(), about_.get(), archive_.get()})
    view->texts.Retranslate();
  RefreshAll();
}

void Desktop::RefreshAll() {
  main_->Refresh();
  retrieval_->Refresh();
  wait_->Refresh();
  notice_->Refresh();
  about_->Refresh();
  archive_->Refresh();
}

bool Desktop::NoteActivation(const void* window) {
  if (modalWindow_ && window == &app_.Form3) return false;
  const bool another = window != activeWindow_;
  activeWindow_ = window;
  return another;
}

void Desktop::NoteHidden(const void* window) {
  if (window == activeWindow_ && !modalWindow_) activeWindow_ = &app_.Form3;
}

void Desktop::ModalBegins(const void* window) {
  modalWindow_ = window;
}

void Desktop::ModalEnds() {
  activeWindow_ = modalWindow_;
  modalWindow_ = nullptr;
  // Already active again, the main window has had its activation event while the modal window
  // still counted: it runs now. Otherwise its activation event is still to come.
  if (main_->widget().isActiveWindow()) main_->Activated();
}

}  // namespace morvek::gui
