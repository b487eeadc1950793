// The second window: its controls as the form resource places them, and
// "Show dialog form" on the main window's first page showing it modally,
// again after each time it was closed by its caption's close button.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "skin/controls/SkinBevel.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinCheckRadioBox.h"
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinLabel.h"
#include "skin/controls/SkinPageControl.h"
#include "skin/controls/SkinPanel.h"
#include "skin/controls/SkinTrackBar.h"
#include "skin/data/SkinData.h"
#include "tests/demo/DemoTestKit.h"

namespace qz::testing {
namespace {

class DemoSecondWindow : public DemoTest {
 protected:
  // What the test saw while the window was modal.
  struct TModalView {
    bool Shown = false, Modal = false, MainEnabled = true;
    TRect Client;
  };

  // Presses "Show dialog form", and while the second window is modal looks
  // at it and clicks its caption's close button. Returns once the click
  // handler (and so the modal loop) has returned.
  TModalView ShowAndCloseByCaptionButton() {
    TModalView view;
    auto script = MakeScript();
    script->Wait(600);  // the fade-in
    script->Add([&] {
      view.Shown = Form2->Visible() && IsWindowVisible(Form2->Handle());
      view.Modal = SecondIsModal();
      view.MainEnabled = IsWindowEnabled(Form1->Handle());
      view.Client = Form2->qzOrvane1->Rects().NewClRect;
    });
    script->Add([&] {
      TqzActiveSkinObject* close = FrameObject(*Form2->qzOrvane1, "closebutton");
      ASSERT_NE(close, nullptr);
      hp->InjectMouseMove(FrameObjectCentre(*Form2, *close));
    });
    script->Wait(100);  // the controller's mouse tracking finds the button
    script->Add([&] { hp->InjectMouseDown(); });
    script->Wait(100);
    script->Add([&] { hp->InjectMouseUp(); });
    PressShowDialogForm(*script);
    return view;
  }

  std::unique_ptr<TModalScript> MakeScript() {
    return std::make_unique<TModalScript>(
        *hp, [this] { return SecondIsModal(); }, 3000, [this] { Form2->SetModalResult(mrAbort); });
  }

  void PressShowDialogForm(TModalScript& script) {
    script.Install();
    TqzSkinButton& show = *Form1->qzSkinButton11;
    hp->InjectClick(show.ClientToScreen({show.Width() / 2, show.Height() / 2}));
    Pump();
    hp->SetIdleHandler({});
    EXPECT_TRUE(script.Finished());
    EXPECT_FALSE(script.Stuck()) << "the second window did not close";
    hp->InjectMouseMove({5, 1030});
    Settle(300);
  }
};

TEST_F(DemoSecondWindow, ShowDialogFormShowsTheWindowModallyAgainAfterEachClose) {
  ShowMainWindow();
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    const TModalView view = ShowAndCloseByCaptionButton();
    EXPECT_TRUE(view.Shown);
    EXPECT_TRUE(view.Modal);
    EXPECT_FALSE(view.MainEnabled);
    EXPECT_EQ(view.Client.Width(), 688);
    EXPECT_EQ(view.Client.Height(), 337);
    // Closed: hidden, no longer modal, and the main window usable again.
    EXPECT_FALSE(Form2->Visible());
    EXPECT_FALSE(Form2->FormState().Contains(TFormStateFlag::fsModal));
    EXPECT_TRUE(IsWindowEnabled(Form1->Handle()));
    EXPECT_TRUE(Form1->qzSkinButton1->Down());
  }
}

TEST_F(DemoSecondWindow, ClicksOnTheMainWindowWhileModalChangeNothing) {
  ShowMainWindow();
  auto script = MakeScript();
  script->Wait(600);
  // "Convert" on the disabled main window.
  script->Add([&] {
    TqzSkinButton& convert = *Form1->qzSkinButton3;
    hp->InjectClick(convert.ClientToScreen({convert.Width() / 2, convert.Height() / 2}));
  });
  script->Wait(100);
  script->Add([&] { Form2->Close(); });
  PressShowDialogForm(*script);
  EXPECT_TRUE(Form1->qzSkinButton1->Down());
  EXPECT_FALSE(Form1->qzSkinButton3->Down());
  EXPECT_EQ(Form1->qzSkinPageControl1->ActivePageIndex(), 0);
}

TEST_F(DemoSecondWindow, ShowDialogFormBringsForwardAWindowAlreadyOpen) {
  ShowMainWindow();
  Form2->Show();
  Settle(600);
  Form1->SetFocus();
  Settle(100);
  ASSERT_FALSE(Form2->Active());
  TqzSkinButton& show = *Form1->qzSkinButton11;
  hp->InjectClick(show.ClientToScreen({show.Width() / 2, show.Height() / 2}));
  EXPECT_NO_THROW(Settle(100));
  EXPECT_TRUE(Form2->Visible());
  EXPECT_FALSE(Form2->FormState().Contains(TFormStateFlag::fsModal));
  EXPECT_TRUE(Form2->Active());
}

// Every control that draws from a skin.
struct TSkinned {
  TControl* Control;
  TqzSkinData* Skin;
  int Index;
};

std::vector<TSkinned> SkinnedControls(TForm2& form) {
  std::vector<TSkinned> out;
  auto add = [&](TqzSkinControl* c) { out.push_back({c, c->SkinData(), c->SkinIndex}); };
  add(form.qzSkinButton1);
  add(form.qzSkinButton2);
  add(form.qzSkinCheckRadioBox1);
  add(form.qzSkinCheckRadioBox2);
  add(form.qzSkinCheckRadioBox3);
  add(form.qzSkinLabel1);
  add(form.qzSkinPanel1);
  add(form.qzSkinPanel2);
  add(form.qzSkinGroupBox1);
  add(form.qzSkinTrackBar1);
  out.push_back({form.qzSkinStdLabel1, form.qzSkinStdLabel1->SkinData(),
                 form.qzSkinStdLabel1->SkinIndex()});
  return out;
}

TEST_F(DemoSecondWindow, EveryControlDrawsFromTheDialogSkin) {
  Form2->Show();
  Settle(600);
  for (const TSkinned& s : SkinnedControls(*Form2)) {
    SCOPED_TRACE(s.Control->Name());
    EXPECT_EQ(s.Skin, Form1->qzSkinData2);
    EXPECT_GE(s.Index, 0) << "no description of its kind in the dialog skin";
  }
  // The bevel draws its plain top line.
  EXPECT_EQ(Form2->qzSkinBevel1->SkinData(), nullptr);
  EXPECT_EQ(Form2->qzSkinBevel1->Shape(), bsTopLine);
}

TEST_F(DemoSecondWindow, ControlsKeepTheirDesignedSizesAndValues) {
  Form2->Show();
  Settle(600);
  EXPECT_EQ(Form2->qzSkinButton2->Width(), 113);
  EXPECT_EQ(Form2->qzSkinButton2->Height(), 73);
  TqzSkinTrackBar& bar = *Form2->qzSkinTrackBar1;
  EXPECT_EQ(bar.MinValue(), 0);
  EXPECT_EQ(bar.MaxValue(), 100);
  EXPECT_EQ(bar.Value(), 50);
  EXPECT_FALSE(bar.IsVertical());
  for (TqzSkinCheckRadioBox* radio : {Form2->qzSkinCheckRadioBox2, Form2->qzSkinCheckRadioBox3}) {
    EXPECT_TRUE(radio->Radio());
    EXPECT_EQ(radio->GroupIndex(), 1);
  }
  EXPECT_FALSE(Form2->qzSkinCheckRadioBox1->Radio());
}

// A tidy dialog: every control lies wholly inside its parent's client area
// and no two controls of one parent overlap.
void ExpectTidy(TWinControl& parent) {
  const TRect room = parent.ClientRect();
  for (int i = 0; i < parent.ControlCount(); ++i) {
    TControl* a = parent.Controls(i);
    const TRect r = a->BoundsRect();
    EXPECT_TRUE(r.Left >= room.Left && r.Top >= room.Top && r.Right <= room.Right &&
                r.Bottom <= room.Bottom)
        << a->Name() << " sticks out of " << parent.Name();
    for (int j = i + 1; j < parent.ControlCount(); ++j) {
      TControl* b = parent.Controls(j);
      EXPECT_TRUE(Intersection(r, b->BoundsRect()).IsEmpty())
          << a->Name() << " overlaps " << b->Name();
    }
    if (auto* w = dynamic_cast<TWinControl*>(a)) ExpectTidy(*w);
  }
}

TEST_F(DemoSecondWindow, ControlsLieInsideTheWindowWithoutOverlapping) {
  Form2->Show();
  Settle(600);
  EXPECT_EQ(Form2->ClientWidth(), 688);
  EXPECT_EQ(Form2->ClientHeight(), 337);
  ExpectTidy(*Form2);
}

TEST_F(DemoSecondWindow, RadioButtonsOfTheGroupUncheckEachOther) {
  Form2->Show();
  Settle(600);
  TqzSkinCheckRadioBox& first = *Form2->qzSkinCheckRadioBox2;
  TqzSkinCheckRadioBox& second = *Form2->qzSkinCheckRadioBox3;
  TqzSkinCheckRadioBox& check = *Form2->qzSkinCheckRadioBox1;
  auto click = [&](TControl& c) {
    hp->InjectClick(c.ClientToScreen({c.Width() / 2, c.Height() / 2}));
    Settle(100);
  };
  click(first);
  EXPECT_TRUE(first.Checked());
  click(second);
  EXPECT_TRUE(second.Checked());
  EXPECT_FALSE(first.Checked());
  // A second click leaves a radio button checked; the check box toggles on
  // its own, apart from the group.
  click(second);
  EXPECT_TRUE(second.Checked());
  click(check);
  EXPECT_TRUE(check.Checked());
  EXPECT_TRUE(second.Checked());
  click(check);
  EXPECT_FALSE(check.Checked());
}

}  // namespace
}  // namespace qz::testing
