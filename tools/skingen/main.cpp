// skingen: paints the demo skins and writes their description files and
// BMPs, ready for `skinpack build`.
//
//   skingen <dir>     writes <dir>/skin/skin.ini and <dir>/dialog/dialog.ini
//                     with the pictures beside them, and the program's icon
//                     <dir>/appicon.bmp
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

#include "host/graphics/Bitmap.h"
#include "skins/Skins.h"

namespace {

constexpr const char* kUsage =
    "usage: skingen <dir> [--preview <pngdir>]\n"
    "  Paints the two demo skins and writes <dir>/skin/skin.ini and\n"
    "  <dir>/dialog/dialog.ini with their BMP pictures beside them, and\n"
    "  the program's icon as <dir>/appicon.bmp (32 x 32, with alpha).\n"
    "  --preview also writes every picture as a PNG into <pngdir>/skin and\n"
    "  <pngdir>/dialog.\n";

// The icon as a 32-bit BMP with its alpha, as a form resource streams it.
void WriteAppIcon(const std::filesystem::path& path) {
  qz::TBitmap icon;
  icon.SetPixelFormat(qz::pf32bit);
  icon.SetSize(32, 32);
  icon.Pixels() = qz::skingen::PaintAppIcon(32);
  icon.SetAlphaPresent(true);
  icon.Modified();
  icon.SaveToFile(path.string());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::string(argv[1]) == "-h" || std::string(argv[1]) == "--help")) {
    std::cout << kUsage;
    return 0;
  }
  if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--preview")) {
    std::cerr << "skingen: expected one output folder\n\n" << kUsage;
    return 2;
  }
  try {
    std::filesystem::path dir = argv[1];
    auto mainSkin = qz::skingen::BuildMainSkin();
    auto dialogSkin = qz::skingen::BuildDialogSkin();
    mainSkin->Save(dir / "skin");
    dialogSkin->Save(dir / "dialog");
    WriteAppIcon(dir / "appicon.bmp");
    if (argc == 4) {
      std::filesystem::path previews = argv[3];
      mainSkin->SavePreviews(previews / "skin");
      dialogSkin->SavePreviews(previews / "dialog");
    }
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "skingen: error: " << e.what() << "\n";
    return 1;
  }
}
