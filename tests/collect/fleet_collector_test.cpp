// The workers of a fleet collection: every register told as it starts and ends, and the registers
// behind one server address read one after another, never two at once. Against a server on
// 127.0.3.61 that takes connections and never answers; nobody listens on 127.0.3.62.
#include "collect/fleet_collector.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

namespace morvek {
namespace {

// Takes connections and reads what comes, answering nothing; counts how many it holds at once.
class SilentServer {
 public:
  explicit SilentServer(const std::string& host) {
    listen_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    ::inet_pton(AF_INET, host.c_str(), &address.sin_addr);
    if (::bind(listen_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listen_, 8) != 0)
      throw std::runtime_error("cannot listen on " + host);
    socklen_t length = sizeof address;
    ::getsockname(listen_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }
  ~SilentServer() {
    stop_ = true;
    thread_.join();
    for (int fd : clients_) ::close(fd);
    ::close(listen_);
  }
  int port() const { return port_; }
  int accepted() const { return accepted_; }
  int mostAtOnce() const { return mostAtOnce_; }

 private:
  void Serve() {
    while (!stop_) {
      std::vector<pollfd> fds{{listen_, POLLIN, 0}};
      for (int fd : clients_) fds.push_back({fd, POLLIN, 0});
      if (::poll(fds.data(), fds.size(), 20) <= 0) continue;
      for (std::size_t i = 1; i < fds.size(); ++i)
        if (fds[i].revents != 0) DropIfClosed(fds[i].fd);
      if (fds[0].revents & POLLIN) {
        // A client that closed before this one came is gone by now: its end is read first.
        for (int fd : std::vector<int>(clients_)) DropIfClosed(fd);
        clients_.push_back(::accept(listen_, nullptr, nullptr));
        ++accepted_;
        mostAtOnce_ = std::max<int>(mostAtOnce_, static_cast<int>(clients_.size()));
      }
    }
  }
  void DropIfClosed(int fd) {
    char buffer[256];
    ssize_t got;
    while ((got = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT)) > 0) {
    }
    if (got == 0) {
      ::close(fd);
      clients_.erase(std::find(clients_.begin(), clients_.end(), fd));
    }
  }

  int listen_ = -1, port_ = 0;
  std::vector<int> clients_;
  std::atomic<bool> stop_{false};
  std::atomic<int> accepted_{0}, mostAtOnce_{0};
  std::thread thread_;
};

class Recorder : public CollectObserver {
 public:
  void Started(std::size_t index) override { Add("started " + std::to_string(index)); }
  void Progressed(std::size_t index, const RegisterProgress& progress) override {
    Add(progress.stage + " " + std::to_string(index));
  }
  void Finished(std::size_t index, const RegisterReport& report) override {
    Add("finished " + std::to_string(index) + " " + report.name);
  }
  std::vector<std::string> events;

 private:
  void Add(std::string event) {
    const std::lock_guard lock(mutex_);
    events.push_back(std::move(event));
  }
  std::mutex mutex_;
};

TEST(FleetCollector, RegistersBehindOneAddressAreReadOneAfterAnother) {
  SilentServer server("127.0.3.61");
  std::vector<FleetRegister> fleet(4);
  for (std::size_t i = 0; i < fleet.size(); ++i) {
    fleet[i].name = "R" + std::to_string(i);
    fleet[i].fiscalNumber = std::to_string(4000000610 + i);
    fleet[i].host = "127.0.3.61";
    fleet[i].port = server.port();
  }
  fleet[2].host = "127.0.3.62";
  CollectOptions options;
  options.archive = ":memory:";
  options.jobs = 8;
  options.timings.handshake = {.streamTimeoutMs = 200, .cycles = 1, .ticks = 3, .tickMs = 50};
  Recorder recorder;
  const std::vector<RegisterReport> reports = CollectFleet(fleet, options, recorder);

  ASSERT_EQ(reports.size(), fleet.size());
  for (std::size_t i = 0; i < fleet.size(); ++i) {
    EXPECT_EQ(reports[i].name, fleet[i].name);
    EXPECT_EQ(reports[i].outcome, RegisterOutcome::kUnreachable) << reports[i].reason;
    EXPECT_FALSE(reports[i].connected);
    const auto told = [&](const std::string& event) {
      return std::count(recorder.events.begin(), recorder.events.end(), event);
    };
    EXPECT_EQ(told("started " + std::to_string(i)), 1);
    EXPECT_EQ(told("connecting " + std::to_string(i)), 1);
    EXPECT_EQ(told("finished " + std::to_string(i) + " R" + std::to_string(i)), 1);
  }
  EXPECT_EQ(server.accepted(), 3);
  EXPECT_EQ(server.mostAtOnce(), 1) << "two sessions at once through one server";
}

}  // namespace
}  // namespace morvek
