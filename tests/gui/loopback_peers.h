#pragma once
// The peers the main window connects to in the tests: the simulated server with its register, and
// a server that takes the connection and never answers.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QString>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "sim/journal_generator.h"
#include "sim/sim_server.h"
#include "test_support.h"

namespace morvek::gui::test {

// The settings file the main window reads at its activation, naming the server.
inline void WriteSettings(const std::string& address) {
  morvek::test::WriteFile("morvek.ini", "[Connection]\r\nIPAddres=" + address + "\r\n");
}

// A Zelmar register behind the remote-access server on the protocol's own port of `host`.
class SimulatedRegister {
 public:
  SimulatedRegister(const std::string& host, int receipts)
      : log_(nullptr), server_(Options(host), MakeJournal(receipts), log_) {
    server_.Start();
  }
  ~SimulatedRegister() { server_.Stop(); }
  static constexpr const char* kFiscalNumber = "4000000001";

 private:
  static sim::SimOptions Options(const std::string& host) {
    sim::SimOptions options;
    options.host = host;
    options.port = sim::kZelmarPort;
    options.registerConfig.protocol = sim::Protocol::kZelmar;
    options.registerConfig.fiscalNumber = kFiscalNumber;
    options.fiscalNumber = kFiscalNumber;
    return options;
  }
  static std::shared_ptr<const sim::Journal> MakeJournal(int receipts) {
    JournalOptions options;
    options.receipts = receipts;
    options.zReports = 1;
    return std::make_shared<const sim::Journal>(
        sim::Journal::FromText(GenerateJournal(options).xml));
  }

  sim::SimLog log_;
  sim::SimServer server_;
};

// Listens and lets the kernel take connections, but never reads nor answers.
class SilentServer {
 public:
  SilentServer(const std::string& host, int port) : fd_(socket(AF_INET, SOCK_STREAM, 0)) {
    const int on = 1;
    setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    inet_pton(AF_INET, host.c_str(), &address.sin_addr);
    if (bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(fd_, 8) != 0)
      throw std::runtime_error("cannot listen on " + host);
    fcntl(fd_, F_SETFL, O_NONBLOCK);
  }
  ~SilentServer() {
    for (int fd : accepted_) close(fd);
    close(fd_);
  }
  // The connections made so far.
  int Connections() {
    for (int fd; (fd = accept(fd_, nullptr, nullptr)) >= 0;) accepted_.push_back(fd);
    return static_cast<int>(accepted_.size());
  }

 private:
  int fd_;
  std::vector<int> accepted_;
};

}  // namespace morvek::gui::test
