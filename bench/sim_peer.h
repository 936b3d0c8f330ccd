#pragma once
// The benchmarks' register: the simulator on a free port of a loopback address, serving a
// journal, and the tool's socket connected and announced as the handshake does.
#include <memory>
#include <string>

#include "platform/socket.h"
#include "sim/sim_server.h"

namespace morvek {

struct SimPeer {
  SimPeer(sim::SimOptions options, std::string journalXml) : host(options.host) {
    options.port = 0;
    server = std::make_unique<sim::SimServer>(
        options,
        std::make_shared<const sim::Journal>(sim::Journal::FromText(std::move(journalXml))), log);
    port = server->Start();
  }
  ~SimPeer() { server->Stop(); }
  SimPeer(const SimPeer&) = delete;
  SimPeer& operator=(const SimPeer&) = delete;

  void Connect(ClientSocket& socket) const {
    socket.SetHost(host);
    socket.SetPort(port);
    socket.Activate();
    SocketStream stream(socket, 5000);
    stream.Write(":4000000001:", 12);
    char ready[16];
    if (stream.Read(ready, sizeof ready) == 0) throw SocketError("no Ready");
  }

  sim::SimLog log{nullptr};
  std::string host;
  std::unique_ptr<sim::SimServer> server;
  int port = 0;
};

}  // namespace morvek
