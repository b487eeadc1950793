// The tray: the main window's minimise-to-tray button sends the demo into
// the headless tray (the panel along the bottom of the screen), the pointer
// resting on the icon shows its tooltip, the icon's menu opens at the pointer, a double click on the icon brings the windows
// back; without a tray the same button only minimises.
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "host/ui/Application.h"
#include "skin/form/Orvane.h"
#include "skin/form/TrayIcon.h"
#include "tools/demotour/Tour.h"

namespace qz::tour {

namespace {

TqzActiveSkinObject* Object(TqzOrvane& controller, const std::string& name) {
  for (auto& object : controller.ObjectList())
    if (object->IDName() == name) return object.get();
  return nullptr;
}

void PressTrayButton(TTour& tour, TForm1& main) {
  TqzActiveSkinObject* button = Object(*main.qzOrvane1, "traybutton");
  if (!button) return;
  const TPoint at = TTour::OnScreen(main, TTour::Centre(button->ObjectRect));
  tour.Press(at);
  tour.Release(at);
}

}  // namespace

void TourTray(TTour& tour, TForm1& main, TForm2& second) {
  THeadlessPlatform& p = tour.Platform();
  second.Show();
  tour.Settle();
  PressTrayButton(tour, main);
  tour.Shot("tray-demo-in-tray");
  auto* icon = dynamic_cast<THeadlessTrayIcon*>(main.qzTrayIcon1->PlatformIcon());
  if (icon) {
    p.InjectTrayHover(*icon);
    tour.Settle(Application->HintPause() + 100);
    tour.Shot("tray-tooltip");
    p.InjectMouseMove({2, 2});
    tour.Settle();
    p.InjectTrayClick(*icon, TMouseButtonId::Right);
    tour.Settle();
    tour.Shot("tray-menu");
    main.qzOrvane1->SkinMenu().CloseAll();
    tour.Settle();
    p.InjectTrayDoubleClick(*icon);
    tour.Settle(600);
    tour.Shot("tray-restored-by-double-click");
  }
  // Without a tray the button minimises instead of hiding the windows.
  p.SetTrayHost(false);
  PressTrayButton(tour, main);
  tour.Shot("tray-none-minimised");
  Application->Restore();
  p.SetTrayHost(true);
  tour.Settle(600);
  second.Hide();
  tour.Settle();
  tour.Shot("tray-back");
}

}  // namespace qz::tour
