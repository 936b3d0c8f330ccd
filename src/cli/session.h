#pragma once
// A terminal session with a register: the program's windows, headless, connected as the connect
// button connects (handshake and register check), disconnected at the end.
#include <CLI/CLI.hpp>
#include <string>

#include "app/application.h"
#include "cli/terminal_ui.h"

namespace morvek {

struct ConnectionOptions {
  std::string host;  // empty: "Connection"/"IPAddres" of morvek.ini in the working directory
  int port = 0;      // 0: the protocol's port
  std::string protocol = "datecs";
  std::string fiscalNumber;
  std::string idDev;
};

void AddConnectionOptions(CLI::App& command, ConnectionOptions& options);

class Session {
 public:
  explicit Session(const ConnectionOptions& options);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Clicks the connect button; true when the main window shows the connection.
  bool Connect();
  // Runs a handler of the windows; true when nothing was reported to the operator meanwhile.
  bool Run(const std::function<void()>& handler);

  TerminalUi ui;
  Application app;

 private:
  void ShowProgress(const Window& window, const Label& first, const Label& second);
};

}  // namespace morvek
