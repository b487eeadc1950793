// A program the tests start (the X server, a window manager, a compositor):
// its output goes to /dev/null, and it is stopped with SIGTERM and reaped
// when the object goes away.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace qz::testing {

class ChildProcess {
 public:
  // The program's path in $PATH (or /usr/bin), empty when it is not there.
  static std::string FindInPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    dirs += ":/usr/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
      const size_t end = dirs.find(':', start);
      const std::string candidate = dirs.substr(start, end - start) + "/" + name;
      if (access(candidate.c_str(), X_OK) == 0) return candidate;
      if (end == std::string::npos) break;
      start = end + 1;
    }
    return {};
  }

  // Runs `path` with `arguments` (argv[0] included) in this process's
  // environment and with its open descriptors. Null when fork fails.
  static std::unique_ptr<ChildProcess> Start(const std::string& path, const std::vector<std::string>& arguments) {
    // Everything the child needs is built before fork: after it only
    // async-signal-safe calls are allowed (the test process has threads).
    std::vector<const char*> argv;
    for (const std::string& a : arguments) argv.push_back(a.c_str());
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid < 0) return nullptr;
    if (pid == 0) {
      const int devnull = open("/dev/null", O_WRONLY);
      if (devnull >= 0) {
        dup2(devnull, STDOUT_FILENO);
        dup2(devnull, STDERR_FILENO);
      }
      execv(path.c_str(), const_cast<char* const*>(argv.data()));
      _exit(127);
    }
    return std::unique_ptr<ChildProcess>(new ChildProcess(pid));
  }

  ~ChildProcess() {
    if (!exited_) kill(pid_, SIGTERM);
    Reap(0);
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // False once the program has ended (it may have failed to start).
  bool Running() {
    Reap(WNOHANG);
    return !exited_;
  }

 private:
  explicit ChildProcess(pid_t pid) : pid_(pid) {}

  void Reap(int options) {
    if (exited_) return;
    int status;
    if (waitpid(pid_, &status, options) == pid_) exited_ = true;
  }

  pid_t pid_;
  bool exited_ = false;
};

}  // namespace qz::testing
