#include "gui/retrieval_view.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListView>
#include <QVBoxLayout>

#include "gui/desktop.h"
#include "gui/list_box_model.h"
#include "gui/widget_sync.h"
#include "gui/window_binding.h"

namespace morvek::gui {

QFont ListFont() {
  QFont font(QStringLiteral("Courier New"));
  font.setStyleHint(QFont::TypeWriter);
  if (QFontInfo(font).fixedPitch()) return font;
  return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

const EditMask& RetrievalView::DateMask() {
  static const EditMask mask = TranslateEditMask("!99/99/00;1;.", '.', ':');
  return mask;
}

const EditMask& RetrievalView::TimeMask() {
  static const EditMask mask = TranslateEditMask("!90:00;1;:", '.', ':');
  return mask;
}

RetrievalView::RetrievalView(TForm53& form, Desktop& desktop) : form_(form), desktop_(desktop) {
  window_.setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  auto* controls = new QVBoxLayout;
  controls->addWidget(BuildByNumber());
  controls->addWidget(BuildByDate());
  controls->addStretch();

  listModel_ = std::make_unique<ListBoxModel>(form.ListBox2);
  ListBox2 = new QListView;
  ListBox2->setUniformItemSizes(true);
  ListBox2->setFont(ListFont());
  ListBox2->setModel(listModel_.get());
  ListBox2->setEditTriggers(QAbstractItemView::NoEditTriggers);

  Button3 = HandlerButton(&TForm53::Button3Click);
  Button7 = HandlerButton(&TForm53::Button7Click);
  Button8 = HandlerButton(&TForm53::Button8Click);
  Button2 = HandlerButton(&TForm53::Button2Click);
  CheckBox1 = new QCheckBox;
  QObject::connect(CheckBox1, &QCheckBox::toggled,
                   [this](bool checked) { form_.CheckBox1.checked = checked; });
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(CheckBox1);
  buttons->addStretch();
  buttons->addWidget(Button7);
  buttons->addWidget(Button8);
  buttons->addWidget(Button3);
  buttons->addWidget(Button2);

  auto* grid = new QGridLayout(&window_);
  grid->addLayout(controls, 0, 0);
  grid->addWidget(ListBox2, 0, 1);
  grid->addLayout(buttons, 1, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  window_.resize(940, 600);

  binding_ = std::make_unique<WindowBinding>(form, *this, desktop);
  binding_->placement = WindowBinding::Placement::kScreenCentre;
  binding_->onCloseRequest = [this] {
    desktop_.Run([this] { form_.FormClose(); });
    return true;
  };
  Refresh();
}

RetrievalView::~RetrievalView() {
  // The view goes before its model.
  ListBox2->setModel(nullptr);
}

QPushButton* RetrievalView::HandlerButton(void (TForm53::*handler)()) {
  auto* button = new QPushButton;
  const std::function<void()> click = [&form = form_, handler] { (form.*handler)(); };
  QObject::connect(button, &QPushButton::clicked, [this, click] {
    const ListBox& list = form_.ListBox2;
    const unsigned long clears = list.clears;
    const std::size_t lines = list.lines.size();
    desktop_.Run(click);
    // What the click added is in view: the top of a new list, or the first line added to a kept
    // one (the failure lines at its end), not the old scroll offset.
    if (list.clears != clears)
      ShowFromLine(0);
    else if (list.lines.size() > lines)
      ShowFromLine(lines);
  });
  return button;
}

void RetrievalView::ShowFromLine(std::size_t line) {
  const QModelIndex first = listModel_->index(static_cast<int>(line));
  if (first.isValid()) ListBox2->scrollTo(first, QAbstractItemView::PositionAtTop);
}

QWidget* RetrievalView::BuildByNumber() {
  auto* group = texts.Set(new QGroupBox, &QGroupBox::setTitle, QtTrLater("по номерам"));
  auto* form = new QFormLayout(group);
  ComboBox1 = new QComboBox;
  ComboBox1->setEditable(true);
  ComboBox1->setInsertPolicy(QComboBox::NoInsert);
  Edit3 = new QLineEdit;
  Edit1 = new QLineEdit;
  Edit2 = new QLineEdit;
  form->addRow(texts.Caption(QtTrLater("Тип документа")), ComboBox1);
  form->addRow(texts.Caption(QtTrLater("Пароль")), Edit3);
  form->addRow(texts.Caption(QtTrLater("Начальный номер")), Edit1);
  form->addRow(texts.Caption(QtTrLater("Конечный номер")), Edit2);
  Button1 = HandlerButton(&TForm53::Button1Click);
  Button6 = HandlerButton(&TForm53::Button6Click);
  form->addRow(Button1, Button6);

  TakeEdits(*Edit3, form_.Edit3);
  TakeEdits(*Edit1, form_.Edit1);
  TakeEdits(*Edit2, form_.Edit2);
  QObject::connect(ComboBox1, &QComboBox::activated, [this](int index) {
    form_.ComboBox1.Select(index);
    desktop_.Run([this] { form_.ComboBox1Change(); });
  });
  // Typing into the box leaves no item chosen.
  QObject::connect(ComboBox1->lineEdit(), &QLineEdit::textEdited, [this](const QString& text) {
    form_.ComboBox1.itemIndex = -1;
    form_.ComboBox1.text = FromQt(text);
    desktop_.Run([this] { form_.ComboBox1Change(); });
  });
  return group;
}

QLineEdit* RetrievalView::MaskedField(Edit& model, const EditMask& mask, const char* hint) {
  auto* field = texts.Set(new QLineEdit, &QLineEdit::setToolTip, hint);
  field->setInputMask(mask.inputMask);
  QObject::connect(field, &QLineEdit::textEdited,
                   [field, &model, &mask] { model.text = MaskedText(mask, field->displayText()); });
  return field;
}

QWidget* RetrievalView::BuildByDate() {
  auto* group = texts.Set(new QGroupBox, &QGroupBox::setTitle, QtTrLater("по датам"));
  auto* grid = new QGridLayout(group);
  Edit4 = MaskedField(form_.Edit4, DateMask(), QtTrLater("дд.мм.гг"));
  Edit6 = MaskedField(form_.Edit6, TimeMask(), QtTrLater("чч:мм"));
  Edit5 = MaskedField(form_.Edit5, DateMask(), QtTrLater("дд.мм.гг"));
  Edit7 = MaskedField(form_.Edit7, TimeMask(), QtTrLater("чч:мм"));
  grid->addWidget(texts.Caption(QtTrLater("Начальная дата")), 0, 0);
  grid->addWidget(texts.Caption(QtTrLater("Время")), 0, 1);
  grid->addWidget(Edit4, 1, 0);
  grid->addWidget(Edit6, 1, 1);
  grid->addWidget(texts.Caption(QtTrLater("Конечная дата")), 2, 0);
  grid->addWidget(Edit5, 3, 0);
  grid->addWidget(Edit7, 3, 1);
  Button4 = HandlerButton(&TForm53::Button4Click);
  Button5 = HandlerButton(&TForm53::Button5Click);
  grid->addWidget(Button4, 4, 0);
  grid->addWidget(Button5, 4, 1);
  return group;
}

void RetrievalView::ShowComboBox() {
  const ComboBox& model = form_.ComboBox1;
  QStringList items;
  for (const std::string& item : model.items) items << ToQt(item);
  QStringList shown;
  for (int i = 0; i < ComboBox1->count(); ++i) shown << ComboBox1->itemText(i);
  if (items != shown) {
    ComboBox1->clear();
    ComboBox1->addItems(items);
  }
  if (ComboBox1->currentIndex() != model.itemIndex) ComboBox1->setCurrentIndex(model.itemIndex);
  const QString text = ToQt(model.text);
  if (ComboBox1->currentText() != text) ComboBox1->setEditText(text);
  ComboBox1->setEnabled(model.enabled);
}

void RetrievalView::Refresh() {
  const QString caption = TextOr(form_.caption, "Форма запроса и отображения данных");
  if (window_.windowTitle() != caption) window_.setWindowTitle(caption);
  ShowComboBox();
  ShowEdit(*Edit3, form_.Edit3);
  ShowEdit(*Edit1, form_.Edit1);
  ShowEdit(*Edit2, form_.Edit2);
  ShowButton(*Button1, form_.Button1, "Получить");
  ShowButton(*Button6, form_.Button6, "Печать на РРО");
  const std::pair<QLineEdit*, const Edit*> masked[] = {
      {Edit4, &form_.Edit4}, {Edit5, &form_.Edit5}, {Edit6, &form_.Edit6}, {Edit7, &form_.Edit7}};
  for (const auto& [field, model] : masked) {
    const EditMask& mask = field == Edit4 || field == Edit5 ? DateMask() : TimeMask();
    if (MaskedText(mask, field->displayText()) != model->text)
      ShowMaskedText(*field, mask, model->text);
    field->setEnabled(model->enabled);
  }
  ShowButton(*Button4, form_.Button4, "Получить");
  ShowButton(*Button5, form_.Button5, "Вернуть номера");
  ShowButton(*Button7, form_.Button7, "Печать на принтер");
  ShowButton(*Button8, form_.Button8, "Сохранить PDF");
  ShowButton(*Button3, form_.Button3, "Сохранить");
  ShowButton(*Button2, form_.Button2, "Закрыть");
  ShowCheckBox(*CheckBox1, form_.CheckBox1, "Сохранять в архив");
  listModel_->Refresh();
}

}  // namespace morvek::gui
