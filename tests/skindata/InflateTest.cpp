// The inflater checks the stream's Adler-32 itself (zlib's check is off):
// it must accept every stream zlib accepts and refuse what zlib's check
// would.
#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <string>

#include "SkinTestData.h"
#include "host/base/Stream.h"
#include "skin/data/SkinData.h"

namespace qz {
namespace {

using testing::SampleSkin;

std::vector<uint8_t> Compress(const std::vector<uint8_t>& data, int level) {
  uLongf size = compressBound(uLong(data.size()));
  std::vector<uint8_t> out(size);
  EXPECT_EQ(compress2(out.data(), &size, data.data(), uLong(data.size()), level), Z_OK);
  out.resize(size);
  return out;
}

std::string InflateError(const std::vector<uint8_t>& z) {
  try {
    InflateSkinStream(z);
  } catch (const ESkinContainerError& e) {
    return e.what();
  }
  return "";
}

TEST(SkinInflater, ChecksumMatchesZlibForEveryLengthAndByte) {
  std::mt19937 rng(7);
  for (size_t n : {0u, 1u, 31u, 32u, 33u, 5535u, 5536u, 5552u, 5553u, 70001u, 1u << 20}) {
    std::vector<uint8_t> random(n), ones(n, 0xFF);
    for (auto& b : random) b = uint8_t(rng());
    for (const auto* data : {&random, &ones}) {
      EXPECT_EQ(InflateSkinStream(Compress(*data, 9)), *data) << n;
      EXPECT_EQ(InflateSkinStream(Compress(*data, 0)), *data) << n;
    }
  }
}

TEST(SkinInflater, DamageOnlyTheChecksumSeesIsRefused) {
  std::vector<uint8_t> data(100000);
  for (size_t i = 0; i < data.size(); ++i) data[i] = uint8_t(i * 31 / 7);
  // Stored blocks: a changed data byte still inflates, only the sum differs.
  std::vector<uint8_t> stored = Compress(data, 0);
  stored[stored.size() / 2] ^= 0x10;
  EXPECT_EQ(InflateError(stored), "The compressed skin stream is damaged: incorrect data check");
  std::vector<uint8_t> trailer = Compress(data, 9);
  trailer.back() ^= 1;
  EXPECT_EQ(InflateError(trailer), "The compressed skin stream is damaged: incorrect data check");
}

TEST(SkinCompressedLoad, AStreamWithAWrongChecksumLoadsNothing) {
  std::vector<uint8_t> z = SampleSkin().Compressed();
  z.back() ^= 0x40;
  TqzSkinData data(nullptr);
  try {
    data.LoadFromCompressedData(z);
    ADD_FAILURE() << "loaded";
  } catch (const ESkinContainerError& e) {
    EXPECT_NE(std::string(e.what()).find("incorrect data check"), std::string::npos) << e.what();
  }
  EXPECT_TRUE(data.Empty());
  EXPECT_TRUE(data.Picture().Empty());
  EXPECT_EQ(data.ActivePictureCount(), 0);
}

}  // namespace
}  // namespace qz
