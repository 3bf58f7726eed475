// The support pictures' decoder: a good image comes out premultiplied, a
// damaged one or another format is refused without harm, and the two pictures
// the program ships decode at their natural sizes.
#include "services/win32/png_picture.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
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

// A 1 x 1 BMP, a format the system decodes but a PNG box must not take.
const std::uint8_t kBmp[] = {
    0x42, 0x4d, 0x3a, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x36, 0x00, 0x00, 0x00, 0x28,
    0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x18, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x13, 0x0b, 0x00, 0x00, 0x13, 0x0b, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xff, 0x00};

std::vector<std::uint8_t> good() { return {std::begin(kTwoByTwo), std::end(kTwoByTwo)}; }

// PNG's chunk checksum: CRC-32 with the reflected polynomial 0xEDB88320.
std::uint32_t crc32Of(const std::uint8_t* bytes, std::size_t length) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < length; ++i) {
    crc ^= bytes[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

// Rewrites the CRC of the chunk whose type starts at typeAt, so only the damage
// inside the chunk is left for the decoder to find.
void fixCrc(std::vector<std::uint8_t>& png, std::size_t typeAt, std::size_t length) {
  const std::uint32_t crc = crc32Of(png.data() + typeAt, 4 + length);
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
  cases.push_back({"a BMP, not a PNG", {std::begin(kBmp), std::end(kBmp)}});
  return cases;
}

TEST(PngPicture, DamagedImagesAreRefusedAndLeaveThePictureEmpty) {
  // The damage with a right checksum needs fixCrc to compute what the image carries.
  std::vector<std::uint8_t> refixed = good();
  fixCrc(refixed, kIdatType, kIdatLength);
  fixCrc(refixed, 12, 13);
  ASSERT_EQ(refixed, good());

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

// The build folder is build/windows in the source tree: the pictures are two folders up.
std::vector<std::uint8_t> shippedPicture(const std::wstring& name) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring file(path, length);
  file.erase(file.find_last_of(L"\\/") + 1);
  file += L"..\\..\\resources\\" + name;
  std::ifstream in(file.c_str(), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(PngPicture, TheShippedPicturesDecodeAtTheirNaturalSizes) {
  struct Shipped {
    const wchar_t* name;
    std::int32_t width, height;
  };
  for (const Shipped& shipped : {Shipped{L"thanks_card.png", 200, 300},
                                 Shipped{L"support_card.png", 200, 271}}) {
    const std::vector<std::uint8_t> png = shippedPicture(shipped.name);
    ASSERT_FALSE(png.empty()) << "resources/ not found beside the build folder";
    DecodedPicture picture;
    ASSERT_TRUE(decodePng(png.data(), png.size(), picture));
    EXPECT_EQ(picture.width, shipped.width);
    EXPECT_EQ(picture.height, shipped.height);
    EXPECT_EQ(picture.pixels.size(), static_cast<std::size_t>(shipped.width) * shipped.height);
  }
}

}  // namespace
