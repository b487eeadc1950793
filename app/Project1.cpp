// Program entry: initialise the application, create the main window, run the
// message loop until it closes. The second window stays hidden until it is
// shown modally. On the headless platform (no display) the
// windows are painted once and written as PNG files instead.
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "host/platform/Platform.h"
#include "host/platform/headless/HeadlessPlatform.h"
#include "host/ui/Application.h"

using namespace qz;

namespace {

int WriteHeadlessScreens() {
  auto* headless = dynamic_cast<THeadlessPlatform*>(&Platform());
  if (!headless) return 0;
  // A second of the virtual clock lets the window's fade-in finish.
  Application->ProcessMessages();
  for (int ms = 0; ms < 1000; ms += 25) {
    headless->AdvanceClock(25);
    Application->ProcessMessages();
  }
  const std::filesystem::path dir = std::filesystem::absolute("out");
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "screen.png").string();
  headless->SaveScreenPng(path);
  std::printf("No display: the windows were drawn headlessly into %s\n", path.c_str());
  return 0;
}

}  // namespace

int main() {
  try {
    Application->Initialize();
    TForm1* Form1 = nullptr;
    Application->CreateForm(Form1);
    // The second window names the first one's skin data, so it comes second.
    TForm2* Form2 = nullptr;
    Application->CreateForm(Form2);
    if (std::string(Platform().Name()) == "headless") {
      Form1->Show();
      return WriteHeadlessScreens();
    }
    Application->Run();
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Project1: %s\n", e.what());
    return 1;
  }
}
