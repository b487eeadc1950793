// hello [FILE.skn] [--screenshot FILE.png]: a window dressed by a skin (the
// demo's main skin when none is named), with a skinned button that closes it.
// The components come from the form resource hello.qfm. With --screenshot
// (and QZ_PLATFORM=headless) one frame is written to FILE.png.
#include <cstdio>
#include <exception>
#include <string>

#include "host/platform/Platform.h"
#include "host/platform/headless/HeadlessPlatform.h"
#include "host/ui/Application.h"
#include "host/components/Properties.h"
#include "host/ui/Forms.h"
#include "skin/controls/SkinControl.h"
#include "skin/data/SkinData.h"

namespace qz {

class THelloForm : public TForm {
  QZ_CLASS(THelloForm, TForm)
 public:
  THelloForm(TComponent* owner, const std::string& skinFile) : TForm(owner) {
    SetBorderStyle(bsNone);  // the skin draws the whole window
    InitFromResource();      // creates Skin, Orvane and Button from hello.qfm
    auto* stored = new TqzCompressedStoredSkin(this);
    stored->LoadFromCompressedFile(skinFile);
    auto* skin = FindChild<TqzSkinData>("Skin");
    skin->LoadFromStoredSkin(*stored);
    // The skin is drawn in the client area (SupportNCArea = False), at the
    // size of its picture, with the button in the middle.
    const int w = skin->Picture().Width(), h = skin->Picture().Height();
    if (w > 0 && h > 0) SetClientSize(w, h);
    // A dialog skin calls its button "button", the demo's main skin "button1".
    auto* button = FindChild<TqzSkinControl>("Button");
    for (const char* name : {"button", "button1"})
      if (skin->FindControlIndex(name) >= 0) {
        button->SetSkinDataName(name);
        break;
      }
    button->SetBounds((ClientWidth() - button->Width()) / 2, (ClientHeight() - button->Height()) / 2,
                      button->Width(), button->Height());
    button->OnClick = [this](TObject*) { Close(); };
  }
};

// The form reader sets the form's own properties through its class.
QZ_PUBLISHED(THelloForm, TForm) {}

}  // namespace qz

using namespace qz;

int main(int argc, char** argv) {
  std::string skinFile, screenshot;
#ifdef HELLO_DEFAULT_SKIN
  skinFile = HELLO_DEFAULT_SKIN;
#endif
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--screenshot" && i + 1 < argc) screenshot = argv[++i];
    else if (!arg.starts_with("-")) skinFile = arg;
    else return std::fprintf(stderr, "Usage: hello [FILE.skn] [--screenshot FILE.png]\n"), 2;
  }
  try {
    Application->Initialize();
    THelloForm* form = new THelloForm(Application, skinFile);
    form->Show();
    if (screenshot.empty()) {
      Application->Run();
      return 0;
    }
    auto* headless = dynamic_cast<THeadlessPlatform*>(&Platform());
    if (!headless) throw std::runtime_error("--screenshot needs QZ_PLATFORM=headless");
    for (int ms = 0; ms < 1000; ms += 25) {  // the fade-in's second, on the virtual clock
      Application->ProcessMessages();
      headless->AdvanceClock(25);
    }
    Application->ProcessMessages();
    headless->SaveScreenPng(screenshot);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "hello: %s\n", e.what());
    return 1;
  }
}
