#include <gtest/gtest.h>

#include "host/base/Messages.h"
#include "host/components/FormResource.h"
#include "host/graphics/Canvas.h"
#include "host/ui/ImgList.h"
#include "host/ui/Menus.h"

namespace qz {
namespace {

class TMenuTestForm : public TComponent {
  QZ_CLASS(TMenuTestForm, TComponent)
 public:
  TMenuTestForm() : TComponent(nullptr) {}
};

TMenuItem* NewItem(TMenuItem* parent, const std::string& caption) {
  auto* item = new TMenuItem(parent);
  item->SetCaption(caption);
  parent->Add(item);
  return item;
}

TEST(MenuItemTest, RadioItemsUncheckTheirGroupOnly) {
  TMainMenu menu(nullptr);
  TMenuItem* root = menu.Items();
  TMenuItem* a = NewItem(root, "A");
  TMenuItem* b = NewItem(root, "B");
  TMenuItem* other = NewItem(root, "Other group");
  TMenuItem* plain = NewItem(root, "Plain");
  for (TMenuItem* i : {a, b, other}) i->SetRadioItem(true);
  other->SetGroupIndex(2);
  plain->SetChecked(true);  // not a radio item: never unchecked by others
  a->SetChecked(true);
  other->SetChecked(true);
  b->SetChecked(true);
  EXPECT_FALSE(a->Checked());
  EXPECT_TRUE(b->Checked());
  EXPECT_TRUE(other->Checked());
  EXPECT_TRUE(plain->Checked());
  // Moving a checked radio item into the group's parent unchecks the rest.
  auto* c = new TMenuItem(root);
  c->SetRadioItem(true);
  c->SetChecked(true);
  root->Insert(0, c);
  EXPECT_FALSE(b->Checked());
  EXPECT_EQ(c->MenuIndex(), 0);
}

TEST(MenuItemTest, TreeEditingKeepsParentsAndOwnersConsistent) {
  TMenuTestForm form;
  TMainMenu* menu = new TMainMenu(&form);
  int changes = 0;
  menu->OnChange = [&](TObject*) { ++changes; };
  // Items owned by the form (as a resource makes them) inside a menu.
  auto* file = new TMenuItem(&form);
  file->SetCaption("&File");
  menu->Items()->Add(file);
  auto* open = new TMenuItem(&form);
  open->SetCaption("&Open...");
  file->Add(open);
  auto* sep = new TMenuItem(&form);
  sep->SetCaption("-");
  file->Add(sep);
  EXPECT_GT(changes, 0);
  EXPECT_TRUE(sep->IsLine());
  EXPECT_EQ(open->Parent(), file);
  EXPECT_EQ(open->GetParentMenu(), menu);
  EXPECT_EQ(file->Find("open..."), open);
  EXPECT_EQ(file->Find("&Open..."), open);
  EXPECT_EQ(menu->FindItemByCaption("Open..."), open);
  EXPECT_THROW(open->Add(file), EMenuError);  // would contain itself
  EXPECT_THROW(menu->Items()->Add(open), EMenuError);  // already has a parent
  EXPECT_THROW(file->Items(5), EMenuError);

  sep->SetMenuIndex(0);
  EXPECT_EQ(file->IndexOf(sep), 0);
  EXPECT_EQ(file->IndexOf(open), 1);

  // Destroying an item through its owner takes it out of its parent.
  delete open;
  EXPECT_EQ(file->Count(), 1);
  // Destroying a parent destroys its sub-items, which leave the owner too.
  int before = form.ComponentCount();
  delete file;
  EXPECT_EQ(menu->Items()->Count(), 0);
  EXPECT_EQ(form.ComponentCount(), before - 2);
}

TEST(MenuItemTest, ClickOnlyWhenEnabled) {
  TMenuItem item(nullptr);
  int clicks = 0;
  item.OnClick = [&](TObject* s) { EXPECT_EQ(s, &item); ++clicks; };
  item.Click();
  item.SetEnabled(false);
  item.Click();
  EXPECT_EQ(clicks, 1);
}

TEST(ShortCutTest, TextRoundTripAndRejects) {
  EXPECT_EQ(ShortCut('S', TShiftState{ssCtrl}), scCtrl | 'S');
  EXPECT_EQ(ShortCutToText(ShortCut('S', TShiftState{ssCtrl})), "Ctrl+S");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_F1, TShiftState{ssShift, ssCtrl, ssAlt})), "Shift+Ctrl+Alt+F1");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_DELETE, {})), "Del");
  for (uint16_t key : {uint16_t('A'), uint16_t('9'), uint16_t(VK_F12), uint16_t(VK_RETURN),
                       uint16_t(VK_PRIOR), uint16_t(VK_BACK)})
    for (TShortCut mods : {TShortCut(0), scShift, scCtrl, TShortCut(scCtrl | scAlt)}) {
      TShortCut sc = key | mods;
      EXPECT_EQ(TextToShortCut(ShortCutToText(sc)), sc) << ShortCutToText(sc);
    }
  EXPECT_EQ(TextToShortCut("alt+ctrl+x"), scAlt | scCtrl | 'X');
  EXPECT_EQ(TextToShortCut(""), 0);
  EXPECT_EQ(TextToShortCut("Ctrl+"), 0);
  EXPECT_EQ(TextToShortCut("Ctrl+Banana"), 0);
  EXPECT_EQ(ShortCutToText(0), "");
  // A key code above a byte would alias the modifier bits: rejected.
  EXPECT_EQ(ShortCut(0x2041, {}), 0);
  EXPECT_EQ(StripHotkey("Save && &Exit"), "Save & Exit");
  EXPECT_EQ(GetHotkey("Save && &exit"), 'E');
  EXPECT_EQ(GetHotkey("No hotkey&"), 0);
}

TEST(MenuResourceTest, ItemsNestUnderTheirParentAndWriteBack) {
  const char* text = R"(object Form1: TMenuTestForm
  object MainMenu1: TMainMenu
    Images = ImageList1
    object miSettings: TMenuItem
      Caption = 'Settings'
      ShortCut = 16467
    end
    object miAbout: TMenuItem
      Caption = 'About'
      object miHome: TMenuItem
        Caption = 'Home'
        Checked = True
        RadioItem = True
      end
      object miLine: TMenuItem
        Caption = '-'
      end
    end
  end
  object ImageList1: TImageList
    Width = 8
  end
end
)";
  TMenuTestForm form;
  ReadComponentRes(&form, text);
  auto* menu = form.FindChild<TMainMenu>("MainMenu1");
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->Items()->Count(), 2);
  TMenuItem* about = menu->Items()->Items(1);
  EXPECT_EQ(about->Name(), "miAbout");
  ASSERT_EQ(about->Count(), 2);
  EXPECT_EQ(about->Items(0)->Caption(), "Home");
  EXPECT_TRUE(about->Items(0)->Checked());
  EXPECT_TRUE(about->Items(1)->IsLine());
  EXPECT_EQ(menu->Items()->Items(0)->ShortCut(), TextToShortCut("Ctrl+S"));
  EXPECT_EQ(menu->FindItem(TextToShortCut("Ctrl+S")), menu->Items()->Items(0));
  EXPECT_EQ(menu->Images(), form.FindComponent("ImageList1"));
  EXPECT_EQ(WriteComponentRes(&form), text);

  // Images travel as a binary block and come back pixel for pixel.
  auto* images = form.FindChild<TImageList>("ImageList1");
  TBitmap strip(16, 16);
  strip.Pixels().At(9, 3) = 0xFF123456u;
  images->Add(strip);
  TMenuTestForm copy;
  ReadComponentRes(&copy, WriteComponentRes(&form));
  auto* copied = copy.FindChild<TImageList>("ImageList1");
  ASSERT_EQ(copied->Count(), 2);
  EXPECT_EQ(copied->Image(1), images->Image(1));
  EXPECT_EQ(copy.FindChild<TMainMenu>("MainMenu1")->Images(), copied);

  // The image list going away clears the menu's reference.
  delete form.FindComponent("ImageList1");
  EXPECT_EQ(menu->Images(), nullptr);
}

TEST(MenuResourceTest, ItemOutsideAMenuIsRejected) {
  TMenuTestForm form;
  EXPECT_THROW(ReadComponentRes(&form, R"(object Form1: TMenuTestForm
  object mi1: TMenuItem
    Caption = 'Loose'
  end
end
)"), Exception);
  EXPECT_EQ(form.ComponentCount(), 0);
}

// Separator reduction of a level: its item's own setting, else the nearest
// parent's that is not maParent, else the menu's; a parentless item reduces.
TEST(MenuLinesTest, ReductionFollowsTheNearestSettingUpTheTree) {
  TPopupMenu menu(nullptr);
  TMenuItem* root = menu.Items();
  TMenuItem* file = NewItem(root, "File");
  TMenuItem* recent = NewItem(file, "Recent");
  NewItem(recent, "One");
  EXPECT_TRUE(root->ReducesLines());
  EXPECT_TRUE(recent->ReducesLines());
  int changes = 0;
  menu.OnChange = [&](TObject*) { ++changes; };
  menu.SetAutoLineReduction(maManual);
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(root->ReducesLines());
  EXPECT_FALSE(recent->ReducesLines());
  file->SetAutoLineReduction(maAutomatic);
  EXPECT_EQ(changes, 2);
  EXPECT_FALSE(root->ReducesLines());
  EXPECT_TRUE(file->ReducesLines());
  EXPECT_TRUE(recent->ReducesLines());  // maParent: takes File's
  recent->SetAutoLineReduction(maManual);
  EXPECT_FALSE(recent->ReducesLines());
  EXPECT_TRUE(file->ReducesLines());
  // maParent on the menu itself counts as automatic.
  menu.SetAutoLineReduction(maParent);
  EXPECT_TRUE(root->ReducesLines());
  TMenuItem loose(nullptr);
  EXPECT_TRUE(loose.ReducesLines());
}

// What a level shows: visible items, with or without the redundant
// separators; a level of separators and hidden items alone is empty either
// way, while a disabled item still counts.
TEST(MenuLinesTest, ShownItemsAndEmptyLevels) {
  TPopupMenu menu(nullptr);
  TMenuItem* root = menu.Items();
  auto caps = [](const std::vector<TMenuItem*>& items) {
    std::string out;
    for (const TMenuItem* i : items) out += i->Caption() + " ";
    return out;
  };
  for (const char* c : {"-", "A", "-", "-", "H", "-", "B", "-"}) NewItem(root, c);
  root->Items(4)->SetVisible(false);
  EXPECT_EQ(caps(root->ShownItems()), "A - B ");
  EXPECT_EQ(caps(root->ShownItems(2)), "B ");
  EXPECT_EQ(caps(root->ShownItems(99)), "");
  menu.SetAutoLineReduction(maManual);
  EXPECT_EQ(caps(root->ShownItems()), "- A - - - B - ");
  EXPECT_TRUE(root->Items(0)->Visible());  // nothing is changed on the items

  EXPECT_TRUE(root->HasShownItems());
  EXPECT_TRUE(root->HasShownItems(6));
  EXPECT_FALSE(root->HasShownItems(7));
  root->Items(1)->SetVisible(false);
  root->Items(6)->SetEnabled(false);
  EXPECT_TRUE(root->HasShownItems());
  root->Items(6)->SetVisible(false);
  EXPECT_FALSE(root->HasShownItems());  // separators only, even unreduced
  EXPECT_EQ(caps(root->ShownItems()), "- - - - - ");
  EXPECT_FALSE(NewItem(root->Items(1), "-")->Parent()->HasShownItems());
}

TEST(MenuLinesTest, ReductionSettingsTravelInFormResources) {
  const char* text = R"(object Form1: TMenuTestForm
  object PopupMenu1: TPopupMenu
    AutoLineReduction = maManual
    object miFile: TMenuItem
      Caption = 'File'
      AutoLineReduction = maAutomatic
    end
    object miEdit: TMenuItem
      Caption = 'Edit'
    end
  end
end
)";
  TMenuTestForm form;
  ReadComponentRes(&form, text);
  auto* menu = form.FindChild<TPopupMenu>("PopupMenu1");
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->AutoLineReduction(), maManual);
  EXPECT_EQ(menu->Items()->Items(0)->AutoLineReduction(), maAutomatic);
  EXPECT_EQ(menu->Items()->Items(1)->AutoLineReduction(), maParent);
  EXPECT_FALSE(menu->Items()->Items(1)->ReducesLines());
  EXPECT_EQ(WriteComponentRes(&form), text);
}

// A strip of n 4x3 images; image k has colour base + k, with pixel (0,0)
// of each image set to the key colour.
void MakeStrip(TBitmap& strip, int n, uint32_t key) {
  strip.SetSize(4 * n + 2, 3);  // 2 spare columns: not a whole image
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < strip.Width(); ++x) strip.Pixels().At(x, y) = 0xFF102030u + uint32_t(x / 4);
  for (int k = 0; k < n; ++k) strip.Pixels().At(4 * k, 0) = key;
  strip.Modified();
}

int AddStrip(TImageList& list, int n) {
  TBitmap strip;
  MakeStrip(strip, n, 0xFFFF00FFu);
  return list.AddMasked(strip, clFuchsia);
}

TEST(ImageListTest, StripSplitsIntoWidthWideImages) {
  TImageList list(nullptr);
  list.SetSize(4, 3);
  int changes = 0;
  list.OnChange = [&](TObject*) { ++changes; };
  EXPECT_EQ(AddStrip(list, 3), 0);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(changes, 1);
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(list.Image(k).At(0, 0) >> 24, 0u) << k;  // masked out
    EXPECT_EQ(list.Image(k).At(3, 2), 0xFF102030u + uint32_t(k)) << k;
  }
  TBitmap tooSmall(3, 3);
  EXPECT_EQ(list.Add(tooSmall), -1);
  list.Delete(0);
  EXPECT_EQ(list.Image(0).At(1, 1), 0xFF102031u);
  EXPECT_THROW(list.Delete(5), EImageListError);
  TBitmap out;
  list.GetBitmap(1, out);
  EXPECT_EQ(out.Width(), 4);
  EXPECT_EQ(out.Pixels().At(2, 2), 0xFF102032u);
  list.SetWidth(5);  // a new size clears the list
  EXPECT_EQ(list.Count(), 0);
  EXPECT_THROW(list.SetWidth(0), EImageListError);
}

TEST(ImageListTest, DrawLeavesMaskedPixelsAndGreysDisabled) {
  TImageList list(nullptr);
  list.SetSize(4, 3);
  AddStrip(list, 2);
  TPixmap target(10, 5, 0xFF000000u);
  TCanvas canvas(&target);
  list.Draw(canvas, 1, 1, 1, true);
  list.Draw(canvas, 5, 1, 1, false);
  list.Draw(canvas, 8, 3, 0, true);  // clipped at the target edge
  list.Draw(canvas, 0, 0, 7, true);  // out of range: nothing
  EXPECT_EQ(target.At(1, 1), 0xFF000000u);  // masked pixel keeps the background
  EXPECT_EQ(target.At(2, 1), 0xFF102031u);
  EXPECT_EQ(target.At(4, 3), 0xFF102031u);
  EXPECT_EQ(target.At(5, 1), 0xFF000000u);
  uint32_t grey = TCustomImageList::DisabledPixel(0xFF102031u);
  EXPECT_EQ(target.At(6, 2), grey);
  EXPECT_EQ(grey & 0xFF, (grey >> 8) & 0xFF);
  EXPECT_GT(grey & 0xFF, 0x80u);  // lightened towards white
  EXPECT_EQ(target.At(9, 4), 0xFF102030u);
  EXPECT_EQ(target.At(0, 0), 0xFF000000u);
}

TEST(ImageListTest, StoredDataRoundTripsAndRejectsDamage) {
  TImageList list(nullptr);
  list.SetSize(4, 3);
  AddStrip(list, 2);
  // A wholly masked image must stay masked (its file has zero alpha only).
  TBitmap blank(4, 3);
  list.AddMasked(blank, clWhite);
  std::vector<uint8_t> data = list.SaveData();
  TImageList copy(nullptr);
  copy.LoadData(data);
  ASSERT_EQ(copy.Count(), 3);
  EXPECT_EQ(copy.Width(), 4);
  EXPECT_EQ(copy.Image(1), list.Image(1));
  EXPECT_EQ(copy.Image(2), list.Image(2));
  EXPECT_EQ(copy.Image(2).At(1, 1) >> 24, 0u);

  for (size_t cut : {size_t(3), size_t(20), data.size() - 1}) {
    std::vector<uint8_t> bad(data.begin(), data.begin() + cut);
    EXPECT_THROW(copy.LoadData(bad), EReadError) << cut;
  }
  std::vector<uint8_t> hugeCount = data;
  hugeCount[16] = 0xFF, hugeCount[17] = 0xFF, hugeCount[18] = 0xFF;
  EXPECT_THROW(copy.LoadData(hugeCount), EReadError);
  EXPECT_EQ(copy.Count(), 3);  // unchanged after failures
}

}  // namespace
}  // namespace qz
