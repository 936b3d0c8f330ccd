#pragma once
// The program's one blocking TCP client, and the stream with a time-out that every exchange with
// the register opens over it. POSIX sockets; poll for the waits.
#include <cstddef>
#include <string>

#include "codec/errors.h"

namespace morvek {

// A socket failure: connecting, writing, or reading from a peer that failed or closed.
struct SocketError : std::runtime_error {
  using std::runtime_error::runtime_error;
  // The error's kind name, shown before its message where the drivers report it.
  static constexpr const char* kKind = "SocketError";
};

class ClientSocket {
 public:
  ClientSocket() = default;
  ~ClientSocket() { Deactivate(); }
  ClientSocket(const ClientSocket&) = delete;
  ClientSocket& operator=(const ClientSocket&) = delete;

  void SetHost(std::string host) { host_ = std::move(host); }
  void SetPort(int port) { port_ = port; }
  const std::string& Host() const { return host_; }
  int Port() const { return port_; }
  // How long a connect may take before it fails; an unreachable address fails in seconds.
  int connectTimeoutMs = 10000;
  // Reads made by the streams over this socket, those that brought nothing included: what an
  // exchange cost, counted rather than timed.
  long reads = 0;

  // Connects to host and port; raises SocketError on failure. Does nothing when already active.
  void Activate();
  void Deactivate();
  bool IsActive() const { return fd_ >= 0; }
  int Handle() const { return fd_; }

 private:
  std::string host_;
  int port_ = 0;
  int fd_ = -1;
};

class SocketStream {
 public:
  SocketStream(ClientSocket& socket, int timeoutMs) : socket_(socket), timeoutMs_(timeoutMs) {}

  // Writes every byte, waiting at most the time-out for room; raises SocketError on failure or
  // time-out. Never raises SIGPIPE.
  void Write(const void* bytes, std::size_t count);
  // True when bytes (or the peer's close) are waiting, within ms.
  bool WaitForData(int ms);
  // Up to max bytes; 0 when the time-out passes without data. A peer that closed or failed
  // raises SocketError.
  std::size_t Read(void* buffer, std::size_t max);

 private:
  ClientSocket& socket_;
  int timeoutMs_;
};

}  // namespace morvek
