#include "cli/session.h"

#include <unistd.h>

#include <filesystem>
#include <iostream>

#include "codec/cp1251.h"
#include "platform/ini_file.h"

namespace morvek {

void AddConnectionOptions(CLI::App& command, ConnectionOptions& options) {
  command.add_option("--host", options.host,
                     "Server address (default: \"Connection\"/\"IPAddres\" of morvek.ini in the "
                     "working directory)");
  command.add_option("--port", options.port, "Server port (default: 34950 Datecs, 34951 Zelmar)")
      ->check(CLI::Range(1, 65535));
  command.add_option("--protocol", options.protocol, "Register protocol (default datecs)")
      ->check(CLI::IsMember({"datecs", "zelmar"}));
  // Exactly one of the two identities.
  CLI::Option_group* identity = command.add_option_group("identity", "The register");
  identity->add_option("--fiscal-number", options.fiscalNumber, "The register's fiscal number");
  identity->add_option("--id-dev", options.idDev, "The register's ID_DEV");
  identity->require_option(1);
}

Session::Session(const ConnectionOptions& options) : app(ui) {
  app.Create();
  // The settings file of the working directory, as the main window finds it at its activation.
  app.Form2.workDir = std::filesystem::current_path().string();
  app.Form2.iniPath = app.Form2.workDir + "/morvek.ini";
  TForm3& main = app.Form3;
  main.Edit1.text = options.host.empty()
                        ? IniFile(app.Form2.iniPath).ReadString("Connection", "IPAddres", "", 256)
                        : options.host;
  main.serverPort = options.port;
  main.RadioGroup1.itemIndex = options.protocol == "zelmar" ? 1 : 0;
  main.RadioGroup2.itemIndex = options.idDev.empty() ? 1 : 0;
  main.Edit2.text = Utf8ToCp1251(options.idDev.empty() ? options.fiscalNumber : options.idDev);

  if (isatty(STDERR_FILENO)) {
    app.Form5.onRepaint = [this] { ShowProgress(app.Form5, app.Form5.Label1, app.Form5.Label2); };
    app.Form4.onRepaint = [this] { ShowProgress(app.Form4, app.Form4.Label1, app.Form4.Label2); };
  }
}

Session::~Session() {
  if (app.Form3.Shape1.color != Shape::kRed) app.Guarded([this] { app.Form3.Button3Click(); });
  if (isatty(STDERR_FILENO)) std::cerr << "\r\033[K" << std::flush;
}

bool Session::Connect() {
  if (app.Form3.Edit1.text.empty()) {
    std::cerr << "morvek-cli: no server address: give --host or put it into morvek.ini\n";
    return false;
  }
  Run([this] { app.Form3.Button3Click(); });
  return app.Form3.Shape1.color == Shape::kLime;
}

bool Session::Run(const std::function<void()>& handler) {
  const int before = ui.reports;
  app.Guarded(handler);
  return ui.reports == before;
}

void Session::ShowProgress(const Window& window, const Label& first, const Label& second) {
  std::cerr << "\r\033[K" << Cp1251ToUtf8(window.caption) << ' ' << Cp1251ToUtf8(first.text) << ' '
            << Cp1251ToUtf8(second.text) << std::flush;
}

}  // namespace morvek
