#pragma once
// A program run as a child process for the collector's tests: its output in files of a folder (no
// pipes, so a chatty child never blocks), waits that always end, and a child still running at
// the end killed.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "test_support.h"

extern char** environ;

namespace morvek::test {

class ChildProcess {
 public:
  // Starts program with args in workDir; its standard output and error go to outPath and errPath.
  ChildProcess(const std::string& program, const std::vector<std::string>& args,
               const std::string& workDir, std::string outPath, std::string errPath)
      : outPath_(std::move(outPath)), errPath_(std::move(errPath)) {
    std::vector<std::string> text{program};
    text.insert(text.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : text) argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addchdir_np(&actions, workDir.c_str());
    const int spawned =
        posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) throw std::runtime_error("cannot start " + program);
  }
  ~ChildProcess() { Kill(); }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // The exit status once it has ended within the limit; -1 when a signal ended it or it had to
  // be killed at the limit.
  int Wait(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (Running() && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    Kill();
    return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
  }
  bool Running() {
    if (pid_ > 0 && waitpid(pid_, &status_, WNOHANG) == pid_) pid_ = 0;
    return pid_ > 0;
  }
  // SIGKILL, and the child reaped.
  void Kill() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    waitpid(pid_, &status_, 0);
    pid_ = 0;
  }
  std::string Out() const { return ReadFile(outPath_); }
  std::string Err() const { return ReadFile(errPath_); }

 private:
  std::string outPath_, errPath_;
  pid_t pid_ = 0;
  int status_ = 0;
};

// morvek-sim serving one register on its own address, ready once it has said it listens.
class SimProcess {
 public:
  SimProcess(const std::string& host, const std::vector<std::string>& options,
             const std::string& folder)
      : child_(MORVEK_SIM, WithHost(host, options), folder, folder + "/sim-" + host + ".out",
               folder + "/sim-" + host + ".err") {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (child_.Out().find("listening on") == std::string::npos) {
      if (!child_.Running() || std::chrono::steady_clock::now() > deadline)
        throw std::runtime_error("morvek-sim on " + host + " did not start: " + child_.Err());
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  bool Running() { return child_.Running(); }

 private:
  static std::vector<std::string> WithHost(const std::string& host,
                                           std::vector<std::string> options) {
    options.insert(options.end(), {"--host", host, "--quiet", "--log", "/dev/null"});
    return options;
  }
  ChildProcess child_;
};

}  // namespace morvek::test
