// Skin changes reaching the controls: the form controller's depth-first
// walk, the demo skins, controls freed while they follow a change, and the
// published properties a form resource streams.
#include "host/components/FormResource.h"
#include "skin/form/Orvane.h"
#include "tests/skincontrols/SkinControlTestKit.h"
#include "tests/skins/DemoSkins.h"

namespace qz::testing {
namespace {

class SkinControlChangeTest : public SkinControlTest {
 protected:
  // A control on `parent` drawing `name` from `data`, logging the walk.
  template <class T = TProbeSkinControl>
  T* Logged(const std::string& name, TWinControl* parent, TqzSkinData* data) {
    auto* c = new T(form);
    c->SetName(name);
    c->SetParent(parent);
    c->SetBounds(0, 0, 40, 30);
    c->SetSkinDataName("nine");
    c->SetSkinData(data);
    c->log = &log;
    return c;
  }
  void Reload(TqzSkinData& data) {
    data.LoadFromContainer(BuildSkinContainerFor(ControlSkinParts()));
    Pump();
  }
  // The container LoadTestSkin builds (picture and active pictures only),
  // for reloading a live skin.
  static std::vector<uint8_t> BuildSkinContainerFor(const TTestSkinParts& parts) {
    std::array<std::span<const uint8_t>, kSkinSlotCount> slots{};
    std::vector<uint8_t> picture = EncodeBmp(parts.Picture, 24);
    slots[0] = picture;
    std::vector<std::vector<uint8_t>> active;
    std::string text =
        "[PICTURES]\r\nactivepicturescount=" + std::to_string(parts.Active.size()) + "\r\n";
    for (size_t i = 0; i < parts.Active.size(); ++i) {
      active.push_back(EncodeBmp(parts.Active[i], 24));
      text += std::to_string(i) + "=a" + std::to_string(i) + ".bmp\r\n";
    }
    text += parts.Text;
    std::vector<std::span<const uint8_t>> activeSpans(active.begin(), active.end());
    return BuildSkinContainer(slots, activeSpans, text);
  }

  std::vector<std::string> log;
};

TEST_F(SkinControlChangeTest, ControllerWalksNestedControlsDepthFirst) {
  new TqzOrvane(form);
  auto* a = Logged("A", form, skin.get());
  auto* b = Logged("B", a, skin.get());
  auto* c = Logged<TProbeGraphicSkinControl>("C", b, skin.get());
  auto* d = Logged("D", form, skin.get());
  auto other = LoadControlSkin();
  Logged("E", a, other.get());  // another skin: not this change's business
  (void)c;
  (void)d;
  log.clear();
  Reload(*skin);
  const std::vector<std::string> expected = {"before A", "before B", "before C", "before D",
                                             "changed A", "changed B", "changed C", "changed D"};
  EXPECT_EQ(log, expected);
  EXPECT_NE(b->SkinIndex, -1);

  // No skin named: every skinned control follows.
  log.clear();
  SendMessage(form->Handle(), MSG_SKIN_CHANGED, 0, 1000);
  EXPECT_EQ(log.size(), 5u);
}

TEST_F(SkinControlChangeTest, ControlsDropTheirDescriptionBeforeTheChange) {
  new TqzOrvane(form);
  auto* a = Logged("A", form, skin.get());
  ASSERT_NE(a->SkinIndex, -1);
  SendMessage(form->Handle(), MSG_SKIN_BEFORE_CHANGE, reinterpret_cast<WPARAM>(skin.get()), 1000);
  EXPECT_EQ(a->SkinIndex, -1);
}

TEST_F(SkinControlChangeTest, ControlsFreedDuringTheWalkAreSkipped) {
  new TqzOrvane(form);
  auto* a = Logged("A", form, skin.get());
  auto* b = Logged("B", form, skin.get());
  auto* c = Logged("C", b, skin.get());
  (void)c;
  Logged("D", form, skin.get());
  a->onChange = [a, b] {
    delete b;  // with its child C
    delete a;
  };
  log.clear();
  SendMessage(form->Handle(), MSG_SKIN_CHANGED, reinterpret_cast<WPARAM>(skin.get()), 1000);
  const std::vector<std::string> expected = {"changed A", "changed D"};
  EXPECT_EQ(log, expected);
}

TEST_F(SkinControlChangeTest, ControlFreedWhileComposingEndsThePaintQuietly) {
  auto* c = Make("nine", 0, 0, 60, 40);
  TComponentRef<TProbeSkinControl> ref(c);
  c->onCompose = [c] { delete c; };
  c->Invalidate();
  Pump();
  EXPECT_FALSE(ref);

  auto* blended = Make("nine", 0, 0, 60, 40);
  TComponentRef<TProbeSkinControl> ref2(blended);
  blended->SetAlphaBlend(true);
  blended->onCompose = [blended] { delete blended; };
  Pump();
  EXPECT_FALSE(ref2);
}

TEST_F(SkinControlChangeTest, DemoSkinDescriptionSizesTheControl) {
  // The demo's button descriptions are nine-part: the size stays free and
  // the image is the direct composition.
  const TDemoSkin& demo = MainSkin();
  auto* data = new TqzSkinData(form);
  data->LoadFromCompressedData(demo.Compressed);
  const int index = data->FindControlIndex("edittab");
  ASSERT_GE(index, 0);
  auto* desc = dynamic_cast<TqzDataSkinCustomControl*>(data->CtrlList()[size_t(index)].get());
  ASSERT_NE(desc, nullptr);
  auto* c = new TProbeSkinControl(form);
  c->SetParent(form);
  c->SetBounds(0, 0, 150, 60);
  c->SetSkinDataName("edittab");
  c->SetSkinData(data);
  int w = 150, h = 60;
  const TqzSkinGeometry g = desc->Geometry();
  const TqzNewGeometry n = CalcNewGeometry(g, CalcResizeMode(g), w, h);
  EXPECT_EQ(c->ResizeMode, int(CalcResizeMode(g)));
  EXPECT_EQ(c->Width(), n.Width);
  EXPECT_EQ(c->Height(), n.Height);
  c->CalcSize(w, h);
  EXPECT_EQ(c->NewGeom.NewClRect, n.NewClRect);
  EXPECT_EQ(c->Picture, data->ActivePicture(desc->PictureIndex));
}

TEST_F(SkinControlChangeTest, LinkedComponentsAndTheDefaultFontNotifyTheControl) {
  struct TFontProbe : TProbeSkinControl {
    using TProbeSkinControl::TProbeSkinControl;
    void DefaultFontChanged() override { ++fontChanges; }
    int fontChanges = 0;
  };
  auto* c = Make<TFontProbe>("unknown", 0, 0, 40, 30);
  auto* images = new TCustomImageList(form);
  c->SetHintImageList(images);
  delete images;
  EXPECT_EQ(c->HintImageList(), nullptr);

  TFont font;
  font.SetName("Verdana");
  c->SetDefaultFont(font);
  EXPECT_EQ(c->fontChanges, 1);
  EXPECT_EQ(c->DefaultFont().Name(), "Verdana");
  const int paints = c->paints;
  c->DefaultFont().SetHeight(20);  // no description: the plain look repaints
  Pump();
  EXPECT_EQ(c->fontChanges, 2);
  EXPECT_GT(c->paints, paints);
}

TEST_F(SkinControlChangeTest, PublishedPropertiesStreamWithTheirDefaults) {
  const TClassInfo* info = FindClassInfo("TqzSkinCustomControl");
  ASSERT_NE(info, nullptr);
  std::vector<std::string> names;
  for (const TPropInfo* p : info->Properties()) names.push_back(p->name);
  auto at = [&](const char* n) { return std::find(names.begin(), names.end(), n) - names.begin(); };
  const char* order[] = {"HintTitle",  "HintImageIndex", "HintImageList", "DrawDefault",
                         "SkinData",   "AreaName",       "SkinDataName",  "AlphaBlend",
                         "AlphaBlendValue", "UseSkinCursor", "DefaultFont", "UseSkinFont",
                         "DefaultWidth", "DefaultHeight"};
  for (size_t i = 0; i + 1 < std::size(order); ++i) {
    SCOPED_TRACE(order[i]);
    ASSERT_LT(size_t(at(order[i])), names.size());
    EXPECT_LT(at(order[i]), at(order[i + 1]));
  }
  for (const char* cls : {"TqzSkinControl", "TqzGraphicSkinControl", "TqzGraphicSkinCustomControl"})
    EXPECT_NE(FindClassInfo(cls), nullptr) << cls;

  // Only values off their defaults are written; they read back.
  auto* c = new TqzSkinCustomControl(form);
  c->SetName("qzSkinCustomControl1");
  c->SetParent(form);
  form->SetName("Form1");
  c->SetSkinDataName("nine");
  c->SetAlphaBlendValue(120);
  c->SetDrawDefault(false);
  const std::string text = WriteComponentRes(form);
  EXPECT_NE(text.find("SkinDataName = 'nine'"), std::string::npos) << text;
  EXPECT_NE(text.find("AlphaBlendValue = 120"), std::string::npos) << text;
  EXPECT_NE(text.find("DrawDefault = False"), std::string::npos) << text;
  EXPECT_EQ(text.find("UseSkinFont"), std::string::npos) << text;
  EXPECT_EQ(text.find("AlphaBlend ="), std::string::npos) << text;

  form->SetName("Original");
  auto* copy = new TForm(Application);
  ReadComponentRes(copy, text);
  auto* read = dynamic_cast<TqzSkinCustomControl*>(copy->FindComponent("qzSkinCustomControl1"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->SkinDataName(), "nine");
  EXPECT_EQ(read->AlphaBlendValue(), 120);
  EXPECT_FALSE(read->DrawDefault());
  EXPECT_EQ(read->DefaultFont().Name(), "Tahoma");
  EXPECT_EQ(read->DefaultFont().Height(), 13);
}

}  // namespace
}  // namespace qz::testing
