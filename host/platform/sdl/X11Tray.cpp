#include "host/platform/sdl/X11Tray.h"

#include <poll.h>

#include <chrono>
#include <map>
#include <vector>

#include "host/graphics/PixmapScale.h"
#include "host/platform/sdl/X11Bridge.h"

// X headers last: they define macros that clash with ordinary names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace qz::x11 {

namespace {

constexpr long kRequestDock = 0;
constexpr long kXEmbedEmbeddedNotify = 0;
constexpr long kXEmbedMapped = 1;
constexpr int kFirstSize = 22;
constexpr int kEmbedWaitMs = 500;

struct TItem {
  TPixmap icon;
  std::string tip;
  bool visible = false;
  Window window = 0;
  Colormap colormap = 0;
  Visual* visual = nullptr;
  int depth = 0;
  bool argb = false;
  bool embedded = false;
  int width = kFirstSize, height = kFirstSize;
  TTrayClickTracker clicks;
};

// v * a / 255, rounded.
uint32_t Scale(uint32_t v, uint32_t a) { return (v * a * 2 + 255) / 510; }

}  // namespace

struct TTrayClient::TImpl {
  Display* d = nullptr;
  int screen = 0;
  Window root = 0;
  Atom selection = 0, opcode = 0, visualAtom = 0, orientationAtom = 0, manager = 0, xembed = 0, xembedInfo = 0,
       netWmName = 0, utf8 = 0;
  Window managerWindow = 0;
  VisualID managerVisual = 0;
  int orientation = 0;
  TPost post;
  std::map<uint32_t, TItem> items;

  ~TImpl() {
    if (!d) return;
    for (auto& [id, item] : items) DestroyWindow(item);
    XSync(d, False);
    IgnoreErrorsOf(nullptr);
    XCloseDisplay(d);
  }

  template <class F>
  void Changing(F change) {
    std::map<uint32_t, bool> before;
    for (const auto& [id, item] : items) before[id] = item.visible && item.embedded;
    change();
    for (const auto& [id, item] : items)
      if (before[id] != (item.visible && item.embedded)) {
        TTrayInput in;
        in.kind = TTrayInput::Kind::HostChanged;
        post(id, in);
      }
  }

  unsigned long ReadCardinal(Window w, Atom property, Atom type, unsigned long fallback) {
    Atom actual;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    unsigned long value = fallback;
    if (XGetWindowProperty(d, w, property, 0, 1, False, type, &actual, &format, &count, &after, &data) == Success &&
        data && count == 1 && format == 32)
      value = *reinterpret_cast<unsigned long*>(data);
    if (data) XFree(data);
    return value;
  }

  // The manager now, watched for going away; its visual and orientation.
  void FindManager() {
    XGrabServer(d);
    managerWindow = XGetSelectionOwner(d, selection);
    if (managerWindow) XSelectInput(d, managerWindow, StructureNotifyMask | PropertyChangeMask);
    XUngrabServer(d);
    XFlush(d);
    managerVisual = managerWindow ? ReadCardinal(managerWindow, visualAtom, XA_VISUALID, 0) : 0;
    orientation = managerWindow ? static_cast<int>(ReadCardinal(managerWindow, orientationAtom, XA_CARDINAL, 0)) : 0;
  }

  void ChooseVisual(TItem& item) {
    item.visual = DefaultVisual(d, screen);
    item.depth = DefaultDepth(d, screen);
    item.argb = false;
    if (!managerVisual) return;
    XVisualInfo wanted{};
    wanted.visualid = managerVisual;
    int count = 0;
    XVisualInfo* found = XGetVisualInfo(d, VisualIDMask, &wanted, &count);
    if (found && count > 0) {
      item.visual = found[0].visual;
      item.depth = found[0].depth;
      item.argb = found[0].depth == 32 && found[0].red_mask == 0xFF0000 && found[0].blue_mask == 0xFF;
    }
    if (found) XFree(found);
  }

  void CreateWindow(TItem& item) {
    ChooseVisual(item);
    XSetWindowAttributes a{};
    unsigned long mask = CWEventMask | CWBorderPixel;
    a.event_mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask | LeaveWindowMask | ExposureMask |
                   StructureNotifyMask;
    a.border_pixel = 0;
    if (item.depth != DefaultDepth(d, screen) || item.visual != DefaultVisual(d, screen)) {
      item.colormap = XCreateColormap(d, root, item.visual, AllocNone);
      a.colormap = item.colormap;
      a.background_pixel = 0;
      mask |= CWColormap | CWBackPixel;
    } else {
      a.background_pixmap = ParentRelative;
      mask |= CWBackPixmap;
    }
    item.width = item.height = kFirstSize;
    item.window = XCreateWindow(d, root, 0, 0, item.width, item.height, 0, item.depth, InputOutput, item.visual, mask, &a);
    const long info[2] = {0, kXEmbedMapped};
    XChangeProperty(d, item.window, xembedInfo, xembedInfo, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(info), 2);
    SetName(item);
    item.embedded = false;
  }

  void SetName(const TItem& item) {
    if (!item.window) return;
    XChangeProperty(d, item.window, netWmName, utf8, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(item.tip.data()), static_cast<int>(item.tip.size()));
    XStoreName(d, item.window, item.tip.c_str());
  }

  void DestroyWindow(TItem& item) {
    if (item.window) XDestroyWindow(d, item.window);
    if (item.colormap) XFreeColormap(d, item.colormap);
    item.window = 0;
    item.colormap = 0;
    item.embedded = false;
  }

  void Dock(TItem& item) {
    if (!managerWindow) return;
    if (!item.window) CreateWindow(item);
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = managerWindow;
    e.xclient.message_type = opcode;
    e.xclient.format = 32;
    e.xclient.data.l[0] = CurrentTime;
    e.xclient.data.l[1] = kRequestDock;
    e.xclient.data.l[2] = static_cast<long>(item.window);
    XSendEvent(d, managerWindow, False, NoEventMask, &e);
    XSync(d, False);
  }

  // Waits a little for the manager to embed the icon, so that a caller
  // asking right after showing it hears the truth.
  void WaitEmbedded(const TItem& item) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kEmbedWaitMs);
    while (managerWindow && item.visible && !item.embedded) {
      DispatchAll();
      if (item.embedded || !managerWindow) break;
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
      if (left.count() <= 0) break;
      pollfd p{ConnectionNumber(d), POLLIN, 0};
      ::poll(&p, 1, static_cast<int>(left.count()));
    }
  }

  TItem* ItemOf(Window w, uint32_t& id) {
    for (auto& [key, item] : items)
      if (item.window == w && w) {
        id = key;
        return &item;
      }
    return nullptr;
  }

  void Draw(const TItem& item) {
    if (!item.window || item.width <= 0 || item.height <= 0) return;
    const int w = item.width, h = item.height;
    const int side = std::min(w, h), left = (w - side) / 2, top = (h - side) / 2;
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h, 0);
    std::vector<unsigned char> mask(static_cast<size_t>((w + 7) / 8) * h, 0);
    // Smoothly resized to the size the tray gave.
    const TPixmap pic = item.icon.Empty() ? TPixmap() : ResamplePixmap(item.icon, side, side);
    if (!pic.Empty())
      for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
          const uint32_t p = pic.At(x, y);
          const uint32_t a = p >> 24;
          const size_t at = static_cast<size_t>(top + y) * w + left + x;
          if (item.argb) {
            pixels[at] = (a << 24) | (Scale((p >> 16) & 0xFF, a) << 16) | (Scale((p >> 8) & 0xFF, a) << 8) |
                         Scale(p & 0xFF, a);
          } else {
            pixels[at] = p & 0xFFFFFF;
            if (a >= 128) mask[static_cast<size_t>(top + y) * ((w + 7) / 8) + (left + x) / 8] |= 1 << ((left + x) % 8);
          }
        }
    XImage* image = XCreateImage(d, item.visual, item.depth, ZPixmap, 0, reinterpret_cast<char*>(pixels.data()), w, h,
                                 32, 0);
    if (!image) return;
    GC gc = XCreateGC(d, item.window, 0, nullptr);
    Pixmap clip = 0;
    if (!item.argb) {
      XClearWindow(d, item.window);
      clip = XCreateBitmapFromData(d, item.window, reinterpret_cast<const char*>(mask.data()), w, h);
      XSetClipMask(d, gc, clip);
    }
    XPutImage(d, item.window, gc, image, 0, 0, 0, 0, w, h);
    image->data = nullptr;  // ours
    XDestroyImage(image);
    if (clip) XFreePixmap(d, clip);
    XFreeGC(d, gc);
    XFlush(d);
  }

  void Pointer(uint32_t id, TItem& item, const XEvent& e) {
    using K = TTrayInput::Kind;
    TTrayInput in;
    if (e.type == MotionNotify) {
      in.kind = K::MouseMove;
      in.screenPos = {e.xmotion.x_root, e.xmotion.y_root};
      post(id, in);
      return;
    }
    const unsigned b = e.xbutton.button;
    in.screenPos = {e.xbutton.x_root, e.xbutton.y_root};
    if (b >= 4 && b <= 7) {
      if (e.type != ButtonPress) return;
      in.kind = K::Scroll;
      in.delta = (b == 4 || b == 6) ? 120 : -120;
      in.horizontal = b >= 6;
      post(id, in);
      return;
    }
    if (b < 1 || b > 3) return;
    in.button = b == 1 ? 0 : b == 3 ? 1 : 2;
    in.kind = e.type == ButtonPress ? K::MouseDown : K::MouseUp;
    if (in.kind == K::MouseDown)
      in.doubleClick = item.clicks.IsDoubleClick(in.button, in.screenPos, e.xbutton.time, 500, TSize{4, 4});
    post(id, in);
  }

  void Handle(const XEvent& e) {
    if (e.type == ClientMessage && e.xclient.window == root && e.xclient.message_type == manager &&
        static_cast<Atom>(e.xclient.data.l[1]) == selection) {
      // A new tray: every shown icon goes to it on a fresh window.
      Changing([&] {
        FindManager();
        for (auto& [id, item] : items) {
          DestroyWindow(item);
          if (item.visible) Dock(item);
        }
      });
      return;
    }
    if (e.type == DestroyNotify && managerWindow && e.xdestroywindow.window == managerWindow) {
      Changing([&] {
        managerWindow = 0;
        // Our windows would stay on the root window where the manager left them.
        for (auto& [id, item] : items) DestroyWindow(item);
      });
      return;
    }
    uint32_t id = 0;
    TItem* item = ItemOf(e.xany.window, id);
    if (!item) return;
    switch (e.type) {
      case DestroyNotify:
        // Destroyed with the manager's window (a manager that kept no save-set).
        if (e.xdestroywindow.window != item->window) break;
        Changing([&] {
          item->window = 0;
          item->embedded = false;
        });
        if (item->colormap) XFreeColormap(d, item->colormap);
        item->colormap = 0;
        break;
      case ReparentNotify:
        Changing([&] { item->embedded = e.xreparent.parent != root; });
        if (!item->embedded) XUnmapWindow(d, item->window);
        break;
      case ClientMessage:
        if (e.xclient.message_type == xembed && e.xclient.data.l[1] == kXEmbedEmbeddedNotify)
          Changing([&] { item->embedded = true; });
        break;
      case ConfigureNotify:
        if (e.xconfigure.width != item->width || e.xconfigure.height != item->height) {
          item->width = e.xconfigure.width;
          item->height = e.xconfigure.height;
          Draw(*item);
        }
        break;
      case Expose:
        if (e.xexpose.count == 0) Draw(*item);
        break;
      case ButtonPress:
      case ButtonRelease:
      case MotionNotify:
        Pointer(id, *item, e);
        break;
      case LeaveNotify: {
        // A grab's leave (a press taken by the menu) is no leave of the pointer.
        if (e.xcrossing.mode != NotifyNormal) break;
        TTrayInput in;
        in.kind = TTrayInput::Kind::MouseLeave;
        in.screenPos = {e.xcrossing.x_root, e.xcrossing.y_root};
        post(id, in);
        break;
      }
      default:
        break;
    }
  }

  void DispatchAll() {
    while (XPending(d)) {
      XEvent e;
      XNextEvent(d, &e);
      Handle(e);
    }
  }
};

std::unique_ptr<TTrayClient> TTrayClient::Open(TPost post, const std::string& display) {
  Display* d = XOpenDisplay(display.empty() ? nullptr : display.c_str());
  if (!d) return nullptr;
  InstallErrorHandler();
  IgnoreErrorsOf(d);
  auto impl = std::make_unique<TImpl>();
  impl->d = d;
  impl->post = std::move(post);
  impl->screen = DefaultScreen(d);
  impl->root = RootWindow(d, impl->screen);
  const std::string selection = "_NET_SYSTEM_TRAY_S" + std::to_string(impl->screen);
  impl->selection = XInternAtom(d, selection.c_str(), False);
  impl->opcode = XInternAtom(d, "_NET_SYSTEM_TRAY_OPCODE", False);
  impl->visualAtom = XInternAtom(d, "_NET_SYSTEM_TRAY_VISUAL", False);
  impl->orientationAtom = XInternAtom(d, "_NET_SYSTEM_TRAY_ORIENTATION", False);
  impl->manager = XInternAtom(d, "MANAGER", False);
  impl->xembed = XInternAtom(d, "_XEMBED", False);
  impl->xembedInfo = XInternAtom(d, "_XEMBED_INFO", False);
  impl->netWmName = XInternAtom(d, "_NET_WM_NAME", False);
  impl->utf8 = XInternAtom(d, "UTF8_STRING", False);
  // MANAGER announcements go to the root window.
  XSelectInput(d, impl->root, StructureNotifyMask);
  impl->FindManager();
  return std::unique_ptr<TTrayClient>(new TTrayClient(std::move(impl)));
}

TTrayClient::TTrayClient(std::unique_ptr<TImpl> impl) : impl_(std::move(impl)) {}
TTrayClient::~TTrayClient() = default;

int TTrayClient::Fd() const { return ConnectionNumber(impl_->d); }
void TTrayClient::Dispatch() { impl_->DispatchAll(); }
bool TTrayClient::ManagerPresent() const { return impl_->managerWindow != 0; }
int TTrayClient::Orientation() const { return impl_->orientation; }

void TTrayClient::AddItem(uint32_t id) { impl_->items[id]; }

void TTrayClient::RemoveItem(uint32_t id) {
  auto it = impl_->items.find(id);
  if (it == impl_->items.end()) return;
  impl_->DestroyWindow(it->second);
  impl_->items.erase(it);
  XFlush(impl_->d);
}

void TTrayClient::SetIcon(uint32_t id, const TPixmap& icon) {
  auto it = impl_->items.find(id);
  if (it == impl_->items.end()) return;
  it->second.icon = icon;
  impl_->Draw(it->second);
}

void TTrayClient::SetToolTip(uint32_t id, const std::string& text) {
  auto it = impl_->items.find(id);
  if (it == impl_->items.end()) return;
  it->second.tip = text;
  impl_->SetName(it->second);
  XFlush(impl_->d);
}

void TTrayClient::SetVisible(uint32_t id, bool visible) {
  auto it = impl_->items.find(id);
  if (it == impl_->items.end() || it->second.visible == visible) return;
  TItem& item = it->second;
  item.visible = visible;
  if (visible) {
    impl_->Dock(item);
    impl_->WaitEmbedded(item);
  } else {
    impl_->DestroyWindow(item);
    XFlush(impl_->d);
  }
}

bool TTrayClient::Embedded(uint32_t id) const {
  auto it = impl_->items.find(id);
  return it != impl_->items.end() && it->second.visible && it->second.embedded;
}

unsigned long TTrayClient::WindowOf(uint32_t id) const {
  auto it = impl_->items.find(id);
  return it == impl_->items.end() ? 0 : it->second.window;
}

TRect TTrayClient::ScreenRectOf(uint32_t id) const {
  auto it = impl_->items.find(id);
  if (it == impl_->items.end() || !it->second.window) return {};
  const TItem& item = it->second;
  int x = 0, y = 0;
  Window child = 0;
  if (!XTranslateCoordinates(impl_->d, item.window, impl_->root, 0, 0, &x, &y, &child)) return {};
  return {x, y, x + item.width, y + item.height};
}

bool TTrayClient::ArgbOf(uint32_t id) const {
  auto it = impl_->items.find(id);
  return it != impl_->items.end() && it->second.argb;
}

}  // namespace qz::x11
