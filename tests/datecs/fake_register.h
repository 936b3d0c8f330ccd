#pragma once
// A register behind a remote-access server, faked on loopback: a thread that accepts one
// connection after the other and runs one script per connection. Every wait is bounded, and the
// destructor stops and joins the thread, also when a test fails half-way.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace morvek::test {

class DatecsPeerConnection {
 public:
  DatecsPeerConnection(int fd, const std::atomic<bool>& stop) : fd_(fd), stop_(stop) {}

  // Bytes up to and including the first ETX (a request frame), or what came before the bound.
  std::string ReadFrame() {
    return ReadUntil([](const std::string& s) { return !s.empty() && s.back() == 3; });
  }
  std::string ReadBytes(std::size_t n) {
    return ReadUntil([n](const std::string& s) { return s.size() >= n; }, n);
  }
  void Send(std::string_view bytes) {
    if (fd_ >= 0) (void)send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
  }
  // Waits (bounded) until the flag is set, e.g. by the test's Ui hook.
  bool WaitFor(const std::atomic<bool>& flag) {
    for (int i = 0; i < 5000 && !flag && !stop_; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return flag;
  }
  void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
  void Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }
  bool Closed() const { return fd_ < 0; }
  bool Stopping() const { return stop_; }
  int fd() const { return fd_; }

 private:
  template <typename Done>
  std::string ReadUntil(Done done, std::size_t max = 4096) {
    std::string got;
    for (int i = 0; i < 500 && fd_ >= 0 && !stop_ && !done(got); ++i) {
      pollfd p{fd_, POLLIN, 0};
      if (poll(&p, 1, 10) <= 0) continue;
      char c;
      if (recv(fd_, &c, 1, 0) != 1) break;
      got += c;
      if (got.size() >= max) break;
    }
    return got;
  }
  int fd_;
  const std::atomic<bool>& stop_;
};

class DatecsFakeRegister {
 public:
  using Script = std::function<void(DatecsPeerConnection&)>;

  // One script per connection, in the order the connections come.
  explicit DatecsFakeRegister(std::vector<Script> scripts) : scripts_(std::move(scripts)) {
    listen_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listen_ < 0 || bind(listen_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listen_, 4) != 0 ||
        getsockname(listen_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
      throw std::runtime_error("fake register cannot listen");
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Run(); });
  }
  ~DatecsFakeRegister() { Stop(); }
  DatecsFakeRegister(const DatecsFakeRegister&) = delete;
  DatecsFakeRegister& operator=(const DatecsFakeRegister&) = delete;

  int port() const { return port_; }
  int connections() const { return accepted_; }
  // Ends the scripts' waits and joins the thread; afterwards what the scripts recorded is safe to
  // read.
  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (listen_ >= 0) close(listen_);
    listen_ = -1;
  }

 private:
  void Run() {
    for (Script& script : scripts_) {
      int fd = -1;
      while (fd < 0 && !stop_) {
        pollfd p{listen_, POLLIN, 0};
        if (poll(&p, 1, 10) > 0) fd = accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
      }
      if (fd < 0) return;
      ++accepted_;
      DatecsPeerConnection connection(fd, stop_);
      script(connection);
      // Hold the connection until the client closes it or the test ends.
      while (!connection.Closed() && !stop_) {
        pollfd p{connection.fd(), POLLIN, 0};
        if (poll(&p, 1, 10) <= 0) continue;
        char sink[256];
        if (recv(connection.fd(), sink, sizeof sink, 0) <= 0) break;
      }
      connection.Close();
    }
  }

  std::vector<Script> scripts_;
  int listen_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<int> accepted_{0};
  std::thread thread_;
};

}  // namespace morvek::test
