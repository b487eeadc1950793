// skinshot: writes one PNG of a skin's window look, or of its hit map.
//
//   skinshot <file.skn> <out.png> [--size WxH] [--mode frame|client]
//            [--inactive] [--rolled-up] [--hitmap]
//
// The rendering itself is tools/skinshot/SkinShot.h: a real skinned form on
// the headless platform. This file reads the options and the skin file and
// writes the result.
//
// Exit codes: 0 success, 1 failure (message on stderr), 2 wrong usage.
#include "tools/skinshot/SkinShot.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/base/Exception.h"
#include "host/graphics/PngWriter.h"
#include "skin/data/SkinData.h"
#include "tools/common/ToolMain.h"

namespace {

using namespace qz;
using namespace qz::skinshot;
using tool::OptionValue;
using tool::TUsageError;

constexpr const char* kUsage =
    "Usage: skinshot <file.skn> <out.png> [options]\n"
    "\n"
    "Shows a form dressed with a compressed skin file on a headless screen and\n"
    "writes a PNG of its window: what the screen shows over the window (over its\n"
    "whole layered frame when that frame draws the caption), with a checkerboard\n"
    "where the desktop shows through, or with --hitmap the window's hit-test\n"
    "answer at every pixel and a legend strip below.\n"
    "\n"
    "Options:\n"
    "  --size WxH          window size (frame mode) or client size (client mode),\n"
    "                      1 to 4096 a side; default: the picture's size\n"
    "  --mode frame|client the skin in the window's frame or drawn in its client\n"
    "                      area (default: frame)\n"
    "  --inactive          another window is active\n"
    "  --rolled-up         the window rolled up (fails when the skin refuses it)\n"
    "  --hitmap            write the hit map instead of the look\n"
    "  -h, --help          show this help\n"
    "\n"
    "Hit map colours: client white, caption blue #0000FF, object magenta #FF00FF,\n"
    "left red #FF0000, right dark red #800000, top green #00FF00, bottom dark green\n"
    "#008000, top-left yellow #FFFF00, top-right cyan #00FFFF, bottom-left orange\n"
    "#FF8000, bottom-right violet #8000FF, outside the window black.\n"
    "\n"
    "Exit status: 0 on success, 1 on failure, 2 on wrong usage.\n";

struct TCommandLine {
  std::string Input, Output;
  TShotOptions Shot;
};

TShotMode ParseMode(const std::string& text) {
  if (text == "frame") return TShotMode::Frame;
  if (text == "client") return TShotMode::Client;
  throw TUsageError{"--mode takes frame or client, not \"" + text + "\""};
}

TCommandLine ParseArgs(const std::vector<std::string>& args) {
  TCommandLine cl;
  std::vector<std::string> files;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    std::string value;
    if (OptionValue(args, i, "--size", value))
      cl.Shot.Size = tool::ParseSizeOption("--size", value, kLargestSide);
    else if (OptionValue(args, i, "--mode", value))
      cl.Shot.Mode = ParseMode(value);
    else if (a == "--inactive")
      cl.Shot.Inactive = true;
    else if (a == "--rolled-up")
      cl.Shot.RolledUp = true;
    else if (a == "--hitmap")
      cl.Shot.HitMap = true;
    else if (a.size() > 1 && a[0] == '-')
      throw TUsageError{"unknown option \"" + a + "\""};
    else
      files.push_back(a);
  }
  if (files.size() != 2) throw TUsageError{"expected a skin file and an output PNG"};
  cl.Input = files[0];
  cl.Output = files[1];
  return cl;
}

// The zlib stream of a compressed skin file.
std::vector<uint8_t> ReadSkinFile(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec))
    throw EReadError("\"" + path + "\" does not exist or is not a file");
  TqzCompressedStoredSkin holder(nullptr);
  holder.LoadFromCompressedFile(path);
  if (holder.Empty())
    throw EReadError("\"" + path + "\" is not a compressed skin file this tool reads");
  return holder.CompressedData();
}

int Run(TCommandLine cl) {
  const std::vector<uint8_t> skin = ReadSkinFile(cl.Input);
  cl.Shot.Caption = std::filesystem::path(cl.Input).stem().string();
  TPixmap picture;
  try {
    picture = RenderSkinShot(skin, cl.Shot);
  } catch (const EReadError& e) {
    throw EReadError("\"" + cl.Input + "\": " + e.what());
  }
  SavePng(picture, cl.Output, false);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  return qz::tool::ToolMain(argc, argv, {"skinshot", kUsage, /*UsageAfterError=*/false},
                            [](const std::vector<std::string>& args) { return Run(ParseArgs(args)); });
}
