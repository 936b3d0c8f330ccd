#include "gui/small_views.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/desktop.h"
#include "gui/qt_ui.h"
#include "gui/widget_sync.h"
#include "gui/window_binding.h"

namespace morvek::gui {
namespace {

constexpr int kAboutMinWidth = 320;

void ShowCaption(QWidget& window, const std::string& caption, const char* fallback) {
  const QString title = TextOr(caption, fallback);
  if (window.windowTitle() != title) window.setWindowTitle(title);
}

QLabel* LargeLabel(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setFont(LargeLabelFont());
  return label;
}

}  // namespace

QFont LargeLabelFont() {
  QFont font;
  font.setPixelSize(16);
  return font;
}

WaitView::WaitView(TForm5& form, Desktop& desktop) : form_(form) {
  // No border icons: the wait ends by "Прервать" or by the exchange, not by closing the window.
  window_.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  auto* layout = new QVBoxLayout(&window_);
  Label1 = LargeLabel(&window_);
  Label2 = LargeLabel(&window_);
  Button1 = new QPushButton(QString::fromUtf8("Прервать"), &window_);
  layout->addWidget(Label1);
  layout->addWidget(Label2);
  layout->addWidget(Button1, 0, Qt::AlignHCenter);
  window_.setMinimumWidth(280);
  QObject::connect(Button1, &QPushButton::clicked,
                   [this, &desktop] { desktop.Run([this] { form_.Button1Click(); }); });
  binding_ = std::make_unique<WindowBinding>(form, *this, desktop);
  binding_->onCloseRequest = [] { return false; };
  binding_->placement = WindowBinding::Placement::kScreenCentre;
  Refresh();
}

WaitView::~WaitView() = default;

void WaitView::Refresh() {
  ShowCaption(window_, form_.caption, kProgramTitle);
  ShowLabel(*Label1, form_.Label1, "Запрос соединения:");
  ShowLabel(*Label2, form_.Label2);
}

NoticeView::NoticeView(TForm4& form, Desktop& desktop) : form_(form) {
  window_.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  auto* layout = new QVBoxLayout(&window_);
  Label1 = LargeLabel(&window_);
  Label2 = LargeLabel(&window_);
  layout->addWidget(Label1);
  layout->addWidget(Label2);
  window_.setMinimumWidth(320);
  binding_ = std::make_unique<WindowBinding>(form, *this, desktop);
  binding_->onActivate = [this] { form_.FormActivate(); };
  binding_->placement = WindowBinding::Placement::kScreenCentre;
  Refresh();
}

NoticeView::~NoticeView() = default;

void NoticeView::Refresh() {
  ShowCaption(window_, form_.caption, "");
  ShowLabel(*Label1, form_.Label1);
  ShowLabel(*Label2, form_.Label2);
}

AboutView::AboutView(TForm54& form, Desktop& desktop) : form_(form) {
  window_.setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint);
  auto* layout = new QVBoxLayout(&window_);
  Label1 = new QLabel(&window_);
  Label2 = new QLabel(&window_);
  Label3 = new QLabel(&window_);
  Label3->setAlignment(Qt::AlignCenter);
  Button1 = new QPushButton(&window_);
  layout->addWidget(Label1);
  layout->addWidget(Label2);
  layout->addWidget(Label3);
  layout->addWidget(Button1, 0, Qt::AlignHCenter);
  QObject::connect(Button1, &QPushButton::clicked,
                   [this, &desktop] { desktop.Run([this] { form_.Button1Click(); }); });
  binding_ = std::make_unique<WindowBinding>(form, *this, desktop);
  binding_->onActivate = [this] { form_.FormActivate(); };
  binding_->placement = WindowBinding::Placement::kOverMainWindow;
  Refresh();
}

AboutView::~AboutView() = default;

void AboutView::Refresh() {
  ShowCaption(window_, form_.caption, QtTrLater("О программе morvek"));
  ShowLabel(*Label1, form_.Label1);
  ShowLabel(*Label2, form_.Label2);
  ShowLabel(*Label3, form_.Label3);
  ShowButton(*Button1, form_.Button1, "Закрыть");
  // A fixed size, the one its texts need; they come with its first activation, and the box is
  // then centred over the main window again.
  const QSize size = window_.sizeHint().expandedTo(QSize(kAboutMinWidth, 0));
  if (window_.minimumSize() == size && window_.maximumSize() == size) return;
  window_.setFixedSize(size);
  if (window_.isVisible()) binding_->Place();
}

}  // namespace morvek::gui
