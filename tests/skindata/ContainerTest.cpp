// The stored skin container, the zlib stream and the compressed skin file.
#include <gtest/gtest.h>

#include <cstring>

#include "SkinTestData.h"
#include "skin/data/SkinContainer.h"

namespace qz {
namespace {

using testing::SolidBmp;
using testing::TTestSkin;

TTestSkin AllSlotsSkin(int32_t version) {
  TTestSkin s;
  for (int i = 0; i < kSkinSlotCount; ++i) s.slots[i] = SolidBmp(3 + i, 2, 0x010203 * (i + 1));
  s.active.push_back(SolidBmp(4, 4, 0xABCDEF));
  s.text = "[trackbar]\r\nx=1\r\n";
  s.version = version;
  return s;
}

TEST(SkinContainer, EachVersionCarriesItsSlots) {
  // version -> slots present, in container order
  const std::vector<std::vector<TqzSkinSlot>> expected = {
      {ssPicture, ssMask},
      {ssPicture, ssMask, ssRollUpPicture, ssRollUpMask},
      {ssPicture, ssInactivePicture, ssMask, ssRollUpPicture, ssRollUpMask},
      {ssPicture, ssInactivePicture, ssMask},
  };
  for (int32_t v = 0; v <= 3; ++v) {
    TTestSkin skin = AllSlotsSkin(v);
    std::vector<uint8_t> bytes = skin.Container();
    size_t size = 4 + 4 + skin.active[0].size() + skin.text.size();
    for (TqzSkinSlot slot : expected[v]) size += 1 + skin.slots[slot].size();
    EXPECT_EQ(bytes.size(), size) << "version " << v;

    TqzSkinContainer c;
    ASSERT_TRUE(ParseSkinContainer(bytes, c));
    EXPECT_EQ(c.Version, v);
    for (int i = 0; i < kSkinSlotCount; ++i) {
      auto slot = static_cast<TqzSkinSlot>(i);
      bool present = std::find(expected[v].begin(), expected[v].end(), slot) != expected[v].end();
      EXPECT_EQ(SkinSlotPresent(v, slot), present);
      if (present) {
        ASSERT_EQ(c.Slots[i].size(), skin.slots[i].size()) << v << " " << i;
        EXPECT_EQ(0, std::memcmp(c.Slots[i].data(), skin.slots[i].data(), c.Slots[i].size()));
      } else {
        EXPECT_TRUE(c.Slots[i].empty());
      }
    }
    ASSERT_EQ(c.ActivePictures.size(), 1u);
    EXPECT_EQ(c.Text, skin.text);
  }
}

TEST(SkinContainer, EmptySlotsAndNoActivePictures) {
  TTestSkin s;
  s.slots[ssPicture] = SolidBmp(2, 2, 0);
  s.text = "";
  std::vector<uint8_t> bytes = s.Container();
  // version, flag 0 + BMP, four flags 1, count 0.
  EXPECT_EQ(bytes.size(), 4 + 1 + s.slots[0].size() + 4 + 4);
  TqzSkinContainer c;
  ASSERT_TRUE(ParseSkinContainer(bytes, c));
  EXPECT_FALSE(c.Slots[ssPicture].empty());
  EXPECT_TRUE(c.Slots[ssMask].empty());
  EXPECT_TRUE(c.ActivePictures.empty());
  EXPECT_TRUE(c.Text.empty());
}

TEST(SkinContainer, NewerVersionIsNotReadAndBrokenOnesAreRejected) {
  std::vector<uint8_t> bytes = AllSlotsSkin(2).Container();
  TqzSkinContainer c;
  int32_t v4 = 4;
  std::vector<uint8_t> newer = bytes;
  std::memcpy(newer.data(), &v4, 4);
  EXPECT_FALSE(ParseSkinContainer(newer, c));
  EXPECT_EQ(c.Version, 4);

  int32_t negative = -1;
  std::vector<uint8_t> neg = bytes;
  std::memcpy(neg.data(), &negative, 4);
  EXPECT_THROW(ParseSkinContainer(neg, c), ESkinContainerError);

  // Every truncation before the text is an error naming the offset; none reads past the end.
  size_t textStart = bytes.size() - std::strlen("[trackbar]\r\nx=1\r\n");
  for (size_t n = 0; n < textStart; n += (n < 80 ? 1 : 7)) {
    std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + n);
    EXPECT_THROW(ParseSkinContainer(cut, c), ESkinContainerError) << n;
  }
  // A slot flag of 0 followed by something that is not a bitmap.
  TTestSkin s;
  s.slots[ssPicture] = SolidBmp(2, 2, 0);
  std::vector<uint8_t> notBmp = s.Container();
  notBmp[5] = 'X';
  try {
    ParseSkinContainer(notBmp, c);
    FAIL();
  } catch (const ESkinContainerError& e) {
    EXPECT_NE(std::string(e.what()).find("picture"), std::string::npos) << e.what();
  }
}

TEST(SkinContainer, AbsurdActivePictureCountIsRefusedBeforeAllocating) {
  TTestSkin s;
  s.text = "tail";
  std::vector<uint8_t> bytes = s.Container();
  // The count sits right before the text.
  size_t countPos = bytes.size() - 4 - 4;
  for (int32_t count : {2000000000, -7, 1}) {
    std::vector<uint8_t> b = bytes;
    std::memcpy(b.data() + countPos, &count, 4);
    TqzSkinContainer c;
    EXPECT_THROW(ParseSkinContainer(b, c), ESkinContainerError) << count;
  }
}

TEST(SkinStream, DeflateWritesLevelNineAndInflateChecksTheStream) {
  std::vector<uint8_t> data(100000);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7 / 13);
  std::vector<uint8_t> z = DeflateSkinStream(data);
  ASSERT_GE(z.size(), 2u);
  EXPECT_EQ(z[0], 0x78);
  EXPECT_EQ(z[1], 0xDA);
  EXPECT_EQ(InflateSkinStream(z), data);

  std::vector<uint8_t> truncated(z.begin(), z.begin() + z.size() / 2);
  EXPECT_THROW(InflateSkinStream(truncated), ESkinContainerError);
  std::vector<uint8_t> damaged = z;
  damaged[0] = 0x12;
  EXPECT_THROW(InflateSkinStream(damaged), ESkinContainerError);
  EXPECT_THROW(InflateSkinStream({}), ESkinContainerError);
  // A stream that inflates beyond the limit stops at the limit.
  std::vector<uint8_t> zeros(1 << 20, 0);
  EXPECT_THROW(InflateSkinStream(DeflateSkinStream(zeros), 1 << 16), ESkinContainerError);
}

TEST(CompressedSkinFile, LayoutAndVersions) {
  std::vector<uint8_t> z = DeflateSkinStream(AllSlotsSkin(2).Container());
  TMemoryStream out;
  WriteCompressedSkinFile(out, z);
  const auto& bytes = out.Data();
  ASSERT_EQ(bytes.size(), 8 + z.size());
  int32_t version, length;
  std::memcpy(&version, bytes.data(), 4);
  std::memcpy(&length, bytes.data() + 4, 4);
  EXPECT_EQ(version, 2);
  EXPECT_EQ(length, static_cast<int32_t>(z.size()));

  std::vector<uint8_t> back;
  TBytesStream in(bytes.data(), bytes.size());
  ASSERT_TRUE(ReadCompressedSkinFile(in, back));
  EXPECT_EQ(back, z);

  std::vector<uint8_t> newer = bytes;
  newer[0] = 4;
  TBytesStream in4(newer.data(), newer.size());
  EXPECT_FALSE(ReadCompressedSkinFile(in4, back));
  EXPECT_TRUE(back.empty());

  std::vector<uint8_t> lying = bytes;
  lying[4] = 0xFF;
  lying[5] = 0xFF;
  lying[6] = 0xFF;
  lying[7] = 0x7F;
  TBytesStream in5(lying.data(), lying.size());
  EXPECT_THROW(ReadCompressedSkinFile(in5, back), ESkinContainerError);
  TBytesStream in6(bytes.data(), 6);
  EXPECT_THROW(ReadCompressedSkinFile(in6, back), ESkinContainerError);
}

}  // namespace
}  // namespace qz
