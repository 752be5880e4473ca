#include "image/formats/PngReader.h"

#include <png.h>

#include <cstdio>
#include <cstring>

#include "image/ImageLimits.h"

namespace qz {

namespace {

// Ancillary chunks (text, profiles) a texture does not need are kept small: a chunk
// that declares more than this is refused before libpng reads it.
constexpr png_alloc_size_t kMaxChunkBytes = png_alloc_size_t{8} << 20;
// And few: at most this many of the chunks libpng keeps (text, suggested palettes),
// should one ever be read rather than skipped.
constexpr png_uint_32 kMaxCachedChunks = 100;

uint32_t Big32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 | p[3];
}

// A chunk's type as a message shows it: "tEXt", or "a chunk" when it is no name.
std::string ChunkName(const uint8_t* type) {
  for (int i = 0; i < 4; ++i)
    if (!((type[i] >= 'A' && type[i] <= 'Z') || (type[i] >= 'a' && type[i] <= 'z'))) return "a chunk";
  return "its " + std::string(type, type + 4) + " chunk";
}

// Walks the chunks before libpng sees them: the header's size is checked against the
// bounds, and every chunk's declared length against the bytes the file still holds,
// so no length a file merely claims ever reaches an allocation. The walk ends at IEND,
// or where the bytes end at a chunk boundary (what follows is libpng's to judge).
void CheckChunks(const uint8_t* data, size_t size, const std::string& name) {
  size_t pos = 8;
  bool first = true;
  while (size - pos >= 8) {
    const uint32_t length = Big32(data + pos);
    const uint8_t* type = data + pos + 4;
    const size_t left = size - pos - 8;
    if (uint64_t{length} + 4 > left)
      ThrowImageError(name, "the file is truncated: " + ChunkName(type) + " needs " + std::to_string(uint64_t{length} + 4) +
                                " bytes (its data and checksum), and the file holds " + std::to_string(left) + " more");
    if (first) {
      if (std::memcmp(type, "IHDR", 4) != 0 || length != 13) ThrowImageError(name, "the PNG header is damaged");
      const int64_t width = Big32(type + 4), height = Big32(type + 8);
      CheckImageSize(width, height, name);
      CheckDecodeWork(width * height, std::to_string(width) + " x " + std::to_string(height) + " pixels", name);
      first = false;
    }
    if (std::memcmp(type, "IEND", 4) == 0) return;
    pos += 12 + size_t{length};
  }
}

// libpng reports a fatal error by longjmp: the steps below that arm the jump hold only
// plain data, so no C++ object with a destructor lives between the two points.
struct TPngDecoder {
  png_structp png = nullptr;
  png_infop info = nullptr;
  const uint8_t* data = nullptr;
  size_t size = 0;
  size_t pos = 0;
  char message[200] = {};
  png_uint_32 width = 0, height = 0;
};

void ErrorFn(png_structp png, png_const_charp text) {
  auto* d = static_cast<TPngDecoder*>(png_get_error_ptr(png));
  std::snprintf(d->message, sizeof d->message, "%s", text ? text : "the data is damaged");
  png_longjmp(png, 1);
}

void WarningFn(png_structp, png_const_charp) {}  // warnings change nothing read

void ReadFn(png_structp png, png_bytep out, size_t length) {
  auto* d = static_cast<TPngDecoder*>(png_get_io_ptr(png));
  if (length > d->size - d->pos) png_error(png, "the file is truncated");
  std::memcpy(out, d->data + d->pos, length);
  d->pos += length;
}

// Step 1: the header alone, so the size is checked before anything is allocated.
bool ReadHeader(TPngDecoder* d) {
  d->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, d, ErrorFn, WarningFn);
  if (!d->png) return false;
  if (setjmp(png_jmpbuf(d->png))) return false;
  d->info = png_create_info_struct(d->png);
  if (!d->info) png_error(d->png, "out of memory");
  // libpng's own bounds, beside the walk above: the picture's sides, how many chunks
  // it keeps and how large one may be. A chunk beyond them is a "benign" error that
  // libpng would only warn of and then read anyway; here every error ends the read.
  png_set_user_limits(d->png, MaxDecodedSide, MaxDecodedSide);
  png_set_chunk_cache_max(d->png, kMaxCachedChunks);
  png_set_chunk_malloc_max(d->png, kMaxChunkBytes);
  png_set_benign_errors(d->png, 0);
  // Every ancillary chunk but the transparency (text, colour profiles, gamma,
  // suggested palettes, times) is skipped unread: a texture's pixels are read as
  // stored, and a damaged chunk the picture does not need cannot refuse it.
  png_set_keep_unknown_chunks(d->png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
  png_set_read_fn(d->png, d, ReadFn);
  png_read_info(d->png, d->info);
  d->width = png_get_image_width(d->png, d->info);
  d->height = png_get_image_height(d->png, d->info);
  return true;
}

// Step 2: every picture made 8-bit RGBA, its pixels read into rows of width x 4 bytes.
bool ReadPixels(TPngDecoder* d, png_bytepp rows) {
  if (setjmp(png_jmpbuf(d->png))) return false;
  png_set_expand(d->png);  // palette to RGB, grey below 8 bits to 8, tRNS to alpha
  png_set_strip_16(d->png);
  png_set_gray_to_rgb(d->png);
  png_set_add_alpha(d->png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(d->png);
  png_read_update_info(d->png, d->info);
  if (png_get_rowbytes(d->png, d->info) != size_t{d->width} * 4) png_error(d->png, "unexpected row layout");
  png_read_image(d->png, rows);
  return true;
}

// Over white: what shows through a texture where the picture is transparent.
uint32_t OverWhite(const uint8_t* rgba) {
  const uint32_t a = rgba[3];
  auto channel = [a](uint32_t c) { return (c * a + 255 * (255 - a) + 127) / 255; };
  return RGBToPixel(channel(rgba[0]), channel(rgba[1]), channel(rgba[2]));
}

}  // namespace

TBitmap DecodePng(const uint8_t* data, size_t size, const std::string& name) {
  if (size < 8 || png_sig_cmp(data, 0, 8) != 0) ThrowImageError(name, "it is not a PNG picture");
  CheckChunks(data, size, name);
  TPngDecoder d;
  d.data = data;
  d.size = size;
  struct TRelease {
    TPngDecoder& d;
    ~TRelease() { png_destroy_read_struct(&d.png, &d.info, nullptr); }
  } release{d};
  if (!ReadHeader(&d)) ThrowImageError(name, d.message[0] ? d.message : "the data is damaged");
  // The walk checked the header's size; libpng read the same one.
  const int64_t pixels = int64_t{d.width} * d.height;

  std::vector<uint8_t> buffer(static_cast<size_t>(pixels) * 4);
  std::vector<png_bytep> rows(d.height);
  for (png_uint_32 y = 0; y < d.height; ++y) rows[y] = buffer.data() + size_t{y} * d.width * 4;
  if (!ReadPixels(&d, rows.data())) ThrowImageError(name, d.message[0] ? d.message : "the data is damaged");

  TBitmap image(static_cast<int>(d.width), static_cast<int>(d.height));
  for (png_uint_32 y = 0; y < d.height; ++y) {
    uint32_t* out = image.ScanLine(static_cast<int>(y));
    for (png_uint_32 x = 0; x < d.width; ++x) out[x] = OverWhite(rows[y] + size_t{x} * 4);
  }
  return image;
}

TBitmap DecodePng(const std::vector<uint8_t>& bytes, const std::string& name) {
  return DecodePng(bytes.data(), bytes.size(), name);
}

}  // namespace qz
