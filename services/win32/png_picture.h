// Decodes the support window's PNG pictures into 32-bit premultiplied pixels,
// the form AlphaBlend draws.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct DecodedPicture {
  std::int32_t width = 0;
  std::int32_t height = 0;
  // Top row first; each pixel B, G, R, A in memory, colours premultiplied by alpha.
  std::vector<std::uint32_t> pixels;
};

// A damaged or absurdly large image gives false and leaves picture empty.
bool decodePng(const std::uint8_t* data, std::size_t size, DecodedPicture& picture);
