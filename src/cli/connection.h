#pragma once
// The connection options every network command takes, and the session options they make with the
// settings file of the working directory.
#include <CLI/CLI.hpp>
#include <string>

#include "session/session.h"

namespace morvek {

struct ConnectionOptions {
  std::string host;  // empty: "Connection"/"IPAddres" of morvek.ini in the working directory
  int port = 0;      // 0: the protocol's port
  std::string protocol = "datecs";
  std::string fiscalNumber;
  std::string idDev;
};

void AddConnectionOptions(CLI::App& command, ConnectionOptions& options);

// The session the options describe, with the settings file of the working directory filling in
// what the desktop program reads from it at its first connect: the server address when none is
// given, the Zelmar exchange log and the reads of a Zelmar reply. The session's files are those of
// the working directory.
SessionOptions MakeSessionOptions(const ConnectionOptions& options);

}  // namespace morvek
