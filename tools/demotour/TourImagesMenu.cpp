// The images menu opened from a menu button of the second window: the grid
// with a header and a button row, a hot cell, and the picked image shown on
// the button afterwards.
#include <memory>
#include <string>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "host/ui/ImgList.h"
#include "skin/data/SkinData.h"
#include "skin/form/Orvane.h"
#include "skin/popups/SkinImagesMenu.h"
#include "skin/popups/SkinMenuButton.h"
#include "tools/demotour/Tour.h"

namespace qz::tour {

namespace {

// Round swatches of a few colours, 20 x 20 on a transparent key.
TImageList* MakeSwatches(TComponent* owner) {
  constexpr TColor kKey = static_cast<TColor>(0xFF00FF);
  const TColor colours[] = {TColor(0x3030D0), TColor(0x30A0F0), TColor(0x30C0C0), TColor(0x40B040),
                            TColor(0xC09030), TColor(0xD04040), TColor(0xB040A0), TColor(0x606060)};
  auto* images = new TImageList(owner);
  images->SetSize(20, 20);
  for (TColor colour : colours) {
    TBitmap b;
    b.SetSize(20, 20);
    TCanvas& c = b.Canvas();
    c.Brush().SetColor(kKey);
    c.FillRect({0, 0, 20, 20});
    c.Brush().SetColor(colour);
    c.Pen().SetColor(TColor(0x404040));
    c.Ellipse(1, 1, 19, 19);
    b.Modified();
    images->AddMasked(b, kKey);
  }
  return images;
}

}  // namespace

void TourImagesMenu(TTour& tour, TForm1& /*main*/, TForm2& second) {
  second.Show();
  second.SetFocus();
  tour.Settle(600);
  TqzSkinData* skin = second.qzOrvane1->SkinData();

  auto* menu = new TqzSkinImagesMenu(&second);
  menu->SetImages(MakeSwatches(&second));
  menu->SetSkinData(skin);
  menu->SetColumnsCount(4);
  TqzImagesMenuItem* header = menu->ImagesItems().Add();
  header->Header = true;
  header->Caption = "Colours";
  for (int i = 0; i < 8; ++i) {
    TqzImagesMenuItem* item = menu->ImagesItems().Add();
    item->ImageIndex = i;
    item->Caption = "Colour " + std::to_string(i + 1);
  }
  TqzImagesMenuItem* more = menu->ImagesItems().Add();
  more->Button = true;
  more->Caption = "More colours...";

  // The window's own menu button has no menu; for this step it gets the
  // images menu in track-button mode, and is put back afterwards.
  TqzSkinMenuButton* button = second.qzSkinMenuButton1;
  tour.Press(button->ClientToScreen(TTour::Centre(button->ClientRect())));
  tour.Shot("second-menubutton-pressed");
  tour.Release(button->ClientToScreen(TTour::Centre(button->ClientRect())));
  const std::string caption = button->Caption();
  button->SetCaption("Colour");
  button->SetSkinImagesMenu(menu);
  button->SetTrackButtonMode(true);
  button->SetUseImagesMenuImage(true);
  tour.Settle();

  tour.Press(button->ClientToScreen({button->Width() - 7, button->Height() / 2}));
  if (TqzSkinImagesMenuPopupWindow* window = menu->Window()) {
    const TRect cell = menu->ImagesItems().Items(3)->ItemRect;
    tour.Release(window->ClientToScreen(TTour::Centre(cell)));
    tour.MoveTo(window->ClientToScreen(TTour::Centre(cell)));
  }
  tour.Shot("images-menu-hot-cell");
  if (TqzSkinImagesMenuPopupWindow* window = menu->Window()) {
    const TRect cell = menu->ImagesItems().Items(3)->ItemRect;
    tour.Press(window->ClientToScreen(TTour::Centre(cell)));
    tour.Release(window->ClientToScreen(TTour::Centre(cell)));
  }
  tour.MoveTo(TTour::OnScreen(second, {-40, -40}));
  tour.Shot("images-menu-picked-on-button");

  button->SetSkinImagesMenu(nullptr);
  button->SetTrackButtonMode(false);
  button->SetUseImagesMenuImage(false);
  button->SetCaption(caption);
  delete menu;
  tour.Settle();
}

}  // namespace qz::tour
