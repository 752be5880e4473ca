#include "platform/JpegReader.h"

// jpeglib.h uses FILE without including its header.
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>

#include <bit>
#include <csetjmp>
#include <cstring>

#include "platform/ImageLimits.h"

namespace qz {

namespace {

static_assert(std::endian::native == std::endian::little,
              "JCS_EXT_BGRX rows are TBitmap rows only on a little-endian machine");

// A hostile progressive file can ask for thousands of passes over the whole picture.
constexpr int kMaxScans = 1000;
// libjpeg's own memory (coefficient buffers of progressive files), beyond the pixels.
constexpr long kMaxDecoderMemory = 1L << 30;

// libjpeg reports a fatal error by calling error_exit, which must not return. Ours
// jumps back into the decoding step that armed the jump, which then returns false.
// No C++ object with a destructor lives in any frame between the two points: the
// steps below hold only plain data, and libjpeg is C.
struct TJpegError {
  jpeg_error_mgr pub;  // first, so libjpeg's pointer is also ours
  jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

struct TJpegDecoder {
  jpeg_decompress_struct info;
  TJpegError error;
  jpeg_progress_mgr progress;
  bool created;
};

[[noreturn]] void JumpWithMessage(j_common_ptr cinfo, const char* text) {
  TJpegError* err = reinterpret_cast<TJpegError*>(cinfo->err);
  if (text)
    std::snprintf(err->message, sizeof err->message, "%s", text);
  else
    (*cinfo->err->format_message)(cinfo, err->message);
  longjmp(err->jump, 1);
}

void ErrorExit(j_common_ptr cinfo) { JumpWithMessage(cinfo, nullptr); }

// Warnings are ignored, except the end of the data arriving before the picture's end:
// libjpeg would fill the rest with grey, we call the file truncated.
void EmitMessage(j_common_ptr cinfo, int level) {
  if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) JumpWithMessage(cinfo, "the file is truncated");
  if (level < 0) cinfo->err->num_warnings++;
}

void OutputMessage(j_common_ptr) {}  // nothing is ever printed

void ProgressMonitor(j_common_ptr cinfo) {
  if (cinfo->is_decompressor &&
      reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans)
    JumpWithMessage(cinfo, "the file has too many progressive scans");
}

// Step 1: create the decoder and read the header; choose the output colour space.
bool ReadHeader(TJpegDecoder* d, const uint8_t* data, size_t size) {
  if (setjmp(d->error.jump)) return false;
  jpeg_create_decompress(&d->info);
  d->created = true;
  d->info.mem->max_memory_to_use = kMaxDecoderMemory;
  d->info.progress = &d->progress;
  jpeg_mem_src(&d->info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&d->info, TRUE);
  switch (d->info.jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB:
      d->info.out_color_space = JCS_EXT_BGRX;
      break;
    case JCS_CMYK:
    case JCS_YCCK:
      d->info.out_color_space = JCS_CMYK;
      break;
    default:
      JumpWithMessage(reinterpret_cast<j_common_ptr>(&d->info), "the picture's colour space is not supported");
  }
  jpeg_calc_output_dimensions(&d->info);
  return true;
}

// Step 2: decode every row straight into the caller's 4-byte-per-pixel rows.
bool ReadPixels(TJpegDecoder* d, uint8_t* pixels, size_t stride) {
  if (setjmp(d->error.jump)) return false;
  jpeg_start_decompress(&d->info);
  while (d->info.output_scanline < d->info.output_height) {
    JSAMPROW row = pixels + stride * d->info.output_scanline;
    jpeg_read_scanlines(&d->info, &row, 1);
  }
  jpeg_finish_decompress(&d->info);
  return true;
}

// CMYK as libjpeg hands it over; files with an Adobe marker store the inks inverted
// (0 = full ink), which is how the conversion below wants them.
void CmykToPixels(TBitmap& image, bool inverted) {
  for (int y = 0; y < image.Height(); ++y) {
    uint32_t* row = image.ScanLine(y);
    for (int x = 0; x < image.Width(); ++x) {
      uint32_t p = inverted ? row[x] : ~row[x];  // bytes C, M, Y, K from the low end
      uint32_t c = p & 0xFF, m = (p >> 8) & 0xFF, ye = (p >> 16) & 0xFF, k = p >> 24;
      row[x] = RGBToPixel((c * k + 127) / 255, (m * k + 127) / 255, (ye * k + 127) / 255);
    }
  }
}

class TDecoderGuard {
 public:
  explicit TDecoderGuard(TJpegDecoder& d) : d_(d) {}
  ~TDecoderGuard() {
    if (d_.created) jpeg_destroy_decompress(&d_.info);
  }
  TDecoderGuard(const TDecoderGuard&) = delete;
  TDecoderGuard& operator=(const TDecoderGuard&) = delete;

 private:
  TJpegDecoder& d_;
};

}  // namespace

TBitmap DecodeJpeg(const uint8_t* data, size_t size, const std::string& name) {
  if (size == 0) ThrowImageError(name, "there is no JPEG data");
  if (size > MaxImageFileBytes) ThrowImageError(name, "the JPEG data is too large");
  TJpegDecoder d;
  std::memset(&d, 0, sizeof d);
  TDecoderGuard guard(d);
  d.info.err = jpeg_std_error(&d.error.pub);
  d.error.pub.error_exit = ErrorExit;
  d.error.pub.emit_message = EmitMessage;
  d.error.pub.output_message = OutputMessage;
  d.progress.progress_monitor = ProgressMonitor;

  if (!ReadHeader(&d, data, size)) ThrowImageError(name, std::string("not a readable JPEG file (") + d.error.message + ")");
  // The size is checked before anything of the picture's size is allocated.
  CheckImageSize(d.info.image_width, d.info.image_height, name);
  if (d.info.output_width != d.info.image_width || d.info.output_height != d.info.image_height ||
      d.info.output_components != 4)
    ThrowImageError(name, "unexpected JPEG output format");

  TBitmap image(static_cast<int>(d.info.output_width), static_cast<int>(d.info.output_height));
  if (!ReadPixels(&d, reinterpret_cast<uint8_t*>(image.Data()), static_cast<size_t>(image.Width()) * 4))
    ThrowImageError(name, std::string("damaged JPEG data (") + d.error.message + ")");

  if (d.info.out_color_space == JCS_CMYK) {
    CmykToPixels(image, d.info.saw_Adobe_marker);
  } else {
    // The fourth byte libjpeg fills is not part of the picture.
    for (uint32_t* p = image.Data(), *end = p + static_cast<size_t>(image.Width()) * image.Height(); p < end; ++p)
      *p &= 0x00FFFFFFu;
  }
  return image;
}

TBitmap DecodeJpeg(const std::vector<uint8_t>& bytes, const std::string& name) {
  return DecodeJpeg(bytes.data(), bytes.size(), name);
}

TBitmap ReadJpegFile(const std::string& path) {
  std::vector<uint8_t> bytes = ReadImageFileBytes(path);
  return DecodeJpeg(bytes, path);
}

}  // namespace qz
