// The command line every tool shares: help, wrong usage and exit codes.
//
//   int main(int argc, char** argv) {
//     return qz::tool::ToolMain(argc, argv, {"skinpack", kUsage}, Run);
//   }
//
// "-h" or "--help" anywhere prints the usage on standard output and exits 0
// before anything else is read. Run gets the arguments after the program
// name and returns the exit code; it throws TUsageError for wrong usage
// ("NAME: message" and the usage, or a pointer to --help, on standard error;
// exit 2) and any other exception for a failure ("NAME: error: message";
// exit 1).
#pragma once

#include <algorithm>
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "host/base/Types.h"

namespace qz::tool {

enum TExitCode : int { kExitSuccess = 0, kExitFailure = 1, kExitUsage = 2 };

// Wrong usage: an unknown option, a missing argument, a value out of range.
struct TUsageError {
  std::string message;
};

struct TToolDescription {
  const char* Name;   // the program's name, which starts every message
  const char* Usage;  // the --help text
  // After wrong usage: the whole usage (long enough to read at once), else
  // only a pointer to --help.
  bool UsageAfterError = true;
  // The exit code of a failure (1 for most tools; a program whose other
  // codes are answers, as a dialog's are, may need another).
  int FailureExit = kExitFailure;
};

inline bool IsHelpOption(const std::string& arg) { return arg == "-h" || arg == "--help"; }

template <class TRun>
int ToolMain(int argc, char** argv, const TToolDescription& tool, TRun&& run) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (std::ranges::any_of(args, IsHelpOption)) {
    std::cout << tool.Usage;
    return kExitSuccess;
  }
  try {
    return run(args);
  } catch (const TUsageError& e) {
    std::cerr << tool.Name << ": " << e.message << "\n";
    if (tool.UsageAfterError) std::cerr << "\n" << tool.Usage;
    else std::cerr << "(" << tool.Name << " --help lists the options)\n";
    return kExitUsage;
  } catch (const std::exception& e) {
    std::cerr << tool.Name << ": error: " << e.what() << "\n";
    return tool.FailureExit;
  }
}

// The value of an option given as "--name value" or "--name=value"; false
// when args[i] is not that option. The separate form moves i to the value;
// without one it is wrong usage ("--name needs <what>").
inline bool OptionValue(const std::vector<std::string>& args, size_t& i, const std::string& name,
                        std::string& value, const std::string& what = "a value") {
  const std::string& a = args[i];
  if (a == name) {
    if (i + 1 >= args.size()) throw TUsageError{name + " needs " + what};
    value = args[++i];
    return true;
  }
  if (a.rfind(name + "=", 0) == 0) {
    value = a.substr(name.size() + 1);
    return true;
  }
  return false;
}

// A size "WxH" (or "WXH") with both sides from 1 to `largest`, the value of
// the option `name`.
inline TSize ParseSizeOption(const std::string& name, const std::string& text, int largest) {
  int w = 0, h = 0;
  char x = 0, extra = 0;
  if (std::sscanf(text.c_str(), "%d%c%d%c", &w, &x, &h, &extra) != 3 || (x != 'x' && x != 'X') ||
      w < 1 || h < 1 || w > largest || h > largest)
    throw TUsageError{name + " takes WxH with sides from 1 to " + std::to_string(largest) + ", not \"" +
                      text + "\""};
  return {w, h};
}

}  // namespace qz::tool
