#pragma once
// A program run as a child process for the collector's tests: its output in files of a folder (no
// pipes, so a chatty child never blocks), waits that always end, and a child still running at
// the end killed, or when the test's process dies.
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "test_support.h"

namespace morvek::test {

class ChildProcess {
 public:
  // Starts program with args in workDir; its standard output and error go to outPath and errPath.
  // The child is killed when the test's process ends, also when it ends without cleaning up.
  ChildProcess(const std::string& program, const std::vector<std::string>& args,
               const std::string& workDir, std::string outPath, std::string errPath)
      : outPath_(std::move(outPath)), errPath_(std::move(errPath)) {
    std::vector<std::string> text{program};
    text.insert(text.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : text) argv.push_back(arg.data());
    argv.push_back(nullptr);
    // What an earlier child wrote there is gone before this one starts, so it is never read as
    // this one's.
    unlink(outPath_.c_str());
    unlink(errPath_.c_str());
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error("cannot start " + program);
    if (pid_ == 0) {
      // Only calls that are safe between fork and exec.
      const int in = open("/dev/null", O_RDONLY);
      const int out = open(outPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      const int err = open(errPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 ||
          chdir(workDir.c_str()) != 0 || prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 ||
          getppid() != parent)
        _exit(127);
      execv(argv[0], argv.data());
      _exit(127);
    }
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
