// The connect button of the main window: the server handshake and the connected display.
#include <string>

#include "app/application.h"
#include "app/tform3.h"
#include "codec/cp1251.h"
#include "link/handshake.h"
#include "platform/ini_file.h"
#include "platform/socket.h"
#include "platform/translation.h"
#include "session/register_check.h"

namespace morvek {

void TForm3::Button3Click() {
  app_.RunExclusive([this] {
    app_.Guarded([this] {
      if (Shape1.color == Shape::kRed)
        Connect();
      else
        Disconnect();
    });
  });
}

void TForm3::ReadFirstClickSettings() {
  const IniFile settings(app_.Form2.iniPath);
  app_.Form2.priorityLevel = settings.ReadString("Priority", "Level", "medium", 20);
  app_.Form2.priorityElJournal = settings.ReadString("Priority", "ElJournal", "", 20);
  if (settings.ReadInteger("LogFile", "Log", 0) != 0)
    app_.zelmar.ZelmarSetLogName(settings.ReadString("LogFile", "LogName", "morvek.log", 300));
  // Only the Zelmar driver checks its replies a number of times.
  app_.zelmar.ZelmarSetRetryCount(settings.ReadInteger("Fiscal Printer", "Reply", 1));
  settingsPending = false;
}

void TForm3::Connect() {
  Ui& ui = app_.ui;
  ClientSocket& socket = app_.Form1.ClientSocket1;
  if (settingsPending) ReadFirstClickSettings();
  // The protocol is taken once: the choice may change while the handshake processes messages.
  RegisterLink& link = app_.Link();
  const bool zelmar = link.protocol() == Protocol::kZelmar;
  socket.SetPort(serverPort != 0 ? serverPort : zelmar ? kZelmarPort : kDatecsPort);
  app_.Form2.ukrVersion = -1;
  app_.Form2.ukrVersion = IniFile(app_.Form2.iniPath).ReadInteger("UkrVer", "Version", -1);

  try {
    if (socket.IsActive()) socket.Deactivate();
    socket.SetHost(Edit1.text);
    socket.Activate();
  } catch (const SocketError&) {
    ui.ShowMessage(std::string("Сервер не отвечает, проверьте IP адрес"_tr));
    return;
  }

  if (!Handshake()) {
    Shape1.color = Shape::kRed;
    Button3.caption = "Подключить"_tr;
    N2.enabled = false;
    ui.ShowMessage(std::string(
        "Сервер не отвечает, проверьте настройки РРО (IP адрес или удаленный доступ)"_tr));
    return;
  }
  app_.datecs.registerAccepted = true;

  if (!CheckRegister(link)) return;
  Shape1.color = Shape::kLime;
  Button3.caption = "Отключить"_tr;
  N2.enabled = true;
}

bool TForm3::CheckRegister(RegisterLink& link) {
  // A Datecs register that is not heard delivers nothing: the copy must not keep an earlier
  // register's answer.
  app_.Form2.lastDatecsResult = {};
  const std::optional<bool> gate = morvek::CheckRegister(link, app_.ui, StatusBar1.panels);
  if (!gate) return false;
  app_.Form53.SetRecentFirmware(*gate);
  return true;
}

void TForm3::Disconnect() {
  StatusBar1.panels.fill("");
  Shape1.color = Shape::kRed;
  Button3.caption = "Подключить"_tr;
  N2.enabled = false;
  app_.Form1.ClientSocket1.Deactivate();
}

namespace {

// The wait window counts the handshake down and can abort it.
class WindowWait : public TickWait {
 public:
  WindowWait(SocketStream& stream, const HandshakeTimings& timings, TForm5& window, Ui& ui)
      : TickWait(stream, timings), window_(window), ui_(ui) {}
  void Announced() override {
    window_.Show();
    window_.Repaint();
    ui_.ProcessMessages();
  }
  bool Countdown(int cyclesLeft, int ticksLeft) override {
    window_.Label2.text = std::to_string(cyclesLeft) + " : " + std::to_string(ticksLeft);
    window_.Repaint();
    ui_.ProcessMessages();
    return window_.IsAborted();
  }

 private:
  TForm5& window_;
  Ui& ui_;
};

}  // namespace

bool TForm3::Handshake() {
  TForm5& wait = app_.Form5;
  bool ready = false;
  try {
    const HandshakeTimings& timings = app_.timings.handshake;
    SocketStream stream(app_.Form1.ClientSocket1, timings.streamTimeoutMs);
    WindowWait windowWait(stream, timings, wait, app_.ui);
    ready = AnnounceAndAwaitReady(stream, Announcement(Identity()), timings.cycles, windowWait);
  } catch (const SocketError&) {
    ready = false;
  }
  wait.Hide();
  wait.SetAborted(false);
  return ready;
}

RegisterIdentity TForm3::Identity() const {
  return {RadioGroup2.itemIndex == 1, Edit2.text};
}

bool TForm3::Reannounce() {
  ClientSocket& socket = app_.Form1.ClientSocket1;
  socket.Activate();
  if (Handshake()) return true;
  socket.Deactivate();
  return false;
}

bool TForm3::ReannounceDatecs() {
  const bool accepted =
      ReconnectDatecs(app_.datecs, app_.Form1.ClientSocket1, Edit1.text, Edit2.text);
  app_.Form5.Hide();
  app_.Form5.SetAborted(false);
  return accepted;
}

}  // namespace morvek
