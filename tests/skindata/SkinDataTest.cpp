// Loading skins into TqzSkinData: what it holds, the order of the skin
// messages, failures, lookups, holders and lists, and writing back.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "SkinTestData.h"
#include "host/base/ColorHooks.h"
#include "host/components/Properties.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinValidation.h"

namespace qz {
namespace {

using testing::SampleSkin;
using testing::SolidBmp;
using testing::TTestSkin;

// Forms that record every skin message they receive, in one shared log.
struct TMessageLog {
  struct TEntry {
    std::string form;
    uint32_t msg;
    bool operator==(const TEntry&) const = default;
  };
  std::vector<TEntry> entries;
  std::vector<std::unique_ptr<TComponent>> forms;
  std::vector<bool> layer;

  TComponent* AddForm(const std::string& name, bool layerWindow = false) {
    forms.push_back(std::make_unique<TComponent>(nullptr));
    forms.back()->SetName(name);
    layer.push_back(layerWindow);
    return forms.back().get();
  }
  void Install() {
    SetSkinMessageTargets([this] {
      std::vector<TqzSkinMessageTarget> out;
      for (size_t i = 0; i < forms.size(); ++i) {
        std::string name = forms[i]->Name();
        out.push_back({forms[i].get(), layer[i], [this, name](uint32_t m, WPARAM, LPARAM l) {
                         EXPECT_EQ(l, 1000);
                         entries.push_back({name, m});
                       }});
      }
      return out;
    });
  }
  std::vector<uint32_t> Messages() const {
    std::vector<uint32_t> m;
    for (const auto& e : entries) m.push_back(e.msg);
    return m;
  }
  std::vector<std::string> FormsOf(uint32_t msg) const {
    std::vector<std::string> f;
    for (const auto& e : entries)
      if (e.msg == msg) f.push_back(e.form);
    return f;
  }
};

class SkinDataTest : public ::testing::Test {
 protected:
  void SetUp() override { log.Install(); }
  void TearDown() override {
    SetSkinMessageTargets(nullptr);
    ResetRealSysColors();
  }
  TMessageLog log;
};

TEST_F(SkinDataTest, LoadsEverySectionOfTheSample) {
  TqzSkinData data(nullptr);
  EXPECT_TRUE(data.Empty());
  data.LoadFromCompressedData(SampleSkin().Compressed());
  EXPECT_FALSE(data.Empty());
  EXPECT_FALSE(data.LoadingSkin());

  EXPECT_EQ(data.Picture().Width(), 40);
  EXPECT_EQ(data.Picture().Height(), 30);
  EXPECT_TRUE(data.InactivePicture().Empty());
  EXPECT_EQ(data.Mask().PixelFormat(), pf1bit);
  EXPECT_TRUE(data.RollUpPicture().Empty());
  ASSERT_EQ(data.ActivePictureCount(), 2);
  EXPECT_EQ(data.ActivePicture(1)->Pixels().At(0, 0), 0xFF808080u);
  EXPECT_EQ(data.ActivePicture(2), nullptr);
  EXPECT_EQ(data.ActivePicture(-1), nullptr);
  EXPECT_EQ(data.ActivePicturesNames(), (std::vector<std::string>{"a0.bmp", "a1.bmp"}));
  EXPECT_EQ(data.SkinName, "Sample");
  EXPECT_EQ(data.MaskName, "m.bmp");
  EXPECT_EQ(data.StretchType, TqzStretchType::Vert);
  EXPECT_EQ(data.SkinColors().cWindow, 16777215);
  EXPECT_EQ(data.SkinColors().cBtnFace, 0);  // read with default 0
  EXPECT_EQ(data.StartCursorIndex(), 1);

  // Lookups: exact case, first match, -1 when absent.
  ASSERT_EQ(data.CtrlList().size(), 3u);  // "Button:Button" creates nothing
  EXPECT_EQ(data.FindControlIndex("button"), 0);
  EXPECT_EQ(data.FindControlIndex("Button"), -1);
  EXPECT_EQ(data.FindControlIndex("tab"), 2);
  EXPECT_NE(data.CtrlList()[0].get(), data.CtrlList()[1].get());
  auto* tab = dynamic_cast<TqzDataSkinTabControl*>(data.CtrlList()[2].get());
  ASSERT_NE(tab, nullptr);
  EXPECT_EQ(tab->TabRect, (TRect{1, 2, 3, 4}));
  ASSERT_EQ(data.ObjectList().size(), 2u);  // the unknown kind creates nothing
  EXPECT_EQ(data.FindObjectIndex("caption"), 1);
  EXPECT_EQ(data.FindObjectIndex("bad"), -1);
  auto* close = dynamic_cast<TqzDataSkinStdButton*>(data.ObjectList()[0].get());
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(close->Command, TqzStdCommand::Close);
  EXPECT_EQ(data.FindAreaIndex("other"), 1);
  EXPECT_EQ(data.FindAreaIndex("Other"), -1);
  EXPECT_EQ(data.AreaList()[0]->AreaRect, (TRect{29, 172, 424, 555}));
  EXPECT_TRUE(data.AreaList()[1]->Flag3);
  // No layer frame picture: no layer images.
  EXPECT_EQ(data.ImageCache().LayerFrameImage(), nullptr);
}

TEST_F(SkinDataTest, MessagesGoToFormsInOrderAroundOnLoadData) {
  TComponent* owner = log.AddForm("Form1");
  log.AddForm("Form2");
  log.AddForm("Border", /*layerWindow=*/true);
  log.AddForm("Form3");
  auto* data = new TqzSkinData(owner);
  data->OnLoadData = [&](TObject* sender) {
    EXPECT_EQ(sender, data);
    EXPECT_FALSE(data->Empty());
    EXPECT_TRUE(data->LoadingSkin());
    log.entries.push_back({"OnLoadData", 0});
  };
  data->LoadFromCompressedData(SampleSkin().Compressed());
  std::vector<TMessageLog::TEntry> expected;
  for (uint32_t m : {MSG_SKIN_BEFORE_CHANGE, 0u, MSG_SKIN_CHANGED, MSG_SKIN_AFTER_CHANGE}) {
    if (m == 0) {
      expected.push_back({"OnLoadData", 0});
      continue;
    }
    for (const char* f : {"Form1", "Form2", "Form3"}) expected.push_back({f, m});
  }
  EXPECT_EQ(log.entries, expected);

  // Without layered borders the owner form is served first.
  log.entries.clear();
  log.forms.insert(log.forms.begin(), std::make_unique<TComponent>(nullptr));
  log.forms[0]->SetName("Form0");
  log.layer.insert(log.layer.begin(), false);
  data->SetShowLayeredBorders(false);
  EXPECT_EQ(log.FormsOf(MSG_LAYERED_BORDERS_CHANGED),
            (std::vector<std::string>{"Form1", "Form0", "Form2", "Form3"}));
  data->SetShowLayeredBorders(false);  // no change, no message
  EXPECT_EQ(log.entries.size(), 4u);
  delete data;
}

// The images cut for buttons live in the skin data's cache beside the
// descriptions: standard buttons get their looks (restore looks too) only on
// a full-border layer frame, with the opacity of their alpha masks.
TEST_F(SkinDataTest, ButtonLooksAreCachedBesideTheDescriptionsOnAFullBorderFrame) {
  TTestSkin skin = SampleSkin();
  skin.text += "[LAYERFRAME]\r\npictureindex=0\r\nmaskpictureindex=1\r\nfullborder=1\r\n";
  const std::string close = "skinrect=1,1,5,5\r\n";
  skin.text.replace(skin.text.find(close), close.size(),
                    close + "restorerect=6,1,10,5\r\nalphamaskpictureindex=1\r\n");
  TqzSkinData data(nullptr);
  data.LoadFromCompressedData(skin.Compressed());
  ASSERT_EQ(data.ObjectList().size(), 2u);
  const TqzButtonImages* looks = data.ImageCache().ButtonImages(*data.ObjectList()[0]);
  ASSERT_NE(looks, nullptr);
  ASSERT_NE(looks->Normal, nullptr);
  EXPECT_EQ(looks->Normal->Width(), 4);
  EXPECT_EQ(*looks->Normal->PixelPtr(0, 0), 0x8000FF00u);
  EXPECT_NE(looks->Restore, nullptr);
  EXPECT_EQ(looks->Active, nullptr);  // no active look in the description
  // The caption is no button.
  EXPECT_EQ(data.ImageCache().ButtonImages(*data.ObjectList()[1]), nullptr);

  // Without a full border the button has an entry but no looks.
  TTestSkin plain = SampleSkin();
  plain.text += "[LAYERFRAME]\r\npictureindex=0\r\nmaskpictureindex=1\r\n";
  data.LoadFromCompressedData(plain.Compressed());
  looks = data.ImageCache().ButtonImages(*data.ObjectList()[0]);
  ASSERT_NE(looks, nullptr);
  EXPECT_EQ(looks->Normal, nullptr);
  data.ClearSkin();
  EXPECT_EQ(data.ImageCache().LayerFrameImage(), nullptr);
}

// The problems of a loaded skin come from the descriptions' field roles:
// looks outside their picture, indexes naming no picture, places outside
// the skin rect and crossing corner points.
TEST_F(SkinDataTest, ValidationListsTheFaultsOfTheLoadedDescriptions) {
  TTestSkin skin = SampleSkin();
  const std::string button = "[button]\r\nskinrect=1,1,95,28\r\npictureindex=1\r\n";
  skin.text.replace(skin.text.find(button), button.size(),
                    "[button]\r\nskinrect=1,1,15,8\r\npictureindex=1\r\n"
                    "activeskinrect=0,0,30,8\r\nmaskpictureindex=7\r\nclientrect=2,2,20,6\r\n"
                    "lefttoppoint=9,2\r\nrighttoppoint=4,2\r\nleftbottompoint=2,6\r\n"
                    "rightbottompoint=12,6\r\n");
  TqzSkinData data(nullptr);
  data.LoadFromCompressedData(skin.Compressed());
  const std::vector<std::string> problems = ValidateDescriptions(data);
  const std::vector<std::string> expected = {
      "button: maskpictureindex=7 names no picture",
      "button: clientrect 2,2,20,6 does not lie within skinrect's 14 x 7",
      "button: activeskinrect 0,0,30,8 lies outside its picture",
      "button: skinrect's corner points cross (left past right or top past bottom)",
  };
  for (const std::string& e : expected)
    EXPECT_NE(std::find(problems.begin(), problems.end(), e), problems.end()) << e;
  // The close button's look lies in its active picture; the caption has none.
  for (const std::string& p : problems)
    EXPECT_TRUE(p.starts_with("button: ") || p.starts_with("Button: ")) << p;
}

TEST_F(SkinDataTest, LayerFramePictureReversesTheOrder) {
  log.AddForm("A");
  log.AddForm("B");
  TTestSkin skin = SampleSkin();
  skin.text += "[LAYERFRAME]\r\npictureindex=0\r\nmaskpictureindex=1\r\n";
  TqzSkinData data(nullptr);
  data.LoadFromCompressedData(skin.Compressed());
  EXPECT_EQ(log.FormsOf(MSG_SKIN_BEFORE_CHANGE), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(log.FormsOf(MSG_SKIN_CHANGED), (std::vector<std::string>{"B", "A"}));
  // Both indexes valid: the active image carries the mask's grey as opacity.
  ASSERT_NE(data.ImageCache().LayerFrameImage(), nullptr);
  EXPECT_EQ(*data.ImageCache().LayerFrameImage()->PixelPtr(3, 3), 0x8000FF00u);
  EXPECT_EQ(data.ImageCache().LayerFrameInActiveImage(), nullptr);
  data.ClearSkin();
  EXPECT_EQ(data.LayerFrame().PictureIndex, -1);
  EXPECT_EQ(data.ImageCache().LayerFrameImage(), nullptr);
}

TEST_F(SkinDataTest, FailuresLeaveTheFlagsSetAndSendOnlyTheFirstMessage) {
  log.AddForm("F");
  TTestSkin badRect = SampleSkin();
  badRect.text += "[tab]\r\n";  // duplicate section: ignored
  badRect.text.replace(badRect.text.find("tabrect=1,2,3,4"), 15, "tabrect=1,2,,4");
  std::vector<uint8_t> damaged = SampleSkin().Compressed();
  damaged.resize(damaged.size() / 2);
  TTestSkin newer = SampleSkin();
  newer.version = 7;  // written with no slots of a known layout; the reader stops at the version

  struct TCase {
    const char* what;
    std::vector<uint8_t> z;
    bool throws;
  } cases[] = {{"bad rect", badRect.Compressed(), true},
               {"damaged stream", damaged, true},
               {"version 7", newer.Compressed(), false}};
  for (auto& c : cases) {
    TqzSkinData data(nullptr);
    data.LoadFromCompressedData(SampleSkin().Compressed());
    log.entries.clear();
    if (c.throws) EXPECT_THROW(data.LoadFromCompressedData(c.z), Exception) << c.what;
    else EXPECT_NO_THROW(data.LoadFromCompressedData(c.z)) << c.what;
    EXPECT_TRUE(data.Empty()) << c.what;
    EXPECT_TRUE(data.LoadingSkin()) << c.what;
    EXPECT_EQ(log.Messages(), std::vector<uint32_t>{MSG_SKIN_BEFORE_CHANGE}) << c.what;
    // The old skin is gone; a failure in the text keeps what was read before it.
    EXPECT_EQ(data.FindControlIndex("button"), c.throws && c.z == cases[0].z ? 0 : -1) << c.what;
  }
  // An empty holder does nothing at all.
  log.entries.clear();
  TqzSkinData data(nullptr);
  TqzCompressedStoredSkin holder(nullptr);
  data.LoadFromStoredSkin(holder);
  EXPECT_TRUE(log.entries.empty());
}

TEST_F(SkinDataTest, ReloadReplacesDescriptionsAndHolderReferencesClear) {
  log.AddForm("F");
  TComponent root(nullptr);
  auto* holder = new TqzCompressedStoredSkin(&root);
  holder->SetCompressedData(SampleSkin().Compressed());
  auto* data = new TqzSkinData(&root);
  data->SetCompressedStoredSkin(holder);  // loads at once
  ASSERT_FALSE(data->Empty());
  const TqzDataSkinControl* first = data->CtrlList()[0].get();
  size_t count = data->CtrlList().size();
  data->LoadFromStoredSkin(*holder);
  EXPECT_EQ(data->CtrlList().size(), count);
  EXPECT_EQ(log.Messages().size(), 6u);
  (void)first;
  delete holder;
  EXPECT_EQ(data->CompressedStoredSkin(), nullptr);
  EXPECT_FALSE(data->Empty());  // the loaded skin stays

  // In design mode the assignment only stores the reference.
  TqzSkinData designed(nullptr);
  designed.SetDesigning(true);
  auto* holder2 = new TqzCompressedStoredSkin(&root);
  holder2->SetCompressedData(SampleSkin().Compressed());
  designed.SetCompressedStoredSkin(holder2);
  EXPECT_TRUE(designed.Empty());
}

TEST_F(SkinDataTest, SkinListAndSkinIndex) {
  TComponent root(nullptr);
  auto* list = new TqzCompressedSkinList(&root);
  TTestSkin a = SampleSkin();
  TTestSkin b = SampleSkin();
  b.text.replace(b.text.find("skinname=Sample"), 15, "skinname=Other!");
  list->Skins().Add()->StoredSkin()->SetCompressedData(a.Compressed());
  list->Skins().Add()->StoredSkin()->SetCompressedData(b.Compressed());
  EXPECT_EQ(list->Skins().Items(1)->Name(), "qzSkin1");

  TqzSkinData data(&root);
  data.SetSkinIndex(1);  // without a list: only stored
  EXPECT_TRUE(data.Empty());
  data.SetSkinList(list);
  EXPECT_EQ(data.SkinName, "Other!");
  data.SetSkinIndex(5);  // out of range: ignored
  EXPECT_EQ(data.SkinIndex(), 1);
  data.SetSkinIndex(0);
  EXPECT_EQ(data.SkinName, "Sample");

  // The "Skin" block is the compressed skin file layout and reads back the same.
  std::vector<uint8_t> block = list->Skins().Items(0)->SkinBlock();
  ASSERT_GE(block.size(), 8u);
  EXPECT_EQ(block[0], 2);
  TqzSkinListItem* copy = list->Skins().Add();
  copy->SetSkinBlock(block);
  EXPECT_EQ(copy->StoredSkin()->CompressedData(), list->Skins().Items(0)->StoredSkin()->CompressedData());
}

TEST_F(SkinDataTest, CompressedDataPropertyStreamsTheBytesUnchanged) {
  TqzCompressedStoredSkin holder(nullptr);
  std::vector<uint8_t> z = SampleSkin().Compressed();
  const TPropInfo* prop = GetClassInfo("TqzCompressedStoredSkin").FindProperty("CompressedData");
  ASSERT_NE(prop, nullptr);
  TValue v = TValue::Binary(z);
  prop->set(holder, v);
  EXPECT_EQ(holder.CompressedData(), z);
  EXPECT_EQ(prop->get(holder).bytes, z);
  const TPropInfo* hooks = GetClassInfo("TqzSkinData").FindProperty("SystemColorHooks");
  ASSERT_NE(hooks, nullptr);
  TqzSkinData data(nullptr);
  EXPECT_EQ(hooks->get(data).names, (std::vector<std::string>{"qzschHighLight"}));
}

TEST_F(SkinDataTest, SystemColorRedirectionHasOneOwner) {
  const TColorRef realWindow = GetRealSysColor(COLOR_WINDOW);
  const TColorRef realHighlight = GetRealSysColor(COLOR_HIGHLIGHT);
  {
    TqzSkinData first(nullptr), second(nullptr);
    first.SetChangeSystemColors(true);  // empty: nothing installed yet
    EXPECT_FALSE(IsGetSysColorHooked());
    first.LoadFromCompressedData(SampleSkin().Compressed());
    EXPECT_EQ(SystemColorHookOwner(), &first);
    // Only the selection colours with [qzschHighLight].
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), realWindow);
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), 11250603u);
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHTTEXT), 255u);
    EXPECT_EQ(GetSysColorBrush(COLOR_HIGHLIGHT).color, 11250603u);
    EXPECT_EQ(GetSysColorBrush(COLOR_WINDOW).color, realWindow);
    EXPECT_EQ(CreatePen(PS_SOLID, 1, 13).color, 11250603u);
    EXPECT_EQ(CreatePen(PS_SOLID, 1, 5).color, 5u);
    EXPECT_EQ(ColorToRGB(clHighlight), 11250603u);

    first.SetSystemColorHooks({qzschHighLight, qzschWindow});
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), 16777215u);
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), 65280u);
    EXPECT_EQ(CreatePen(PS_SOLID, 1, 8).color, 65280u);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), GetRealSysColor(COLOR_BTNFACE));
    first.SetSystemColorHooks({qzschWindow});
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), realHighlight);

    // A second skin data with the property changes nothing.
    second.LoadFromCompressedData(SampleSkin().Compressed());
    second.SetChangeSystemColors(true);
    EXPECT_EQ(SystemColorHookOwner(), &first);
    second.SetChangeSystemColors(false);
    EXPECT_TRUE(IsGetSysColorHooked());

    // While the owner loads, the hook steps aside and answers the platform's colour.
    first.SetSystemColorHooks({qzschWindow});
    TColorRef duringLoad = 0;
    SetSkinMessageTargets([&] {
      return std::vector<TqzSkinMessageTarget>{{nullptr, false, [&](uint32_t m, WPARAM, LPARAM) {
                                                  if (m == MSG_SKIN_BEFORE_CHANGE)
                                                    duringLoad = GetSysColor(COLOR_WINDOW);
                                                }}};
    });
    first.LoadFromCompressedData(SampleSkin().Compressed());
    EXPECT_EQ(duringLoad, realWindow);
    EXPECT_TRUE(IsGetSysColorHooked());  // installed again when the load completed
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), 16777215u);

    first.SetChangeSystemColors(false);
    EXPECT_FALSE(IsGetSysColorHooked());
    EXPECT_EQ(SystemColorHookOwner(), nullptr);
    first.SetChangeSystemColors(true);
    EXPECT_EQ(SystemColorHookOwner(), &first);
  }
  // Destroying the owner removes the hooks.
  EXPECT_EQ(SystemColorHookOwner(), nullptr);
  EXPECT_FALSE(IsGetSysColorHooked());
  EXPECT_FALSE(IsCreatePenHooked());
  EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), realHighlight);
}

TEST_F(SkinDataTest, ResourceStringsAndTheirMessage) {
  TqzResourceStrData strings(nullptr);
  EXPECT_EQ(strings.ResStrings().Count(), 134);
  EXPECT_EQ(DefaultResourceStrings().size(), 134u);
  EXPECT_EQ(strings.GetResourceStr("msg_btn_ok"), "OK");
  EXPECT_EQ(strings.GetResourceStr("MI_CLOSECAPTION"), "&Close");
  EXPECT_EQ(strings.GetResourceStr("FLV_LOOKIN"), "Folder: ");
  EXPECT_EQ(strings.GetResourceStr("NO_SUCH_NAME"), "");
  EXPECT_EQ(strings.GetResourceStr("MSG_BTN"), "");
  strings.ResStrings().Insert(0, "msg_btn_ok=Fine=Good");
  EXPECT_EQ(strings.GetResourceStr("MSG_BTN_OK"), "Fine=Good");
  EXPECT_EQ(DefaultResourceStr("RESTORE_HINT"), "Restore");

  log.AddForm("F");
  TqzSkinData data(nullptr);
  data.SetResourceStrData(&strings);
  EXPECT_EQ(log.Messages(), std::vector<uint32_t>{MSG_RESOURCE_STRINGS_CHANGED});
  data.SetResourceStrData(nullptr);
}

// Writes the sample skin as files: a description and its BMPs.
std::string WriteSampleFiles(const std::string& dir, const TTestSkin& skin) {
  std::filesystem::create_directories(dir);
  auto write = [&](const std::string& name, const std::vector<uint8_t>& bytes) {
    WriteFileBytes(dir + "/" + name, bytes);
  };
  write("p.bmp", skin.slots[ssPicture]);
  write("m.bmp", skin.slots[ssMask]);
  write("a0.bmp", skin.active[0]);
  write("a1.bmp", skin.active[1]);
  std::string ini = dir + "/skin.ini";
  std::ofstream(ini, std::ios::binary) << skin.text;
  return ini;
}

TEST_F(SkinDataTest, RoundTripBuildLoadWrite) {
  std::string dir = std::string(QZ_TEST_OUTPUT_DIR) + "/skindata/roundtrip";
  TTestSkin skin = SampleSkin();
  std::string ini = WriteSampleFiles(dir, skin);

  TqzCompressedStoredSkin holder(nullptr);
  ASSERT_TRUE(holder.LoadFromSkinFile(ini));
  std::vector<uint8_t> container = InflateSkinStream(holder.CompressedData());
  EXPECT_EQ(container, skin.Container());  // BMPs re-encoded identically, text unchanged

  TqzSkinData data(nullptr);
  data.LoadFromStoredSkin(holder);
  TqzIniFile written;
  data.WriteData(written);
  EXPECT_EQ(*written.Find("tab", "stretchtype"), "sthorz");
  EXPECT_EQ(*written.Find("FORMINFO", "stretchtype"), "stvert");
  EXPECT_EQ(*written.Find("closebutton", "command"), "cmclose");
  EXPECT_EQ(*written.Find("caption", "alignment"), "tacenter");
  EXPECT_EQ(*written.Find("SKINCONTROLS", "count"), "3");
  EXPECT_EQ(*written.Find("SKINCONTROLS", "1"), "button:button");
  EXPECT_EQ(*written.Find("SKINAREAS", "1"), "other:1,2,3,4;1,0,1,0,1");
  EXPECT_EQ(*written.Find("PICTURES", "activepicturescount"), "2");

  // Loading what was written and writing again gives the same text.
  TTestSkin again = skin;
  again.text = written.Text();
  TqzSkinData reloaded(nullptr);
  reloaded.LoadFromCompressedData(again.Compressed());
  TqzIniFile second;
  reloaded.WriteData(second);
  EXPECT_EQ(second.Text(), written.Text());

  // A description without a required section builds nothing.
  TTestSkin broken = skin;
  broken.text.replace(broken.text.find("[SKINOBJECTS]"), 13, "[SKINOBJECTX]");
  std::string brokenIni = WriteSampleFiles(dir + "-broken", broken);
  std::string missing;
  EXPECT_FALSE(BuildSkinContainerFromFile(brokenIni, &missing));
  EXPECT_EQ(missing, "SKINOBJECTS");
  std::vector<uint8_t> before = holder.CompressedData();
  EXPECT_FALSE(holder.LoadFromSkinFile(brokenIni));
  EXPECT_EQ(holder.CompressedData(), before);

  // The FileName setter builds only while designed, and keeps the file-name part.
  TqzCompressedStoredSkin designed(nullptr);
  designed.SetFileName(ini);
  EXPECT_TRUE(designed.Empty());
  EXPECT_EQ(designed.FileName(), ini);
  designed.SetDesigning(true);
  designed.SetFileName(ini);
  EXPECT_EQ(designed.FileName(), "skin.ini");
  EXPECT_EQ(designed.CompressedData(), holder.CompressedData());

  // A compressed skin file of a newer version leaves the holder empty.
  TMemoryStream file;
  designed.SaveToStream(file);
  file.Data()[0] = 9;
  file.SetPosition(0);
  designed.LoadFromStream(file);
  EXPECT_TRUE(designed.Empty());
}

}  // namespace
}  // namespace qz
