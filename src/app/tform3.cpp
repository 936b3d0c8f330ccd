#include "app/tform3.h"

#include <filesystem>

#include "app/application.h"
#include "codec/cp1251.h"
#include "platform/ini_file.h"
#include "platform/text_file.h"
#include "platform/translation.h"

namespace morvek {

namespace {

constexpr std::string_view kSettingsFile = "morvek.ini";
// The address as a buffer of 256 bytes holds it: a full dotted address or a host name.
constexpr std::size_t kAddressBuffer = 256;
// GetUSBPort answers at once; a probe that kept failing would still end here.
constexpr int kUsbProbeSteps = 16;

std::string BaseCaption() {
  return std::string("Соединение с РРО"_tr);
}

}  // namespace

TForm3::TForm3(Application& app) : app_(app) {
  caption = BaseCaption();
  Retranslate();
  N2.enabled = false;
}

void TForm3::Retranslate() {
  GroupBox1.text = "Подключение к  сокету TCP/IP"_tr;
  Label1.text = "IP адрес:"_tr;
  RadioGroup2.caption = "Призн. исп."_tr;
  RadioGroup2.items = {"ID_DEV", std::string("Фиск. номер"_tr)};
  RadioGroup1.caption = "Протокол"_tr;
  RadioGroup1.items = {"Datecs", "Zelmar"};
  Button3.caption = Shape1.color == Shape::kLime ? "Отключить"_tr : "Подключить"_tr;
  Button1.caption = "Закрыть"_tr;
  N2.caption = "КЛЭФ"_tr;
  N45.caption = "Вывод документов в электронном виде"_tr;
  N5.caption = "О программе..."_tr;
  N6.caption = "Архив"_tr;
  N7.caption = "Мова"_cp;
  // The title: the base and the version once the window is created; the probe's steps run only
  // inside an activation, when no language can be chosen.
  if (!versionText.empty()) {
    versionText = "вер. 1.30 от 29.01.2016"_tr;
    caption = BaseCaption() + " " + versionText;
  }
}

void TForm3::ChooseLanguage(Language language) {
  SetLanguage(language);
  app_.Retranslate();
  const std::string settings =
      app_.Form2.iniPath.empty() ? std::string(kSettingsFile) : app_.Form2.iniPath;
  app_.Guarded([&] {
    IniFile(settings).WriteString(kLanguageSection, kLanguageKey, LanguageCode(language));
  });
}

void TForm3::FormCreate() {
  versionText = "вер. 1.30 от 29.01.2016"_tr;
  caption = caption + " " + versionText;
  RadioGroup1.itemIndex = 0;
  RadioGroup2.itemIndex = 1;
  app_.zelmar.foreignReply = false;
}

void TForm3::FormActivate() {
  Ui& ui = app_.ui;
  caption = BaseCaption() + " " + versionText;
  Button1.enabled = false;
  N5.enabled = false;
  // Number texts always use '.', whatever the toolkit does to the process locale
  // (platform/numbers.h), so there is no separator to set here.

  // The USB probe: its caption shows while the window thread sleeps.
  std::string portName;
  for (int step = 1, index = 0; step <= kUsbProbeSteps; ++step, ++index) {
    caption = std::string("Тестирование USB устройств: Шаг "_tr) + std::to_string(step);
    ui.Sleep(100);
    Repaint();
    ui.ProcessMessages();
    const int found = GetUSBPort(index, portName, "STMicroelectronics Virtual COM Port", "Ports");
    if (found == 0 || found == -2) break;
  }
  ui.Sleep(1000);
  caption = BaseCaption() + " " + versionText;

  // The settings file stays where the first activation found the working folder.
  TForm2& shared = app_.Form2;
  std::error_code error;
  if (shared.workDir.empty()) shared.workDir = std::filesystem::current_path(error).string();
  shared.iniPath = JoinPath(shared.workDir, std::string(kSettingsFile));
  const IniFile settings(shared.iniPath);
  if (!std::filesystem::exists(shared.iniPath, error)) {
    ui.ShowMessage(std::string("Файл morvek.ini отсутствует.\n Создание файла!"_tr));
    app_.Guarded([&] { settings.WriteString("Connection", "IPAddres", "127.0.0.1"); });
  }
  Edit1.text = settings.ReadString("Connection", "IPAddres", "", kAddressBuffer);
  Button1.enabled = true;
  N5.enabled = true;
}

void TForm3::FormClose() {
  if (app_.Form2.iniPath.empty()) return;  // never activated: no settings file yet
  app_.Guarded(
      [this] { IniFile(app_.Form2.iniPath).WriteString("Connection", "IPAddres", Edit1.text); });
}

void TForm3::Button1Click() {
  app_.RequestClose();
}

void TForm3::RadioGroup1Click() {
  if (RadioGroup1.itemIndex < 0 || RadioGroup2.itemIndex < 0) return;
  Button3.enabled = true;
  app_.Form53.DiscardDocuments();
}

void TForm3::RadioGroup2Click() {
  if (RadioGroup1.itemIndex >= 0 && RadioGroup2.itemIndex >= 0) Button3.enabled = true;
}

void TForm3::Edit2Change() {
  app_.Form53.DiscardDocuments();
}

void TForm3::N45Click() {
  app_.Form53.ShowModal();
}

void TForm3::N5Click() {
  app_.Form54.ShowModal();
}

void TForm3::N6Click() {
  app_.FormArchive.Open();
}

int TForm3::GetUSBPort(int, std::string&, const std::string&, const std::string&) {
  return 0;
}

int TForm3::RestoreUSBPort() {
  return 0;
}

}  // namespace morvek
