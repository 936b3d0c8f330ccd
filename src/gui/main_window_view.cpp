#include "gui/main_window_view.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

#include "gui/desktop.h"
#include "gui/shape_widget.h"
#include "gui/widget_sync.h"
#include "gui/window_binding.h"

namespace morvek::gui {
namespace {

constexpr int kClientWidth = 541;
constexpr int kClientHeight = 280;
constexpr int kPanelWidths[4] = {170, 120, 120, 50};

QGroupBox* RadioBox(QWidget* parent, QButtonGroup*& group, std::array<QRadioButton*, 2>& buttons,
                    int columns) {
  auto* box = new QGroupBox(parent);
  auto* grid = new QGridLayout(box);
  group = new QButtonGroup(box);
  for (int i = 0; i < 2; ++i) {
    buttons[i] = new QRadioButton(box);
    group->addButton(buttons[i], i);
    grid->addWidget(buttons[i], columns == 2 ? 0 : i, columns == 2 ? i : 0);
  }
  return box;
}

}  // namespace

MainWindowView::MainWindowView(TForm3& form, Desktop& desktop) : form_(form), desktop_(desktop) {
  // A fixed tool-like frame: system menu, minimise and close, no maximise.
  window_.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                         Qt::WindowCloseButtonHint);
  auto* client = new QWidget(&window_);
  window_.setCentralWidget(client);
  BuildControls(*client);
  BuildMenu();
  for (int i = 0; i < 4; ++i) {
    StatusBar1[i] = new QLabel(&window_);
    StatusBar1[i]->setFixedWidth(kPanelWidths[i]);
    StatusBar1[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    window_.statusBar()->addWidget(StatusBar1[i]);
  }
  window_.statusBar()->setSizeGripEnabled(false);

  binding_ = std::make_unique<WindowBinding>(form, *this, desktop);
  binding_->onActivate = [this] { form_.FormActivate(); };
  binding_->onCloseRequest = [this] { return CloseRequested(); };
  binding_->placement = WindowBinding::Placement::kScreenCentre;
  Refresh();
  // The client area holds the controls and the status bar; the menu bar comes on top, measured
  // once its titles are there.
  client->setFixedSize(kClientWidth, kClientHeight - window_.statusBar()->sizeHint().height());
  window_.setFixedSize(kClientWidth, kClientHeight + window_.menuBar()->sizeHint().height());
}

MainWindowView::~MainWindowView() = default;

void MainWindowView::BuildControls(QWidget& client) {
  group_ = new QGroupBox(&client);
  group_->setGeometry(8, 6, 525, 190);
  label1_ = new QLabel(group_);
  label1_->setGeometry(14, 26, 70, 22);
  Edit1 = new QLineEdit(group_);
  Edit1->setGeometry(90, 24, 160, 24);
  Edit2 = new QLineEdit(group_);
  Edit2->setGeometry(90, 58, 160, 24);
  Shape1 = new ShapeWidget(form_.Shape1, group_);
  Shape1->setGeometry(30, 104, 36, 36);
  Button3 = new QPushButton(group_);
  Button3->setGeometry(90, 108, 160, 30);

  QButtonGroup* protocols = nullptr;
  QButtonGroup* identities = nullptr;
  radioBox2_ = RadioBox(group_, identities, RadioGroup2, 1);
  radioBox2_->setGeometry(270, 18, 240, 76);
  radioBox1_ = RadioBox(group_, protocols, RadioGroup1, 2);
  radioBox1_->setGeometry(270, 102, 240, 56);

  Button1 = new QPushButton(&client);
  Button1->setGeometry(431, 204, 100, 28);

  TakeEdits(*Edit1, form_.Edit1);
  TakeEdits(*Edit2, form_.Edit2);
  QObject::connect(Edit2, &QLineEdit::textEdited,
                   [this] { desktop_.Run([this] { form_.Edit2Change(); }); });
  QObject::connect(protocols, &QButtonGroup::idClicked, [this](int id) {
    form_.RadioGroup1.itemIndex = id;
    desktop_.Run([this] { form_.RadioGroup1Click(); });
  });
  QObject::connect(identities, &QButtonGroup::idClicked, [this](int id) {
    form_.RadioGroup2.itemIndex = id;
    desktop_.Run([this] { form_.RadioGroup2Click(); });
  });
  QObject::connect(Button3, &QPushButton::clicked,
                   [this] { desktop_.Run([this] { form_.Button3Click(); }); });
  QObject::connect(Button1, &QPushButton::clicked,
                   [this] { desktop_.Run([this] { form_.Button1Click(); }); });
}

void MainWindowView::BuildMenu() {
  N2 = window_.menuBar()->addMenu(QString());
  N45 = N2->addAction(QString());
  N6 = window_.menuBar()->addAction(QString());
  N7 = window_.menuBar()->addMenu(QString());
  const std::pair<Language, const char*> languages[] = {{Language::kRussian, "Русский"},
                                                        {Language::kUkrainian, "Українська"}};
  for (std::size_t i = 0; i < Languages.size(); ++i) {
    const auto [language, name] = languages[i];
    Languages[i] = N7->addAction(QString::fromUtf8(name));
    Languages[i]->setCheckable(true);
    QObject::connect(Languages[i], &QAction::triggered,
                     [this, language] { desktop_.ChooseLanguage(language); });
  }
  N5 = window_.menuBar()->addAction(QString());
  QObject::connect(N45, &QAction::triggered,
                   [this] { desktop_.Run([this] { form_.N45Click(); }); });
  QObject::connect(N5, &QAction::triggered, [this] { desktop_.Run([this] { form_.N5Click(); }); });
  QObject::connect(N6, &QAction::triggered, [this] { desktop_.Run([this] { form_.N6Click(); }); });
}

void MainWindowView::Refresh() {
  const QString caption = TextOr(form_.caption, "Соединение с РРО");
  if (window_.windowTitle() != caption) window_.setWindowTitle(caption);
  group_->setTitle(TextOr(form_.GroupBox1.text, "Подключение к  сокету TCP/IP"));
  ShowLabel(*label1_, form_.Label1, "IP адрес:");
  ShowEdit(*Edit1, form_.Edit1);
  ShowEdit(*Edit2, form_.Edit2);
  const char* identities[2] = {"ID_DEV", "Фиск. номер"};
  const char* protocols[2] = {"Datecs", "Zelmar"};
  radioBox2_->setTitle(TextOr(form_.RadioGroup2.caption, "Призн. исп."));
  radioBox1_->setTitle(TextOr(form_.RadioGroup1.caption, "Протокол"));
  for (int i = 0; i < 2; ++i) {
    const auto item = [](const RadioGroup& g, int at, const char* fallback) {
      return at < static_cast<int>(g.items.size()) ? TextOr(g.items[at], fallback)
                                                   : QString::fromUtf8(fallback);
    };
    RadioGroup2[i]->setText(item(form_.RadioGroup2, i, identities[i]));
    RadioGroup1[i]->setText(item(form_.RadioGroup1, i, protocols[i]));
  }
  ShowRadioGroup(*RadioGroup1[0]->group(), form_.RadioGroup1);
  ShowRadioGroup(*RadioGroup2[0]->group(), form_.RadioGroup2);
  ShowButton(*Button3, form_.Button3, "Подключить");
  ShowButton(*Button1, form_.Button1, "Закрыть");
  Shape1->update();
  // A panel cuts what is wider than it ("12Nov1" of "12Nov14"): its tooltip holds the whole text.
  for (int i = 0; i < 4; ++i) {
    const QString text = ToQt(form_.StatusBar1.panels[i]);
    if (StatusBar1[i]->text() == text) continue;
    StatusBar1[i]->setText(text);
    StatusBar1[i]->setToolTip(text);
  }
  N2->setTitle(TextOr(form_.N2.caption, "КЛЭФ"));
  N2->menuAction()->setEnabled(form_.N2.enabled);
  N45->setText(TextOr(form_.N45.caption, "Вывод документов в электронном виде"));
  N45->setEnabled(form_.N45.enabled);
  N5->setText(TextOr(form_.N5.caption, "О программе..."));
  N5->setEnabled(form_.N5.enabled);
  N6->setText(TextOr(form_.N6.caption, "Архив"));
  N6->setEnabled(form_.N6.enabled);
  N7->setTitle(ToQt(form_.N7.caption));
  N7->menuAction()->setEnabled(form_.N7.enabled);
  Languages[0]->setChecked(CurrentLanguage() == Language::kRussian);
  Languages[1]->setChecked(CurrentLanguage() == Language::kUkrainian);
}

void MainWindowView::ShowCentred() {
  Refresh();
  binding_->ShowPlaced();
}

void MainWindowView::Activated() {
  binding_->Activated();
}

// The logic decides: it saves the address, hides the window and ends the program, or, while an
// exchange runs, does so when the exchange has ended. The toolkit's own close never goes through.
bool MainWindowView::CloseRequested() {
  if (desktop_.app().Closed()) return true;
  desktop_.Run([this] { desktop_.app().RequestClose(); });
  return false;
}

}  // namespace morvek::gui
