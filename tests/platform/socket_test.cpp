// The client socket and its stream against a listener on loopback.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include "platform/socket.h"

namespace morvek {
namespace {

// A listening socket on 127.0.0.1 with a port of the system's choice.
class Listener {
 public:
  Listener() {
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(fd_, 4);
    socklen_t length = sizeof address;
    getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
  }
  ~Listener() {
    if (peer_ >= 0) close(peer_);
    close(fd_);
  }
  int port() const { return port_; }
  int Accept() { return peer_ = accept(fd_, nullptr, nullptr); }
  void ClosePeer() {
    close(peer_);
    peer_ = -1;
  }

 private:
  int fd_ = -1, peer_ = -1, port_ = 0;
};

void Connect(ClientSocket& socket, int port) {
  socket.SetHost("127.0.0.1");
  socket.SetPort(port);
  socket.Activate();
}

TEST(ClientSocket, RefusedConnectionRaises) {
  int port = 0;
  {
    Listener gone;  // a port that was free a moment ago
    port = gone.port();
  }
  ClientSocket socket;
  socket.SetHost("127.0.0.1");
  socket.SetPort(port);
  EXPECT_THROW(socket.Activate(), SocketError);
  EXPECT_FALSE(socket.IsActive());
}

TEST(SocketStream, BytesGoBothWays) {
  Listener listener;
  ClientSocket socket;
  Connect(socket, listener.port());
  const int peer = listener.Accept();
  SocketStream stream(socket, 1000);
  stream.Write("ping", 4);
  char got[8] = {};
  ASSERT_EQ(read(peer, got, sizeof got), 4);
  EXPECT_EQ(std::string(got, 4), "ping");
  ASSERT_EQ(write(peer, "Ready", 5), 5);
  char reply[16] = {};
  EXPECT_EQ(stream.Read(reply, sizeof reply), 5u);
  EXPECT_EQ(std::string(reply, 5), "Ready");
}

TEST(SocketStream, SilentPeerGivesZeroAfterTheTimeOut) {
  Listener listener;
  ClientSocket socket;
  Connect(socket, listener.port());
  listener.Accept();
  SocketStream stream(socket, 20);
  char buffer[4];
  EXPECT_FALSE(stream.WaitForData(10));
  EXPECT_EQ(stream.Read(buffer, sizeof buffer), 0u);
}

TEST(SocketStream, PeerThatClosedIsAnErrorNotSilence) {
  Listener listener;
  ClientSocket socket;
  Connect(socket, listener.port());
  listener.Accept();
  listener.ClosePeer();
  SocketStream stream(socket, 1000);
  char buffer[4];
  EXPECT_TRUE(stream.WaitForData(1000));
  EXPECT_THROW(stream.Read(buffer, sizeof buffer), SocketError);
}

TEST(SocketStream, WritingToAClosedPeerRaisesInsteadOfKillingTheProcess) {
  Listener listener;
  ClientSocket socket;
  Connect(socket, listener.port());
  listener.Accept();
  listener.ClosePeer();
  SocketStream stream(socket, 1000);
  const std::string chunk(65536, 'x');
  // The first writes may still be taken by the system; a later one meets the reset. Without
  // MSG_NOSIGNAL that write would end the process with SIGPIPE.
  EXPECT_THROW(
      {
        for (int i = 0; i < 64; ++i) stream.Write(chunk.data(), chunk.size());
      },
      SocketError);
}

TEST(SocketStream, InactiveSocketRaises) {
  ClientSocket socket;
  SocketStream stream(socket, 10);
  char buffer[4];
  EXPECT_THROW(stream.Write("x", 1), SocketError);
  EXPECT_THROW(stream.Read(buffer, sizeof buffer), SocketError);
}

}  // namespace
}  // namespace morvek
