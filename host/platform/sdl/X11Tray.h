// Tray icons in the X11 system tray (the freedesktop System Tray Protocol
// with XEmbed), on a connection of their own. The tray manager is the owner
// of _NET_SYSTEM_TRAY_S<screen>; each shown icon is a window of ours that
// asks it to dock (SYSTEM_TRAY_REQUEST_DOCK) and carries _XEMBED_INFO. The
// icon window is made on the visual the manager names in
// _NET_SYSTEM_TRAY_VISUAL (ARGB pictures when it is a 32-bit one), takes
// whatever size the tray gives it and reports the pointer on it. A manager
// that goes away leaves the icons unembedded; a new one (its MANAGER
// announcement on the root window) gets them again (HostChanged each time).
// The pointer leaving an icon window is reported (MouseLeave): the tray
// shows no tooltip of its own, its owner does.
//
// Single-threaded like the D-Bus service: poll Fd(), call Dispatch().
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "host/graphics/Pixmap.h"
#include "host/platform/Tray.h"

namespace qz::x11 {

class TTrayClient {
 public:
  using TPost = std::function<void(uint32_t id, const TTrayInput& input)>;
  // Opens a connection to `display` (empty: $DISPLAY); null when it cannot.
  static std::unique_ptr<TTrayClient> Open(TPost post, const std::string& display = {});
  ~TTrayClient();
  TTrayClient(const TTrayClient&) = delete;
  TTrayClient& operator=(const TTrayClient&) = delete;

  int Fd() const;
  void Dispatch();
  bool ManagerPresent() const;
  // 0 horizontal, 1 vertical (the manager's _NET_SYSTEM_TRAY_ORIENTATION).
  int Orientation() const;

  void AddItem(uint32_t id);
  void RemoveItem(uint32_t id);
  void SetIcon(uint32_t id, const TPixmap& icon);
  void SetToolTip(uint32_t id, const std::string& text);
  void SetVisible(uint32_t id, bool visible);
  bool Embedded(uint32_t id) const;
  // The icon's X window (0 while it has none) and whether it is on a
  // 32-bit ARGB visual.
  unsigned long WindowOf(uint32_t id) const;
  bool ArgbOf(uint32_t id) const;
  // The icon window on the screen (empty while it has none).
  TRect ScreenRectOf(uint32_t id) const;

  struct TImpl;

 private:
  explicit TTrayClient(std::unique_ptr<TImpl> impl);
  std::unique_ptr<TImpl> impl_;
};

}  // namespace qz::x11
