#include "host/platform/sdl/SdlTray.h"

#include <map>

#include "host/platform/sdl/X11Tray.h"
#ifdef QZ_HAVE_DBUS
#include "host/platform/sni/SniTray.h"
#endif

namespace qz {

namespace {
struct TIconState {
  TPixmap icon;
  std::string tip;
  bool visible = false;
};
}  // namespace

struct TSdlTray::TState {
  TTrayRegistry listeners;
  std::deque<TPlatformEvent> queue;
  std::map<uint32_t, TIconState> icons;
#ifdef QZ_HAVE_DBUS
  std::unique_ptr<sni::TService> sni;
#endif
  std::unique_ptr<x11::TTrayClient> xembed;
  bool viaSni = false;

  void Post(uint32_t id, const TTrayInput& input) {
    TPlatformEvent e;
    e.kind = TPlatformEventKind::Tray;
    e.trayId = id;
    e.trayInput = input;
    e.screenPos = input.screenPos;
    queue.push_back(e);
  }

  bool SniUsable() const {
#ifdef QZ_HAVE_DBUS
    return sni && sni->WatcherPresent();
#else
    return false;
#endif
  }

  // Each icon through the protocol of the moment: the bus when a watcher is
  // there, else the X11 tray.
  void Route(uint32_t id) {
    const TIconState& s = icons[id];
    const bool sniNow = SniUsable();
#ifdef QZ_HAVE_DBUS
    if (sni) sni->SetVisible(id, s.visible && sniNow);
#endif
    if (xembed) xembed->SetVisible(id, s.visible && !sniNow);
  }

  bool Embedded(uint32_t id) const {
#ifdef QZ_HAVE_DBUS
    if (SniUsable()) return sni->Embedded(id);
#endif
    return xembed && xembed->Embedded(id);
  }

  std::string Protocol(uint32_t id) const {
    if (!Embedded(id)) return "";
    return SniUsable() ? "sni" : "xembed";
  }

  void Dispatch() {
    const bool sniBefore = SniUsable();
    const bool managerBefore = xembed && xembed->ManagerPresent();
#ifdef QZ_HAVE_DBUS
    if (sni) sni->Dispatch();
#endif
    if (xembed) xembed->Dispatch();
    const bool sniAfter = SniUsable();
    const bool managerAfter = xembed && xembed->ManagerPresent();
    if (sniBefore == sniAfter && (sniAfter || managerBefore == managerAfter)) return;
    // The protocol changed: every shown icon moves and hears of it.
    for (const auto& [id, s] : icons) {
      Route(id);
      if (!s.visible) continue;
      TTrayInput in;
      in.kind = TTrayInput::Kind::HostChanged;
      Post(id, in);
    }
  }
};

namespace {

class TSdlTrayIcon final : public IPlatformTrayIcon {
 public:
  TSdlTrayIcon(std::weak_ptr<TSdlTray::TState> state, uint32_t id) : state_(std::move(state)), id_(id) {}
  ~TSdlTrayIcon() override {
    auto s = state_.lock();
    if (!s) return;
#ifdef QZ_HAVE_DBUS
    if (s->sni) s->sni->RemoveItem(id_);
#endif
    if (s->xembed) s->xembed->RemoveItem(id_);
    s->icons.erase(id_);
    s->listeners.Remove(id_);
  }
  void SetIcon(const TPixmap& icon) override {
    auto s = state_.lock();
    if (!s) return;
    s->icons[id_].icon = icon;
#ifdef QZ_HAVE_DBUS
    if (s->sni) s->sni->SetIcon(id_, icon);
#endif
    if (s->xembed) s->xembed->SetIcon(id_, icon);
  }
  void SetToolTip(const std::string& text) override {
    auto s = state_.lock();
    if (!s) return;
    s->icons[id_].tip = text;
#ifdef QZ_HAVE_DBUS
    if (s->sni) s->sni->SetToolTip(id_, text);
#endif
    if (s->xembed) s->xembed->SetToolTip(id_, text);
  }
  void SetVisible(bool visible) override {
    auto s = state_.lock();
    if (!s) return;
    s->icons[id_].visible = visible;
    s->Route(id_);
  }
  bool Visible() const override {
    auto s = state_.lock();
    return s && s->icons.count(id_) && s->icons.at(id_).visible;
  }
  bool Embedded() const override {
    auto s = state_.lock();
    return s && Visible() && s->Embedded(id_);
  }
  std::string Protocol() const override {
    auto s = state_.lock();
    return s ? s->Protocol(id_) : "";
  }
  bool HostShowsToolTip() const override {
    auto s = state_.lock();
    return s && s->SniUsable();
  }
  TRect ScreenRect() const override {
    auto s = state_.lock();
    if (!s || !Embedded() || s->SniUsable() || !s->xembed) return {};
    return s->xembed->ScreenRectOf(id_);
  }

 private:
  std::weak_ptr<TSdlTray::TState> state_;
  uint32_t id_;
};

}  // namespace

TSdlTray::TSdlTray() : state_(std::make_shared<TState>()) {
  TState* s = state_.get();
  auto post = [s](uint32_t id, const TTrayInput& in) { s->Post(id, in); };
#ifdef QZ_HAVE_DBUS
  s->sni = sni::TService::Connect(post, "");
#endif
  s->xembed = x11::TTrayClient::Open(post);
}

TSdlTray::~TSdlTray() = default;

std::unique_ptr<IPlatformTrayIcon> TSdlTray::CreateIcon(TTrayListener listener) {
  const uint32_t id = state_->listeners.Add(std::move(listener));
  state_->icons[id];
#ifdef QZ_HAVE_DBUS
  if (state_->sni) state_->sni->AddItem(id);
#endif
  if (state_->xembed) state_->xembed->AddItem(id);
  return std::make_unique<TSdlTrayIcon>(state_, id);
}

void TSdlTray::Dispatch() { state_->Dispatch(); }
bool TSdlTray::HasIcons() const { return !state_->icons.empty(); }

bool TSdlTray::PopEvent(TPlatformEvent& event) {
  if (state_->queue.empty()) return false;
  event = std::move(state_->queue.front());
  state_->queue.pop_front();
  return true;
}

void TSdlTray::Deliver(const TPlatformEvent& event) const { state_->listeners.Deliver(event.trayId, event.trayInput); }

}  // namespace qz
