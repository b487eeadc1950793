// Popup menus of controls and forms: the right click and the context-menu
// keys show them where they belong, with PopupComponent naming the control
// that asked; OnContextPopup and AutoPopup can keep them shut; a control
// without a menu passes the request up to its form; form resources name
// the menu.
#include "UiTestSupport.h"

#include "host/components/FormResource.h"
#include "host/ui/Menus.h"

namespace qz {

class TContextPopupForm : public TForm {
  QZ_CLASS(TContextPopupForm, TForm)
 public:
  explicit TContextPopupForm(TComponent* owner) : TForm(owner) {
    BindField("Panel1", Panel1);
    BindField("PopupMenu1", PopupMenu1);
  }
  TPanel* Panel1 = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;
};

QZ_PUBLISHED(TContextPopupForm, TForm) {}

}  // namespace qz

namespace qz::testing {
namespace {

class ContextPopup : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = MakeForm({100, 100, 500, 400});
    panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(20, 20, 200, 150);
    menu = MakeMenu("Panel menu");
    Pump();
  }
  TPopupMenu* MakeMenu(const std::string& caption) {
    auto* m = new TPopupMenu(form);
    auto* item = new TMenuItem(m);
    item->SetCaption(caption);
    m->Items()->Add(item);
    return m;
  }
  void RightClick(TPoint screen) {
    hp->InjectClick(screen, TMouseButtonId::Right);
    Pump();
  }
  TForm* form = nullptr;
  TPanel* panel = nullptr;
  TPopupMenu* menu = nullptr;
};

TEST_F(ContextPopup, RightClickShowsTheControlsMenuAtThePointer) {
  panel->SetPopupMenu(menu);
  const TPoint at = panel->ClientToScreen({30, 40});
  RightClick(at);
  ASSERT_TRUE(menu->IsShowing());
  EXPECT_EQ(menu->PopupComponent(), panel);
  EXPECT_EQ(menu->PopupRect().TopLeft(), at);
}

TEST_F(ContextPopup, ContextKeysShowTheMenuAtTheFocusedControl) {
  auto* edit = new TButton(form);
  edit->SetParent(panel);
  edit->SetBounds(10, 10, 100, 24);
  edit->SetPopupMenu(menu);
  edit->SetFocus();
  Pump();
  Key(VK_F10, kModShift);
  ASSERT_TRUE(menu->IsShowing());
  EXPECT_EQ(menu->PopupComponent(), edit);
  EXPECT_EQ(menu->PopupRect().TopLeft(), edit->ClientToScreen({0, 0}));
  menu->ClosePopup();
  menu->SetPopupComponent(nullptr);
  Key(VK_APPS);
  ASSERT_TRUE(menu->IsShowing());
  EXPECT_EQ(menu->PopupComponent(), edit);
}

TEST_F(ContextPopup, AControlWithoutMenuPassesTheRequestUpToTheForm) {
  TPopupMenu* formMenu = MakeMenu("Form menu");
  form->SetPopupMenu(formMenu);
  RightClick(panel->ClientToScreen({5, 5}));
  ASSERT_TRUE(formMenu->IsShowing());
  EXPECT_EQ(formMenu->PopupComponent(), form);
  // The panel's own menu wins over the form's.
  formMenu->ClosePopup();
  panel->SetPopupMenu(menu);
  RightClick(panel->ClientToScreen({5, 5}));
  EXPECT_TRUE(menu->IsShowing());
  EXPECT_FALSE(formMenu->IsShowing());
}

TEST_F(ContextPopup, GraphicControlsHaveMenusOfTheirOwn) {
  auto* label = new TLabel(form);
  label->SetParent(panel);
  label->SetBounds(10, 60, 80, 20);
  label->SetCaption("Label");
  label->SetPopupMenu(menu);
  RightClick(label->ClientToScreen({4, 4}));
  ASSERT_TRUE(menu->IsShowing());
  EXPECT_EQ(menu->PopupComponent(), label);
}

TEST_F(ContextPopup, AutoPopupOffOrAHandledRequestShowsNothing) {
  panel->SetPopupMenu(menu);
  menu->SetAutoPopup(false);
  RightClick(panel->ClientToScreen({5, 5}));
  EXPECT_FALSE(menu->IsShowing());
  menu->SetAutoPopup(true);
  TPoint asked{0, 0};
  panel->OnContextPopup = [&](TObject*, TPoint pos, bool& handled) {
    asked = pos;
    handled = true;
  };
  RightClick(panel->ClientToScreen({7, 9}));
  EXPECT_FALSE(menu->IsShowing());
  EXPECT_EQ(asked, (TPoint{7, 9}));
}

TEST_F(ContextPopup, AHandlerThatFreesItsControlShowsNoMenu) {
  form->SetPopupMenu(menu);
  panel->OnContextPopup = [this](TObject*, TPoint, bool&) { delete panel; };
  RightClick(panel->ClientToScreen({5, 5}));
  EXPECT_FALSE(menu->IsShowing());
  EXPECT_EQ(form->ControlCount(), 0);
}

TEST_F(ContextPopup, AFreedMenuLeavesTheControlWithout) {
  panel->SetPopupMenu(menu);
  delete menu;
  EXPECT_EQ(panel->PopupMenu(), nullptr);
  RightClick(panel->ClientToScreen({5, 5}));
}

TEST_F(ContextPopup, FormResourcesNameTheMenu) {
  constexpr const char* kText = R"(object ContextPopupForm: TContextPopupForm
  Left = 100
  Top = 100
  Width = 300
  Height = 200
  PopupMenu = PopupMenu1
  object Panel1: TPanel
    Left = 10
    Top = 10
    Width = 100
    Height = 60
    PopupMenu = PopupMenu1
  end
  object PopupMenu1: TPopupMenu
    AutoPopup = False
  end
end
)";
  auto* f = new TContextPopupForm(Application);
  ReadComponentRes(f, kText);
  ASSERT_NE(f->PopupMenu1, nullptr);
  EXPECT_EQ(f->PopupMenu(), f->PopupMenu1);
  EXPECT_EQ(f->Panel1->PopupMenu(), f->PopupMenu1);
  EXPECT_NE(WriteComponentRes(f).find("    PopupMenu = PopupMenu1\n"), std::string::npos);
}

}  // namespace
}  // namespace qz::testing
