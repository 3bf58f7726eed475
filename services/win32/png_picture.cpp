#include "services/win32/png_picture.h"

#include <png.h>

#include <utility>

namespace {

// Far above the two pictures we ship; a header claiming more is treated as damage.
constexpr png_uint_32 kMaxSide = 4096;

std::uint32_t premultiplied(std::uint32_t bgra) {
  const std::uint32_t alpha = bgra >> 24;
  auto scale = [alpha](std::uint32_t channel) { return (channel * alpha + 127) / 255; };
  return (alpha << 24) | (scale((bgra >> 16) & 0xFF) << 16) | (scale((bgra >> 8) & 0xFF) << 8) |
         scale(bgra & 0xFF);
}

}  // namespace

bool decodePng(const std::uint8_t* data, std::size_t size, DecodedPicture& picture) {
  picture = DecodedPicture{};
  if (data == nullptr || size == 0) return false;

  // The simplified API keeps libpng's longjmp error handling inside libpng.
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data, size)) return false;
  if (image.width == 0 || image.height == 0 || image.width > kMaxSide ||
      image.height > kMaxSide) {
    png_image_free(&image);
    return false;
  }

  image.format = PNG_FORMAT_BGRA;
  std::vector<std::uint32_t> pixels;
  try {
    pixels.resize(static_cast<std::size_t>(image.width) * image.height);
  } catch (...) {  // out of memory: the box stays empty
    png_image_free(&image);
    return false;
  }
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  // finish_read hands back bytes B, G, R, A; read as a little-endian word that is 0xAARRGGBB.
  for (std::uint32_t& pixel : pixels) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&pixel);
    pixel = premultiplied(static_cast<std::uint32_t>(bytes[0]) |
                          (static_cast<std::uint32_t>(bytes[1]) << 8) |
                          (static_cast<std::uint32_t>(bytes[2]) << 16) |
                          (static_cast<std::uint32_t>(bytes[3]) << 24));
  }
  picture.width = static_cast<std::int32_t>(image.width);
  picture.height = static_cast<std::int32_t>(image.height);
  picture.pixels = std::move(pixels);
  return true;
}
