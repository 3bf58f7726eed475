// Decodes with the Windows Imaging Component, the decoder the system ships and
// keeps patched, rather than one linked into the program.
#include "services/win32/png_picture.h"

#include <windows.h>
#include <wincodec.h>

#include <new>
#include <utility>

#include "engine/win32/system_library.h"

namespace {

// Far above the two pictures we ship; a header claiming more is treated as damage.
constexpr UINT kMaxSide = 4096;

// Releases a COM interface when it goes out of scope.
template <typename Interface>
class ComPointer {
 public:
  ComPointer() = default;
  ComPointer(const ComPointer&) = delete;
  ComPointer& operator=(const ComPointer&) = delete;
  ~ComPointer() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  Interface** out() { return &pointer_; }
  Interface* get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }

 private:
  Interface* pointer_ = nullptr;
};

// COM from ole32.dll, loaded on the first decode: the pictures are only shown
// in the support window, which most runs never open.
struct Com {
  using InitialiseFunction = HRESULT(WINAPI*)(LPVOID, DWORD);
  using CreateFunction = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
  InitialiseFunction initialise = nullptr;
  CreateFunction create = nullptr;
};

const Com& com() {
  static const Com functions{
      systemFunction<Com::InitialiseFunction>(L"ole32.dll", "CoInitializeEx"),
      systemFunction<Com::CreateFunction>(L"ole32.dll", "CoCreateInstance")};
  return functions;
}

// WIC lives in a COM apartment. The calling thread (the user-interface thread)
// enters one on its first decode and stays in it until the process ends.
bool inComApartment() {
  thread_local const bool entered = [] {
    if (com().initialise == nullptr || com().create == nullptr) return false;
    const HRESULT result =
        com().initialise(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    // A thread already in the multi-threaded apartment can use WIC as it is.
    return SUCCEEDED(result) || result == RPC_E_CHANGED_MODE;
  }();
  return entered;
}

std::uint32_t premultiplied(std::uint32_t bgra) {
  const std::uint32_t alpha = bgra >> 24;
  auto scale = [alpha](std::uint32_t channel) { return (channel * alpha + 127) / 255; };
  return (alpha << 24) | (scale((bgra >> 16) & 0xFF) << 16) | (scale((bgra >> 8) & 0xFF) << 8) |
         scale(bgra & 0xFF);
}

// Straight BGRA from WIC; the premultiplying is ours, so the pixels come out
// the same on every Windows version.
bool decodeInto(const std::uint8_t* data, std::size_t size, DecodedPicture& picture) {
  ComPointer<IWICImagingFactory> factory;
  // The factory Windows 7 has; later versions keep it beside their newer one.
  if (FAILED(com().create(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER,
                          IID_IWICImagingFactory, reinterpret_cast<void**>(factory.out())))) {
    return false;
  }
  ComPointer<IWICStream> stream;
  if (FAILED(factory->CreateStream(stream.out())) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(data), static_cast<DWORD>(size)))) {
    return false;
  }
  // The PNG decoder only: other formats are refused, not handed to other parsers.
  ComPointer<IWICBitmapDecoder> decoder;
  if (FAILED(factory->CreateDecoder(GUID_ContainerFormatPng, nullptr, decoder.out())) ||
      FAILED(decoder->Initialize(stream.get(), WICDecodeMetadataCacheOnDemand))) {
    return false;
  }
  ComPointer<IWICBitmapFrameDecode> frame;
  UINT width = 0;
  UINT height = 0;
  if (FAILED(decoder->GetFrame(0, frame.out())) || FAILED(frame->GetSize(&width, &height)) ||
      width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) {
    return false;
  }
  ComPointer<IWICFormatConverter> converter;
  if (FAILED(factory->CreateFormatConverter(converter.out())) ||
      FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA,
                                   WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom))) {
    return false;
  }
  std::vector<std::uint32_t> pixels;
  try {
    pixels.resize(static_cast<std::size_t>(width) * height);
  } catch (const std::bad_alloc&) {  // the box stays empty
    return false;
  }
  const UINT stride = width * sizeof(std::uint32_t);
  if (FAILED(converter->CopyPixels(nullptr, stride, stride * height,
                                   reinterpret_cast<BYTE*>(pixels.data())))) {
    return false;
  }
  // Bytes B, G, R, A: read as a little-endian word that is 0xAARRGGBB.
  for (std::uint32_t& pixel : pixels) pixel = premultiplied(pixel);
  picture.width = static_cast<std::int32_t>(width);
  picture.height = static_cast<std::int32_t>(height);
  picture.pixels = std::move(pixels);
  return true;
}

}  // namespace

bool decodePng(const std::uint8_t* data, std::size_t size, DecodedPicture& picture) {
  picture = DecodedPicture{};
  if (data == nullptr || size == 0 || size > MAXDWORD) return false;
  if (!inComApartment()) return false;
  return decodeInto(data, size, picture);
}
