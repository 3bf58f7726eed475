// The support pictures' decoder: a good image comes out premultiplied, a
// damaged one is refused without harm.
#include "services/win32/png_picture.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <vector>

namespace {

// 2 x 2 RGBA: opaque red, half-transparent green / transparent blue, white at alpha 64.
const std::uint8_t kTwoByTwo[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44,
    0x52, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x02, 0x08, 0x06, 0x00, 0x00, 0x00, 0x72,
    0xb6, 0x0d, 0x24, 0x00, 0x00, 0x00, 0x15, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9c, 0x63, 0xf8,
    0xcf, 0xc0, 0xf0, 0x1f, 0x08, 0x1b, 0x18, 0xc0, 0xf4, 0xff, 0xff, 0x0e, 0x00, 0x3f, 0x18,
    0x07, 0xba, 0x23, 0x7f, 0x62, 0xe6, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae,
    0x42, 0x60, 0x82};
constexpr std::size_t kIdatType = 37;  // the chunk type; its 0x15 data bytes follow
constexpr std::size_t kIdatData = 41;
constexpr std::size_t kIdatLength = 0x15;
constexpr std::size_t kIhdrWidth = 16;

std::vector<std::uint8_t> good() { return {std::begin(kTwoByTwo), std::end(kTwoByTwo)}; }

// Rewrites the CRC of the chunk whose type starts at typeAt, so only the damage
// inside the chunk is left for the decoder to find.
void fixCrc(std::vector<std::uint8_t>& png, std::size_t typeAt, std::size_t length) {
  const uLong crc = crc32(0, png.data() + typeAt, static_cast<uInt>(4 + length));
  const std::size_t at = typeAt + 4 + length;
  png[at] = static_cast<std::uint8_t>(crc >> 24);
  png[at + 1] = static_cast<std::uint8_t>(crc >> 16);
  png[at + 2] = static_cast<std::uint8_t>(crc >> 8);
  png[at + 3] = static_cast<std::uint8_t>(crc);
}

TEST(PngPicture, DecodesToPremultipliedBgraTopRowFirst) {
  const std::vector<std::uint8_t> png = good();
  DecodedPicture picture;
  ASSERT_TRUE(decodePng(png.data(), png.size(), picture));
  EXPECT_EQ(picture.width, 2);
  EXPECT_EQ(picture.height, 2);
  const std::vector<std::uint32_t> expected{0xFFFF0000u, 0x80008000u, 0x00000000u, 0x40404040u};
  EXPECT_EQ(picture.pixels, expected);
}

struct Damage {
  const char* name;
  std::vector<std::uint8_t> bytes;
};

std::vector<Damage> damagedImages() {
  std::vector<Damage> cases;
  cases.push_back({"empty", {}});
  cases.push_back({"signature only", {std::begin(kTwoByTwo), std::begin(kTwoByTwo) + 8}});
  cases.push_back({"cut in the header", {std::begin(kTwoByTwo), std::begin(kTwoByTwo) + 20}});
  cases.push_back({"cut in the pixel data",
                   {std::begin(kTwoByTwo), std::begin(kTwoByTwo) + kIdatData + 6}});
  std::vector<std::uint8_t> bytes = good();
  bytes[0] = 'X';
  cases.push_back({"wrong signature", bytes});
  bytes = good();
  bytes[kIdatData + 4] ^= 0x5A;
  cases.push_back({"pixel data damaged, checksum wrong", bytes});
  bytes = good();
  bytes[kIdatData] = 0x00;  // no zlib stream any more
  bytes[kIdatData + 3] ^= 0xFF;
  fixCrc(bytes, kIdatType, kIdatLength);
  cases.push_back({"pixel data damaged, checksum right", bytes});
  bytes = good();
  bytes[kIhdrWidth + 1] = 0x01;  // 65538 pixels wide, far past what we accept
  bytes[kIhdrWidth + 3] = 0x02;
  fixCrc(bytes, 12, 13);
  cases.push_back({"absurd width", bytes});
  return cases;
}

TEST(PngPicture, DamagedImagesAreRefusedAndLeaveThePictureEmpty) {
  for (const Damage& damage : damagedImages()) {
    DecodedPicture picture;
    picture.width = 7;
    picture.pixels.assign(3, 1u);
    const bool decoded = decodePng(damage.bytes.data(), damage.bytes.size(), picture);
    EXPECT_FALSE(decoded) << damage.name;
    EXPECT_EQ(picture.width, 0) << damage.name;
    EXPECT_TRUE(picture.pixels.empty()) << damage.name;
  }
}

TEST(PngPicture, NullDataIsRefused) {
  DecodedPicture picture;
  EXPECT_FALSE(decodePng(nullptr, 100, picture));
}

}  // namespace
