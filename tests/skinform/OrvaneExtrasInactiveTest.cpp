// The controller's extras: the inactive client panel (dimmed or blurred
// client while another window is active), the skin cursors of client mode,
// and the main form's answer to the application's restore.
#include <gtest/gtest.h>

#include <stdexcept>

#include "skin/data/SkinData.h"
#include "skin/draw/EffectBmp.h"
#include "skin/form/InactiveClientPanel.h"
#include "tests/skinform/OrvaneTestSupport.h"

namespace qz::testing {
namespace {

using OrvaneExtras = OrvaneTest;

THeadlessWindow& PlatformWindow(TForm* f) {
  return *static_cast<THeadlessWindow*>(f->WindowData()->platform.get());
}

// The window's pixels inside `r` (window coordinates), as an opaque bitmap.
void Piece(const TPixmap& window, const TRect& r, TqzBitmap& piece) {
  piece.SetSize(r.Width(), r.Height());
  for (int y = 0; y < r.Height(); ++y)
    for (int x = 0; x < r.Width(); ++x)
      piece.SetPixel(x, y, window.At(r.Left + x, r.Top + y) | 0xFF000000);
}

int Differences(const TPixmap& window, const TRect& r, const TPixmap& expected) {
  int differences = 0;
  for (int y = 0; y < r.Height(); ++y)
    for (int x = 0; x < r.Width(); ++x)
      if ((window.At(r.Left + x, r.Top + y) & 0xFFFFFF) != (expected.At(x, y) & 0xFFFFFF))
        ++differences;
  return differences;
}

TqzInactiveClientPanel* PanelOf(TForm* f) {
  for (int i = 0; i < f->ControlCount(); ++i)
    if (auto* p = dynamic_cast<TqzInactiveClientPanel*>(f->Controls(i))) return p;
  return nullptr;
}

class OrvaneInactiveClient : public OrvaneTest {
 protected:
  // A frame-mode form on the dialog skin with two coloured blocks in its
  // client area, so that the blur has edges to soften.
  TSkinnedForm MakeCovered(TqzClientInActiveEffect type) {
    auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 400, 300), false, false);
    s.Orvane->ClientInActiveEffect = true;
    s.Orvane->ClientInActiveEffectType = type;
    auto* red = new TProbe(s.Form, clRed);
    red->SetParent(s.Form);
    red->SetBounds(20, 20, 60, 40);
    auto* blue = new TProbe(s.Form, clBlue);
    blue->SetParent(s.Form);
    blue->SetBounds(80, 30, 50, 70);
    s.Form->Show();
    Pump();
    return s;
  }
  TRect ClientInWindow(const TSkinnedForm& s) { return s.Orvane->Rects().NewClRect; }
  void Deactivate() {
    other_ = MakeForm(Bounds(900, 700, 200, 150));
    Pump();
  }
  TForm* other_ = nullptr;
};

TEST_F(OrvaneInactiveClient, DeactivatedClientIsDimmedAndComesBackOnActivation) {
  auto s = MakeCovered(qzieSemiTransparent);
  ASSERT_TRUE(s.Orvane->FormActive());
  EXPECT_EQ(PanelOf(s.Form), nullptr);
  const TRect client = ClientInWindow(s);
  TqzBitmap before;
  Piece(PlatformWindow(s.Form).Contents(), client, before);

  Deactivate();
  ASSERT_FALSE(s.Orvane->FormActive());
  TqzInactiveClientPanel* panel = PanelOf(s.Form);
  ASSERT_NE(panel, nullptr);
  EXPECT_TRUE(panel->Visible());
  TqzEffectBmp dimmed(before);
  dimmed.ChangeDarkness(kInactiveVeilOpacity);
  EXPECT_EQ(Differences(PlatformWindow(s.Form).Contents(), client, dimmed.ToPixmap()), 0);
  // Pure red under a 35 % black veil: 255 * 0.65 = 165.75.
  const TPixmap& shown = PlatformWindow(s.Form).Contents();
  EXPECT_EQ(shown.At(client.Left + 30, client.Top + 30) & 0xFFFFFF, 0xA60000u);

  s.Form->SetFocus();
  Pump();
  ASSERT_TRUE(s.Orvane->FormActive());
  EXPECT_FALSE(panel->Visible());
  EXPECT_EQ(Differences(PlatformWindow(s.Form).Contents(), client, before.Pixmap()), 0);
}

TEST_F(OrvaneInactiveClient, BlurredLookIsTheTentBlurOfTheClient) {
  auto s = MakeCovered(qzieBlur);
  const TRect client = ClientInWindow(s);
  TqzBitmap expected;
  Piece(PlatformWindow(s.Form).Contents(), client, expected);
  BlurBitmap(expected, kInactiveBlurRadius);
  Deactivate();
  ASSERT_NE(PanelOf(s.Form), nullptr);
  const TPixmap& shown = PlatformWindow(s.Form).Contents();
  EXPECT_EQ(Differences(shown, client, expected.Pixmap()), 0);
  // The edge of the red block is softened, its middle keeps the colour.
  EXPECT_EQ(shown.At(client.Left + 50, client.Top + 40) & 0xFFFFFF, 0xFF0000u);
  EXPECT_NE(shown.At(client.Left + 20, client.Top + 40) & 0xFFFFFF, 0xFF0000u);
}

TEST_F(OrvaneInactiveClient, WithoutTheEffectNothingCoversTheClient) {
  auto s = MakeCovered(qzieSemiTransparent);
  s.Orvane->ClientInActiveEffect = false;
  const TRect client = ClientInWindow(s);
  TqzBitmap before;
  Piece(PlatformWindow(s.Form).Contents(), client, before);
  Deactivate();
  ASSERT_FALSE(s.Orvane->FormActive());
  EXPECT_EQ(PanelOf(s.Form), nullptr);
  EXPECT_EQ(Differences(PlatformWindow(s.Form).Contents(), client, before.Pixmap()), 0);
}

// A paint handler that frees the form while the panel takes the client's
// picture: the controller returns quietly.
TEST_F(OrvaneInactiveClient, FormFreedWhileItsPictureIsTakenEndsQuietly) {
  auto s = MakeCovered(qzieBlur);
  TComponentRef<TForm> form(s.Form);
  bool freeing = false;
  s.Form->OnPaint = [&](TObject*) {
    if (!freeing) return;
    freeing = false;
    delete form.Get();
  };
  freeing = true;
  s.Form->Invalidate();  // a paint still pending when the picture is taken
  Deactivate();
  EXPECT_FALSE(form);
}

// ---------------------------------------------------------------------------
// Skin cursors (client mode): the object's cursorindex, else the frame's,
// counted from the skin's StartCursorIndex (1); the default cursor when
// neither is set.

TEST_F(OrvaneExtras, SkinCursorsFollowTheObjectUnderTheMouse) {
  auto s = MakeSkinned(MainSkin(), Bounds(100, 100, 848, 645), true);
  TqzSkinData& skin = *s.Skin;
  const int saved = skin.CursorIndex;
  TqzActiveSkinObject* button = nullptr;
  for (auto& o : s.Orvane->ObjectList())
    if (o->IDName() == "minbutton") button = o.get();
  ASSERT_NE(button, nullptr);
  auto& buttonData = const_cast<TqzDataSkinObject&>(button->Data());
  const int savedButton = buttonData.CursorIndex;
  const TPoint onButton{100 + (button->ObjectRect.Left + button->ObjectRect.Right) / 2,
                        100 + (button->ObjectRect.Top + button->ObjectRect.Bottom) / 2};
  const TPoint onFrame{100 + 400, 100 + 300};

  // Off: the form's own cursor stays.
  s.Form->SetCursor(crCross);
  Move(onFrame);
  Ticks(2, 60);
  EXPECT_EQ(s.Form->Cursor(), crCross);

  s.Orvane->UseSkinCursors = true;
  skin.CursorIndex = 4;
  buttonData.CursorIndex = 2;
  Move(onButton);
  Ticks(2, 60);
  EXPECT_EQ(s.Form->Cursor(), 1 + 2);
  Move(onFrame);
  Ticks(2, 60);
  EXPECT_EQ(s.Form->Cursor(), 1 + 4);
  // An object without a cursor shows the frame's.
  buttonData.CursorIndex = -1;
  Move(onButton);
  Ticks(2, 60);
  EXPECT_EQ(s.Form->Cursor(), 1 + 4);
  skin.CursorIndex = -1;
  Move(onFrame);
  Ticks(2, 60);
  EXPECT_EQ(s.Form->Cursor(), crDefault);

  skin.CursorIndex = saved;
  buttonData.CursorIndex = savedButton;
}

// ---------------------------------------------------------------------------
// The application's restore

TEST_F(OrvaneExtras, MainFormTakesTheApplicationsRestoreAndComesOnTop) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400), false, false);
  Application->SetMainForm(s.Form);
  s.Form->Show();
  Pump();
  ASSERT_TRUE(Application->OnRestore);
  // Another form lies over the main form's middle.
  TForm* over = MakeForm(Bounds(300, 200, 200, 150));
  const TPoint middle{400, 275};
  ASSERT_EQ(hp->WindowAt(middle), &PlatformWindow(over));
  Application->Restore();
  Pump();
  EXPECT_EQ(hp->WindowAt(middle), &PlatformWindow(s.Form));

  // Gone with the controller: the next main form may take it.
  delete s.Orvane;
  EXPECT_FALSE(Application->OnRestore);
  Application->SetMainForm(nullptr);
}

TEST_F(OrvaneExtras, ARestoreHandlerSetBeforeIsKept) {
  int calls = 0;
  Application->OnRestore = [&](TObject*) { ++calls; };
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400), false, false);
  Application->SetMainForm(s.Form);
  s.Form->Show();
  Pump();
  Application->Restore();
  EXPECT_EQ(calls, 1);
  delete s.Orvane;
  Application->Restore();
  EXPECT_EQ(calls, 2);
  Application->OnRestore = nullptr;
  Application->SetMainForm(nullptr);
}

TEST_F(OrvaneExtras, OnlyTheMainFormTakesTheRestore) {
  [[maybe_unused]] auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  EXPECT_FALSE(Application->OnRestore);
}

}  // namespace
}  // namespace qz::testing
