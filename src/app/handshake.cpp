// The connect button of the main window: the server handshake and the connected display.
#include <algorithm>
#include <array>

#include "app/application.h"
#include "app/tform3.h"
#include "codec/cp1251.h"
#include "platform/ini_file.h"
#include "platform/server_ready.h"
#include "platform/socket.h"

namespace morvek {

namespace {

constexpr std::size_t kReplyBuffer = 500;
constexpr std::size_t kAnnouncementBuffer = 100;
constexpr std::size_t kIdDevBytes = 9;
constexpr std::size_t kFiscalNumberBytes = 12;

}  // namespace

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
  const bool zelmar = app_.ChosenProtocol() == Protocol::kZelmar;
  socket.SetPort(serverPort != 0 ? serverPort : zelmar ? kZelmarPort : kDatecsPort);
  app_.Form2.ukrVersion = -1;
  app_.Form2.ukrVersion = IniFile(app_.Form2.iniPath).ReadInteger("UkrVer", "Version", -1);

  try {
    if (socket.IsActive()) socket.Deactivate();
    socket.SetHost(Edit1.text);
    socket.Activate();
  } catch (const SocketError&) {
    ui.ShowMessage(std::string("Сервер не отвечает, проверьте IP адрес"_cp));
    return;
  }

  if (!IsReady(Handshake())) {
    Shape1.color = Shape::kRed;
    Button3.caption = "Подключить"_cp;
    N2.enabled = false;
    ui.ShowMessage(std::string(
        "Сервер не отвечает, проверьте настройки РРО (IP адрес или удаленный доступ)"_cp));
    return;
  }
  app_.datecs.registerAccepted = true;

  if (!CheckRegister(zelmar)) return;
  Shape1.color = Shape::kLime;
  Button3.caption = "Отключить"_cp;
  N2.enabled = true;
}

void TForm3::Disconnect() {
  StatusBar1.panels.fill("");
  Shape1.color = Shape::kRed;
  Button3.caption = "Подключить"_cp;
  N2.enabled = false;
  app_.Form1.ClientSocket1.Deactivate();
}

std::string TForm3::Handshake() {
  TForm5& wait = app_.Form5;
  std::string reply;
  try {
    SocketStream stream(app_.Form1.ClientSocket1, timings.streamTimeoutMs);
    AnnounceRegister(stream);
    wait.Show();
    wait.Repaint();
    app_.ui.ProcessMessages();
    reply = AwaitGoAhead(stream);
  } catch (const SocketError&) {
    reply.clear();  // a server that failed or closed gives no go-ahead
  }
  wait.Hide();
  wait.SetAborted(false);
  return reply;
}

bool TForm3::Reannounce() {
  ClientSocket& socket = app_.Form1.ClientSocket1;
  socket.Activate();
  if (IsReady(Handshake())) return true;
  socket.Deactivate();
  return false;
}

bool TForm3::ReannounceDatecs() {
  constexpr int kAttempts = 4;
  constexpr std::size_t kAnnouncementBytes = 9;
  DatecsDriver& driver = app_.datecs;
  ClientSocket& socket = app_.Form1.ClientSocket1;
  bool accepted = false;
  try {
    if (socket.IsActive()) socket.Deactivate();
    socket.SetHost(Edit1.text);
    socket.Activate();
    // The identity text, cut or padded with zero bytes.
    std::array<char, kAnnouncementBuffer> announcement{};
    Edit2.text.copy(announcement.data(), announcement.size());
    SocketStream stream(socket, driver.timings.streamTimeoutMs);
    stream.Write(announcement.data(), kAnnouncementBytes);
    // The first answer is the server's, unless it is a piece of "Ready": then the rest is read
    // within the same countdown.
    const auto awaitAnswer = [&] {
      std::string answer;
      bool aborted = false;
      for (int r = 0; r < kAttempts && !aborted; ++r) {
        int silent = 0;
        while (driver.WaitWithCountdown(stream, 3 - r, silent, aborted)) {
          std::array<char, kReplyBuffer> buffer{};
          const std::size_t n = stream.Read(buffer.data(), kReplyBuffer - answer.size());
          answer.append(buffer.data(), n);
          if (n == 0) break;  // nothing after all: on to the next attempt
          if (!StartsReady(answer)) return answer;
        }
      }
      return answer;
    };
    accepted = IsReady(awaitAnswer());
  } catch (const SocketError&) {
    accepted = false;
  }
  app_.Form5.Hide();
  app_.Form5.SetAborted(false);
  if (!accepted) socket.Deactivate();
  return accepted;
}

void TForm3::AnnounceRegister(SocketStream& stream) {
  const bool fiscalNumber = RadioGroup2.itemIndex == 1;
  const std::string text = fiscalNumber ? ":" + Edit2.text + ":" : Edit2.text;
  // A shorter text goes out followed by zero bytes, a longer one cut.
  std::array<char, kAnnouncementBuffer> buffer{};
  text.copy(buffer.data(), buffer.size());
  stream.Write(buffer.data(), fiscalNumber ? kFiscalNumberBytes : kIdDevBytes);
}

// Up to cycles x ticks waits for the server's answer, counting down in the wait window after each
// silent one. The first answer ends the wait, unless it is a piece of "Ready": then the rest is
// read within the same wait. All answers together stay within the 500-byte buffer.
std::string TForm3::AwaitGoAhead(SocketStream& stream) {
  TForm5& wait = app_.Form5;
  std::string reply;
  for (int r = 0; r < timings.cycles; ++r) {
    for (int t = 1; t <= timings.ticks; ++t) {
      if (stream.WaitForData(timings.tickMs)) {
        std::array<char, kReplyBuffer> buffer{};
        const std::size_t n = stream.Read(buffer.data(), kReplyBuffer - reply.size());
        reply.append(buffer.data(), n);
        if (n == 0) break;  // nothing after all: on to the next cycle
        if (StartsReady(reply)) continue;
        return reply;
      }
      wait.Label2.text =
          std::to_string(timings.cycles - 1 - r) + " : " + std::to_string(timings.ticks - t);
      wait.Repaint();
      app_.ui.ProcessMessages();
      if (wait.IsAborted()) return {};
    }
  }
  return reply;
}

}  // namespace morvek
