// formembed: puts compressed skins and pictures into a form resource.
//
//   formembed <template.qfm> <out.qfm> NAME=file.skn|file.bmp ...
//
// Every value "{@NAME}" of the template becomes the binary block of the zlib
// stream held in the compressed skin file given for NAME (what a
// TqzCompressedStoredSkin stores as "CompressedData"), or for a ".bmp" file
// the picture as a bitmap property stores it (a TBitmap's "Icon" or
// "Bitmap": its length, then the file). A placeholder without
// a file, or a file given for no placeholder, is an error: the form must
// never be built with a skin missing.
#include <exception>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "host/base/Stream.h"
#include "host/graphics/Bitmap.h"
#include "skin/data/SkinData.h"

namespace {

constexpr const char* kUsage =
    "usage: formembed <template.qfm> <out.qfm> NAME=file.skn|file.bmp ...\n"
    "  Replaces each \"{@NAME}\" of the template by the zlib stream of the\n"
    "  compressed skin file given for NAME, or by the picture of a .bmp file\n"
    "  as a bitmap property stores it, as a form resource binary block.\n";

struct TUsageError {
  std::string message;
};

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The block as the form resource writer lays it out: 32 bytes per line,
// indented one level deeper than the property.
std::string HexBlock(const std::vector<uint8_t>& bytes, const std::string& indent) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out = "{";
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i % 32 == 0) out += "\n" + indent + "  ";
    out += kHex[bytes[i] >> 4];
    out += kHex[bytes[i] & 15];
  }
  return out + "}";
}

bool IsBitmapFile(const std::string& path) {
  return path.size() > 4 && path.compare(path.size() - 4, 4, ".bmp") == 0;
}

std::vector<uint8_t> StreamOf(const std::string& path) {
  if (IsBitmapFile(path)) {
    // Read and written again: a broken picture stops the build here.
    qz::TBitmap picture;
    picture.LoadFromFile(path);
    if (picture.Empty()) throw std::runtime_error(path + ": no picture in the file");
    qz::TMemoryStream stream;
    picture.WriteData(stream);
    return stream.Data();
  }
  qz::TqzCompressedStoredSkin holder(nullptr);
  holder.LoadFromCompressedFile(path);
  if (holder.Empty()) throw std::runtime_error(path + ": no skin in the file");
  return holder.CompressedData();
}

std::string Indentation(const std::string& text, size_t at) {
  size_t lineStart = text.rfind('\n', at);
  lineStart = lineStart == std::string::npos ? 0 : lineStart + 1;
  size_t end = lineStart;
  while (end < text.size() && text[end] == ' ') ++end;
  return text.substr(lineStart, end - lineStart);
}

int Run(int argc, char** argv) {
  if (argc < 4) throw TUsageError{"expected a template, an output and at least one NAME=file"};
  std::map<std::string, std::string> files;
  for (int i = 3; i < argc; ++i) {
    std::string arg = argv[i];
    size_t eq = arg.find('=');
    if (eq == std::string::npos || eq == 0) throw TUsageError{"\"" + arg + "\" is not NAME=file"};
    files[arg.substr(0, eq)] = arg.substr(eq + 1);
  }
  std::string text = ReadText(argv[1]);
  std::map<std::string, int> used;
  for (size_t at = text.find("{@"); at != std::string::npos; at = text.find("{@", at)) {
    size_t close = text.find('}', at);
    if (close == std::string::npos) throw std::runtime_error("unterminated placeholder in template");
    std::string name = text.substr(at + 2, close - at - 2);
    auto it = files.find(name);
    if (it == files.end()) throw std::runtime_error("no file given for placeholder {@" + name + "}");
    std::string block = HexBlock(StreamOf(it->second), Indentation(text, at));
    text.replace(at, close + 1 - at, block);
    at += block.size();
    ++used[name];
  }
  for (const auto& [name, file] : files)
    if (!used.count(name)) throw std::runtime_error("the template has no placeholder {@" + name + "}");
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out << text;
  if (!out) throw std::runtime_error(std::string("cannot write ") + argv[2]);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "-h" || a == "--help") {
      std::cout << kUsage;
      return 0;
    }
  }
  try {
    return Run(argc, argv);
  } catch (const TUsageError& e) {
    std::cerr << "formembed: " << e.message << "\n\n" << kUsage;
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "formembed: error: " << e.what() << "\n";
    return 1;
  }
}
