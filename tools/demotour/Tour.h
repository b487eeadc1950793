// The tour's driver: injected input, settling of virtual time and one PNG
// per step. Each part of the tour lives in its own file and is called in
// order from RunTour (demotour.cpp).
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>

#include "host/platform/headless/HeadlessPlatform.h"
#include "host/ui/Application.h"
#include "host/ui/Forms.h"
#include "host/ui/Windows.h"

namespace qz {
class TForm1;
class TForm2;
}  // namespace qz

namespace qz::tour {

namespace fs = std::filesystem;

class TTour {
 public:
  TTour(THeadlessPlatform& platform, fs::path dir) : p_(platform), dir_(std::move(dir)) {}

  // Lets queued messages, paints and timers run for `ms` of virtual time.
  void Settle(int ms = 300) {
    Application->ProcessMessages();
    for (int t = 0; t < ms; t += 25) {
      p_.AdvanceClock(25);
      Application->ProcessMessages();
    }
  }

  void Shot(const std::string& name) {
    Settle(0);
    ShotAsIs(name);
  }
  // The screen as it stands, nothing processed first: for steps that run
  // inside a modal loop, which processes its own messages.
  void ShotAsIs(const std::string& name) {
    char file[256];
    std::snprintf(file, sizeof file, "%03d-%s.png", ++step_, name.c_str());
    const fs::path path = dir_ / file;
    p_.SaveScreenPng(path.string());
    std::printf("%s\n", path.string().c_str());
  }

  // A point of a window (window coordinates) on the screen.
  static TPoint OnScreen(TCustomForm& form, TPoint windowPoint) {
    TRect r;
    GetWindowRect(form.Handle(), r);
    return {r.Left + windowPoint.X, r.Top + windowPoint.Y};
  }
  static TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
  // The middle of a control, on the screen.
  static TPoint CentreOf(TControl& control) {
    return control.ClientToScreen({control.Width() / 2, control.Height() / 2});
  }

  void MoveTo(TPoint screen) {
    p_.InjectMouseMove(screen);
    Settle(200);
  }
  void Press(TPoint screen) {
    p_.InjectMouseMove(screen);
    p_.InjectMouseDown();
    Settle(200);
  }
  void Release(TPoint screen) {
    p_.InjectMouseMove(screen);
    p_.InjectMouseUp();
    Settle(200);
  }
  // The whole gesture is queued first: a press on a border or caption starts
  // the window system's move/size loop, which reads the moves that follow.
  void Drag(TPoint from, TPoint to) {
    p_.InjectMouseMove(from);
    p_.InjectMouseDown();
    const int steps = 6;
    for (int i = 1; i <= steps; ++i)
      p_.InjectMouseMove({from.X + (to.X - from.X) * i / steps, from.Y + (to.Y - from.Y) * i / steps});
    p_.InjectMouseUp();
    Settle(300);
  }
  // Long enough for the looks a key starts (menu item morphs) to end.
  void Key(int vk) {
    p_.InjectKey(vk);
    Settle(200);
  }
  void Click(TPoint screen) {
    Press(screen);
    Release(screen);
  }
  void DoubleClick(TPoint screen) {
    p_.InjectClick(screen);
    p_.InjectClick(screen);
    Settle(300);
  }

 THeadlessPlatform& Platform() { return p_; }

 private:
  THeadlessPlatform& p_;
  fs::path dir_;
  int step_ = 0;
};

// Hides the second window and brings the main window forward on its first
// page, where the demonstration buttons are; returns a point outside every
// window to rest the pointer on.
TPoint ShowMainButtonsPage(TTour& tour, TForm1& main, TForm2& second);

// Parts of the tour that live in their own files (Tour*.cpp).
// Each leaves the windows as it found them: menus closed, pointer away.
void TourEditPage(TTour& tour, TForm1& main, TForm2& second);
void TourSecondWindow(TTour& tour, TForm1& main, TForm2& second);
void TourImagesMenu(TTour& tour, TForm1& main, TForm2& second);
void TourListBox(TTour& tour, TForm1& form1, TForm2& form2);
void TourEdit(TTour& tour, TForm1& form, TForm2& second);
void TourToolBar(TTour& tour, TForm1& form1, TForm2& form2);
void TourComboBox(TTour& tour, TForm1& main, TForm2& second);
void TourModalSecondWindow(TTour& tour, TForm1& main, TForm2& second);
void TourMessageBox(TTour& tour, TForm1& main, TForm2& second);
void TourFileListView(TTour& tour, TForm1& main, TForm2& second);
void TourOpenDialog(TTour& tour, TForm1& main, TForm2& second);
void TourMDI(TTour& tour, TForm1& main, TForm2& second);
void TourTray(TTour& tour, TForm1& main, TForm2& second);
void TourSelectDirectory(TTour& tour, TForm1& main, TForm2& second);

}  // namespace qz::tour
