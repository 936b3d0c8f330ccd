#include "app/tform3.h"

#include <filesystem>

#include "app/application.h"
#include "codec/cp1251.h"
#include "platform/ini_file.h"
#include "platform/text_file.h"

namespace morvek {

namespace {

constexpr std::string_view kSettingsFile = "morvek.ini";
// The address as a buffer of 256 bytes holds it: a full dotted address or a host name.
constexpr std::size_t kAddressBuffer = 256;
// GetUSBPort answers at once; a probe that kept failing would still end here.
constexpr int kUsbProbeSteps = 16;

std::string BaseCaption() {
  return std::string("Соединение с РРО"_cp);
}

}  // namespace

TForm3::TForm3(Application& app) : app_(app) {
  caption = BaseCaption();
  GroupBox1.text = "Подключение к  сокету TCP/IP"_cp;
  Label1.text = "IP адрес:"_cp;
  RadioGroup2.caption = "Призн. исп."_cp;
  RadioGroup2.items = {"ID_DEV", std::string("Фиск. номер"_cp)};
  RadioGroup1.caption = "Протокол"_cp;
  RadioGroup1.items = {"Datecs", "Zelmar"};
  Button3.caption = "Подключить"_cp;
  Button1.caption = "Закрыть"_cp;
  N2.caption = "КЛЭФ"_cp;
  N2.enabled = false;
  N45.caption = "Вывод документов в электронном виде"_cp;
  N5.caption = "О программе..."_cp;
  N6.caption = "Архив"_cp;
}

void TForm3::FormCreate() {
  versionText = "вер. 1.30 от 29.01.2016"_cp;
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
    caption = std::string("Тестирование USB устройств: Шаг "_cp) + std::to_string(step);
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
    ui.ShowMessage(std::string("Файл morvek.ini отсутствует.\n Создание файла!"_cp));
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
