// Forms made from form resources, and robustness of the window system
// against controls and windows that go away at awkward moments.
#include "UiTestSupport.h"

#include "host/components/FormResource.h"

namespace qz {

class TResForm : public TForm {
  QZ_CLASS(TResForm, TForm)
 public:
  explicit TResForm(TComponent* owner) : TForm(owner) {
    RegisterHandler("OkClick", TNotifyEvent([this](TObject*) { ++okClicks; }));
    RegisterHandler("FormCreate", TNotifyEvent([this](TObject*) { created = true; }));
    BindField("Ok", Ok);
    BindField("Panel1", Panel1);
    BindField("Label1", Label1);
  }
  void Read(std::string_view text) {
    ReadComponentRes(this, text);
    if (OnCreate) OnCreate(this);
  }
  TButton* Ok = nullptr;
  TPanel* Panel1 = nullptr;
  TLabel* Label1 = nullptr;
  int okClicks = 0;
  bool created = false;
};

QZ_PUBLISHED(TResForm, TForm) {}

}  // namespace qz

namespace qz::testing {
namespace {

constexpr const char* kResource = R"(object ResForm: TResForm
  Left = 200
  Top = 150
  BorderStyle = bsDialog
  Caption = 'Resource form'
  ClientWidth = 300
  ClientHeight = 200
  Position = poDesktopCenter
  KeyPreview = True
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 13
  object Panel1: TPanel
    Left = 0
    Top = 0
    Width = 300
    Height = 40
    Align = alTop
    BevelOuter = bvLowered
    Caption = 'Top'
    object Label1: TLabel
      Left = 8
      Top = 8
      Caption = '&Name'
      FocusControl = Ok
    end
  end
  object Ok: TButton
    Left = 210
    Top = 160
    Width = 80
    Height = 25
    Anchors = [akRight, akBottom]
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 0
    OnClick = OkClick
  end
end
)";

class ResourceTest : public UiTest {};

TEST_F(ResourceTest, FormResourceCreatesParentsAndBindsControls) {
  auto* f = new TResForm(Application);
  f->Read(kResource);
  EXPECT_TRUE(f->created);
  ASSERT_NE(f->Ok, nullptr);
  ASSERT_NE(f->Panel1, nullptr);
  ASSERT_NE(f->Label1, nullptr);
  EXPECT_EQ(f->Panel1->Parent(), f);
  EXPECT_EQ(f->Label1->Parent(), f->Panel1);
  EXPECT_EQ(f->Ok->Parent(), f);
  EXPECT_EQ(f->Label1->FocusControl(), f->Ok);
  EXPECT_EQ(f->BorderStyle(), bsDialog);
  // The client size survives the frame of the border style.
  EXPECT_EQ(f->ClientWidth(), 300);
  EXPECT_EQ(f->ClientHeight(), 200);
  EXPECT_EQ(f->Panel1->BoundsRect(), (TRect{0, 0, 300, 40}));
  f->Show();
  Pump();
  // Centred in the work area (1920 x 1040).
  EXPECT_EQ(f->Left(), 960 - f->Width() / 2);
  EXPECT_EQ(f->Top(), 520 - f->Height() / 2);
  // The bound event handler runs on a click.
  Click(f->Ok->ClientToScreen({10, 10}));
  EXPECT_EQ(f->okClicks, 1);
  EXPECT_EQ(f->ModalResult(), mrOk);
  // Anchored to the bottom right: follows a bigger client area.
  f->SetClientSize(400, 300);
  EXPECT_EQ(f->Ok->BoundsRect(), (TRect{310, 260, 390, 285}));
}

TEST_F(ResourceTest, WrittenResourceReadsBackTheSame) {
  auto* f = new TResForm(Application);
  f->Read(kResource);
  std::string once = WriteComponentRes(f);
  EXPECT_NE(once.find("object Ok: TButton"), std::string::npos);
  EXPECT_NE(once.find("OnClick = OkClick"), std::string::npos);
  TResForm g(nullptr);  // another owner: the names do not clash
  g.Read(once);
  EXPECT_EQ(WriteComponentRes(&g), once);
}

TEST_F(ResourceTest, FormsRegisterForCrossFormReferences) {
  auto* f = new TResForm(Application);
  f->Read(kResource);
  EXPECT_EQ(FindGlobalComponent("ResForm"), f);
  EXPECT_EQ(Screen->FormCount(), 1);
  EXPECT_EQ(Screen->Forms(0), f);
  delete f;
  EXPECT_EQ(FindGlobalComponent("ResForm"), nullptr);
  EXPECT_EQ(Screen->FormCount(), 0);
}

// ---- controls and windows that go away at awkward moments

TEST_F(ResourceTest, DeletingTheControlUnderThePointerOrHoldingCaptureIsSafe) {
  TForm* f = MakeForm({100, 100, 500, 400});
  auto* label = new TLabel(f);
  label->SetParent(f);
  label->SetAutoSize(false);
  label->SetBounds(10, 10, 100, 30);
  Pump();
  hp->InjectMouseMove(label->ClientToScreen({5, 5}));
  hp->InjectMouseDown();
  Pump();
  EXPECT_TRUE(label->MouseCapture());  // a graphic control captures through its parent
  EXPECT_EQ(GetCapture(), f);
  delete label;
  EXPECT_EQ(GetCapture(), nullptr);
  hp->InjectMouseMove({300, 300});
  hp->InjectMouseUp();
  Pump();
  auto* probe = new TProbe(f);
  probe->SetParent(f);
  probe->SetBounds(10, 10, 50, 50);
  Pump();
  PostMessage(probe, WM_USER + 1);
  Move(probe->ClientToScreen({5, 5}));
  SetFocus(probe);
  delete probe;  // focus, posted message and enter/leave state go with it
  EXPECT_EQ(GetFocus(), nullptr);
  Move({350, 350});
  Pump();
}

TEST_F(ResourceTest, GraphicControlClickGoesThroughItsParent) {
  TForm* f = MakeForm({100, 100, 500, 400});
  auto* label = new TLabel(f);
  label->SetParent(f);
  label->SetAutoSize(false);
  label->SetBounds(10, 10, 100, 30);
  std::vector<TPoint> downs;
  int clicks = 0;
  label->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) { downs.push_back({x, y}); };
  label->OnClick = [&](TObject*) { ++clicks; };
  Pump();
  Click(label->ClientToScreen({7, 9}));
  EXPECT_EQ(downs, (std::vector<TPoint>{{7, 9}}));
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(label->MouseCapture());
}

TEST_F(ResourceTest, AWindowThatNeverValidatesIsNotPaintedForever) {
  TForm* f = MakeForm({100, 100, 500, 400});
  int paints = 0;
  auto old = f->WindowProc;
  f->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_PAINT && m.WParam == 0) {
      ++paints;  // no BeginPaint / EndPaint
      return;
    }
    old(m);
  };
  f->Invalidate();
  Pump();  // returns: the window system validates after WM_PAINT
  EXPECT_EQ(paints, 1);
  f->WindowProc = old;
}

TEST_F(ResourceTest, TrackMouseEventPostsLeaveOnce) {
  TForm* f = MakeForm({100, 100, 500, 400});
  auto* probe = new TProbe(f);
  probe->SetParent(f);
  probe->SetBounds(10, 10, 50, 50);
  Pump();
  Move(probe->ClientToScreen({5, 5}));
  TTrackMouseEvent tme{TME_LEAVE, probe, 0};
  EXPECT_TRUE(TrackMouseEvent(tme));
  Move(probe->ClientToScreen({6, 6}));
  EXPECT_EQ(std::count(probe->messages.begin(), probe->messages.end(), WM_MOUSELEAVE), 0);
  Move(f->ClientToScreen({200, 200}));
  Move(f->ClientToScreen({201, 200}));
  EXPECT_EQ(std::count(probe->messages.begin(), probe->messages.end(), WM_MOUSELEAVE), 1);
  // Non-client tracking: leaving the caption for the client area.
  TTrackMouseEvent nc{TME_LEAVE | TME_NONCLIENT, f, 0};
  int ncLeaves = 0;
  auto old = f->WindowProc;
  f->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_NCMOUSELEAVE) ++ncLeaves;
    old(m);
  };
  Move({300, 110});
  TrackMouseEvent(nc);
  Move({301, 110});
  EXPECT_EQ(ncLeaves, 0);
  Move({300, 300});
  EXPECT_EQ(ncLeaves, 1);
  f->WindowProc = old;
}

TEST_F(ResourceTest, CursorFollowsHitCodeAndControlCursor) {
  TForm* f = MakeForm({100, 100, 500, 400});
  auto* probe = new TProbe(f);
  probe->SetParent(f);
  probe->SetBounds(10, 10, 50, 50);
  probe->SetCursor(crHandPoint);
  Pump();
  Move({499, 399});
  EXPECT_EQ(hp->CurrentCursorShape(), TCursorShape::SizeNWSE);
  Move({300, 101});
  EXPECT_EQ(hp->CurrentCursorShape(), TCursorShape::SizeNS);
  Move({300, 110});
  EXPECT_EQ(hp->CurrentCursorShape(), TCursorShape::Arrow);
  Move(probe->ClientToScreen({5, 5}));
  EXPECT_EQ(hp->CurrentCursorShape(), TCursorShape::HandPoint);
  Screen->SetCursor(crHourGlass);
  Move(probe->ClientToScreen({6, 5}));
  EXPECT_EQ(hp->CurrentCursorShape(), TCursorShape::Wait);
  Screen->SetCursor(crDefault);
}

TEST_F(ResourceTest, ParentOfItselfIsRefused) {
  TForm* f = MakeForm({100, 100, 500, 400});
  auto* a = new TPanel(f);
  a->SetParent(f);
  auto* b = new TPanel(f);
  b->SetParent(a);
  EXPECT_THROW(a->SetParent(b), EInvalidOperation);
  EXPECT_THROW(a->SetParent(a), EInvalidOperation);
  EXPECT_EQ(a->Parent(), f);
}

TEST_F(ResourceTest, ApplicationRunEndsWhenTheMainFormCloses) {
  TForm* main = nullptr;
  Application->CreateForm(main);
  main->SetBounds(100, 100, 300, 200);
  bool shown = false;
  hp->SetIdleHandler([&]() {
    if (!shown) {
      shown = true;
      PostMessage(main, WM_CLOSE);
      return true;
    }
    return false;
  });
  Application->Run();
  hp->SetIdleHandler({});
  EXPECT_TRUE(Application->Terminated());
  EXPECT_EQ(Application->MainForm(), main);
}

}  // namespace
}  // namespace qz::testing
