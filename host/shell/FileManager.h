// Verbs carried out by the user's file manager over D-Bus
// (org.freedesktop.FileManager1 on the session bus), and file URIs.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/base/Exception.h"
#include "host/shell/FileUri.h"

namespace qz {

// A shell operation failed; the message says what and why (the system's
// reason for an errno, the bus's for D-Bus).
class EShellError : public Exception {
 public:
  EShellError(const std::string& message, int errorCode = 0) : Exception(message), code_(errorCode) {}
  int ErrorCode() const { return code_; }  // errno, 0 when none

 private:
  int code_;
};


struct TBusOptions {
  // The bus to talk to; empty: the session bus of the environment
  // (DBUS_SESSION_BUS_ADDRESS, else $XDG_RUNTIME_DIR/bus). No bus is ever
  // started for the call.
  std::string Address;
  int TimeoutMs = 2000;  // how long the bus and the file manager may take to answer
};

// Asks the file manager to show its properties window for the items
// (absolute paths as bytes); startupId lets the window manager give it the
// focus ("" when none). Throws EShellError when there is no session bus, no
// file manager answers or it refuses. Each of its two exchanges with the
// bus (greeting it, the call) waits at most the time-out.
void ShowItemProperties(const std::vector<std::string>& paths, const std::string& startupId = {},
                        const TBusOptions& options = {});

}  // namespace qz
