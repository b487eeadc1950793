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

namespace {

using namespace qz;
using namespace qz::skinshot;

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

struct TUsageError {
  std::string message;
};

struct TCommandLine {
  std::string Input, Output;
  TShotOptions Shot;
};

TSize ParseSize(const std::string& text) {
  int w = 0, h = 0;
  char x = 0, extra = 0;
  if (std::sscanf(text.c_str(), "%d%c%d%c", &w, &x, &h, &extra) != 3 || (x != 'x' && x != 'X') ||
      w < 1 || h < 1 || w > kLargestSide || h > kLargestSide)
    throw TUsageError{"--size takes WxH with sides from 1 to 4096, not \"" + text + "\""};
  return {w, h};
}

TShotMode ParseMode(const std::string& text) {
  if (text == "frame") return TShotMode::Frame;
  if (text == "client") return TShotMode::Client;
  throw TUsageError{"--mode takes frame or client, not \"" + text + "\""};
}

// The value of an option given as "--name value" or "--name=value"; false
// when args[i] is not that option.
bool OptionValue(const std::vector<std::string>& args, size_t& i, const std::string& name,
                 std::string& value) {
  const std::string& a = args[i];
  if (a == name) {
    if (i + 1 >= args.size()) throw TUsageError{name + " needs a value"};
    value = args[++i];
    return true;
  }
  if (a.rfind(name + "=", 0) == 0) {
    value = a.substr(name.size() + 1);
    return true;
  }
  return false;
}

TCommandLine ParseArgs(const std::vector<std::string>& args) {
  TCommandLine cl;
  std::vector<std::string> files;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    std::string value;
    if (OptionValue(args, i, "--size", value))
      cl.Shot.Size = ParseSize(value);
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
  std::vector<std::string> args(argv + 1, argv + argc);
  for (const std::string& a : args) {
    if (a == "-h" || a == "--help") {
      std::cout << kUsage;
      return 0;
    }
  }
  try {
    return Run(ParseArgs(args));
  } catch (const TUsageError& e) {
    std::cerr << "skinshot: " << e.message << "\n(skinshot --help lists the options)\n";
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "skinshot: error: " << e.what() << "\n";
    return 1;
  }
}
