#pragma once
// The simulator on a free port of a loopback address, serving a journal, and the tool's socket
// connected and announced as the handshake does: the register of the benchmarks and of the tests
// that drive the tool against it.
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "platform/socket.h"
#include "sim/sim_server.h"

namespace morvek {

struct SimPeer {
  // logFile: where the simulator logs; nullptr for no log.
  SimPeer(sim::SimOptions options, std::string journalXml, std::FILE* logFile = nullptr)
      : log(logFile),
        journal(
            std::make_shared<const sim::Journal>(sim::Journal::FromText(std::move(journalXml)))),
        host(options.host) {
    options.port = 0;
    server = std::make_unique<sim::SimServer>(options, journal, log);
    port = server->Start();
  }
  ~SimPeer() { server->Stop(); }
  SimPeer(const SimPeer&) = delete;
  SimPeer& operator=(const SimPeer&) = delete;

  // Raises SocketError when the server does not answer "Ready".
  void Connect(ClientSocket& socket) const {
    socket.SetHost(host);
    socket.SetPort(port);
    socket.Activate();
    SocketStream stream(socket, 5000);
    stream.Write(":4000000001:", 12);
    char ready[6] = {};
    if (stream.Read(ready, 5) != 5 || std::string_view(ready) != "Ready")
      throw SocketError("the simulated server did not answer Ready");
  }

  sim::SimLog log;
  std::shared_ptr<const sim::Journal> journal;
  std::string host;
  std::unique_ptr<sim::SimServer> server;
  int port = 0;
};

}  // namespace morvek
