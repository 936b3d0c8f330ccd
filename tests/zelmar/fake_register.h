#pragma once
// A register on a real loopback socket for the driver's tests: listens on 127.0.0.1, port 0,
// accepts one connection and runs the test's script on its own thread. Every read is bounded, and
// the destructor shuts the connection and joins the thread, also when a test fails.
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace morvek::test {

class FakeRegister {
 public:
  using Script = std::function<void(FakeRegister&)>;

  explicit FakeRegister(Script script) : script_(std::move(script)) {
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listener_, 1) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
      throw std::runtime_error("fake register cannot listen");
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }

  ~FakeRegister() { Stop(); }
  FakeRegister(const FakeRegister&) = delete;
  FakeRegister& operator=(const FakeRegister&) = delete;

  int port() const { return port_; }

  // Ends the script: reads return nothing, writes fail. Waits for the thread.
  void Stop() {
    stopping_ = true;
    if (connection_ >= 0) shutdown(connection_, SHUT_RDWR);
    if (listener_ >= 0) shutdown(listener_, SHUT_RDWR);
    if (thread_.joinable()) thread_.join();
    if (connection_ >= 0) close(connection_);
    if (listener_ >= 0) close(listener_);
    connection_ = listener_ = -1;
  }

  // Inside the script: the next request frame (up to its ETX), empty when the client went away,
  // the test stops, or no frame came within the bound.
  std::string ReadFrame() {
    std::string frame;
    char b = 0;
    while (ReadByte(b)) {
      frame += b;
      if (b == 0x03) {
        std::lock_guard lock(mutex_);
        frames_.push_back(frame);
        return frame;
      }
    }
    return {};
  }

  // Reads and records frames until the client goes away.
  void DrainFrames() {
    while (!ReadFrame().empty()) {
    }
  }

  // False once the client went away or the test stops; a full socket is waited on in bounded
  // steps, so that a script streaming bytes ends when the test does.
  bool Send(std::string_view bytes) {
    while (!bytes.empty()) {
      if (stopping_) return false;
      pollfd p{connection_, POLLOUT, 0};
      if (poll(&p, 1, 50) <= 0) continue;
      const ssize_t n = send(connection_, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
      if (n < 0 && errno == EAGAIN) continue;
      if (n <= 0) return false;
      bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
  }

  // Closes the connection from the register's side.
  void Hangup() { shutdown(connection_, SHUT_RDWR); }

  bool stopping() const { return stopping_; }

  std::vector<std::string> frames() {
    std::lock_guard lock(mutex_);
    return frames_;
  }

 private:
  void Serve() {
    pollfd p{listener_, POLLIN, 0};
    if (poll(&p, 1, kBoundMs) <= 0) return;
    connection_ = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection_ < 0) return;
    if (stopping_) return;
    script_(*this);
  }

  bool ReadByte(char& b) {
    pollfd p{connection_, POLLIN, 0};
    if (stopping_ || poll(&p, 1, kBoundMs) <= 0) return false;
    return recv(connection_, &b, 1, 0) == 1;
  }

  static constexpr int kBoundMs = 10000;
  Script script_;
  int listener_ = -1;
  std::atomic<int> connection_ = -1;
  std::atomic<bool> stopping_ = false;
  int port_ = 0;
  std::thread thread_;
  std::mutex mutex_;
  std::vector<std::string> frames_;
};

// A reply frame as the register writes it: SOH LEN SEQ CMD status ';' data EOT S0..S5 ENQ digits
// ETX, with LEN = 30h + data length.
inline std::string ZelmarReply(std::uint8_t seqByte, std::uint8_t command, std::string_view status,
                               std::string_view data,
                               std::string_view statusBytes = "\x80\x80\x80\x80\x80\x80") {
  std::string frame = "\x01";
  frame += static_cast<char>(0x30 + data.size());
  frame += static_cast<char>(seqByte);
  frame += static_cast<char>(command);
  frame.append(status).append(";").append(data).append("\x04").append(statusBytes).append("\x05");
  unsigned sum = 0;
  for (std::size_t i = 1; i < frame.size(); ++i) sum += static_cast<unsigned char>(frame[i]);
  for (int shift = 12; shift >= 0; shift -= 4)
    frame += static_cast<char>(0x30 + ((sum >> shift) & 15));
  frame += "\x03";
  return frame;
}

}  // namespace morvek::test
