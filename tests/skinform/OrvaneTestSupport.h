// A headless application with forms dressed by the controller and the demo
// skins, and a caption object standing in for the real ones.
#pragma once

#include <memory>
#include <string>

#include "host/platform/headless/HeadlessPlatform.h"
#include "skin/form/Orvane.h"
#include "tests/host_ui/UiTestSupport.h"
#include "tests/skins/DemoSkins.h"

namespace qz::testing {

// A caption: drags the window over its whole rectangle and reports the
// mouse through the controller's events like the real objects do.
class TTestCaption : public TqzActiveSkinObject {
 public:
  TTestCaption(TqzObjectHost& host, const TqzDataSkinObject& data, TRect r)
      : TqzActiveSkinObject(host, data) {
    ObjectRect = r;
  }
  bool IsCaption() const override { return Caption; }
  bool CaptionDragPoint(TPoint p) const override { return Caption && ObjectRect.Contains(p); }
  void MouseEnter() override { Host().FireMouseEnter(IDName()); }
  void MouseLeave() override { Host().FireMouseLeave(IDName()); }
  void MouseDown(int x, int y, TqzMouseButton b) override { TqzActiveSkinObject::MouseDown(x, y, b); }
  bool Caption = true;
};

class OrvaneTest : public UiTest {
 protected:
  struct TSkinnedForm {
    TForm* Form;
    TqzSkinData* Skin;
    TqzOrvane* Orvane;
  };

  // A form at `bounds` with a controller and its own skin data holding
  // `skin`; client mode makes it borderless first.
  TSkinnedForm MakeSkinned(const TDemoSkin& skin, TRect bounds, bool clientMode = false,
                           bool show = true) {
    auto* f = new TForm(Application);
    if (clientMode) f->SetBorderStyle(bsNone);
    f->SetBoundsRect(bounds);
    auto* data = new TqzSkinData(f);
    auto* o = new TqzOrvane(f);
    if (clientMode) o->SetSupportNCArea(false);
    o->SetSkinData(data);
    data->LoadFromCompressedData(skin.Compressed);
    if (show) {
      f->Show();
      Pump();
    }
    return {f, data, o};
  }

  // A caption object in the controller's list (the skin's own objects come
  // from the object family).
  TTestCaption& AddCaption(TqzOrvane& o, TRect r, bool caption = true) {
    auto data = std::make_unique<TqzDataSkinObject>(caption ? "caption" : "button");
    data->SkinRect = r;
    auto obj = std::make_unique<TTestCaption>(o, *data, r);
    obj->Caption = caption;
    TTestCaption& ref = *obj;
    o.ObjectList().push_back(std::move(obj));
    datas_.push_back(std::move(data));
    return ref;
  }

  int HitAt(TForm* f, TPoint screen) {
    return int(SendMessage(f->Handle(), WM_NCHITTEST, 0, MAKELPARAM(screen.X, screen.Y)));
  }

  uint8_t Opacity(TForm* f) {
    return static_cast<THeadlessWindow*>(f->WindowData()->platform.get())->Opacity();
  }

  void Ticks(int count, int ms) {
    for (int i = 0; i < count; ++i) {
      hp->AdvanceClock(ms);
      Pump();
    }
  }

  void DoubleClick(TPoint p) {
    for (int i = 0; i < 2; ++i) {
      hp->InjectMouseMove(p);
      hp->InjectMouseDown();
      hp->InjectMouseUp();
    }
    Pump();
  }

  void Drag(TPoint from, TPoint to) {
    hp->InjectMouseMove(from);
    hp->InjectMouseDown();
    hp->InjectMouseMove(to);
    hp->InjectMouseUp();
    Pump();
  }

 private:
  // Descriptions outlive the objects that point into them.
  std::vector<std::unique_ptr<TqzDataSkinObject>> datas_;
};

}  // namespace qz::testing
