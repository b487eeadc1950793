// A private X server for the tests: Xvfb on a display number it picks
// itself (-displayfd), stopped when the object goes away.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace qz::testing {

class XvfbServer {
 public:
  // nullptr when Xvfb is not installed or did not start; why in `error`.
  // `extraArguments` go to Xvfb after the usual ones ("-extension", "Composite").
  static std::unique_ptr<XvfbServer> Start(std::string& error, const std::vector<std::string>& extraArguments = {}) {
    const std::string program = FindInPath("Xvfb");
    if (program.empty()) {
      error = "Xvfb is not installed";
      return nullptr;
    }
    int fds[2];
    if (pipe(fds) != 0) {
      error = "pipe failed";
      return nullptr;
    }
    const pid_t pid = fork();
    if (pid == 0) {
      close(fds[0]);
      const int devnull = open("/dev/null", O_WRONLY);
      if (devnull >= 0) {
        dup2(devnull, STDOUT_FILENO);
        dup2(devnull, STDERR_FILENO);
      }
      const std::string fd = std::to_string(fds[1]);
      std::vector<const char*> argv = {"Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
                                       "-nolisten", "tcp", "-br", "-noreset"};
      for (const std::string& a : extraArguments) argv.push_back(a.c_str());
      argv.push_back(nullptr);
      execv(program.c_str(), const_cast<char* const*>(argv.data()));
      _exit(127);
    }
    close(fds[1]);
    auto server = std::unique_ptr<XvfbServer>(new XvfbServer(pid));
    // Xvfb writes its display number once it accepts connections.
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    while (poll(&p, 1, 30000) > 0) {
      char c;
      if (read(fds[0], &c, 1) != 1 || c == '\n') break;
      number += c;
    }
    close(fds[0]);
    if (number.empty()) {
      error = "Xvfb did not start";
      return nullptr;
    }
    server->display_ = ":" + number;
    return server;
  }

  ~XvfbServer() {
    kill(pid_, SIGTERM);
    int status;
    waitpid(pid_, &status, 0);
  }

  const std::string& Display() const { return display_; }

 private:
  explicit XvfbServer(pid_t pid) : pid_(pid) {}

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

  pid_t pid_;
  std::string display_;
};

}  // namespace qz::testing
