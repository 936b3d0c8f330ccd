#pragma once
// Runs a built program (morvek-cli, morvek-sim) as a child process in a working folder of the
// test's choosing, with standard output and standard error captured in files of that folder (no
// pipes, so a chatty child can never block), and waits for it for a bounded time.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <ostream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "test_support.h"

namespace morvek::test {

struct CliResult {
  int exitCode = -1;  // -1 when the child did not exit normally (signal, or killed after the wait)
  std::string out, err;
};

// `stdoutPath` replaces the captured standard output, for sending it somewhere unusual.
inline CliResult RunProgram(const std::string& program, const std::string& workDir,
                            const std::vector<std::string>& args,
                            const std::string& stdoutPath = "") {
  const std::string outFile = workDir + "/.cli-stdout", errFile = workDir + "/.cli-stderr";
  std::vector<std::string> argvText{program};
  argvText.insert(argvText.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& arg : argvText) argv.push_back(arg.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, (stdoutPath.empty() ? outFile : stdoutPath).c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addchdir_np(&actions, workDir.c_str());
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error("cannot start " + program);

  // A safety net, not a timing check: a healthy run takes milliseconds.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  CliResult result;
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  if (stdoutPath.empty()) result.out = ReadFile(outFile);
  result.err = ReadFile(errFile);
  unlink(outFile.c_str());
  unlink(errFile.c_str());
  return result;
}

inline CliResult RunCli(const std::string& workDir, const std::vector<std::string>& args,
                        const std::string& stdoutPath = "") {
  return RunProgram(MORVEK_CLI, workDir, args, stdoutPath);
}

// A command line that is a usage error, named for the test's name.
struct UsageCase {
  const char* name;
  std::vector<std::string> args;
};
inline void PrintTo(const UsageCase& c, std::ostream* os) {
  *os << c.name;
}

}  // namespace morvek::test
