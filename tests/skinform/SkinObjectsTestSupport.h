// What the object tests share: a window stand-in that records what the
// objects ask of it, and small skins built from a description text and
// patterned pictures whose every pixel tells where it came from.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/graphics/Bitmap.h"
#include "host/graphics/BmpCodec.h"
#include "skin/data/SkinContainer.h"
#include "skin/data/SkinData.h"
#include "skin/form/ObjectHost.h"
#include "skin/form/SkinObjects.h"

namespace qz::testing {

class TRecordingHost : public TqzObjectHost {
 public:
  TqzSkinData* Skin = nullptr;
  bool FormIsActive = true, IsRolledUp = false, IsMaximized = false, IsMinimized = false,
       MainForm = true, Client = false, FullBorder = false, Icon = false, Draggable = true;
  TPoint WindowOrigin{100, 50};

  std::vector<std::string> Events;  // "enter:id", "up:id", "switch:id:0" ...
  std::vector<TqzStdCommand> Commands;
  std::vector<TqzActiveSkinObject*> Redrawn;
  int MorphTimerStarts = 0, AnimateTimerStarts = 0, SystemMenus = 0, Menus = 0;
  std::vector<TPoint> ClientDrags;
  std::vector<int> Values;
  struct TGlow {
    int X, Y;
    uint8_t Alpha;
  };
  std::vector<TGlow> Glows;
  int GlowHides = 0;

  TqzSkinData* HostSkinData() const override { return Skin; }
  bool FormActive() const override { return FormIsActive; }
  bool RolledUp() const override { return IsRolledUp; }
  bool Maximized() const override { return IsMaximized; }
  bool Minimized() const override { return IsMinimized; }
  bool IsMainForm() const override { return MainForm; }
  bool ClientMode() const override { return Client; }
  bool FullBorderLayered() const override { return FullBorder; }
  bool ShowIcon() const override { return Icon; }
  bool NCDraggAble() const override { return Draggable; }
  TPoint WindowToScreen(TPoint p) const override { return p + WindowOrigin; }
  TqzCaptionContext CaptionContext() const override { return {}; }

  void RedrawObject(TqzActiveSkinObject& o) override { Redrawn.push_back(&o); }
  void RedrawCaption() override {}
  void StartMorphTimer() override { ++MorphTimerStarts; }
  void StartAnimateTimer() override { ++AnimateTimerStarts; }
  void ExecuteCommand(TqzStdCommand c) override { Commands.push_back(c); }
  // How many events were raised when a menu opened: a menu may free the
  // object, so its press event must have gone out before.
  std::vector<size_t> EventsAtMenu;
  void PopupSystemMenuBelow(const TRect&) override {
    ++SystemMenus;
    EventsAtMenu.push_back(Events.size());
  }
  void PopupMenuBelow(TMenuItem&, const TRect&) override {
    ++Menus;
    EventsAtMenu.push_back(Events.size());
  }
  void StartClientDrag(TPoint p) override { ClientDrags.push_back(p); }
  void ShowGlowLayer(int x, int y, uint8_t alpha, const TBitmap*, const TBitmap&) override {
    Glows.push_back({x, y, alpha});
  }
  void HideGlowLayer() override { ++GlowHides; }

  void FireMouseEnter(const std::string& id) override { Events.push_back("enter:" + id); }
  void FireMouseLeave(const std::string& id) override { Events.push_back("leave:" + id); }
  void FireMouseDown(const std::string& id, int, int, const TRect&, TqzMouseButton) override {
    Events.push_back("down:" + id);
  }
  void FireMouseUp(const std::string& id, int, int, const TRect&, TqzMouseButton) override {
    Events.push_back("up:" + id);
  }
  void FireMouseMove(const std::string&, int, int, const TRect&) override {}
  void FirePaint(const std::string& id, TCanvas&, const TRect&) override {
    Events.push_back("paint:" + id);
  }
  void FireSwitchChangeState(const std::string& id, TSwitchState s) override {
    Events.push_back("switch:" + id + ":" + (s == swsOn ? "on" : "off"));
  }
  void FireTrackBarChangeValue(const std::string&, int v) override { Values.push_back(v); }
  void FireFrameRegulatorChangeValue(const std::string&, int v) override { Values.push_back(v); }
};

// Pixels of the main picture: red = x, green = y, blue 50. Active picture 0:
// red = x, green = y, blue 200. Active picture 1 is a 10 x 8 mask, black in
// its left half. Every piece of a picture is thus told apart exactly.
inline uint32_t MainPixel(int x, int y) { return uint32_t(x) << 16 | uint32_t(y) << 8 | 50; }
inline uint32_t ActivePixel(int x, int y) { return uint32_t(x) << 16 | uint32_t(y) << 8 | 200; }

struct TObjectText {
  std::string Name, Kind, Keys;  // Keys: "key=value" lines
};

// A 200 x 100 skin: corner points (10,30) (190,30) (10,90) (190,90), client
// rect (5,30,195,95), caption rect (4,2,196,24), buttons offset 2, plus the
// given objects and extra [FORMINFO] lines.
inline std::unique_ptr<TqzSkinData> MakeSkin(const std::vector<TObjectText>& objects,
                                             const std::string& formInfo = "") {
  TPixmap main(200, 100), active(120, 60), mask(10, 8, 0xFFFFFF);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 200; ++x) main.At(x, y) = MainPixel(x, y);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 120; ++x) active.At(x, y) = ActivePixel(x, y);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 5; ++x) mask.At(x, y) = 0;
  std::string text =
      "[FORMINFO]\nlefttoppoint=10,30\nrighttoppoint=190,30\nleftbottompoint=10,90\n"
      "rightbottompoint=190,90\nclientrect=5,30,195,95\ncaptionrect=4,2,196,24\n"
      "buttonsoffset=2\n" +
      formInfo + "[SKINOBJECTS]\ncount=" + std::to_string(objects.size()) + "\n";
  for (size_t i = 0; i < objects.size(); ++i)
    text += std::to_string(i) + "=" + objects[i].Name + ":" + objects[i].Kind + "\n";
  for (const auto& o : objects) text += "[" + o.Name + "]\n" + o.Keys + "\n";
  const auto mainBmp = EncodeBmp(main), activeBmp = EncodeBmp(active), maskBmp = EncodeBmp(mask);
  const std::array<std::span<const uint8_t>, kSkinSlotCount> slots{mainBmp, {}, {}, {}, {}};
  const std::span<const uint8_t> actives[] = {activeBmp, maskBmp};
  const auto container = BuildSkinContainer(slots, actives, text);
  auto skin = std::make_unique<TqzSkinData>(nullptr);
  skin->LoadFromContainer(container);
  return skin;
}

// A standard button whose looks are cells of active picture 0.
inline TObjectText StdButton(const std::string& name, const std::string& command,
                             const std::string& skinRect, const std::string& more = "") {
  return {name, "stdbutton",
          "activepictureindex=0\nskinrectinapicture=1\ncommand=" + command +
              "\nskinrect=" + skinRect + "\n" + more};
}

// A canvas to draw on, pre-filled with one colour.
struct TTarget {
  std::unique_ptr<TBitmap> Bitmap;
  explicit TTarget(int w = 220, int h = 110, uint32_t fill = 0x123456)
      : Bitmap(std::make_unique<TBitmap>(w, h)) {
    Bitmap->Pixels().Resize(w, h, fill);
  }
  TCanvas& Canvas() { return Bitmap->Canvas(); }
  const TPixmap& Pixels() const { return Bitmap->Pixels(); }
  uint32_t At(int x, int y) const { return Bitmap->Pixels().At(x, y) & 0xFFFFFF; }
  // Whether the w x h block at (x, y) equals `expected` pixel for pixel.
  template <class F>
  bool BlockIs(int x, int y, int w, int h, F expected) const {
    for (int j = 0; j < h; ++j)
      for (int i = 0; i < w; ++i)
        if (At(x + i, y + j) != (expected(i, j) & 0xFFFFFF)) return false;
    return true;
  }
};

template <class T>
T& ObjectAs(TqzSkinObjectList& list, const std::string& id) {
  for (auto& o : list)
    if (o->IDName() == id) return dynamic_cast<T&>(*o);
  throw std::runtime_error("no object " + id);
}

}  // namespace qz::testing
