#pragma once
// A remote-access server the test plays by hand: a listening socket whose one connection the
// test accepts, reads and answers from the Ui's message hook, while the window waits for the
// go-ahead. Every wait is bounded.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>
#include <string>
#include <string_view>

namespace morvek::test {

class FakeServer {
 public:
  FakeServer(const std::string& host, int port) {
    listen_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int yes = 1;
    setsockopt(listen_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    inet_pton(AF_INET, host.c_str(), &address.sin_addr);
    if (bind(listen_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listen_, 4) != 0)
      throw std::runtime_error("cannot listen on " + host);
  }
  ~FakeServer() {
    CloseConnection();
    close(listen_);
  }
  FakeServer(const FakeServer&) = delete;
  FakeServer& operator=(const FakeServer&) = delete;

  // Takes the next waiting connection (the client connects without it); false when none comes
  // within timeoutMs.
  bool Accept(int timeoutMs = 2000) {
    if (!Wait(listen_, timeoutMs)) return false;
    CloseConnection();
    connection_ = accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
    return connection_ >= 0;
  }
  // What the client has sent so far, waiting a bounded time for the first byte.
  std::string Receive(int timeoutMs = 2000) {
    std::string bytes;
    char buffer[256];
    while (Wait(connection_, bytes.empty() ? timeoutMs : 0)) {
      const ssize_t n = recv(connection_, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
  }
  void Send(std::string_view bytes) { send(connection_, bytes.data(), bytes.size(), MSG_NOSIGNAL); }
  // True when the client closed its end of the connection.
  bool PeerClosed(int timeoutMs = 2000) {
    char byte;
    return Wait(connection_, timeoutMs) && recv(connection_, &byte, 1, MSG_PEEK) == 0;
  }
  void CloseConnection() {
    if (connection_ >= 0) close(connection_);
    connection_ = -1;
  }

 private:
  static bool Wait(int fd, int timeoutMs) {
    pollfd p{fd, POLLIN, 0};
    return fd >= 0 && poll(&p, 1, timeoutMs) > 0;
  }

  int listen_ = -1;
  int connection_ = -1;
};

}  // namespace morvek::test
