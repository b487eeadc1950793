// Tray icons as StatusNotifierItems on the session D-Bus (libdbus-1). Each
// shown icon owns the bus name org.kde.StatusNotifierItem-<pid>-<id>, serves
// the item at /StatusNotifierItem (properties Id, Title, Status, Category,
// IconPixmap, ToolTip ...; methods Activate, SecondaryActivate, ContextMenu,
// Scroll; signals NewIcon, NewToolTip, NewStatus) and registers that name
// with org.kde.StatusNotifierWatcher. A hidden icon gives its name up, which
// takes it off the watcher. The service follows the watcher: one that
// appears later gets every shown icon, one that goes away leaves them
// unembedded (HostChanged each time).
//
// Single-threaded: the owner polls Fd() for reading in its event loop and
// calls Dispatch(), which never blocks (registration waits for the watcher's
// answer, at most a second). Input and HostChanged go to the post callback
// with the icon's id; nothing of the owner is called from inside libdbus.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "host/graphics/Pixmap.h"
#include "host/platform/Tray.h"

namespace qz::sni {

class TService {
 public:
  using TPost = std::function<void(uint32_t id, const TTrayInput& input)>;
  // Connects to the bus at `address` (empty: the session bus); null when
  // there is none. `appId` becomes every item's Id.
  static std::unique_ptr<TService> Connect(TPost post, const std::string& appId, const std::string& address = {});
  ~TService();
  TService(const TService&) = delete;
  TService& operator=(const TService&) = delete;

  int Fd() const;
  // Handles everything that arrived; does not wait for more.
  void Dispatch();
  // A watcher owns its name on the bus (as of the last Dispatch).
  bool WatcherPresent() const;

  void AddItem(uint32_t id);
  void RemoveItem(uint32_t id);
  void SetIcon(uint32_t id, const TPixmap& icon);
  void SetToolTip(uint32_t id, const std::string& text);
  void SetTitle(uint32_t id, const std::string& title);
  void SetVisible(uint32_t id, bool visible);
  // Registered with a watcher that has a tray host.
  bool Embedded(uint32_t id) const;
  // The bus name an item serves under ("" when it has none now).
  std::string BusName(uint32_t id) const;

  struct TImpl;

 private:
  explicit TService(std::unique_ptr<TImpl> impl);
  std::unique_ptr<TImpl> impl_;
};

// ARGB32 in network byte order (A, R, G, B per pixel), as IconPixmap wants.
std::string IconPixmapBytes(const TPixmap& icon);

}  // namespace qz::sni
