// The main form resource carries the two packed skins byte for byte: the
// "CompressedData" blocks of qzCompressedStoredSkin1 and 2 are exactly the
// zlib streams the stored skin holder reads from skin.skn and dialog.skn.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "host/base/Stream.h"
#include "tests/skins/DemoSkins.h"

namespace qz {
namespace {

std::string ReadText(const std::string& path) {
  std::vector<uint8_t> bytes = ReadFileBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The bytes of a "{hex ...}" block that starts at `at` (the "{").
std::optional<std::vector<uint8_t>> DecodeBlock(const std::string& text, size_t at) {
  std::vector<uint8_t> out;
  int high = -1;
  for (size_t i = at + 1; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '}') return high < 0 ? std::optional(out) : std::nullopt;
    if (c == ' ' || c == '\r' || c == '\n') continue;
    const int v = HexValue(c);
    if (v < 0) return std::nullopt;
    if (high < 0) {
      high = v;
    } else {
      out.push_back(uint8_t(high * 16 + v));
      high = -1;
    }
  }
  return std::nullopt;
}

// The "CompressedData" block of the object `name` (only its own lines, up to
// its "end").
std::optional<std::vector<uint8_t>> CompressedDataOf(const std::string& form,
                                                     const std::string& name) {
  const std::string header = "object " + name + ":";
  size_t pos = form.find(header);
  if (pos == std::string::npos) return std::nullopt;
  const size_t lineStart = form.rfind('\n', pos) + 1;
  const std::string indent(pos - lineStart, ' ');
  const size_t end = form.find("\n" + indent + "end", pos);
  const size_t prop = form.find("CompressedData = {", pos);
  if (prop == std::string::npos || (end != std::string::npos && prop > end)) return std::nullopt;
  return DecodeBlock(form, form.find('{', prop));
}

class MainFormResource : public ::testing::Test {
 protected:
  static std::string Form() { return ReadText(QZ_UNIT1_FORM); }
};

TEST_F(MainFormResource, CarriesBothSkinsByteForByte) {
  const std::string form = Form();
  const struct {
    const char* object;
    const char* file;
  } skins[] = {{"qzCompressedStoredSkin1", "skin.skn"}, {"qzCompressedStoredSkin2", "dialog.skn"}};
  for (const auto& s : skins) {
    std::optional<std::vector<uint8_t>> block = CompressedDataOf(form, s.object);
    ASSERT_TRUE(block) << s.object << " has no readable CompressedData block in " << QZ_UNIT1_FORM;
    const std::vector<uint8_t>& stream = testing::DemoSkin(s.file).Compressed;
    ASSERT_FALSE(stream.empty()) << s.file;
    EXPECT_EQ(block->size(), stream.size()) << s.object;
    EXPECT_TRUE(*block == stream) << s.object << " differs from the stream of " << s.file;
  }
}

TEST_F(MainFormResource, BlockReaderKeepsToItsOwnObject) {
  const std::string form =
      "object Form1: TForm1\n"
      "  object A: TqzCompressedStoredSkin\n"
      "    FileName = 'a.ini'\n"
      "  end\n"
      "  object B: TqzCompressedStoredSkin\n"
      "    CompressedData = {\n"
      "      78DA01}\n"
      "  end\n"
      "end\n";
  EXPECT_FALSE(CompressedDataOf(form, "A"));
  std::optional<std::vector<uint8_t>> b = CompressedDataOf(form, "B");
  ASSERT_TRUE(b);
  EXPECT_EQ(*b, (std::vector<uint8_t>{0x78, 0xDA, 0x01}));
  EXPECT_FALSE(CompressedDataOf(form, "C"));
}

}  // namespace
}  // namespace qz
