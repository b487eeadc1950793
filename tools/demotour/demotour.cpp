// demotour: runs the demo's windows on the headless platform, drives them
// through a scripted tour with injected input and writes what the screen
// shows after each step as a PNG named after the step.
//
//   demotour [--help] OUTDIR
#include <cstdio>
#include <cstring>
#include <exception>
#include <cctype>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "host/platform/headless/HeadlessPlatform.h"
#include "host/ui/Application.h"
#include "host/ui/Windows.h"
#include "skin/controls/SkinButton.h"
#include "skin/data/SkinData.h"
#include "skin/form/Orvane.h"
#include "skin/form/SkinMainMenu.h"
#include "skin/form/SkinObjects.h"
#include "skin/popups/SkinHint.h"
#include "skin/popups/SkinMenu.h"
#include "tools/demotour/Tour.h"

using namespace qz;
using namespace qz::tour;
namespace fs = std::filesystem;

namespace {

constexpr const char* kUsage =
    "usage: demotour [--help] OUTDIR\n"
    "Runs the demo headlessly through its tour and writes one PNG per step\n"
    "into OUTDIR (created when missing), named NNN-step.png.\n";

// The caption buttons of a window: its visible, enabled button objects.
std::vector<TqzActiveSkinObject*> CaptionButtons(TqzOrvane& controller) {
  std::vector<TqzActiveSkinObject*> buttons;
  for (auto& object : controller.ObjectList())
    if (dynamic_cast<TqzSkinButtonObject*>(object.get()) && object->Visible && object->Enabled &&
        object->ShownIn(controller.IsRolledUp()) && !object->ObjectRect.IsEmpty())
      buttons.push_back(object.get());
  return buttons;
}

TqzActiveSkinObject* FindCaption(TqzOrvane& controller) {
  for (auto& object : controller.ObjectList())
    if (object->IsCaption() && object->ShownIn(false)) return object.get();
  return nullptr;
}

void TourCaptionButtons(TTour& tour, TCustomForm& form, TqzOrvane& controller,
                        const std::string& window) {
  const TPoint away = TTour::OnScreen(form, {-40, -40});
  for (TqzActiveSkinObject* button : CaptionButtons(controller)) {
    const TPoint at = TTour::OnScreen(form, TTour::Centre(button->ObjectRect));
    tour.MoveTo(at);
    tour.Shot(window + "-hover-" + button->IDName());
    tour.Press(at);
    tour.Shot(window + "-press-" + button->IDName());
    // Released away from the button, so its command does not run; a menu
    // the press opened (the system-menu button's) is closed.
    tour.Release(away);
    tour.Key(VK_ESCAPE);
  }
}

// The main window's own controls: each toggle button hovered, pressed and
// released in turn (both page controls and the information panel follow),
// the first page control stepped through by keyboard, and the window
// without the focus.
void TourMainWindowControls(TTour& tour, TForm1& form, THeadlessPlatform& p) {
  const TPoint away = TTour::OnScreen(form, {-40, -40});
  const std::pair<TqzSkinButton*, const char*> toggles[] = {
      {form.qzSkinButton2, "edit"}, {form.qzSkinButton3, "convert"}, {form.qzSkinButton1, "addfile"}};
  for (const auto& [button, name] : toggles) {
    const TPoint at = button->ClientToScreen({button->Width() / 2, button->Height() / 2});
    tour.MoveTo(at);
    tour.Shot(std::string("main-hover-") + name);
    tour.Press(at);
    tour.Shot(std::string("main-press-") + name);
    tour.Release(at);
    tour.MoveTo(away);
    tour.Settle(600);  // the fade back from the hover look
    tour.Shot(std::string("main-page-") + name);
  }
  // Ctrl+Tab from a button of the first page walks its pages round.
  form.qzSkinButton10->SetFocus();
  tour.Settle();
  for (const char* name : {"edit", "convert", "addfile"}) {
    p.InjectKeyDown(VK_CONTROL);
    p.InjectKey(VK_TAB);
    p.InjectKeyUp(VK_CONTROL);
    tour.Settle(600);
    tour.Shot(std::string("main-ctrltab-") + name);
  }
  // Another window takes the focus.
  auto* other = new TForm(Application);
  other->SetBounds(20, 20, 240, 160);
  other->SetCaption("Other window");
  other->Show();
  tour.Settle(600);
  tour.Shot("main-inactive");
  delete other;
  form.SetFocus();
  tour.Settle(600);
}

// The main menu bar: a hot item, "About" open with its sub-item, and the
// keyboard menu mode moving across the bar.
void TourMainMenuBar(TTour& tour, TForm1& form) {
  TqzSkinMainMenuBar* bar = form.qzSkinMainMenuBar1;
  if (!bar || bar->Items().size() < 3) return;
  auto centre = [&](int i) { return bar->ClientToScreen(TTour::Centre(bar->Items()[size_t(i)].Rect)); };
  tour.MoveTo(centre(0));
  tour.Shot("main-menubar-hot-settings");
  tour.Press(centre(2));
  tour.Release(centre(2));
  tour.Shot("main-menubar-about-open");
  tour.MoveTo(centre(1));
  // "How to use" is a command: the open menu closes and it shows hot.
  tour.Shot("main-menubar-command-closes-open-menu");
  tour.Key(VK_ESCAPE);
  tour.MoveTo(TTour::OnScreen(form, {600, 600}));
  SendMessage(form.Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
  tour.Settle();
  tour.Shot("main-menubar-keyboard-mode");
  tour.Key(VK_RIGHT);
  tour.Key(VK_RIGHT);
  tour.Shot("main-menubar-keyboard-right-twice");
  tour.Key(VK_DOWN);
  tour.Shot("main-menubar-keyboard-about-open");
  tour.Key(VK_ESCAPE);
  tour.Key(VK_ESCAPE);
  tour.Settle();
}

// Hints: the main window gets a skinned hint component dressed by its own
// skin; a caption button shows its hint through the controller, and a toggle
// button its own hint with a title.
void TourHints(TTour& tour, TForm1& form, TForm2& second) {
  second.Hide();
  form.SetFocus();
  tour.Settle();
  auto* hint = new TqzSkinHint(&form);
  hint->SetSkinData(form.qzSkinData1);
  form.qzOrvane1->SetSkinHint(hint);
  form.qzOrvane1->ShowObjectHint = true;
  const TPoint away = TTour::OnScreen(form, {-40, -40});
  tour.MoveTo(away);
  for (TqzActiveSkinObject* button : CaptionButtons(*form.qzOrvane1)) {
    if (button->Hint().empty()) continue;
    tour.MoveTo(TTour::OnScreen(form, TTour::Centre(button->ObjectRect)));
    tour.Settle(Application->HintPause());
    tour.Shot("hint-caption-" + button->IDName());
    break;
  }
  tour.MoveTo(away);
  TqzSkinButton& toggle = *form.qzSkinButton1;
  toggle.SetHint("Add a file@to the conversion list");
  toggle.SetHintTitle("Add file");
  toggle.SetShowHint(true);
  tour.MoveTo(toggle.ClientToScreen({toggle.Width() / 2, toggle.Height() / 2}));
  tour.Settle(Application->HintPause());
  tour.Shot("hint-main-control");
  tour.MoveTo(away);
}

// Menus through the skinned menu engine: the main window's system menu
// walked by keyboard, then a popup menu of the main window with a submenu
// opened by hovering and walked by keyboard.
void TourMenus(TTour& tour, TForm1& form) {
  TRect r;
  GetWindowRect(form.Handle(), r);
  form.SetFocus();
  tour.Settle();
  form.qzOrvane1->SystemMenuPopup(r.Left + 60, r.Top + 40);
  tour.Settle();
  tour.Shot("menu-main-system");
  tour.Key(VK_DOWN);
  tour.Key(VK_DOWN);
  tour.Shot("menu-main-system-keyboard");
  tour.Key(VK_ESCAPE);

  auto* menu = new TqzSkinPopupMenu(&form);
  auto add = [menu](TMenuItem* parent, const char* caption) {
    auto* item = new TMenuItem(menu);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
  };
  TMenuItem* root = menu->Items();
  add(root, "&Add file...")->SetShortCut(ShortCut('O', {ssCtrl}));
  TMenuItem* recent = add(root, "&Recent files");
  add(recent, "holiday.avi");
  add(recent, "interview.mkv")->SetChecked(true);
  add(recent, "-");
  add(recent, "&Clear list");
  add(root, "-");
  add(root, "&Convert")->SetDefault(true);
  add(root, "&Preview")->SetEnabled(false);
  TMenuItem* fast = add(root, "&Fast mode");
  fast->SetRadioItem(true);
  fast->SetChecked(true);
  menu->Popup(r.Left + 200, r.Top + 150);
  tour.Settle();
  TqzSkinMenu& engine = form.qzOrvane1->SkinMenu();
  if (TqzSkinPopupWindow* level = engine.Level(0)) {
    const TRect item = level->Item(1).ItemRect;
    tour.MoveTo(level->ClientToScreen({item.Left + 20, (item.Top + item.Bottom) / 2}));
    tour.Settle(600);  // the submenu delay
  }
  tour.Shot("menu-popup-submenu");
  tour.Key(VK_DOWN);
  tour.Key(VK_DOWN);
  tour.Shot("menu-popup-submenu-keyboard");
  tour.Key(VK_LEFT);
  tour.Key(VK_DOWN);
  tour.Shot("menu-popup-keyboard-back");
  tour.Key(VK_ESCAPE);
  tour.Settle();
  tour.Shot("menu-closed");
}

int RunTour(const fs::path& dir) {
  auto platform = std::make_unique<THeadlessPlatform>();
  THeadlessPlatform& p = *platform;
  TApplication::ResetForTesting(std::move(platform));
  Application->Initialize();
  TForm1* Form1 = nullptr;
  Application->CreateForm(Form1);
  TForm2* Form2 = nullptr;
  Application->CreateForm(Form2);
  TTour tour(p, dir);

  Form1->Show();
  tour.Settle(600);  // the fade-in
  tour.Shot("start");
  TourMainWindowControls(tour, *Form1, p);
  TourMainMenuBar(tour, *Form1);

  TourCaptionButtons(tour, *Form1, *Form1->qzOrvane1, "main");
  if (TqzActiveSkinObject* caption = FindCaption(*Form1->qzOrvane1)) {
    const TRect r = caption->ObjectRect;
    const TPoint from = TTour::OnScreen(*Form1, {r.Left + 40, (r.Top + r.Bottom) / 2});
    tour.Drag(from, {from.X + 60, from.Y + 40});
    tour.Shot("main-caption-drag");
  }

  Form2->Show();
  tour.Settle(600);
  tour.Shot("second-shown-main-inactive");
  TourCaptionButtons(tour, *Form2, *Form2->qzOrvane1, "second");

  TRect bounds;
  GetWindowRect(Form2->Handle(), bounds);
  // The right border, then the bottom border (the rounded corners lie
  // outside the window's shape).
  const TPoint right{bounds.Right - 2, (bounds.Top + bounds.Bottom) / 2};
  tour.Drag(right, {right.X + 120, right.Y});
  const TPoint bottom{(bounds.Left + bounds.Right) / 2, bounds.Bottom - 2};
  tour.Drag(bottom, {bottom.X, bottom.Y + 80});
  tour.Shot("second-resized-by-border");

  if (TqzActiveSkinObject* caption = FindCaption(*Form2->qzOrvane1)) {
    const TPoint at = TTour::OnScreen(*Form2, {caption->ObjectRect.Left + 30,
                                               TTour::Centre(caption->ObjectRect).Y});
    tour.DoubleClick(at);
    tour.Shot("second-maximised");
  }
  Form2->qzOrvane1->RollUp();
  tour.Settle();
  tour.Shot("second-rolled-up");
  Form2->qzOrvane1->Restore();
  tour.Settle();
  tour.Shot("second-restored");

  TRect r;
  GetWindowRect(Form2->Handle(), r);
  Form2->qzOrvane1->SystemMenuPopup(r.Left + 40, r.Top + 30);
  tour.Settle();
  tour.Shot("second-system-menu");
  tour.Key(VK_ESCAPE);

  // The main window takes the activation back: the second window, moved to
  // stick out above it, shows its inactive caption and buttons.
  Form2->SetBounds(80, 60, Form2->Width(), Form2->Height());
  Form1->SetFocus();
  tour.Settle();
  tour.Shot("second-inactive");
  TourHints(tour, *Form1, *Form2);
  TourMenus(tour, *Form1);
  TourEditPage(tour, *Form1, *Form2);
  TourSecondWindow(tour, *Form1, *Form2);
  TourImagesMenu(tour, *Form1, *Form2);
  TourListBox(tour, *Form1, *Form2);
  TourEdit(tour, *Form1, *Form2);
  TourToolBar(tour, *Form1, *Form2);
  TourComboBox(tour, *Form1, *Form2);
  TourModalSecondWindow(tour, *Form1, *Form2);
  TourMessageBox(tour, *Form1, *Form2);
  TourFileListView(tour, *Form1, *Form2);
  TourOpenDialog(tour, *Form1, *Form2);
  TourMDI(tour, *Form1, *Form2);
  TourTray(tour, *Form1, *Form2);
  TourSelectDirectory(tour, *Form1, *Form2);
  return 0;
}

}  // namespace

// Pictures of an earlier tour whose steps were numbered otherwise would sit
// among the new ones; only files named like steps ("NNN-name.png") go.
static bool IsStepPicture(const fs::path& path) {
  const std::string name = path.filename().string();
  size_t digits = 0;
  while (digits < name.size() && std::isdigit(static_cast<unsigned char>(name[digits]))) ++digits;
  return digits >= 2 && digits < name.size() && name[digits] == '-' && path.extension() == ".png";
}

static void RemoveOldSteps(const fs::path& dir) {
  for (const auto& entry : fs::directory_iterator(dir))
    if (entry.is_regular_file() && IsStepPicture(entry.path())) fs::remove(entry.path());
}

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc != 2 || argv[1][0] == '-') {
    std::fprintf(stderr, "demotour: %s\n%s",
                 argc < 2 ? "no output folder given" : "unexpected arguments", kUsage);
    return 2;
  }
  try {
    const fs::path dir = argv[1];
    fs::create_directories(dir);
    RemoveOldSteps(dir);
    return RunTour(dir);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "demotour: %s\n", e.what());
    return 1;
  }
}
