// The demo's two windows built from their form resources, headlessly: the
// skins they carry, the mode and size each window takes, its shape and its
// caption buttons.
#include <gtest/gtest.h>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "host/graphics/Region.h"
#include "host/ui/Application.h"
#include "host/ui/Windows.h"
#include "skin/data/SkinData.h"
#include "skin/form/Orvane.h"
#include "skin/form/SkinObjects.h"
#include "tests/host_ui/UiTestSupport.h"

namespace qz::testing {
namespace {

class DemoWindows : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Application->CreateForm(Form1);
    Application->CreateForm(Form2);
  }
  void Settle(int ms) {
    Pump();
    for (int t = 0; t < ms; t += 25) {
      hp->AdvanceClock(25);
      Pump();
    }
  }
  TqzActiveSkinObject* Object(TqzOrvane& o, const std::string& name) {
    for (auto& obj : o.ObjectList())
      if (obj->IDName() == name) return obj.get();
    return nullptr;
  }
  TPoint ScreenCentre(TCustomForm& f, const TRect& windowRect) {
    TRect w;
    GetWindowRect(f.Handle(), w);
    return {w.Left + (windowRect.Left + windowRect.Right) / 2,
            w.Top + (windowRect.Top + windowRect.Bottom) / 2};
  }
  TForm1* Form1 = nullptr;
  TForm2* Form2 = nullptr;
};

TEST_F(DemoWindows, BothSkinsComeFromTheMainWindowsResource) {
  ASSERT_NE(Form1->qzSkinData1, nullptr);
  ASSERT_NE(Form1->qzSkinData2, nullptr);
  EXPECT_FALSE(Form1->qzSkinData1->Empty());
  EXPECT_FALSE(Form1->qzSkinData2->Empty());
  EXPECT_EQ(Form1->qzSkinData1->Picture().Width(), 820);
  EXPECT_EQ(Form1->qzSkinData2->Picture().Width(), 393);
  // The second window is dressed by the first one's second skin data.
  EXPECT_EQ(Form2->qzOrvane1->SkinData(), Form1->qzSkinData2);
}

TEST_F(DemoWindows, MainWindowIsAFixedClientModeWindowShapedByItsMask) {
  TqzOrvane& o = *Form1->qzOrvane1;
  EXPECT_FALSE(o.SupportNCArea());
  EXPECT_FALSE(o.Sizeable());
  EXPECT_TRUE(o.Skinned());
  Form1->Show();
  Settle(600);
  EXPECT_EQ(Form1->ClientWidth(), 848);
  EXPECT_EQ(Form1->ClientHeight(), 645);
  EXPECT_EQ(Form1->BorderStyle(), bsNone);
  // Centred on the work area (1920 x 1040 on the headless screen), each
  // half truncated on its own.
  EXPECT_EQ(Form1->Left(), 1920 / 2 - 848 / 2);
  EXPECT_EQ(Form1->Top(), 1040 / 2 - 645 / 2);
  // The rounded corners of the mask cut the window's corner pixel away,
  // while the middle of the window belongs to it.
  TRegion region;
  ASSERT_NE(GetWindowRgn(Form1->Handle(), region), 0);
  EXPECT_FALSE(region.Contains({0, 0}));
  EXPECT_TRUE(region.Contains({424, 322}));
  EXPECT_TRUE(hp->WindowAt({Form1->Left() + 424, Form1->Top() + 322}) != nullptr);
  EXPECT_EQ(hp->WindowAt({Form1->Left(), Form1->Top()}), nullptr);
}

TEST_F(DemoWindows, MainWindowShowsOnlyItsBorderIconsButtons) {
  Form1->Show();
  Settle(600);
  TqzOrvane& o = *Form1->qzOrvane1;
  TqzActiveSkinObject* min = Object(o, "minbutton");
  TqzActiveSkinObject* tray = Object(o, "traybutton");
  ASSERT_NE(min, nullptr);
  ASSERT_NE(tray, nullptr);
  EXPECT_TRUE(min->Enabled);
  EXPECT_TRUE(tray->Enabled);
  if (TqzActiveSkinObject* max = Object(o, "maxbutton")) {
    EXPECT_FALSE(max->Enabled);
  }
}

TEST_F(DemoWindows, ReleasingACaptionButtonElsewhereRunsNothing) {
  Form1->Show();
  Settle(600);
  TqzActiveSkinObject* min = Object(*Form1->qzOrvane1, "minbutton");
  ASSERT_NE(min, nullptr);
  const TPoint at = ScreenCentre(*Form1, min->ObjectRect);
  hp->InjectMouseMove(at);
  Settle(100);
  hp->InjectMouseDown();
  Settle(200);  // the mouse tracking finds the pointer still over the button
  // Moved off the window and released before the tracking runs again.
  int minimised = 0;
  Application->OnMinimize = [&](TObject*) { ++minimised; };
  hp->InjectMouseMove({Form1->Left() - 40, Form1->Top() - 40});
  hp->InjectMouseUp();
  Settle(100);
  // A minimised window stays visible (iconic): the command is what must
  // not have run.
  EXPECT_EQ(minimised, 0);
  EXPECT_FALSE(IsIconic(Form1->Handle()));
  EXPECT_FALSE(min->Active);
  Application->OnMinimize = nullptr;
}

TEST_F(DemoWindows, SecondWindowIsASizeableFrameModeWindowThatKeepsItsClientSize) {
  TqzOrvane& o = *Form2->qzOrvane1;
  EXPECT_TRUE(o.SupportNCArea());
  EXPECT_TRUE(o.Sizeable());
  EXPECT_TRUE(o.Skinned());
  EXPECT_EQ(Form2->Caption(), "Test form2");
  Form2->Show();
  Settle(600);
  // The skin's frame replaced the host's: the outer size stayed, the client
  // area is what the skin's frame leaves of it.
  const TRect client = o.Rects().NewClRect;
  EXPECT_EQ(client.Width(), Form2->ClientWidth());
  EXPECT_EQ(client.Height(), Form2->ClientHeight());
  // The window's shape covers its whole width: the caption buttons at the
  // right end are part of it.
  TRegion region;
  ASSERT_NE(GetWindowRgn(Form2->Handle(), region), 0);
  EXPECT_TRUE(region.Contains({Form2->Width() - 20, 10}));
  TqzActiveSkinObject* close = Object(o, "closebutton");
  ASSERT_NE(close, nullptr);
  EXPECT_GT(close->ObjectRect.Left, Form2->Width() / 2);
  EXPECT_LE(close->ObjectRect.Right, Form2->Width());
}

TEST_F(DemoWindows, SecondWindowMaximisesAndRestoresFromItsCaption) {
  Form2->Show();
  Settle(600);
  const TRect before = Form2->BoundsRect();
  TqzOrvane& o = *Form2->qzOrvane1;
  TqzActiveSkinObject* caption = nullptr;
  for (auto& obj : o.ObjectList())
    if (obj->IsCaption() && obj->ShownIn(false)) caption = obj.get();
  ASSERT_NE(caption, nullptr);
  TRect w;
  GetWindowRect(Form2->Handle(), w);
  const TPoint at{w.Left + caption->ObjectRect.Left + 30,
                  w.Top + (caption->ObjectRect.Top + caption->ObjectRect.Bottom) / 2};
  hp->InjectClick(at);
  hp->InjectClick(at);
  Settle(100);
  EXPECT_EQ(o.ActualWindowState(), wsMaximized);
  EXPECT_EQ(Form2->BoundsRect(), Rect(0, 0, 1920, 1040));
  GetWindowRect(Form2->Handle(), w);
  const TPoint again{w.Left + caption->ObjectRect.Left + 30,
                     w.Top + (caption->ObjectRect.Top + caption->ObjectRect.Bottom) / 2};
  hp->AdvanceClock(1000);
  hp->InjectClick(again);
  hp->InjectClick(again);
  Settle(100);
  EXPECT_EQ(o.ActualWindowState(), wsNormal);
  EXPECT_EQ(Form2->BoundsRect(), before);
}

}  // namespace
}  // namespace qz::testing
