// A caption object on a small skin with the controller's side of the quick
// buttons and caption tabs: the collections, an image list, the tab index.
#pragma once

#include <memory>
#include <string>

#include "host/ui/ImgList.h"
#include "skin/form/QuickButtons.h"
#include "tests/skinform/SkinObjectsTestSupport.h"

namespace qz::testing {

class TCaptionHost : public TRecordingHost {
 public:
  int CaptionRedraws = 0;
  std::string CaptionText;
  void RedrawCaption() override { ++CaptionRedraws; }
  TqzCaptionContext CaptionContext() const override {
    TqzCaptionContext context;
    context.Text = CaptionText;
    return context;
  }
};

// Tab looks side by side in active picture 0, 40 x 12 each; tabs at y 8..20.
inline const std::string kTabKeys =
    "activepictureindex=0\nskinrect=0,30,40,42\nactiveskinrect=40,30,80,42\n"
    "downrect=80,30,120,42\nleftoffset=10\nrightoffset=10\ntopposition=8\n";

struct TCaptionRig {
  TCaptionHost Host;
  std::unique_ptr<TqzSkinData> Skin;
  TqzSkinObjectList List;
  TqzSkinCaptionObject* Caption = nullptr;
  TqzQuickButtonItems Quick{nullptr};
  TqzCaptionTabs Tabs{nullptr};
  TCustomImageList Images{nullptr};
  int TabIndex = 0, TabChanges = 0;

  // The caption lies at (4, 2)-(196, 24) in window coordinates.
  explicit TCaptionRig(const std::string& captionKeys = "", bool tabDescription = true) {
    std::vector<TObjectText> objects{{"caption", "caption", "skinrect=4,2,196,24\n" + captionKeys}};
    if (tabDescription) objects.push_back({"captiontab", "captiontab", kTabKeys});
    Skin = MakeSkin(objects);
    Host.Skin = Skin.get();
    List = CreateSkinObjects(Host, *Skin, nullptr);
    Caption = &ObjectAs<TqzSkinCaptionObject>(List, "caption");
    Caption->ObjectRect = Caption->Data().SkinRect;
    Images.SetSize(16, 16);
    TBitmap strip(32, 16);
    strip.Pixels().Resize(32, 16, 0x00C000);
    Images.Add(strip);
    TqzCaptionExtras& e = Caption->Extras();
    e.QuickButtons = &Quick;
    e.QuickImageList = &Images;
    e.CaptionTabs = &Tabs;
    e.CaptionTabIndex = &TabIndex;
    e.OnTabChange = [this] { ++TabChanges; };
  }

  // Mouse input at window coordinates.
  void Press(TPoint p, TqzMouseButton b = TqzMouseButton::mbLeft) {
    Caption->MouseDown(p.X - Caption->ObjectRect.Left, p.Y - Caption->ObjectRect.Top, b);
  }
  void Release(TPoint p) {
    Caption->MouseUp(p.X - Caption->ObjectRect.Left, p.Y - Caption->ObjectRect.Top,
                     TqzMouseButton::mbLeft);
  }
  void Move(TPoint p) {
    Caption->MouseMove(p.X - Caption->ObjectRect.Left, p.Y - Caption->ObjectRect.Top);
  }
  std::unique_ptr<TTarget> Paint() {
    auto target = std::make_unique<TTarget>();
    Caption->Draw(target->Canvas(), true);
    return target;
  }
};

}  // namespace qz::testing
