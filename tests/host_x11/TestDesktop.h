// A desktop as users run it, on a test's private X server: openbox (it
// reparents, places and focuses windows) and xcompmgr (a compositing
// manager: it owns _NET_WM_CM_S0 and blends ARGB windows). Both stop, and
// the configuration written for openbox goes, when the object goes away.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "ChildProcess.h"
#include "XTestDisplay.h"

namespace qz::testing {

class TestDesktop {
 public:
  // Starts both on `display` and waits until they manage it; null with the
  // reason in `error` when a program is missing or does not come up.
  static std::unique_ptr<TestDesktop> Start(const std::string& display, std::string& error) {
    const std::string openbox = ChildProcess::FindInPath("openbox");
    const std::string xcompmgr = ChildProcess::FindInPath("xcompmgr");
    if (openbox.empty() || xcompmgr.empty()) {
      error = "openbox and xcompmgr are needed for the desktop runs (scripts/setup.sh installs them)";
      return nullptr;
    }
    auto x = XTestDisplay::Open(display);
    if (!x) {
      error = "cannot connect to " + display;
      return nullptr;
    }
    auto desktop = std::unique_ptr<TestDesktop>(new TestDesktop);
    if (!desktop->WriteOpenboxConfig()) {
      error = "cannot write the openbox configuration";
      return nullptr;
    }
    // No session manager, no autostart (plain openbox runs none): only the
    // window manager with the configuration below.
    desktop->windowManager_ = ChildProcess::Start(
        openbox, {"openbox", "--sm-disable", "--config-file", (desktop->configDir_ / "rc.xml").string()});
    if (!desktop->windowManager_ || !WaitFor(*desktop->windowManager_, [&] { return x->WindowManagerCheck() != 0; })) {
      error = "openbox did not start managing " + display;
      return nullptr;
    }
    // The black of the bare server's root (Xvfb -br) as the wallpaper, so
    // that tests read the same colour where no window is.
    x->SetWallpaper(0x000000);
    desktop->x_ = std::move(x);
    desktop->xcompmgr_ = xcompmgr;
    desktop->display_ = display;
    if (!desktop->StartCompositor()) {
      error = "xcompmgr did not take the compositing manager selection on " + display;
      return nullptr;
    }
    return desktop;
  }

  // Starts the compositor again after StopCompositor (true when it runs).
  bool StartCompositor() {
    if (compositor_ && compositor_->Running()) return true;
    // -n: plain composition, no shadows or fading that would change pixels.
    compositor_ = ChildProcess::Start(xcompmgr_, {"xcompmgr", "-n", "-d", display_});
    return compositor_ && WaitFor(*compositor_, [&] { return x_->SelectionOwner("_NET_WM_CM_S0") != 0; });
  }
  // Ends the compositor, as a user may, and waits until its selection is free.
  void StopCompositor() {
    compositor_.reset();
    for (int i = 0; i < 1000 && x_->SelectionOwner("_NET_WM_CM_S0") != 0; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }

  ~TestDesktop() {
    compositor_.reset();
    windowManager_.reset();
    x_.reset();
    std::error_code ignored;
    if (!configDir_.empty()) std::filesystem::remove_all(configDir_, ignored);
  }

 private:
  TestDesktop() = default;

  // Polls `ready` for up to ten seconds; false at once when the program ended.
  static bool WaitFor(ChildProcess& process, const std::function<bool()>& ready) {
    for (int i = 0; i < 1000; ++i) {
      if (ready()) return true;
      if (!process.Running()) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return ready();
  }

  // A desktop with the usual behaviour: new windows get the focus, a click
  // in a window focuses and raises it (a grab that replays the click to the
  // window), one desktop, no margins.
  bool WriteOpenboxConfig() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qz-desktop-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return false;
    configDir_ = pattern;
    std::ofstream rc(configDir_ / "rc.xml");
    rc << R"(<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <placement><policy>Smart</policy></placement>
  <desktops><number>1</number></desktops>
  <margins><top>0</top><bottom>0</bottom><left>0</left><right>0</right></margins>
  <mouse>
    <context name="Client">
      <mousebind button="Left" action="Press"><action name="Focus"/><action name="Raise"/></mousebind>
      <mousebind button="Middle" action="Press"><action name="Focus"/><action name="Raise"/></mousebind>
      <mousebind button="Right" action="Press"><action name="Focus"/><action name="Raise"/></mousebind>
    </context>
  </mouse>
</openbox_config>
)";
    return static_cast<bool>(rc.flush());
  }

  std::filesystem::path configDir_;
  std::unique_ptr<ChildProcess> windowManager_;
  std::unique_ptr<ChildProcess> compositor_;
  std::unique_ptr<XTestDisplay> x_;  // also holds the wallpaper
  std::string xcompmgr_;
  std::string display_;
};

}  // namespace qz::testing
