#include "image/formats/JpegReader.h"

// jpeglib.h uses FILE without including its header.
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstring>
#include <vector>

#include "image/ImageLimits.h"

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
// the end of the file, or a marker that ends a scan before its blocks do. libjpeg
// would fill the rest with grey; we call the file truncated.
void EmitMessage(j_common_ptr cinfo, int level) {
  if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) JumpWithMessage(cinfo, "the file is truncated");
  if (level < 0 && cinfo->err->msg_code == JWRN_HIT_MARKER) JumpWithMessage(cinfo, "the picture data is truncated");
  if (level < 0) cinfo->err->num_warnings++;
}

void OutputMessage(j_common_ptr) {}  // nothing is ever printed

void ProgressMonitor(j_common_ptr cinfo) {
  if (cinfo->is_decompressor &&
      reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans)
    JumpWithMessage(cinfo, "the file has too many progressive scans");
}

// Step 1: create the decoder and read the header; choose the output colour space and
// the scale (1 / divisor).
bool ReadHeader(TJpegDecoder* d, const uint8_t* data, size_t size, int divisor) {
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
  d->info.scale_num = 1;
  d->info.scale_denom = static_cast<unsigned int>(divisor);
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

uint32_t Big16(const uint8_t* p) { return static_cast<uint32_t>(p[0]) << 8 | p[1]; }

bool IsFrameMarker(uint8_t m) { return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC; }

// The picture's side at 1 / divisor, as libjpeg scales it (rounding up).
int64_t Scaled(int64_t side, int divisor) { return (side + divisor - 1) / divisor; }

int64_t CeilDiv(int64_t a, int64_t b) { return (a + b - 1) / b; }

// What a frame header says of the coding and of each component's sampling.
struct TJpegFrame {
  bool Huffman = false;      // baseline, extended or progressive Huffman coding
  bool Progressive = false;
  struct TComponent {
    int Id, H, V;
  };
  std::vector<TComponent> Components;
  int MaxH = 0, MaxV = 0;

  const TComponent* Find(int id) const {
    for (const TComponent& c : Components)
      if (c.Id == id) return &c;
    return nullptr;
  }
};

// segment: the frame header from its length bytes, length bytes long (at least 8).
TJpegFrame ReadFrame(uint8_t marker, const uint8_t* segment, size_t length) {
  TJpegFrame f;
  f.Huffman = marker == 0xC0 || marker == 0xC1 || marker == 0xC2;
  f.Progressive = marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
  const size_t count = segment[7];
  for (size_t i = 0; i < count && 8 + 3 * i + 3 <= length; ++i) {
    const uint8_t* c = segment + 8 + 3 * i;
    f.Components.push_back({c[0], c[1] >> 4, c[1] & 15});
    f.MaxH = std::max(f.MaxH, c[1] >> 4);
    f.MaxV = std::max(f.MaxV, c[1] & 15);
  }
  return f;
}

// The 8 x 8 blocks a scan over the components its header names codes, as libjpeg lays
// them out: one component alone block by block, several interleaved in whole units of
// the largest sampling. 0 when the headers do not make sense (libjpeg refuses those).
// segment: the scan header from its length bytes, length bytes long.
int64_t ScanBlocks(const TJpegFrame& f, int64_t width, int64_t height, const uint8_t* segment, size_t length) {
  for (const TJpegFrame::TComponent& c : f.Components)
    if (c.H < 1 || c.H > 4 || c.V < 1 || c.V > 4) return 0;
  if (length < 3) return 0;
  const size_t count = segment[2];
  if (count < 1 || length < 6 + 2 * count) return 0;
  if (count == 1) {
    const TJpegFrame::TComponent* c = f.Find(segment[3]);
    if (!c) return 0;
    return CeilDiv(width * c->H, 8 * f.MaxH) * CeilDiv(height * c->V, 8 * f.MaxV);
  }
  int64_t perUnit = 0;
  for (size_t i = 0; i < count; ++i) {
    const TJpegFrame::TComponent* c = f.Find(segment[3 + 2 * i]);
    if (!c) return 0;
    perUnit += c->H * c->V;
  }
  return CeilDiv(width, 8 * f.MaxH) * CeilDiv(height, 8 * f.MaxV) * perUnit;
}

}  // namespace

std::optional<TJpegLayout> ReadJpegLayout(const uint8_t* data, size_t size) {
  if (size < 4 || data[0] != 0xFF || data[1] != 0xD8) return std::nullopt;
  TJpegLayout layout;
  TJpegFrame frameHeader;
  bool frame = false;
  size_t pos = 2;
  while (pos + 1 < size) {
    if (data[pos] != 0xFF) return frame ? std::optional(layout) : std::nullopt;
    while (pos < size && data[pos] == 0xFF) ++pos;  // fill bytes
    if (pos >= size) break;
    const uint8_t marker = data[pos++];
    if (marker == 0xD9) break;                                   // end of image
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
    if (pos + 2 > size) break;
    const size_t length = Big16(data + pos);
    if (length < 2 || pos + length > size) break;
    if (IsFrameMarker(marker) && length >= 7) {
      layout.Height = Big16(data + pos + 3);
      layout.Width = Big16(data + pos + 5);
      frameHeader = length >= 8 ? ReadFrame(marker, data + pos, length) : TJpegFrame{};
      frame = true;
    }
    const uint8_t* segment = data + pos;
    pos += length;
    if (marker != 0xDA) continue;
    // A scan: its entropy-coded data runs to the next marker (0xFF followed by
    // anything but a stuffed zero or a restart marker).
    ++layout.Scans;
    const size_t start = pos;
    while (pos + 1 < size && !(data[pos] == 0xFF && data[pos + 1] != 0x00 && (data[pos + 1] < 0xD0 || data[pos + 1] > 0xD7)))
      ++pos;
    if (layout.Scans == 1 && frame && frameHeader.Huffman && length >= 3) {
      // The DC coefficients come first: a progressive scan that starts beyond them
      // (its spectral start, after the components) holds none.
      const size_t spectralStart = 3 + 2 * size_t{segment[2]};
      if (frameHeader.Progressive && spectralStart < length && segment[spectralStart] != 0) {
        layout.ProgressiveWithoutDcFirst = true;
      } else {
        const int64_t blocks = ScanBlocks(frameHeader, layout.Width, layout.Height, segment, length);
        layout.FirstScanLeastBytes = CeilDiv(blocks, 8);
      }
      layout.FirstScanBytes = static_cast<int64_t>((pos + 1 < size ? pos : size) - start);
    }
  }
  if (!frame) return std::nullopt;
  return layout;
}

int JpegScaleDivisor(const TJpegLayout& layout, int64_t maxWork) {
  const int64_t scans = std::max<int64_t>(layout.Scans, 1);
  for (int divisor : {1, 2, 4, 8})
    if (Scaled(layout.Width, divisor) * Scaled(layout.Height, divisor) * scans <= maxWork) return divisor;
  return 0;
}

namespace {

// What the markers allow before anything is decoded: the picture's size, the work it
// asks for, which gives the scale (1 / divisor) it is read at, and its first scan's
// data against its size. Throws when any is beyond what the picture may have.
int CheckedDivisor(const std::optional<TJpegLayout>& layout, const std::string& name) {
  if (!layout) return 1;  // no frame found: libjpeg says what is wrong
  CheckImageSize(layout->Width, layout->Height, name);
  const int divisor = JpegScaleDivisor(*layout, MaxDecodeWork);
  if (divisor == 0)
    CheckDecodeWork(Scaled(layout->Width, 8) * Scaled(layout->Height, 8) * std::max<int64_t>(layout->Scans, 1),
                    std::to_string(layout->Width) + " x " + std::to_string(layout->Height) + " pixels in " +
                        std::to_string(layout->Scans) + " scans, even at an eighth of that size",
                    name);
  if (layout->ProgressiveWithoutDcFirst)
    ThrowImageError(name, "the picture data is damaged (the progressive picture does not begin with its DC scan)");
  if (layout->FirstScanBytes < layout->FirstScanLeastBytes)
    ThrowImageError(name, "the picture data is truncated: " + std::to_string(layout->Width) + " x " +
                              std::to_string(layout->Height) + " pixels need at least " +
                              std::to_string(layout->FirstScanLeastBytes) + " bytes in the first scan, and it holds " +
                              std::to_string(layout->FirstScanBytes));
  return divisor;
}

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

  const int divisor = CheckedDivisor(ReadJpegLayout(data, size), name);
  if (!ReadHeader(&d, data, size, divisor))
    ThrowImageError(name, std::string("not a readable JPEG file (") + d.error.message + ")");
  // The size is checked before anything of the picture's size is allocated.
  CheckImageSize(d.info.image_width, d.info.image_height, name);
  if (d.info.output_width != Scaled(d.info.image_width, divisor) ||
      d.info.output_height != Scaled(d.info.image_height, divisor) || d.info.output_components != 4)
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
