// What the SDL backend does on X11 below SDL: window shapes (SHAPE
// extension), the ARGB visual for per-pixel alpha, stacking, mapping without stealing the focus, transient
// owners, and exact pointer positions from the raw X events. It runs on its
// own connection to the display SDL uses, so SDL's connection and event
// handling are left alone; X headers stay inside X11Bridge.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "host/graphics/Region.h"

union SDL_Event;
struct SDL_Window;

namespace qz::x11 {

using TWindowId = unsigned long;

// The X window of an SDL window (0 when it is not an X11 window).
TWindowId WindowIdOf(SDL_Window* window);

// Pointer input read from the X event behind an SDL system event.
struct TPointerInput {
  enum class Kind { None, Move, Press, Release } kind = Kind::None;
  TWindowId window = 0;
  int rootX = 0;
  int rootY = 0;
  int button = 0;           // X button number: 1 left, 2 middle, 3 right, 4/5 wheel
  uint32_t modifiers = 0;   // kMod*
  uint32_t buttonsHeld = 0; // before the event: bit 0 left, 1 right, 2 middle (TMouseButtonId)
};
// Kind::None when the event is not a pointer event of a window.
TPointerInput ReadPointerInput(const SDL_Event& systemEvent);

// Makes the process's X error handler the one that ignores what is expected
// here (errors of our own connection, messages to windows already gone) and
// passes the rest on. Call it before SDL opens the display: SDL keeps the
// handler it finds and puts it back when it closes, and it closes its own
// connections (reading their last errors) only after that.
void InstallErrorHandler();
// Errors on this connection (Display*) are expected too (the tray's
// connection: a tray manager may go at any moment); null stops that.
void IgnoreErrorsOf(void* display);

class TConnection {
 public:
  // Opens a second connection to $DISPLAY; null when it cannot.
  static std::unique_ptr<TConnection> Open();
  ~TConnection();
  TConnection(const TConnection&) = delete;
  TConnection& operator=(const TConnection&) = delete;

  bool HasShapeExtension() const { return hasShape_; }
  bool HasWindowManager() const;
  // A compositing manager owns _NET_WM_CM_S<screen>: it blends windows of
  // the ARGB visual with what is below them by their alpha.
  bool HasCompositor() const;
  // The TrueColor visual of depth 32 whose pixels are 0xAARRGGBB (the
  // layout of TPixmap), 0 when the screen has none.
  unsigned long ArgbVisual() const { return argbVisual_; }

  // Shape (window coordinates); null restores the rectangular window.
  void SetShape(TWindowId window, const TRegion* shape);
  // Where the window takes pointer input, within its shape; null: all of it.
  void SetInputShape(TWindowId window, const TRegion* shape);
  void SetTransientFor(TWindowId window, TWindowId owner);
  // Map raised without taking the input focus; Unmap withdraws.
  void Map(TWindowId window);
  void Unmap(TWindowId window);
  // Gives the window the input focus when it is viewable.
  void Focus(TWindowId window);
  // Puts the windows into this order (bottom to top), above other windows.
  void Restack(const std::vector<TWindowId>& bottomToTop);
  // Waits until the server has done everything asked so far.
  void Sync();

 private:
  explicit TConnection(void* display);
  void* display_;  // Display*
  bool hasShape_ = false;
  unsigned long argbVisual_ = 0;
};

}  // namespace qz::x11
