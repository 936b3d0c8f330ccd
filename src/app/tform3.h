#pragma once
// The main window "Соединение с РРО": the server address and the register, the connect button
// with the handshake and the register check, the settings file, and the menu.
#include <string>

#include "link/handshake.h"
#include "link/register_link.h"
#include "platform/controls.h"
#include "platform/translation.h"
#include "platform/window.h"

namespace morvek {

class Application;

class TForm3 : public Window {
 public:
  // The server's ports for the two protocols.
  static constexpr int kDatecsPort = kDatecsServerPort;
  static constexpr int kZelmarPort = kZelmarServerPort;

  // The controls as the window is described, before FormCreate.
  explicit TForm3(Application& app);

  // Controls.
  Label GroupBox1;         // "Подключение к  сокету TCP/IP"
  Label Label1;            // "IP адрес:"
  Edit Edit1;              // address of the remote-access server
  Edit Edit2;              // the register: ID_DEV or fiscal number
  RadioGroup RadioGroup2;  // "Призн. исп.": "ID_DEV", "Фиск. номер"
  RadioGroup RadioGroup1;  // "Протокол": "Datecs", "Zelmar"
  Button Button3;          // "Подключить" / "Отключить"
  Shape Shape1;            // red: not connected, lime: connected
  Button Button1;          // "Закрыть"
  StatusBar StatusBar1;
  MenuItem N2;   // "КЛЭФ"
  MenuItem N45;  // "Вывод документов в электронном виде"
  MenuItem N5;   // "О программе..."
  MenuItem N6;   // "Архив": the archive window, with or without a register
  // "Мова": the interface's language, the same word in both, so that either finds it; its items
  // name each language in that language ("Русский", "Українська").
  MenuItem N7;

  std::string versionText;
  bool settingsPending = true;
  int serverPort = 0;  // a port other than the protocol's, for the terminal program; 0: none

  // Handlers. A failure inside one goes to the platform's report of an unhandled error.
  void FormCreate();
  // At every activation: the caption, the USB probe, the settings file and the server address.
  void FormActivate();
  // Saves the server address. The program ends through Application::RequestClose, which runs it.
  void FormClose();
  void Button1Click();
  // Connects when the indicator is red, disconnects otherwise; ignored while an exchange runs.
  void Button3Click();
  void RadioGroup1Click();
  void RadioGroup2Click();
  void Edit2Change();
  void N45Click();
  void N5Click();
  void N6Click();
  // An item of "Мова": every window's texts in that language from now on, and the choice kept in
  // the settings file for the next start.
  void ChooseLanguage(Language language);
  // The captions in the current language, those that follow the connection included.
  void Retranslate();

  int GetUSBPort(int index, std::string& portName, const std::string& description,
                 const std::string& deviceClass);
  int RestoreUSBPort();
  // The register the server is to announce: Edit2 as the identity RadioGroup2 names.
  RegisterIdentity Identity() const;
  // Connects again to the last host and port and announces the register, for a driver that found
  // the connection broken; true when the server answered "Ready". A failed connect raises
  // SocketError; a refused announcement leaves the socket closed.
  bool Reannounce();
  // The Datecs driver's way back after a socket error: connects again to the server of Edit1 and
  // announces the register of Edit2 in the 9-byte form, with the driver's countdown; true when the
  // server answered "Ready". A refused announcement leaves the socket closed.
  bool ReannounceDatecs();

 private:
  void Connect();
  void Disconnect();
  // The settings of the first connecting click of the run.
  void ReadFirstClickSettings();
  // The announcement and the wait for the go-ahead, counted down in the wait window; true when
  // the server answered "Ready".
  bool Handshake();
  // The register's diagnostics in the status bar and the firmware date gate; false when the
  // click ends here.
  bool CheckRegister(RegisterLink& link);

  Application& app_;
};

}  // namespace morvek
