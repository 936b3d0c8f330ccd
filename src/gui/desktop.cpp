#include "gui/desktop.h"

#include "gui/main_window_view.h"
#include "gui/retrieval_view.h"
#include "gui/small_views.h"

namespace morvek::gui {

Desktop::Desktop(Application& app, QtUi& ui) : app_(app), ui_(ui) {
  main_ = std::make_unique<MainWindowView>(app.Form3, *this);
  retrieval_ = std::make_unique<RetrievalView>(app.Form53, *this);
  wait_ = std::make_unique<WaitView>(app.Form5, *this);
  notice_ = std::make_unique<NoticeView>(app.Form4, *this);
  about_ = std::make_unique<AboutView>(app.Form54, *this);
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

void Desktop::RefreshAll() {
  main_->Refresh();
  retrieval_->Refresh();
  wait_->Refresh();
  notice_->Refresh();
  about_->Refresh();
}

bool Desktop::NoteActivation(const void* window) {
  const bool another = window != activeWindow_;
  activeWindow_ = window;
  return another;
}

}  // namespace morvek::gui
