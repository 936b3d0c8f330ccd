#include "platform/socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace morvek {

namespace {

[[noreturn]] void Fail(const std::string& what, int error) {
  throw SocketError(what + ": " + std::strerror(error));
}

// Waits for the events on fd within ms; retries when a signal interrupts the wait.
int PollFor(int fd, short events, int ms) {
  pollfd p{fd, events, 0};
  for (;;) {
    const int n = poll(&p, 1, ms);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Fail("poll failed", errno);
    return n == 0 ? 0 : p.revents;
  }
}

}  // namespace

void ClientSocket::Activate() {
  if (IsActive()) return;
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const std::string port = std::to_string(port_);
  if (const int rc = getaddrinfo(host_.c_str(), port.c_str(), &hints, &found); rc != 0)
    throw SocketError("cannot resolve " + host_ + ": " + gai_strerror(rc));

  int error = ECONNREFUSED;
  for (addrinfo* a = found; a && fd_ < 0; a = a->ai_next) {
    const int fd = socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
      error = errno;
      continue;
    }
    // Connect without blocking, so that an unreachable address fails within the bound.
    if (connect(fd, a->ai_addr, a->ai_addrlen) != 0 && errno != EINPROGRESS) {
      error = errno;
      close(fd);
      continue;
    }
    const int events = PollFor(fd, POLLOUT, connectTimeoutMs);
    socklen_t length = sizeof error;
    if (events == 0) {
      error = ETIMEDOUT;
    } else if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0) {
      fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
      const int one = 1;
      setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
      fd_ = fd;
      continue;
    }
    close(fd);
  }
  freeaddrinfo(found);
  if (fd_ < 0) Fail("cannot connect to " + host_ + ":" + port, error);
}

void ClientSocket::Deactivate() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

void SocketStream::Write(const void* bytes, std::size_t count) {
  if (!socket_.IsActive()) throw SocketError("socket not connected");
  const auto* p = static_cast<const char*>(bytes);
  while (count > 0) {
    if (PollFor(socket_.Handle(), POLLOUT, timeoutMs_) == 0) throw SocketError("write timed out");
    const ssize_t n = send(socket_.Handle(), p, count, MSG_NOSIGNAL);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n < 0) Fail("write failed", errno);
    p += n;
    count -= static_cast<std::size_t>(n);
  }
}

bool SocketStream::WaitForData(int ms) {
  if (!socket_.IsActive()) throw SocketError("socket not connected");
  return PollFor(socket_.Handle(), POLLIN, ms) != 0;
}

std::size_t SocketStream::Read(void* buffer, std::size_t max) {
  ++socket_.reads;
  if (!WaitForData(timeoutMs_)) return 0;
  for (;;) {
    const ssize_t n = recv(socket_.Handle(), buffer, max, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Fail("read failed", errno);
    if (n == 0 && max > 0) throw SocketError("connection closed by the peer");
    return static_cast<std::size_t>(n);
  }
}

}  // namespace morvek
