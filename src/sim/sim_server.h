#pragma once
// The remote-access server with its one simulated register: listens on TCP, serves one connection
// at a time, reads the register announcement, answers "Ready" (or refuses and closes), then feeds
// every received byte to the register and writes back what it answers.
#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "sim/journal.h"
#include "sim/line.h"
#include "sim/register.h"
#include "sim/sim_log.h"

namespace morvek::sim {

inline constexpr int kDatecsPort = 34950;
inline constexpr int kZelmarPort = 34951;

struct SimTimings {
  std::chrono::milliseconds announcement{10000};  // for the whole announcement to arrive
  std::chrono::milliseconds piecePause{200};      // between the pieces of a split reply
  std::chrono::milliseconds dripPause{20};        // after each byte of a slow drip
  std::chrono::milliseconds sendLimit{30000};     // a client that takes nothing for this long
                                                  // is given up
};

struct SimOptions {
  std::string host = "127.0.0.1";
  int port = -1;  // -1: the protocol's port; 0: any free port
  bool once = false;
  SimTimings timings;
  LineOptions line;
  RegisterConfig registerConfig;
  // The announcement the server accepts; both empty: any register.
  std::string fiscalNumber;
  std::string idDev;
};

inline constexpr std::string_view kReady = "Ready";
inline constexpr std::string_view kRefusal = "Unknown register";

class SimServer {
 public:
  SimServer(SimOptions options, std::shared_ptr<const Journal> journal, SimLog& log);
  ~SimServer();
  SimServer(const SimServer&) = delete;
  SimServer& operator=(const SimServer&) = delete;

  // Binds and listens; returns the port. Raises std::runtime_error when it cannot.
  int Listen();
  // Serves connections until Stop (or after one with once). Listen must have run.
  void Serve();
  // Listen, then Serve on a thread of its own.
  int Start();
  // Ends Serve (from any thread) and waits for the thread of Start.
  void Stop();
  // Ends Serve; safe inside a signal handler.
  void RequestStop() const;

  int port() const { return port_; }
  int connectionsServed() const { return connections_.load(); }
  // Answers sent ("Ready" and refusals too), each after the line's latency, and their bytes: what
  // a fetch cost on the line, counted where the line's waits are made.
  long answersSent() const { return answers_.load(); }
  long long bytesSent() const { return bytesSent_.load(); }

 private:
  bool Accepts(std::string_view announcement) const;
  void ServeConnection(int fd);
  bool ReadAnnouncement(int fd, std::string& announcement);
  bool Send(int fd, const Output& output);
  // Writes every byte, waiting for room within the send limit; false when the client is given up
  // or a stop is asked.
  bool SendBytes(int fd, const char* bytes, std::size_t count);
  // Waits for fd to become readable: 1 readable, 0 time-out, -1 stop asked.
  int WaitReadable(int fd, int timeoutMs) const;
  bool Pause(std::chrono::milliseconds pause) const;
  // Waits until then; false when a stop is asked first.
  bool PauseUntil(std::chrono::steady_clock::time_point then) const;
  // Takes no more connections: Serve ends after the one it serves.
  void GoAway();

  SimOptions options_;
  std::shared_ptr<const Journal> journal_;
  SimLog& log_;
  int listenFd_ = -1;
  int stopPipe_[2] = {-1, -1};
  int port_ = 0;
  int requestCount_ = 0;
  bool gone_ = false;
  std::atomic<int> connections_{0};
  std::atomic<long> answers_{0};
  std::atomic<long long> bytesSent_{0};
  LinePacer pacer_;
  std::thread thread_;
};

}  // namespace morvek::sim
