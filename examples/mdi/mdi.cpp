// mdi [--skins DIR] [--children N] [--screenshot FILE.png]: a skinned MDI
// main form with a tabs bar; the add button at the end of the tabs makes a
// new document. DIR holds the demo's two packed skins (the installed ones
// when none is named): dialog.skn dresses the frame and the documents,
// skin.skn the menu bar and the tabs.
// With --screenshot (and QZ_PLATFORM=headless) one frame is written to
// FILE.png after N documents (default 3) were made.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <string>

#include "MDIMainForm.h"
#include "host/platform/Platform.h"
#include "host/platform/headless/HeadlessPlatform.h"
#include "host/ui/Application.h"
#include "skin/data/SkinData.h"

using namespace qz;

namespace {

// A skin data component holding the packed skin of `file`.
TqzSkinData* LoadSkin(TComponent* owner, const std::string& file) {
  auto* stored = new TqzCompressedStoredSkin(owner);
  stored->LoadFromCompressedFile(file);
  auto* skin = new TqzSkinData(owner);
  skin->LoadFromStoredSkin(*stored);
  return skin;
}

}  // namespace

int main(int argc, char** argv) {
  std::string skins, screenshot;
  int children = 3;
#ifdef MDI_SKINS_DIR
  skins = MDI_SKINS_DIR;
#endif
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool value = i + 1 < argc;
    if (arg == "--skins" && value) skins = argv[++i];
    else if (arg == "--children" && value) children = std::atoi(argv[++i]);
    else if (arg == "--screenshot" && value) screenshot = argv[++i];
    else
      return std::fprintf(stderr,
                          "Usage: mdi [--skins DIR] [--children N] [--screenshot FILE.png]\n"),
             2;
  }
  try {
    Application->Initialize();
    // The skins live as long as the program: owned by the application.
    TqzSkinData* dialog = LoadSkin(Application, skins + "/dialog.skn");
    TqzSkinData* bars = LoadSkin(Application, skins + "/skin.skn");
    auto* form = new mdiexample::TMDIMainForm(Application, dialog, bars, dialog);
    form->Show();
    for (int i = 0; i < children; ++i) form->NewChild();
    if (screenshot.empty()) {
      Application->Run();
      return 0;
    }
    auto* headless = dynamic_cast<THeadlessPlatform*>(&Platform());
    if (!headless) throw std::runtime_error("--screenshot needs QZ_PLATFORM=headless");
    for (int ms = 0; ms < 1000; ms += 25) {
      Application->ProcessMessages();
      headless->AdvanceClock(25);
    }
    Application->ProcessMessages();
    headless->SaveScreenPng(screenshot);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mdi: %s\n", e.what());
    return 1;
  }
}
