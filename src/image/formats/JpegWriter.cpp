#include "image/formats/JpegWriter.h"

// jpeglib.h uses FILE without including its header.
#include <cstdio>
#include <jpeglib.h>

#include <bit>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "base/FileUtil.h"
#include "base/OutputFiles.h"
#include "base/Numeric.h"

namespace qz {

namespace {

static_assert(std::endian::native == std::endian::little,
              "TBitmap rows are JCS_EXT_BGRX rows only on a little-endian machine");

constexpr int kMaxJpegSide = 65500;  // the format's limit

// As in the reader: error_exit jumps back into Compress, whose frame and the
// library's hold no C++ objects with destructors.
struct TJpegError {
  jpeg_error_mgr pub;
  jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

struct TJpegEncoder {
  jpeg_compress_struct info;
  TJpegError error;
  unsigned char* buffer;  // malloc'ed by libjpeg's memory destination
  unsigned long size;
  bool created;
};

void ErrorExit(j_common_ptr cinfo) {
  TJpegError* err = reinterpret_cast<TJpegError*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  longjmp(err->jump, 1);
}

void OutputMessage(j_common_ptr) {}

bool Compress(TJpegEncoder* e, const TBitmap* image, int quality) {
  if (setjmp(e->error.jump)) return false;
  jpeg_create_compress(&e->info);
  e->created = true;
  jpeg_mem_dest(&e->info, &e->buffer, &e->size);
  e->info.image_width = static_cast<JDIMENSION>(image->Width());
  e->info.image_height = static_cast<JDIMENSION>(image->Height());
  e->info.input_components = 4;
  e->info.in_color_space = JCS_EXT_BGRX;  // a TBitmap row as it lies in memory
  jpeg_set_defaults(&e->info);
  jpeg_set_quality(&e->info, quality, TRUE);
  jpeg_start_compress(&e->info, TRUE);
  while (e->info.next_scanline < e->info.image_height) {
    // libjpeg only reads the row; its interface just is not const.
    JSAMPROW row = reinterpret_cast<JSAMPROW>(const_cast<uint32_t*>(image->ScanLine(static_cast<int>(e->info.next_scanline))));
    jpeg_write_scanlines(&e->info, &row, 1);
  }
  jpeg_finish_compress(&e->info);
  return true;
}

// Frees the encoder and its output buffer however EncodeJpeg is left.
class TEncoderGuard {
 public:
  explicit TEncoderGuard(TJpegEncoder& e) : e_(e) {}
  ~TEncoderGuard() {
    if (e_.created) jpeg_destroy_compress(&e_.info);
    std::free(e_.buffer);
  }
  TEncoderGuard(const TEncoderGuard&) = delete;
  TEncoderGuard& operator=(const TEncoderGuard&) = delete;

 private:
  TJpegEncoder& e_;
};

}  // namespace

std::vector<uint8_t> EncodeJpeg(const TBitmap& image, int quality) {
  if (image.Empty()) throw std::runtime_error("Cannot write a JPEG image of no pixels");
  if (image.Width() > kMaxJpegSide || image.Height() > kMaxJpegSide)
    throw std::runtime_error("Cannot write a JPEG image larger than 65500 pixels a side");
  TJpegEncoder e;
  std::memset(&e, 0, sizeof e);
  TEncoderGuard guard(e);
  e.info.err = jpeg_std_error(&e.error.pub);
  e.error.pub.error_exit = ErrorExit;
  e.error.pub.output_message = OutputMessage;
  if (!Compress(&e, &image, Clamp(quality, 1, 100)))
    throw std::runtime_error(std::string("Cannot encode JPEG image: ") + e.error.message);
  return std::vector<uint8_t>(e.buffer, e.buffer + e.size);
}

void WriteJpeg(const std::string& path, const TBitmap& image, int quality, TFileGroup* files) {
  std::vector<uint8_t> bytes = EncodeJpeg(image, quality);
  WriteOutputBytes(files, path, bytes.data(), bytes.size());
}

}  // namespace qz
