// The skinned message box: the dialog's layout computed by hand, the
// default and cancel rules, captions from the skin's strings, the
// show-again box, long messages, the keyboard, and the show operations'
// lifetime rules (the form freed and the flag read even when showing
// raises, a handler that frees the component).
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "host/graphics/Canvas.h"
#include "host/ui/ImgList.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinCheckRadioBox.h"
#include "skin/controls/SkinLabel.h"
#include "skin/data/SkinControlData.h"
#include "skin/draw/QzComposition.h"
#include "skin/form/Orvane.h"
#include "skin/dialogs/SkinMessage.h"
#include "tests/host_ui/UiTestSupport.h"
#include "tests/skins/DemoSkins.h"

namespace qz {
namespace {

using Buttons = TqzMsgDlgButtons;

class SkinMessageTest : public testing::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Application->SetTitle("Demo title");
    message = new TqzSkinMessage(Application);
  }
  TqzSkinData* Dialog() { return testing::DialogSkin().Skin.get(); }
  void UseDialogSkin() {
    message->SetSkinData(Dialog());
    message->SetCtrlSkinData(Dialog());
  }
  std::unique_ptr<TqzMessageForm> Build(const std::string& msg, Buttons buttons,
                                        TqzMsgDlgType kind = qzmtInformation) {
    return BuildMessageForm(msg, kind, buttons, kCentredPosition, kCentredPosition, message->Settings());
  }
  // Width and height of the label's text in the plain dialog's font.
  static TSize PlainTextSize(const std::string& text) {
    TCanvas c;
    c.Font().SetData(DefaultMessageFont());
    return c.TextExtent(text);
  }
  // Runs `show` while the modal loop's idle turns run `steps` in order; a
  // dialog still open after them ends with kStuck.
  static constexpr int kStuck = 999;
  int RunModal(const std::function<int()>& show, std::vector<std::function<void()>> steps) {
    size_t next = 0;
    hp->SetIdleHandler([&] {
      if (next < steps.size()) {
        steps[next++]();
        return true;
      }
      TqzMessageForm* open = ShownDialog();
      if (open == nullptr || !open->FormState().Contains(TFormStateFlag::fsModal)) return false;
      open->SetModalResult(kStuck);
      return true;
    });
    const int result = show();
    hp->SetIdleHandler({});
    return result;
  }
  static TqzMessageForm* ShownDialog() {
    for (int i = 0; i < Screen->FormCount(); ++i)
      if (auto* f = dynamic_cast<TqzMessageForm*>(Screen->Forms(i))) return f;
    return nullptr;
  }
  static int DialogCount() {
    int n = 0;
    for (int i = 0; i < Screen->FormCount(); ++i) n += dynamic_cast<TqzMessageForm*>(Screen->Forms(i)) ? 1 : 0;
    return n;
  }

  TqzSkinMessage* message = nullptr;
};

TEST_F(SkinMessageTest, PublishedPropertiesStartAtTheirValues) {
  EXPECT_FALSE(message->ShowAgainFlag);
  EXPECT_FALSE(message->ShowAgainFlagValue);
  EXPECT_FALSE(message->AlphaBlend);
  EXPECT_FALSE(message->AlphaBlendAnimation);
  EXPECT_EQ(message->AlphaBlendValue, 200);
  EXPECT_EQ(message->SkinData(), nullptr);
  EXPECT_EQ(message->CtrlSkinData(), nullptr);
  EXPECT_EQ(message->ButtonSkinDataName, "button");
  EXPECT_EQ(message->MessageLabelSkinDataName, "stdlabel");
  for (const TFont* f : {&message->DefaultFont(), &message->DefaultButtonFont()}) {
    EXPECT_EQ(f->Name(), "Tahoma");
    EXPECT_EQ(f->Height(), 13);
    EXPECT_TRUE(f->Style().Empty());
  }
  EXPECT_TRUE(message->UseSkinFont);
}

TEST_F(SkinMessageTest, SkinReferencesClearWhenTheSkinDataGoes) {
  auto* skin = new TqzSkinData(Application);
  message->SetSkinData(skin);
  message->SetCtrlSkinData(skin);
  delete skin;
  EXPECT_EQ(message->SkinData(), nullptr);
  EXPECT_EQ(message->CtrlSkinData(), nullptr);
}

// Without a skin: buttons 25 high, 70 wide, 10 apart, the row centred under
// the label, the default and cancel roles by the set.
TEST_F(SkinMessageTest, PlainLayoutsByHand) {
  struct Case {
    Buttons set;
    std::vector<const char*> names;
    const char* defaultName;  // "" for none
    const char* cancelName;
  };
  const std::vector<Case> cases = {
      {{qzmbOK}, {"OK"}, "OK", "OK"},
      {{qzmbYes, qzmbNo}, {"Yes", "No"}, "Yes", "No"},
      {{qzmbRetry, qzmbCancel}, {"Cancel", "Retry"}, "Retry", "Cancel"},
      {{qzmbAbort, qzmbIgnore}, {"Abort", "Ignore"}, "", ""},
      {{}, {}, "", ""},
      {{qzmbYes, qzmbNo, qzmbOK, qzmbCancel, qzmbAbort, qzmbRetry, qzmbIgnore, qzmbAll, qzmbNoToAll,
        qzmbYesToAll, qzmbHelp},
       {"Yes", "No", "OK", "Cancel", "Abort", "Retry", "Ignore", "All", "NoToAll", "YesToAll", "Help"},
       "OK", "Cancel"},
  };
  const std::string text = "A short message";
  const TSize label = PlainTextSize(text);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.names.size());
    auto form = Build(text, c.set);
    const int n = int(c.names.size());
    const int row = n == 0 ? 0 : n * 70 + (n - 1) * 10;
    const int labelRight = 50 + label.cx;
    EXPECT_EQ(form->MessageLabel()->BoundsRect(), (TRect{50, 15, labelRight, 15 + label.cy}));
    const int clientWidth = row < labelRight ? labelRight + 40 : row + 40;
    EXPECT_EQ(form->ClientWidth(), clientWidth);
    EXPECT_EQ(form->ClientHeight(), 25 + label.cy + 50);
    int x = (clientWidth - row) / 2;
    std::vector<std::string> seen;
    for (int bit = 0; bit < kMsgDlgButtonCount; ++bit) {
      TqzSkinButton* b = form->Button(TqzMsgDlgBtn(bit));
      if (b == nullptr) continue;
      seen.push_back(b->Name());
      EXPECT_EQ(b->BoundsRect(), (TRect{x, form->ClientHeight() - 35, x + 70, form->ClientHeight() - 10}));
      EXPECT_EQ(b->Default(), b->Name() == c.defaultName) << b->Name();
      EXPECT_EQ(b->Cancel(), b->Name() == c.cancelName) << b->Name();
      EXPECT_EQ(b->ModalResult(), MsgDlgButtonTable()[size_t(bit)].Result);
      EXPECT_EQ(b->Caption(), MsgDlgButtonTable()[size_t(bit)].Caption);
      x += 80;
    }
    EXPECT_EQ(seen, std::vector<std::string>(c.names.begin(), c.names.end()));
  }
}

TEST_F(SkinMessageTest, DialogSkinSetsTheButtonHeightAndTheClientSize) {
  UseDialogSkin();
  const auto& d = *Dialog()->CtrlList()[size_t(Dialog()->FindControlIndex("button"))];
  const int height = dynamic_cast<const TqzDataSkinButtonControl&>(d).SkinRect.Height();
  EXPECT_EQ(height, 27);
  auto form = Build("Test message for video converter", {qzmbOK});
  const TqzSkinStdLabel& label = *form->MessageLabel();
  EXPECT_EQ(form->ClientHeight(), 27 + label.Height() + 50);
  EXPECT_EQ(form->ClientWidth(), label.Left() + label.Width() + 40);
  EXPECT_EQ(form->Button(qzmbOK)->Height(), 27);
  EXPECT_EQ(form->Button(qzmbOK)->Top(), form->ClientHeight() - 37);
}

TEST_F(SkinMessageTest, NonButtonDescriptionOrMissingOneGivesTheHeight25) {
  UseDialogSkin();
  for (const char* name : {"stdlabel", "nosuchbutton"}) {
    message->ButtonSkinDataName = name;
    EXPECT_EQ(Build("x", {qzmbOK})->Button(qzmbOK)->Height(), 25) << name;
  }
}

TEST_F(SkinMessageTest, CaptionsComeFromTheSkinStringsWithoutFallBack) {
  auto* skin = new TqzSkinData(Application);
  auto* strings = new TqzResourceStrData(Application);
  TStringList lines;
  lines.Add("MSG_BTN_YES=Ja");
  lines.Add("MSG_CAP_CONFIRM=Frage");
  strings->SetResStrings(lines);
  skin->SetResourceStrData(strings);
  EXPECT_EQ(GetButtonCaption(qzmbYes, skin), "Ja");
  EXPECT_EQ(GetButtonCaption(qzmbOK, skin), "");  // a missing key: empty
  EXPECT_EQ(GetButtonCaption(qzmbOK, nullptr), "OK");
  EXPECT_EQ(GetDialogCaption(qzmtConfirmation, skin), "Frage");
  EXPECT_EQ(GetDialogCaption(qzmtError, skin), "");
  EXPECT_EQ(GetDialogCaption(qzmtError, nullptr), "Error");
  EXPECT_EQ(GetDialogCaption(qzmtCustom, nullptr), "");
  // The show-again caption alone falls back when the key is missing.
  message->SetCtrlSkinData(skin);
  message->ShowAgainFlag = true;
  auto form = Build("x", {qzmbOK}, qzmtConfirmation);
  EXPECT_EQ(form->Caption(), "Frage");
  EXPECT_EQ(form->Button(qzmbOK)->Caption(), "");
  EXPECT_EQ(form->CheckBox()->Caption(), kShowAgainCaption);
}

TEST_F(SkinMessageTest, ShowAgainBoxWithALongCaptionWidensTheDialog) {
  auto* skin = new TqzSkinData(Application);
  auto* strings = new TqzResourceStrData(Application);
  const std::string caption(80, 'W');
  TStringList lines;
  lines.Add("MSG_CAP_SHOWFLAG=" + caption);
  strings->SetResStrings(lines);
  skin->SetResourceStrData(strings);
  message->SetCtrlSkinData(skin);
  message->ShowAgainFlag = true;
  for (bool value : {false, true}) {
    message->ShowAgainFlagValue = value;
    auto form = Build("Hi", {qzmbOK});
    const int w = PlainTextSize(caption).cx;
    const TSize label = PlainTextSize("Hi");
    EXPECT_EQ(form->ClientWidth(), w + 60);
    EXPECT_EQ(form->ClientHeight(), 25 + label.cy + 50 + 40);
    TqzSkinCheckRadioBox& box = *form->CheckBox();
    EXPECT_EQ(box.Name(), "checkbox");
    EXPECT_EQ(box.Checked(), !value);
    EXPECT_EQ(box.BoundsRect(), (TRect{5, form->ClientHeight() - 25 - 50, 5 + w + 55, form->ClientHeight() - 45}));
  }
}

TEST_F(SkinMessageTest, StandardIconSitsBesideTheLabelNeverAbove10) {
  for (const auto& [text, lines] : std::vector<std::pair<std::string, int>>{{"one line", 1},
                                                                            {"1\n2\n3\n4\n5\n6", 6}}) {
    auto form = Build(text, {qzmbOK}, qzmtWarning);
    const int h = form->MessageLabel()->Height();
    EXPECT_EQ(form->Image()->BoundsRect().TopLeft(), (TPoint{5, std::max(10, 15 + h / 2 - 16)})) << lines;
    EXPECT_EQ(form->Image()->Width(), 32);
    EXPECT_FALSE(form->Image()->Picture().Empty());
  }
  auto form = Build("one line", {qzmbOK}, qzmtWarning);
  EXPECT_EQ(form->Image()->Top(), 10);
}

TEST_F(SkinMessageTest, CustomKindThroughTheStandardBuilderHasTheTitleAndAnEmptyImage) {
  auto form = Build("x", {qzmbOK}, qzmtCustom);
  EXPECT_EQ(form->Caption(), "Demo title");
  ASSERT_NE(form->Image(), nullptr);
  EXPECT_EQ(form->Image()->BoundsRect().Size(), (TSize{32, 32}));
  EXPECT_TRUE(form->Image()->Picture().Empty());
}

TEST_F(SkinMessageTest, CustomBuilderTakesAnImageOnlyForAnIndexInTheList) {
  TImageList images(nullptr);
  images.SetSize(24, 20);
  images.Add(TBitmap(48, 20));
  for (int index : {-1, 0, 1, 2}) {
    auto form = BuildCustomMessageForm("1\n2\n3\n4\n5", "Cap", &images, index, {qzmbOK}, kCentredPosition,
                                       kCentredPosition, message->Settings());
    EXPECT_EQ(form->Caption(), "Cap");
    const bool shown = index >= 0 && index <= 1;
    ASSERT_EQ(form->Image() != nullptr, shown) << index;
    if (!shown) continue;
    const int h = form->MessageLabel()->Height();
    EXPECT_EQ(form->Image()->BoundsRect(), (TRect{5, 15 + h / 2 - 16, 29, 15 + h / 2 + 4}));
    EXPECT_TRUE(form->Image()->Transparent());
  }
  EXPECT_EQ(BuildCustomMessageForm("x", "c", nullptr, 0, {qzmbOK}, kCentredPosition, kCentredPosition,
                                   message->Settings())
                ->Image(),
            nullptr);
}

TEST_F(SkinMessageTest, FormIsADialogWithKeyPreviewAndAFramelessController) {
  auto form = Build("x", {qzmbOK});
  EXPECT_EQ(form->BorderStyle(), bsDialog);
  EXPECT_TRUE(form->KeyPreview());
  EXPECT_EQ(form->Position(), poScreenCenter);
  EXPECT_TRUE(form->Orvane()->BorderIcons().Empty());
  EXPECT_FALSE(form->Orvane()->Sizeable());
  auto placed = BuildMessageForm("x", qzmtError, {qzmbOK}, 30, 40, message->Settings());
  EXPECT_EQ(placed->Position(), poDesigned);
  EXPECT_EQ(placed->Left(), 30);
  EXPECT_EQ(placed->Top(), 40);
}

TEST_F(SkinMessageTest, SettingsReachTheControllerAndTheControls) {
  UseDialogSkin();
  message->AlphaBlend = message->AlphaBlendAnimation = true;
  message->AlphaBlendValue = 230;
  message->UseSkinFont = false;
  message->DefaultButtonFont().SetName("Arial");
  auto form = Build("x", {qzmbOK});
  TqzOrvane& c = *form->Orvane();
  EXPECT_EQ(c.SkinData(), Dialog());
  EXPECT_EQ(c.MenusSkinData(), Dialog());
  EXPECT_TRUE(c.AlphaBlend && c.AlphaBlendAnimation);
  EXPECT_EQ(c.AlphaBlendValue, 230);
  EXPECT_EQ(form->MessageLabel()->SkinData(), Dialog());
  EXPECT_FALSE(form->MessageLabel()->UseSkinFont());
  EXPECT_EQ(form->Button(qzmbOK)->DefaultFont().Name(), "Arial");
  EXPECT_FALSE(form->Button(qzmbOK)->UseSkinFont());
}

// A message too long for one line wraps so that the window keeps within
// half of the work area; a message that fits keeps the one-line size.
TEST_F(SkinMessageTest, LongMessagesWrapWithinHalfTheWorkArea) {
  UseDialogSkin();
  const TRect work = Screen->PrimaryMonitor().WorkareaRect;
  std::string longText;
  while (longText.size() < 3000) longText += "All work and no play makes a long message. ";
  auto form = Build(longText, {qzmbOK});
  EXPECT_LE(form->Width(), work.Width() / 2);
  EXPECT_GT(form->Width(), work.Width() / 2 - 100);
  EXPECT_TRUE(form->MessageLabel()->WordWrap());
  EXPECT_GT(form->MessageLabel()->Height(), 10 * PlainTextSize("A").cy);
  EXPECT_EQ(form->ClientHeight(), 27 + form->MessageLabel()->Height() + 50);
  auto shortForm = Build("Test message for video converter", {qzmbOK});
  EXPECT_FALSE(shortForm->MessageLabel()->WordWrap());
}

// The window keeps to the controller's limits: on a narrow monitor an
// unwrapped message gives a window as wide as the work area allows.
TEST_F(SkinMessageTest, WidthIsClampedToTheControllersLimits) {
  UseDialogSkin();
  hp->SetMonitors({{{0, 0, 400, 300}, {0, 0, 400, 280}, true}});
  TqzMessageSettings s = message->Settings();
  s.WrapWidth = -1;
  auto form = BuildMessageForm(std::string(200, 'x'), qzmtInformation, {qzmbOK}, kCentredPosition,
                               kCentredPosition, s);
  EXPECT_GT(form->MessageLabel()->Width(), 400);
  EXPECT_EQ(form->Width(), form->Orvane()->SizeLimits().MaxWidth);
  EXPECT_LE(form->Width(), 400);
}

TEST_F(SkinMessageTest, AmpersandsOfTheMessageAreShown) {
  auto form = Build("Tom & Jerry", {qzmbOK});
  EXPECT_FALSE(form->MessageLabel()->ShowAccelChar());
  EXPECT_EQ(form->MessageLabel()->Width(), PlainTextSize("Tom & Jerry").cx);
}

// ------------------------------------------------------------------ showing

TEST_F(SkinMessageTest, DemoCallGivesACentredOkDialogAsOftenAsAsked) {
  UseDialogSkin();
  for (int round = 0; round < 2; ++round) {
    TRect shown;
    const int result = RunModal(
        [&] { return message->ShowCustomMessageDialog("Test message for video converter", "Some caption",
                                                      nullptr, 0, {qzmbOK}, 0); },
        {[&] {
          TqzMessageForm* f = ShownDialog();
          ASSERT_NE(f, nullptr);
          shown = f->BoundsRect();
          EXPECT_EQ(f->Caption(), "Some caption");
          EXPECT_EQ(f->Image(), nullptr);
          hp->InjectKey(VK_RETURN);
        }});
    EXPECT_EQ(result, mrOk);
    const TRect screen = Screen->PrimaryMonitor().BoundsRect;
    EXPECT_NEAR(shown.Left + shown.Width() / 2, screen.Width() / 2, 1);
    EXPECT_NEAR(shown.Top + shown.Height() / 2, screen.Height() / 2, 1);
    EXPECT_EQ(DialogCount(), 0);  // freed before returning
  }
}

TEST_F(SkinMessageTest, KeyboardAnswersAsInMessageBoxes) {
  UseDialogSkin();
  struct Case {
    Buttons set;
    std::vector<std::pair<int, uint32_t>> keys;
    int result;
  };
  const std::vector<Case> cases = {
      {{qzmbYes, qzmbNo}, {{VK_RETURN, 0}}, mrYes},
      {{qzmbYes, qzmbNo}, {{VK_ESCAPE, 0}}, mrNo},
      {{qzmbAbort, qzmbRetry, qzmbIgnore}, {{VK_RETURN, 0}}, mrRetry},  // the default, not the first
      {{qzmbYes, qzmbNo}, {{VK_TAB, 0}, {VK_RETURN, 0}}, mrNo},
      {{qzmbYes, qzmbNo}, {{VK_RIGHT, 0}, {VK_LEFT, 0}, {VK_RETURN, 0}}, mrYes},
      {{qzmbYes, qzmbNo}, {{'N', 0}}, mrNo},        // the accelerator alone
      {{qzmbYes, qzmbNo}, {{'N', kModAlt}}, mrNo},  // and with Alt
      // No cancel button: Escape does nothing; closing the window gives 2.
      {{qzmbAbort, qzmbIgnore}, {{VK_ESCAPE, 0}, {0, 0}}, mrCancel},
  };
  for (const Case& c : cases) {
    std::vector<std::function<void()>> steps;
    for (auto [vk, mods] : c.keys)
      steps.push_back([this, vk = vk, mods = mods] {
        TqzMessageForm* f = ShownDialog();
        ASSERT_NE(f, nullptr) << "closed too early";
        if (vk == 0) {
          f->Close();
          return;
        }
        hp->InjectKey(vk, mods);
        // A letter typed alone also arrives as text, as from a real keyboard.
        if (vk >= 'A' && vk <= 'Z' && mods == 0) hp->InjectText(std::string(1, char(vk - 'A' + 'a')));
      });
    EXPECT_EQ(RunModal([&] { return message->ShowMessageDialog("Question?", qzmtConfirmation, c.set, 0); },
                       std::move(steps)),
              c.result)
        << c.keys.front().first;
  }
}

TEST_F(SkinMessageTest, CtrlCCopiesCaptionMessageAndButtons) {
  std::string copied;
  RunModal([&] { return message->ShowMessageDialog("Disk full", qzmtError, {qzmbAbort, qzmbRetry}, 0); },
           {[&] { hp->InjectKey('C', kModCtrl); },
            [&] {
              copied = hp->ClipboardText();
              ShownDialog()->SetModalResult(mrAbort);
            }});
  EXPECT_NE(copied.find("Error"), std::string::npos);
  EXPECT_NE(copied.find("Disk full"), std::string::npos);
  EXPECT_NE(copied.find("Abort   Retry"), std::string::npos);
  EXPECT_EQ(copied.find('&'), std::string::npos);
}

TEST_F(SkinMessageTest, HelpButtonAsksForTheTopicAndKeepsTheDialogOpen) {
  std::vector<intptr_t> topics;
  Application->OnHelp = [&](uint16_t command, intptr_t data, bool&) {
    EXPECT_EQ(command, kHelpCommandContext);
    topics.push_back(data);
    return true;
  };
  bool openAfterHelp = false;
  const int result = RunModal(
      [&] { return message->ShowMessageDialog("x", qzmtInformation, {qzmbOK, qzmbHelp}, 77); },
      {[&] { ShownDialog()->Button(qzmbHelp)->Click(); },
       [&] {
         openAfterHelp = ShownDialog() != nullptr && ShownDialog()->Visible();
         hp->InjectKey(VK_RETURN);
       }});
  EXPECT_EQ(topics, std::vector<intptr_t>{77});
  EXPECT_TRUE(openAfterHelp);
  EXPECT_EQ(result, mrOk);
  // Without a handler the request goes nowhere, quietly.
  Application->OnHelp = nullptr;
  EXPECT_FALSE(Application->HelpContext(5));
}

TEST_F(SkinMessageTest, ShowAgainFlagValueIsTheNegatedBox) {
  message->ShowAgainFlag = true;
  for (bool toggle : {false, true}) {
    message->ShowAgainFlagValue = false;
    RunModal([&] { return message->ShowMessageDialog("x", qzmtWarning, {qzmbOK}, 0); },
             {[&] {
               EXPECT_TRUE(ShownDialog()->CheckBox()->Checked());
               if (toggle) ShownDialog()->CheckBox()->Toggle();
               hp->InjectKey(VK_RETURN);
             }});
    EXPECT_EQ(message->ShowAgainFlagValue, toggle);
  }
  // Without the box the value stays as it is.
  message->ShowAgainFlag = false;
  message->ShowAgainFlagValue = true;
  RunModal([&] { return message->ShowMessageDialog("x", qzmtWarning, {qzmbOK}, 0); },
           {[&] { hp->InjectKey(VK_RETURN); }});
  EXPECT_TRUE(message->ShowAgainFlagValue);
}

TEST_F(SkinMessageTest, ShowingThatRaisesStillFreesTheFormAndReadsTheBox) {
  message->ShowAgainFlag = true;
  message->ShowAgainFlagValue = false;
  EXPECT_THROW(RunModal([&] { return message->ShowMessageDialog("x", qzmtWarning, {qzmbOK}, 0); },
                        {[&] {
                          ShownDialog()->CheckBox()->SetChecked(false);
                          throw EInvalidOperation("a handler failed");
                        }}),
               EInvalidOperation);
  hp->SetIdleHandler({});
  EXPECT_EQ(DialogCount(), 0);
  EXPECT_TRUE(message->ShowAgainFlagValue);
}

TEST_F(SkinMessageTest, AButtonHandlerThatFreesTheComponentEndsTheCallSafely) {
  message->ShowAgainFlag = true;
  const int result = RunModal([&] { return message->ShowMessageDialog("x", qzmtWarning, {qzmbOK}, 0); },
                              {[&] {
                                TqzSkinButton* ok = ShownDialog()->Button(qzmbOK);
                                ok->OnClick = [this](TObject*) {
                                  delete message;
                                  message = nullptr;
                                };
                                hp->InjectKey(VK_RETURN);
                              }});
  EXPECT_EQ(message, nullptr);
  EXPECT_EQ(result, mrOk);
  EXPECT_EQ(DialogCount(), 0);
}

// ------------------------------------------------------------------ pixels

THeadlessWindow& PlatformWindow(TForm& f) { return *static_cast<THeadlessWindow*>(f.WindowData()->platform.get()); }

// The dialog's buttons on the screen against the dialog skin's "button"
// composed directly from its description at 70 x 27: the focused default
// button in its focused look, the other one in its normal look.
TEST_F(SkinMessageTest, ButtonsShowTheDialogSkinsCompositions) {
  UseDialogSkin();
  auto form = Build("Convert the file now?", {qzmbYes, qzmbNo}, qzmtConfirmation);
  form->Show();
  for (int i = 0; i < 10; ++i) {
    hp->AdvanceClock(25);
    Pump();
  }
  const TqzSkinData& skin = *Dialog();
  const auto& d = dynamic_cast<const TqzDataSkinButtonControl&>(
      *skin.CtrlList()[size_t(skin.FindControlIndex("button"))]);
  auto compose = [&](const TRect& rect) {
    TqzSkinGeometry g = d.Geometry();
    g.SkinRect = rect;
    TBitmap out;
    CreateSkinImage(g, CalcNewGeometry(g, TqzResizeMode::NinePart, 70, 27), true, 70, 27,
                    *skin.ActivePicture(d.PictureIndex), out);
    return out.Pixels();
  };
  ASSERT_TRUE(form->Button(qzmbYes)->Focused());
  const TPixmap& shown = PlatformWindow(*form).Contents();
  for (auto [id, rect] : {std::pair{qzmbYes, d.FocusedSkinRect}, std::pair{qzmbNo, d.SkinRect}}) {
    TqzSkinButton& b = *form->Button(id);
    const TPixmap want = compose(rect);
    const TPoint o = b.ClientToScreen({0, 0}) - form->ClientToScreen({0, 0}) +
                     (form->ClientToScreen({0, 0}) - form->BoundsRect().TopLeft());
    int differing = 0, textPixels = 0;
    for (int y = 0; y < 27; ++y)
      for (int x = 0; x < 70; ++x) {
        const bool inText = x >= 15 && x < 55 && y >= 6 && y < 21;  // the caption's area
        const bool same = (shown.At(o.X + x, o.Y + y) & 0xFFFFFF) == (want.At(x, y) & 0xFFFFFF);
        if (inText) textPixels += same ? 0 : 1;
        else differing += same ? 0 : 1;
      }
    EXPECT_EQ(differing, 0) << b.Name();
    EXPECT_GT(textPixels, 0) << b.Name() << ": the caption is drawn";
  }
}

// The modal loop's idle turns each let 25 ms pass, so that the fade's timer
// is due on every turn: the window still shows what it paints from its
// first visible frame on, faded, never black.
TEST_F(SkinMessageTest, FadingDialogShowsItsPictureFromTheFirstVisibleFrame) {
  UseDialogSkin();
  message->AlphaBlend = message->AlphaBlendAnimation = true;
  message->AlphaBlendValue = 230;
  struct Frame {
    uint8_t Opacity;
    int Presents;
    int BlackPixels, Pixels;
  };
  std::vector<Frame> frames;
  hp->SetIdleHandler([&] {
    TqzMessageForm* f = ShownDialog();
    if (f == nullptr) return false;
    const THeadlessWindow& w = PlatformWindow(*f);
    if (w.Visible() && w.Opacity() > 0) {
      const TPixmap& shown = w.Contents();
      int black = 0;
      for (int y = 0; y < shown.Height(); ++y)
        for (int x = 0; x < shown.Width(); ++x) black += (shown.At(x, y) & 0xFFFFFF) == 0 ? 1 : 0;
      frames.push_back({w.Opacity(), w.PresentCount(), black, shown.Width() * shown.Height()});
    }
    if (frames.size() >= 40 || (!frames.empty() && frames.back().Opacity == 230)) f->SetModalResult(mrOk);
    hp->AdvanceClock(25);
    return true;
  });
  message->ShowCustomMessageDialog("Test message for video converter", "Some caption", nullptr, 0, {qzmbOK}, 0);
  hp->SetIdleHandler({});
  ASSERT_GE(frames.size(), 2u);
  EXPECT_LT(frames.front().Opacity, 230) << "the first visible frame is part of the fade";
  EXPECT_EQ(frames.back().Opacity, 230);
  for (const Frame& fr : frames) {
    EXPECT_GT(fr.Presents, 0) << "opacity " << int(fr.Opacity);
    EXPECT_LT(fr.BlackPixels, fr.Pixels / 10) << "opacity " << int(fr.Opacity);
  }
}

}  // namespace
}  // namespace qz
