// A private X server for the tests: Xvfb on a display number it picks
// itself (-displayfd), stopped when the object goes away.
#pragma once

#include <poll.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "ChildProcess.h"

namespace qz::testing {

class XvfbServer {
 public:
  // nullptr when Xvfb is not installed or did not start; why in `error`.
  // `extraArguments` go to Xvfb after the usual ones ("-extension", "Composite").
  static std::unique_ptr<XvfbServer> Start(std::string& error, const std::vector<std::string>& extraArguments = {}) {
    const std::string program = ChildProcess::FindInPath("Xvfb");
    if (program.empty()) {
      error = "Xvfb is not installed";
      return nullptr;
    }
    int fds[2];
    if (pipe(fds) != 0) {
      error = "pipe failed";
      return nullptr;
    }
    std::vector<std::string> arguments = {"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x1024x24",
                                          "-nolisten", "tcp", "-br", "-noreset"};
    arguments.insert(arguments.end(), extraArguments.begin(), extraArguments.end());
    auto process = ChildProcess::Start(program, arguments);
    close(fds[1]);
    if (!process) {
      close(fds[0]);
      error = "fork failed";
      return nullptr;
    }
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
    return std::unique_ptr<XvfbServer>(new XvfbServer(std::move(process), ":" + number));
  }

  const std::string& Display() const { return display_; }

 private:
  XvfbServer(std::unique_ptr<ChildProcess> process, std::string display)
      : process_(std::move(process)), display_(std::move(display)) {}

  std::unique_ptr<ChildProcess> process_;
  std::string display_;
};

}  // namespace qz::testing
