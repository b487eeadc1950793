// The tray of the SDL2/X11 platform, picked at run time and again whenever
// a tray comes or goes: a StatusNotifierItem when a watcher owns its name
// on the session bus (built with libdbus-1), else the X11 system tray when
// a manager owns its selection, else none (the icon waits, unembedded).
// Input is queued as Tray events for the platform's WaitEvent.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "host/platform/Platform.h"

namespace qz {

class TSdlTray {
 public:
  TSdlTray();
  ~TSdlTray();
  TSdlTray(const TSdlTray&) = delete;
  TSdlTray& operator=(const TSdlTray&) = delete;

  std::unique_ptr<IPlatformTrayIcon> CreateIcon(TTrayListener listener);
  // Handles what arrived on the bus and on the tray's X connection.
  void Dispatch();
  // While icons exist the event loop keeps dispatching.
  bool HasIcons() const;
  // The next queued Tray event; false when there is none.
  bool PopEvent(TPlatformEvent& event);
  void Deliver(const TPlatformEvent& event) const;

  struct TState;

 private:
  std::shared_ptr<TState> state_;
};

}  // namespace qz
