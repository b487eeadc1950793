// skinpack: builds, inspects and unpacks compressed skin files.
//
//   skinpack build skin.ini out.skn   description + BMPs beside it -> skin file
//   skinpack info file.skn            version, pictures, sections, first text line
//   skinpack extract file.skn dir     pictures (BMP) and the description text
//
// Exit codes: 0 success, 1 failure (message on stderr), 2 wrong usage.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "host/base/Exception.h"
#include "host/base/Stream.h"
#include "host/graphics/BmpCodec.h"
#include "skin/data/SkinContainer.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinIni.h"
#include "tools/common/ToolMain.h"

namespace {

using namespace qz;
using tool::TUsageError;

constexpr const char* kUsage =
    "Usage: skinpack <command> [arguments]\n"
    "\n"
    "Commands:\n"
    "  build <skin.ini> <out.skn>   build a compressed skin file from a description\n"
    "                               file and the BMP files its [PICTURES] names\n"
    "  info <file.skn>              print the versions, pictures, section counts and\n"
    "                               the first line of the description\n"
    "  extract <file.skn> <dir>     write the pictures and the description into dir\n"
    "\n"
    "Options:\n"
    "  -h, --help                   show this help\n"
    "\n"
    "Exit status: 0 on success, 1 on failure, 2 on wrong usage.\n";

// A skin file read into memory: its file version and the inflated container.
struct TLoadedSkin {
  int32_t fileVersion = 0;
  std::vector<uint8_t> container;
  TqzSkinContainer layout;
};

TLoadedSkin LoadSkinFile(const std::string& path) {
  std::vector<uint8_t> bytes = ReadFileBytes(path);
  TLoadedSkin skin;
  std::vector<uint8_t> compressed;
  TBytesStream stream(bytes.data(), bytes.size());
  if (bytes.size() >= 4) std::memcpy(&skin.fileVersion, bytes.data(), 4);
  if (!ReadCompressedSkinFile(stream, compressed))
    throw ESkinContainerError("\"" + path + "\" is not a compressed skin file this tool reads: "
                              "its version field is " + std::to_string(skin.fileVersion) +
                              ", not 0 to 3");
  skin.container = InflateSkinStream(compressed);
  if (!ParseSkinContainer(skin.container, skin.layout))
    throw ESkinContainerError("Container version " + std::to_string(skin.layout.Version) +
                              " is newer than this tool reads (0 to 3)");
  return skin;
}

std::string DescribeBmp(std::span<const uint8_t> bmp) {
  TBmpImage image = DecodeBmp(bmp);
  return std::to_string(image.Width) + " x " + std::to_string(image.Height) + ", " +
         std::to_string(image.BitsPerPixel) + " bits, " + std::to_string(bmp.size()) + " bytes";
}

std::string FirstLine(std::string_view text) {
  size_t end = text.find_first_of("\r\n");
  return std::string(text.substr(0, end));
}

int CommandBuild(const std::string& iniPath, const std::string& outPath) {
  std::string missing;
  auto container = BuildSkinContainerFromFile(iniPath, &missing);
  if (!container)
    throw ESkinContainerError("\"" + iniPath + "\" has no [" + missing + "] section");
  std::vector<uint8_t> compressed = DeflateSkinStream(*container);
  TMemoryStream out;
  WriteCompressedSkinFile(out, compressed);
  out.SaveToFile(outPath);
  std::cout << outPath << ": " << container->size() << " bytes packed into " << compressed.size()
            << "\n";
  return 0;
}

int CommandInfo(const std::string& path) {
  TLoadedSkin skin = LoadSkinFile(path);
  const TqzSkinContainer& c = skin.layout;
  std::cout << "file version:      " << skin.fileVersion << "\n"
            << "container version: " << c.Version << " (" << skin.container.size()
            << " bytes inflated)\n"
            << "pictures:\n";
  for (int s = 0; s < kSkinSlotCount; ++s) {
    auto slot = static_cast<TqzSkinSlot>(s);
    if (!SkinSlotPresent(c.Version, slot)) continue;
    std::printf("  %-16s %s\n", SkinSlotName(slot),
                c.Slots[s].empty() ? "empty" : DescribeBmp(c.Slots[s]).c_str());
  }
  std::cout << "active pictures:   " << c.ActivePictures.size() << "\n";
  for (size_t i = 0; i < c.ActivePictures.size(); ++i)
    std::printf("  %-16zu %s\n", i, DescribeBmp(c.ActivePictures[i]).c_str());

  TqzIniFile ini(c.Text);
  std::cout << "sections:          " << ini.SectionCount() << "\n";
  for (const char* list : {"SKINCONTROLS", "SKINOBJECTS", "SKINAREAS"}) {
    size_t n = TqzIniReader(ini, list).StringList("").size();
    std::printf("  %-16s %zu entries\n", list, n);
  }
  std::cout << "first line:        " << FirstLine(c.Text) << "\n";
  return 0;
}

// A file name from the description, reduced to its last part so that an
// extracted file can never land outside the target folder.
std::string SafeFileName(const std::string& name, const std::string& fallback) {
  std::string base = std::filesystem::path(name).filename().string();
  if (base.empty() || base == "." || base == "..") return fallback;
  for (char ch : base)
    if (ch == '/' || ch == '\\' || ch == ':' || static_cast<unsigned char>(ch) < 32) return fallback;
  return base;
}

int CommandExtract(const std::string& path, const std::string& dir) {
  TLoadedSkin skin = LoadSkinFile(path);
  const TqzSkinContainer& c = skin.layout;
  TqzIniFile ini(c.Text);
  TqzIniReader pictures(ini, "PICTURES");
  std::filesystem::create_directories(dir);
  auto write = [&](const std::string& name, std::span<const uint8_t> bytes) {
    std::string target = (std::filesystem::path(dir) / name).string();
    WriteFileBytes(target, bytes);
    std::cout << target << "\n";
  };
  for (int s = 0; s < kSkinSlotCount; ++s) {
    if (c.Slots[s].empty()) continue;
    const char* key = SkinSlotName(static_cast<TqzSkinSlot>(s));
    write(SafeFileName(pictures.String(key), std::string(key) + ".bmp"), c.Slots[s]);
  }
  std::vector<std::string> names = pictures.StringList("activepictures");
  for (size_t i = 0; i < c.ActivePictures.size(); ++i) {
    std::string fallback = "activepicture" + std::to_string(i) + ".bmp";
    write(SafeFileName(i < names.size() ? names[i] : "", fallback), c.ActivePictures[i]);
  }
  write("skin.ini", {reinterpret_cast<const uint8_t*>(c.Text.data()), c.Text.size()});
  return 0;
}

int Run(const std::vector<std::string>& args) {
  if (args.empty()) throw TUsageError{"no command given"};
  const std::string& cmd = args[0];
  auto need = [&](size_t n) {
    if (args.size() != n + 1)
      throw TUsageError{"\"" + cmd + "\" takes " + std::to_string(n) + " argument" +
                        (n == 1 ? "" : "s")};
  };
  if (cmd == "build") {
    need(2);
    return CommandBuild(args[1], args[2]);
  }
  if (cmd == "info") {
    need(1);
    return CommandInfo(args[1]);
  }
  if (cmd == "extract") {
    need(2);
    return CommandExtract(args[1], args[2]);
  }
  throw TUsageError{"unknown command \"" + cmd + "\""};
}

}  // namespace

int main(int argc, char** argv) { return qz::tool::ToolMain(argc, argv, {"skinpack", kUsage}, Run); }
