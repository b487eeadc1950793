// Tray icons of the platform: an icon with a tooltip in the desktop's
// notification area, and what the user does with it. Each backend shows it
// its own way (headless: a tray in memory that tests click; SDL2/X11: the
// StatusNotifierItem protocol on the session bus, else the X11 system tray).
// A tray may come and go while the icon lives: Embedded() says whether the
// icon is really shown now, and a TrayInput::HostChanged event tells the
// owner when that changed.
//
// Input reaches the owner from the GUI loop: the backend queues a platform
// event of kind Tray naming the icon by id, and the window system hands it
// to DeliverTrayEvent, which calls the icon's listener (the icon may be
// freed by that listener; a queued event of a freed icon is dropped).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "host/base/Types.h"
#include "host/graphics/Pixmap.h"

namespace qz {

struct TTrayInput {
  enum class Kind {
    MouseMove,          // the pointer moved over the icon
    MouseLeave,         // the pointer left the icon (trays that report the pointer)
    MouseDown,          // a button went down on the icon (doubleClick: the second of a double click)
    MouseUp,            // and came up
    Activate,           // the tray host's primary action on the icon (a click there)
    SecondaryActivate,  // its secondary action (a middle click)
    ContextMenu,        // it asks for the icon's menu at screenPos
    Scroll,             // the wheel: delta (120 a notch), horizontal or not
    HostChanged,        // Embedded() changed (a tray appeared or went away)
  };
  Kind kind = Kind::MouseMove;
  int button = 0;            // 0 left, 1 right, 2 middle (TMouseButtonId's values)
  bool doubleClick = false;  // MouseDown only
  TPoint screenPos;
  int delta = 0;
  bool horizontal = false;
};

using TTrayListener = std::function<void(const TTrayInput&)>;

class IPlatformTrayIcon {
 public:
  virtual ~IPlatformTrayIcon() = default;
  // The picture, straight (not premultiplied) 0xAARRGGBB; any size.
  virtual void SetIcon(const TPixmap& icon) = 0;
  // Cut by the owner to what it allows; UTF-8.
  virtual void SetToolTip(const std::string& text) = 0;
  // Adds the icon to the tray (when there is one, now or later) or removes it.
  virtual void SetVisible(bool visible) = 0;
  virtual bool Visible() const = 0;
  // The icon is shown in a tray right now.
  virtual bool Embedded() const = 0;
  // The protocol in use now: "headless", "sni", "xembed", or "" when none.
  virtual std::string Protocol() const = 0;
  // The tray shows the tooltip itself (StatusNotifierItem hosts); otherwise
  // (XEmbed, headless) the owner shows it near the icon on hover.
  virtual bool HostShowsToolTip() const { return false; }
  // Where the icon is on the screen now (empty when it is not shown or the
  // tray does not say).
  virtual TRect ScreenRect() const { return {}; }
};

// Double clicks of a tray that reports plain presses (XEmbed, headless):
// a press of the same button within the double-click time and distance of
// the last one is the second of a double click (the one after it is a
// first press again).
class TTrayClickTracker {
 public:
  bool IsDoubleClick(int button, TPoint pos, uint64_t nowMs, int doubleClickMs, TSize slop);

 private:
  int lastButton_ = -1;
  TPoint lastPos_;
  uint64_t lastMs_ = 0;
};

// The listeners of a backend's icons by id: queued input names an icon by
// id, so input of an icon freed meanwhile finds nothing.
class TTrayRegistry {
 public:
  uint32_t Add(TTrayListener listener);
  void Remove(uint32_t id);
  // Calls the icon's listener (a copy: it may free the icon); nothing for an
  // id no longer there.
  void Deliver(uint32_t id, const TTrayInput& input) const;

 private:
  std::vector<std::pair<uint32_t, TTrayListener>> listeners_;
  uint32_t next_ = 1;
};

}  // namespace qz
