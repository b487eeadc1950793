// Writes the five tool-button images of the file dialogs as PNG files:
//   pngtoolimages <output folder>
// producing QZ_BACK_PNG.png, QZ_UP_PNG.png, QZ_NEWFOLDER_PNG.png,
// QZ_LVSTYLE_PNG.png and QZ_STRETCH_PNG.png (16 x 16, colour type 6), for
// the build to embed as program resources of the same names.
#include <cstdio>
#include <exception>
#include <string>

#include "host/base/Stream.h"
#include "skin/draw/ToolImages.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  try {
    for (qz::TqzToolImage image : qz::kToolImages) {
      std::string path = std::string(argv[1]) + "/" + qz::ToolImageResourceName(image) + ".png";
      qz::WriteFileBytes(path, qz::EncodeToolImage(image));
      std::printf("%s\n", path.c_str());
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "pngtoolimages: %s\n", e.what());
    return 1;
  }
  return 0;
}
