// The controller in frame mode on the dialog skin: a 393 x 268 picture with
// clientrect (5,30,388,263), border width 5 and a rounded mask; no
// formminheight, so the frame alone is 35 high; formminwidth is 220.
#include <gtest/gtest.h>

#include <utility>

#include "host/components/FormResource.h"
#include "tests/skinform/OrvaneTestSupport.h"

namespace qz::testing {
namespace {

using OrvaneFrame = OrvaneTest;

TEST_F(OrvaneFrame, StreamsItsPropertiesAndClearsReferencesToDestroyedComponents) {
  auto* f = new TForm(Application);
  ReadComponentRes(f, R"(object Form1: TForm
  object PopupMenu1: TPopupMenu
  end
  object qzOrvane1: TqzOrvane
    SupportNCArea = False
    Sizeable = False
    Magnetic = True
    PositionInMonitor = qzpDesktopCenter
    BorderIcons = [biMinimize, biMinimizeToTray]
    AlphaBlendAnimation = True
    AlphaBlendValue = 150
    MinClientWidth = 40
    SystemMenu = PopupMenu1
    DefCaptionFont.Name = 'Arial'
  end
end
)");
  auto* o = f->FindChild<TqzOrvane>("qzOrvane1");
  ASSERT_NE(o, nullptr);
  EXPECT_FALSE(o->SupportNCArea());
  EXPECT_FALSE(o->Sizeable());
  EXPECT_TRUE(o->Magnetic);
  EXPECT_EQ(o->PositionInMonitor, qzpDesktopCenter);
  EXPECT_EQ(o->BorderIcons(), (TqzBorderIcons{biMinimize, biMinimizeToTray}));
  EXPECT_EQ(o->AlphaBlendValue, 150);
  EXPECT_EQ(o->MinClientWidth, 40);
  EXPECT_EQ(o->DefCaptionFont().Name(), "Arial");
  // Defaults the resource leaves alone.
  EXPECT_EQ(o->MagneticSize, 10);
  EXPECT_TRUE(o->NCDraggAble());
  EXPECT_EQ(o->MenuButtonWidth, 50);

  const std::string text = WriteComponentRes(f);
  EXPECT_NE(text.find("BorderIcons = [biMinimize, biMinimizeToTray]"), std::string::npos) << text;
  EXPECT_NE(text.find("SystemMenu = PopupMenu1"), std::string::npos) << text;
  EXPECT_EQ(text.find("MagneticSize"), std::string::npos) << text;

  delete f->FindComponent("PopupMenu1");
  EXPECT_EQ(o->SystemMenu(), nullptr);
}

TEST_F(OrvaneFrame, LogoBitmapStreamsWithTheForm) {
  auto* f = new TForm(Application);
  auto* o = new TqzOrvane(f);
  o->SetName("qzOrvane1");
  o->LogoBitMap().SetSize(3, 2);
  o->LogoBitMap().Canvas().SetPixel(2, 1, clRed);
  o->LogoBitMapTransparent = true;
  const std::string text = WriteComponentRes(f);
  EXPECT_NE(text.find("LogoBitMap = {"), std::string::npos) << text;

  auto* g = new TForm(Application);
  ReadComponentRes(g, text);
  auto* read = g->FindChild<TqzOrvane>("qzOrvane1");
  ASSERT_NE(read, nullptr);
  ASSERT_EQ(read->LogoBitMap().Width(), 3);
  ASSERT_EQ(read->LogoBitMap().Height(), 2);
  EXPECT_EQ(read->LogoBitMap().Canvas().Pixel(2, 1), clRed);
  EXPECT_TRUE(read->LogoBitMapTransparent);
  // An empty logo writes nothing.
  read->LogoBitMap().SetSize(0, 0);
  EXPECT_EQ(WriteComponentRes(g).find("LogoBitMap ="), std::string::npos);
}

// The demo's order: the controller first, then the stored skin and the skin
// data whose load broadcasts before any reference is resolved.
TEST_F(OrvaneFrame, FormResourceWithItsSkinComesUpSkinned) {
  std::string hex;
  static const char digits[] = "0123456789ABCDEF";
  for (size_t i = 0; i < DialogSkin().Compressed.size(); ++i) {
    if (i % 32 == 0) hex += "\n      ";
    hex += digits[DialogSkin().Compressed[i] >> 4];
    hex += digits[DialogSkin().Compressed[i] & 15];
  }
  auto* f = new TForm(Application);
  ReadComponentRes(f, "object Form1: TForm\n"
                      "  Left = 100\n  Top = 100\n  Width = 600\n  Height = 400\n"
                      "  object qzOrvane1: TqzOrvane\n    SkinData = qzSkinData1\n  end\n"
                      "  object qzCompressedStoredSkin1: TqzCompressedStoredSkin\n"
                      "    CompressedData = {" + hex + "}\n  end\n"
                      "  object qzSkinData1: TqzSkinData\n"
                      "    CompressedStoredSkin = qzCompressedStoredSkin1\n  end\n"
                      "end\n");
  auto* o = f->FindChild<TqzOrvane>("qzOrvane1");
  ASSERT_NE(o, nullptr);
  EXPECT_TRUE(o->Skinned());
  f->Show();
  Pump();
  EXPECT_EQ(f->ClientWidth(), 590);
  EXPECT_EQ(f->ClientHeight(), 365);
}

// A skin data loaded before the controller knew it.
TEST_F(OrvaneFrame, SkinDataLoadedBeforehandAppliesWhenAttached) {
  auto* f = new TForm(Application);
  f->SetBoundsRect(Bounds(100, 100, 600, 400));
  auto* data = new TqzSkinData(f);
  data->LoadFromCompressedData(DialogSkin().Compressed);
  auto* o = new TqzOrvane(f);
  o->SetSkinData(data);
  EXPECT_TRUE(o->Skinned());
  f->Show();
  Pump();
  EXPECT_EQ(f->ClientWidth(), 590);
}

TEST_F(OrvaneFrame, OwnerMustBeAForm) {
  TComponent owner(nullptr);
  EXPECT_THROW(TqzOrvane o(&owner), EInvalidCast);
}

TEST_F(OrvaneFrame, ClientAreaSizeLimitsAndHitTestsFollowTheSkin) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  EXPECT_TRUE(s.Orvane->Skinned());
  // clientrect grows with the window: (5, 30, 595, 395).
  EXPECT_EQ(s.Form->ClientWidth(), 590);
  EXPECT_EQ(s.Form->ClientHeight(), 365);
  EXPECT_EQ(s.Form->ClientOrigin(), (TPoint{105, 130}));

  s.Orvane->MinClientWidth = 100;
  s.Orvane->MinClientHeight = 50;
  s.Orvane->MaxClientWidth = 800;
  TMinMaxInfo mm;
  SendMessage(s.Form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mm));
  EXPECT_EQ(mm.ptMinTrackSize, (TPoint{393 + 100 - 383, 268 + 50 - 233}));
  EXPECT_EQ(mm.ptMaxTrackSize, (TPoint{393 + 800 - 383, 1040}));

  EXPECT_EQ(HitAt(s.Form, {100 + 2, 100 + 200}), HTLEFT);
  EXPECT_EQ(HitAt(s.Form, {100 + 597, 100 + 200}), HTRIGHT);
  EXPECT_EQ(HitAt(s.Form, {100 + 300, 100 + 2}), HTTOP);
  EXPECT_EQ(HitAt(s.Form, {100 + 595, 100 + 395}), HTBOTTOMRIGHT);
  EXPECT_EQ(HitAt(s.Form, {100 + 300, 100 + 200}), HTCLIENT);
  // The skin's caption object drags the window, unless NCDraggAble is off.
  EXPECT_EQ(HitAt(s.Form, {100 + 300, 100 + 15}), HTCAPTION);
  s.Orvane->NCDraggAbleProp = false;
  EXPECT_EQ(HitAt(s.Form, {100 + 300, 100 + 15}), HTOBJECT);
  s.Orvane->NCDraggAbleProp = true;
  // Without a caption object the strip is the controller's own.
  s.Orvane->ObjectList().clear();
  EXPECT_EQ(HitAt(s.Form, {100 + 300, 100 + 15}), HTOBJECT);
}

TEST_F(OrvaneFrame, BorderDragResizesWithinTheLimits) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  s.Orvane->MinClientWidth = 100;
  Drag({100 + 597, 300}, {100 + 647, 300});
  EXPECT_EQ(s.Form->BoundsRect(), Bounds(100, 100, 650, 400));
  EXPECT_EQ(s.Form->ClientWidth(), 640);
  EXPECT_EQ(s.Orvane->Rects().NewClRect, (TRect{5, 30, 645, 395}));
  // Far past the minimum: the frame plus 100 client pixels.
  Drag({100 + 647, 300}, {0, 300});
  EXPECT_EQ(s.Form->Width(), 110);
  EXPECT_EQ(s.Form->ClientWidth(), 100);
  // And far past the maximum: the frame plus 800 client pixels.
  s.Orvane->MaxClientWidth = 800;
  Drag({100 + 107, 300}, {1900, 300});
  EXPECT_EQ(s.Form->Width(), 810);
  EXPECT_EQ(s.Orvane->Rects().NewClRect.Right, 805);
}

TEST_F(OrvaneFrame, CaptionDoubleClickMaximisesAndRestores) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  int maximized = 0, restored = 0;
  s.Orvane->OnMaximize = [&](TObject*) { ++maximized; };
  s.Orvane->OnRestore = [&](TObject*) { ++restored; };

  DoubleClick({300, 115});
  EXPECT_EQ(s.Orvane->WindowState(), wsMaximized);
  EXPECT_EQ(s.Form->BoundsRect(), (TRect{0, 0, 1920, 1040}));
  EXPECT_EQ(s.Orvane->NormalBounds(), Bounds(100, 100, 600, 400));
  EXPECT_EQ(maximized, 1);
  // No sizing codes while maximised.
  EXPECT_EQ(HitAt(s.Form, {1917, 500}), HTOBJECT);

  DoubleClick({300, 15});
  EXPECT_EQ(s.Orvane->WindowState(), wsNormal);
  EXPECT_EQ(s.Form->BoundsRect(), Bounds(100, 100, 600, 400));
  EXPECT_TRUE(s.Orvane->NormalBounds().IsEmpty());
  EXPECT_EQ(restored, 1);

  // Without biMaximize a double click rolls the frame up instead.
  s.Orvane->SetBorderIcons({biSystemMenu, biRollUp});
  DoubleClick({300, 115});
  EXPECT_TRUE(s.Orvane->IsRolledUp());
}

TEST_F(OrvaneFrame, RollUpLeavesTheFrameAndRollDownBringsTheHeightBack) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  int changes = 0;
  s.Orvane->OnChangeRollUpState = [&](TObject*) { ++changes; };
  s.Orvane->RollUp();
  EXPECT_TRUE(s.Orvane->IsRolledUp());
  EXPECT_EQ(s.Form->BoundsRect(), Bounds(100, 100, 600, 268 - 233));
  // A rolled-up frame answers no sizing codes.
  EXPECT_NE(HitAt(s.Form, {100 + 300, 100 + 2}), HTTOP);
  s.Orvane->RollDown();
  EXPECT_FALSE(s.Orvane->IsRolledUp());
  EXPECT_EQ(s.Form->BoundsRect(), Bounds(100, 100, 600, 400));
  EXPECT_EQ(changes, 2);

  // ClientHeight decides the height a roll-down comes back to.
  s.Orvane->SetClientHeight(200);
  s.Orvane->RollUp();
  s.Orvane->RollDown();
  EXPECT_EQ(s.Form->ClientHeight(), 200);

  // Refused without biRollUp.
  s.Orvane->SetBorderIcons({biSystemMenu});
  s.Orvane->RollUp();
  EXPECT_FALSE(s.Orvane->IsRolledUp());
}

TEST_F(OrvaneFrame, RestoringAMaximisedRolledUpFormRollsItDownFirst) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  s.Orvane->SetWindowState(wsMaximized);
  s.Orvane->RollUp();
  ASSERT_TRUE(s.Orvane->IsRolledUp());
  EXPECT_EQ(s.Form->Height(), 35);
  s.Orvane->SetWindowState(wsNormal);
  EXPECT_FALSE(s.Orvane->IsRolledUp());
  EXPECT_EQ(s.Form->BoundsRect(), Bounds(100, 100, 600, 400));
}

TEST_F(OrvaneFrame, MinimisingAFormOtherThanTheMainFormShrinksItToAMinimiseSlot) {
  auto main = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  Application->SetMainForm(main.Form);
  auto s = MakeSkinned(DialogSkin(), Bounds(200, 200, 600, 400));
  int minimized = 0;
  s.Orvane->OnMinimize = [&](TObject*) { ++minimized; };
  s.Orvane->SetWindowState(wsMinimized);
  EXPECT_EQ(s.Orvane->WindowState(), wsMinimized);
  EXPECT_EQ(s.Form->Width(), 220);
  EXPECT_EQ(s.Form->Height(), 35);
  EXPECT_EQ(s.Form->Left(), 0);
  EXPECT_EQ(s.Form->Top() + s.Form->Height(), 1040);
  EXPECT_EQ(minimized, 1);
  s.Orvane->SetWindowState(wsNormal);
  EXPECT_EQ(s.Form->BoundsRect(), Bounds(200, 200, 600, 400));
  // The main form minimises the application and keeps its own state.
  main.Orvane->SetWindowState(wsMinimized);
  EXPECT_EQ(main.Orvane->WindowState(), wsNormal);
}

TEST_F(OrvaneFrame, FadeInReachesExactlyItsTarget) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400), false, false);
  s.Orvane->AlphaBlend = true;
  s.Orvane->AlphaBlendAnimation = true;
  s.Orvane->AlphaBlendValue = 200;  // steps of 13: the last one is cut to 200
  s.Form->Show();
  Pump();
  EXPECT_EQ(Opacity(s.Form), 0);
  int highest = 0, steps = 0, last = 0;
  for (int i = 0; i < 40; ++i) {
    Ticks(1, 7);
    const int now = Opacity(s.Form);
    if (now != last) ++steps;
    last = now;
    highest = std::max(highest, now);
  }
  EXPECT_EQ(Opacity(s.Form), 200);
  EXPECT_EQ(highest, 200);
  EXPECT_EQ(steps, 16);  // 15 steps of 13, then 5
  EXPECT_NE(GetWindowLong(s.Form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);

  // Animation alone fades to opaque and gives the window its plain style back.
  auto t = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400), false, false);
  t.Orvane->AlphaBlendAnimation = true;
  t.Form->Show();
  Ticks(40, 7);
  EXPECT_EQ(Opacity(t.Form), 255);
  EXPECT_EQ(GetWindowLong(t.Form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
}

TEST_F(OrvaneFrame, SkinChangeKeepsTheOuterSizeUnlessClientSizeIsFixed) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 500, 350));
  int changed = 0;
  s.Orvane->OnChangeSkinData = [&](TObject*) { ++changed; };
  s.Skin->LoadFromCompressedData(DialogSkin().Compressed);
  Pump();
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(s.Form->BoundsRect(), Bounds(100, 100, 500, 350));
  EXPECT_EQ(s.Form->ClientWidth(), 490);

  s.Orvane->SetClientWidth(300);
  s.Orvane->SetClientHeight(200);
  s.Skin->LoadFromCompressedData(DialogSkin().Compressed);
  Pump();
  EXPECT_EQ(s.Form->ClientWidth(), 300);
  EXPECT_EQ(s.Form->ClientHeight(), 200);
  EXPECT_EQ(s.Form->Width(), 310);

  // Another skin data's change leaves the form alone.
  auto* other = new TqzSkinData(Application);
  other->LoadFromCompressedData(MainSkin().Compressed);
  Pump();
  EXPECT_EQ(changed, 2);
  EXPECT_EQ(s.Form->Width(), 310);
}

TEST_F(OrvaneFrame, SkinDataDestroyedFallsBackToTheDefaultFrame) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  AddCaption(*s.Orvane, {9, 1, 588, 29});
  delete s.Skin;
  EXPECT_EQ(s.Orvane->SkinData(), nullptr);
  EXPECT_FALSE(s.Orvane->Skinned());
  EXPECT_TRUE(s.Orvane->ObjectList().empty());
  EXPECT_EQ(HitAt(s.Form, {300, 300}), HTCLIENT);
}

TEST_F(OrvaneFrame, DeactivationReachesTheActiveStateEvents) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  int activated = 0, deactivated = 0;
  s.Orvane->OnActivate = [&](TObject*) { ++activated; };
  s.Orvane->OnDeActivate = [&](TObject*) { ++deactivated; };
  ASSERT_TRUE(s.Orvane->FormActive());
  auto* other = MakeForm(Bounds(900, 100, 300, 200));
  EXPECT_FALSE(s.Orvane->FormActive());
  EXPECT_GE(deactivated, 1);
  SetActiveWindow(s.Form->Handle());
  Pump();
  EXPECT_GE(activated, 1);
  // WM_NCACTIVATE never reaches the system's own caption drawing.
  EXPECT_EQ(SendMessage(s.Form->Handle(), WM_NCACTIVATE, 0, 0), 1);
  delete other;
}

TEST_F(OrvaneFrame, MouseTimerRunsWhileTheMouseIsOverAnObject) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  // The skin's close button, placed at the right end of the button row.
  const auto& objects = s.Orvane->ObjectList();
  ASSERT_EQ(objects[1]->IDName(), "closebutton");
  ASSERT_EQ(objects[1]->ObjectRect, (TRect{575, 7, 592, 23}));
  std::vector<std::string> log;
  s.Orvane->OnMouseEnterEvent = [&](const std::string& id) { log.push_back("enter " + id); };
  s.Orvane->OnMouseLeaveEvent = [&](const std::string& id) { log.push_back("leave " + id); };
  ASSERT_FALSE(s.Orvane->MouseTimerActive() && s.Orvane->ActiveObject() != -1);
  Ticks(2, 60);  // the timer started by the skin finds the mouse elsewhere
  EXPECT_FALSE(s.Orvane->MouseTimerActive());

  Move({100 + 583, 100 + 15});
  EXPECT_EQ(s.Orvane->ActiveObject(), 1);
  EXPECT_TRUE(s.Orvane->MouseTimerActive());
  ASSERT_EQ(log, (std::vector<std::string>{"enter closebutton"}));

  Move({1500, 900});
  Ticks(1, 60);
  EXPECT_EQ(s.Orvane->ActiveObject(), -1);
  EXPECT_FALSE(s.Orvane->MouseTimerActive());
  EXPECT_EQ(log.back(), "leave closebutton");

  // Destroying the window stops the timers.
  Move({100 + 583, 100 + 15});
  ASSERT_TRUE(s.Orvane->MouseTimerActive());
  s.Form->RecreateWnd();
  EXPECT_FALSE(s.Orvane->MouseTimerActive());
}

TEST_F(OrvaneFrame, HandlersMayFreeTheForm) {
  // From an object event during hit testing.
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  TForm* form = s.Form;
  // The handler's own closure goes with the form: it touches nothing after.
  s.Orvane->OnMouseEnterEvent = [slot = &form](const std::string&) {
    TForm* gone = std::exchange(*slot, nullptr);
    delete gone;
  };
  Move({100 + 583, 100 + 15});  // the close button
  Ticks(1, 60);
  EXPECT_EQ(form, nullptr);

  // From OnChangeSkinData, with a skin data the form does not own.
  auto* shared = new TqzSkinData(Application);
  auto* f = new TForm(Application);
  f->SetBoundsRect(Bounds(100, 100, 600, 400));
  auto* o = new TqzOrvane(f);
  o->SetSkinData(shared);
  f->Show();
  Pump();
  o->OnChangeSkinData = [slot = &f](TObject*) {
    TForm* gone = std::exchange(*slot, nullptr);
    delete gone;
  };
  shared->LoadFromCompressedData(DialogSkin().Compressed);
  Pump();
  EXPECT_EQ(f, nullptr);
  EXPECT_FALSE(shared->Empty());
}

// A caption button goes on after raising its press and release events (its
// command, its menu): a handler that freed the form stops it there.
TEST_F(OrvaneFrame, ObjectPressAndReleaseHandlersMayFreeTheForm) {
  for (const bool onRelease : {false, true}) {
    auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
    TForm* form = s.Form;
    auto freeForm = [slot = &form](const std::string&, int, int, const TRect&, TqzMouseButton) {
      TForm* gone = std::exchange(*slot, nullptr);
      delete gone;
    };
    if (onRelease)
      s.Orvane->OnMouseUpEvent = freeForm;
    else
      s.Orvane->OnMouseDownEvent = freeForm;
    Move({100 + 583, 100 + 15});  // the close button
    Ticks(1, 60);
    hp->InjectMouseDown();
    hp->InjectMouseUp();
    Pump();
    EXPECT_EQ(form, nullptr) << (onRelease ? "release" : "press");
  }
}

// Objects work in their own coordinates; their events tell the window's.
TEST_F(OrvaneFrame, ObjectsTakeTheMouseRelativeToThemselves) {
  struct TRecorder : TTestCaption {
    using TTestCaption::TTestCaption;
    void MouseDown(int x, int y, TqzMouseButton b) override {
      Seen = {x, y};
      TTestCaption::MouseDown(x, y, b);
    }
    TPoint Seen{-1, -1};
  };
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  TqzDataSkinObject data("recorder");
  const TRect r = Rect(556, 7, 573, 23);  // over the maximise button, ahead of it in the list
  auto owned = std::make_unique<TRecorder>(*s.Orvane, data, r);
  owned->Caption = false;
  TRecorder& recorder = *owned;
  s.Orvane->ObjectList().insert(s.Orvane->ObjectList().begin(), std::move(owned));
  TPoint eventPoint{-1, -1};
  s.Orvane->OnMouseDownEvent = [&](const std::string&, int x, int y, const TRect&, TqzMouseButton) {
    eventPoint = {x, y};
  };
  Move({100 + 560, 100 + 12});
  Ticks(1, 60);
  hp->InjectMouseDown();
  hp->InjectMouseUp();
  Pump();
  EXPECT_EQ(recorder.Seen, (TPoint{4, 5}));
  EXPECT_EQ(eventPoint, (TPoint{560, 12}));
  s.Orvane->ObjectList().erase(s.Orvane->ObjectList().begin());
}

TEST_F(OrvaneFrame, SystemMenuOffersTheStateItemsAndRunsThem) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  int opened = 0, shown = 0;
  s.Orvane->OnSkinMenuOpen = [&](TObject*) { ++opened; };
  s.Orvane->DefaultSystemMenu().PopupHook = [&](TPopupMenu&, int x, int y) {
    ++shown;
    EXPECT_EQ(x, 150);
    EXPECT_EQ(y, 160);
  };
  s.Orvane->SystemMenuPopup(150, 160);
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(shown, 1);
  s.Orvane->DisableSystemMenu = true;
  s.Orvane->SystemMenuPopup(150, 160);
  EXPECT_EQ(shown, 1);
}

TEST_F(OrvaneFrame, PrivateQueriesAnswerTheirCodes) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  HWND h = s.Form->Handle();
  EXPECT_EQ(SendMessage(h, MSG_SKINNED_FORM_QUERY), kSkinnedFormAnswer);
  EXPECT_EQ(SendMessage(h, MSG_PAINT_FRAME_TO_DC, 0, 0), kFramePaintedAnswer);
  EXPECT_EQ(SendMessage(h, MSG_PAINT_FRAME_TO_DC_EX, 0, kFramePaintedExAnswer), kFramePaintedExAnswer);
  s.Skin->SetSkinnableForm(false);
  EXPECT_EQ(SendMessage(h = s.Form->Handle(), MSG_SKINNED_FORM_QUERY), kNativeFormAnswer);
}

}  // namespace
}  // namespace qz::testing
