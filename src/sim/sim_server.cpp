#include "sim/sim_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "sim/block_reader.h"

namespace morvek::sim {

SimServer::SimServer(SimOptions options, std::shared_ptr<const Journal> journal, SimLog& log)
    : options_(std::move(options)),
      journal_(std::move(journal)),
      log_(log),
      pacer_(options_.line.bandwidthKbit) {
  if (::pipe(stopPipe_) != 0) throw std::runtime_error("no pipe for stopping the server");
  for (int fd : stopPipe_) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
}

SimServer::~SimServer() {
  Stop();
  for (int fd : stopPipe_) ::close(fd);
}

int SimServer::Listen() {
  int port = options_.port;
  if (port < 0)
    port = options_.registerConfig.protocol == Protocol::kDatecs ? kDatecsPort : kZelmarPort;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  if (::inet_pton(AF_INET, options_.host.c_str(), &address.sin_addr) != 1)
    throw std::runtime_error("not an IPv4 address: " + options_.host);
  listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listenFd_ < 0) throw std::runtime_error(std::string("socket: ") + std::strerror(errno));
  const int yes = 1;
  ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listenFd_, 8) != 0)
    throw std::runtime_error(options_.host + ":" + std::to_string(port) + ": " +
                             std::strerror(errno));
  socklen_t length = sizeof address;
  ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  return port_;
}

int SimServer::Start() {
  const int port = Listen();
  thread_ = std::thread([this] { Serve(); });
  return port;
}

void SimServer::RequestStop() const {
  const char b = 1;
  [[maybe_unused]] const auto written = ::write(stopPipe_[1], &b, 1);
}

void SimServer::Stop() {
  if (thread_.joinable()) {
    RequestStop();
    thread_.join();
  }
  // A stopped server refuses connections rather than leaving them unanswered in the backlog.
  if (listenFd_ >= 0) ::close(listenFd_);
  listenFd_ = -1;
}

void SimServer::GoAway() {
  log_.Line("the server goes away");
  gone_ = true;
  if (listenFd_ >= 0) ::close(listenFd_);
  listenFd_ = -1;
}

int SimServer::WaitReadable(int fd, int timeoutMs) const {
  pollfd fds[2] = {{fd, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
  for (;;) {
    const int ready = ::poll(fds, 2, timeoutMs);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0 || (fds[1].revents & POLLIN)) return -1;
    if (ready == 0) return 0;
    return 1;
  }
}

bool SimServer::Pause(std::chrono::milliseconds pause) const {
  pollfd stop = {stopPipe_[0], POLLIN, 0};
  return ::poll(&stop, 1, static_cast<int>(pause.count())) == 0;
}

bool SimServer::PauseUntil(std::chrono::steady_clock::time_point then) const {
  for (;;) {
    const auto left = then - std::chrono::steady_clock::now();
    if (left <= decltype(left)::zero()) return true;
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
    const timespec wait{static_cast<time_t>(seconds.count()),
                        static_cast<long>((left - seconds).count())};
    pollfd stop = {stopPipe_[0], POLLIN, 0};
    const int ready = ::ppoll(&stop, 1, &wait, nullptr);
    if (ready < 0 && errno == EINTR) continue;
    if (ready != 0) return false;
  }
}

void SimServer::Serve() {
  log_.Line("listening on " + options_.host + ":" + std::to_string(port_));
  for (;;) {
    if (WaitReadable(listenFd_, -1) < 0) return;
    const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
      // Out of descriptors or a connection gone before it was taken: try again a little later
      // rather than spin.
      if (!Pause(std::chrono::milliseconds(100))) return;
      continue;
    }
    // A client that vanished without closing is found out in time and frees the server.
    const int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &yes, sizeof yes);
    // Each answer goes out as written: a paced one in many small writes, which Nagle's algorithm
    // would hold back for the tool's delayed acknowledgement.
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    ServeConnection(fd);
    ::close(fd);
    ++connections_;
    if (options_.once || gone_) return;
  }
}

bool SimServer::Accepts(std::string_view announcement) const {
  // The announcement as the tool builds it: the text in a zero-filled buffer, cut to its length.
  auto expected = [](std::string text, std::size_t size) {
    text.resize(size, '\0');
    return text;
  };
  if (!options_.fiscalNumber.empty())
    return announcement == expected(":" + options_.fiscalNumber + ":", 12);
  if (!options_.idDev.empty()) return announcement == expected(options_.idDev, 9);
  return true;
}

bool SimServer::ReadAnnouncement(int fd, std::string& announcement) {
  const auto deadline = std::chrono::steady_clock::now() + options_.timings.announcement;
  std::size_t size = 9;
  while (announcement.size() < size) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || WaitReadable(fd, static_cast<int>(left.count())) <= 0) return false;
    char buffer[12];
    const ssize_t got = ::recv(fd, buffer, size - announcement.size(), 0);
    if (got <= 0) return false;
    announcement.append(buffer, static_cast<std::size_t>(got));
    if (announcement[0] == ':') size = 12;  // ":" + fiscal number + ":"
  }
  return true;
}

bool SimServer::Send(int fd, const Output& output) {
  // The line's round trip, spent once for each answer, whatever pieces it goes in.
  if (!output.pieces.empty()) {
    if (options_.line.latency.count() > 0 && !Pause(options_.line.latency)) return false;
    ++answers_;
  }
  for (std::size_t i = 0; i < output.pieces.size(); ++i) {
    if (i > 0 && !Pause(output.slow ? options_.timings.dripPause : options_.timings.piecePause))
      return false;
    const std::string& piece = output.pieces[i];
    log_.Bytes("->", piece);
    for (std::size_t sent = 0; sent < piece.size();) {
      const std::size_t chunk = pacer_.Chunk(piece.size() - sent);
      if (pacer_.Paced() && !PauseUntil(pacer_.Carry(chunk, std::chrono::steady_clock::now())))
        return false;
      // Counted before they go, so that a client that has read them finds them counted.
      bytesSent_ += static_cast<long long>(chunk);
      if (!SendBytes(fd, piece.data() + sent, chunk)) {
        bytesSent_ -= static_cast<long long>(chunk);
        return false;
      }
      sent += chunk;
    }
  }
  return !output.close;
}

bool SimServer::SendBytes(int fd, const char* bytes, std::size_t count) {
  // A client that stops reading must neither keep the server from stopping nor hold it for
  // good: after the send limit without room the connection is given up.
  for (std::size_t sent = 0; sent < count;) {
    pollfd fds[2] = {{fd, POLLOUT, 0}, {stopPipe_[0], POLLIN, 0}};
    const int ready = ::poll(fds, 2, static_cast<int>(options_.timings.sendLimit.count()));
    if (ready < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (ready == 0) {
      log_.Line("the client reads nothing: connection given up");
      return false;
    }
    if (fds[1].revents & POLLIN) return false;
    const ssize_t n = ::send(fd, bytes + sent, count - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) continue;
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

void SimServer::ServeConnection(int fd) {
  log_.Line("connection opened");
  std::string announcement;
  if (!ReadAnnouncement(fd, announcement)) {
    log_.Line("connection closed: no announcement");
    return;
  }
  log_.Bytes("<-", announcement);
  if (!Accepts(announcement)) {
    Send(fd, Output{{std::string(kRefusal)}});
    log_.Line("connection refused: another register");
    return;
  }
  if (!Send(fd, Output{{std::string(kReady)}})) return;

  Register device(options_.registerConfig, *journal_, log_);
  RequestParser parser;
  BlockReader blocks;
  char buffer[4096];
  for (;;) {
    if (WaitReadable(fd, -1) <= 0) break;
    const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
    if (got <= 0) break;
    log_.Bytes("<-", std::string_view(buffer, static_cast<std::size_t>(got)));
    for (ssize_t i = 0; i < got; ++i) {
      const char b = buffer[i];
      std::optional<Output> output;
      BlockReader::Event block = BlockReader::Event::kNoBlock;
      if (blocks.Active() || (parser.Idle() && b == 0x07 && device.blocksEnabled()))
        block = blocks.Feed(b);
      if (block == BlockReader::Event::kBlock) {
        output =
            device.OnBlock(blocks.Command(), blocks.Payload(), blocks.CrcOk(), ++requestCount_);
        blocks.Take();
      } else if (block == BlockReader::Event::kNoBlock) {
        switch (parser.Feed(static_cast<std::uint8_t>(b))) {
          case RequestParser::Event::kFrame:
            output = device.OnFrame(parser.request(), ++requestCount_);
            break;
          case RequestParser::Event::kBroken: output = device.OnBrokenFrame(++requestCount_); break;
          case RequestParser::Event::kNone: break;
        }
      }
      if (output && !Send(fd, *output)) {
        log_.Line("connection closed by the register");
        // Gone: the listening socket is closed before the connection, so that a client trying
        // again finds nobody rather than a connection in the backlog.
        if (output->gone) GoAway();
        return;
      }
    }
  }
  log_.Line("connection closed");
}

}  // namespace morvek::sim
