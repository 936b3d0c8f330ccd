#include "cli/connection.h"

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

SessionOptions MakeSessionOptions(const ConnectionOptions& options) {
  const IniFile settings("morvek.ini");
  SessionOptions session;
  session.host =
      options.host.empty() ? settings.ReadString("Connection", "IPAddres", "", 256) : options.host;
  session.port = options.port;
  session.protocol = options.protocol == "zelmar" ? Protocol::kZelmar : Protocol::kDatecs;
  session.identity = {options.idDev.empty(),
                      Utf8ToCp1251(options.idDev.empty() ? options.fiscalNumber : options.idDev)};
  if (settings.ReadInteger("LogFile", "Log", 0) != 0)
    session.exchangeLogPath = settings.ReadString("LogFile", "LogName", "morvek.log", 300);
  session.zelmarReplyTries = settings.ReadInteger("Fiscal Printer", "Reply", 1);
  return session;
}

}  // namespace morvek
