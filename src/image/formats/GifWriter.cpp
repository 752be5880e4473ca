#include "image/formats/GifWriter.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "image/formats/GifCodeStream.h"
#include "base/FileUtil.h"
#include "base/OutputFiles.h"

namespace qz {

namespace {

constexpr int kMaxSide = 65535;

using TBytes = std::vector<uint8_t>;

void PutWord(TBytes& out, int v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

// The smallest colour table (2^bits entries, bits 1..8) that holds the used entries.
int TableBits(int usedSize) {
  int bits = 1;
  while ((1 << bits) < usedSize) ++bits;
  return bits;
}

// A frame's colour table and code stream. Codes are one bit wider than the minimum
// code size, which is the table's index size but at least 2, as GIF requires.
struct TEncodedFrame {
  int tableBits = 0;
  int minCodeSize = 0;
  TBytes codes;

  size_t FileBytes() const { return 3 * (size_t(1) << tableBits) + codes.size() + codes.size() / 255 + 2; }
};

// The run-length stream can send at most 2^minCodeSize - 2 codes between Clear codes,
// so a small table holds runs back: a two-colour picture would need a Clear after
// every two codes. Padding the table to more entries buys longer stretches at the
// price of wider codes and a longer table; every size from the smallest up is
// tried, and the smallest file wins (the smallest table on a tie).
TEncodedFrame EncodeFrame(const TIndexedImage& image, TGifCompression compression) {
  int smallest = TableBits(image.usedSize);
  if (compression == TGifCompression::Lzw) {
    // LZW codes widen as they need to: the smallest table is the smallest file.
    TEncodedFrame f;
    f.tableBits = smallest;
    f.minCodeSize = std::max(2, smallest);
    f.codes = EncodeLzwCodes(image.pixels.data(), image.pixels.size(), f.minCodeSize);
    return f;
  }
  TEncodedFrame best;
  for (int minCodeSize = std::max(2, smallest); minCodeSize <= 8; ++minCodeSize) {
    TEncodedFrame f;
    f.tableBits = minCodeSize == std::max(2, smallest) ? smallest : minCodeSize;
    f.minCodeSize = minCodeSize;
    f.codes = EncodeRunLengthCodes(image.pixels.data(), image.pixels.size(), minCodeSize);
    if (best.codes.empty() || f.FileBytes() < best.FileBytes()) best = std::move(f);
  }
  return best;
}

void Validate(const TIndexedImage& image) {
  if (image.width <= 0 || image.height <= 0) throw std::invalid_argument("The image is empty: nothing to write as a GIF");
  if (image.width > kMaxSide || image.height > kMaxSide)
    throw std::invalid_argument("The image of " + std::to_string(image.width) + " x " + std::to_string(image.height) +
                                " pixels is too big for a GIF");
  if (image.usedSize < 1 || image.usedSize > 256 || static_cast<size_t>(image.usedSize) > image.palette.size())
    throw std::invalid_argument("A GIF palette needs 1 to 256 entries");
  if (image.pixels.size() != static_cast<size_t>(image.width) * image.height)
    throw std::invalid_argument("The image's pixels do not match its size");
  if (image.transparentIndex >= image.usedSize)
    throw std::invalid_argument("The transparent index lies outside the palette");
  uint8_t highest = image.pixels.empty() ? 0 : *std::max_element(image.pixels.begin(), image.pixels.end());
  if (highest >= image.usedSize) throw std::invalid_argument("A pixel's index lies outside the palette");
}

void AppendHeader(TBytes& out) {
  for (char c : {'G', 'I', 'F', '8', '9', 'a'}) out.push_back(static_cast<uint8_t>(c));
}

// Screen size, a global colour table of 2^tableBits entries, 8 bits per primary in
// the source, background index 0, no aspect ratio.
void AppendLogicalScreen(TBytes& out, int width, int height, int tableBits) {
  PutWord(out, width);
  PutWord(out, height);
  out.push_back(static_cast<uint8_t>(0x80 | (7 << 4) | (tableBits - 1)));
  out.push_back(0);
  out.push_back(0);
}

void AppendColorTable(TBytes& out, const std::vector<TRgb>& palette, int usedSize, int tableBits) {
  for (int i = 0; i < (1 << tableBits); ++i) {
    TRgb c = i < usedSize ? palette[i] : TRgb{};
    out.insert(out.end(), {c.r, c.g, c.b});
  }
}

// Only the transparency matters: no disposal, no delay, no user input.
void AppendGraphicControl(TBytes& out, int transparentIndex) {
  out.insert(out.end(), {0x21, 0xF9, 0x04, 0x01});
  PutWord(out, 0);
  out.push_back(static_cast<uint8_t>(transparentIndex));
  out.push_back(0);
}

// The frame covers the screen, uses the global table, is not interlaced.
void AppendImageDescriptor(TBytes& out, int width, int height) {
  out.push_back(0x2C);
  PutWord(out, 0);
  PutWord(out, 0);
  PutWord(out, width);
  PutWord(out, height);
  out.push_back(0);
}

// The minimum code size, the codes in sub-blocks of at most 255 bytes, an empty
// sub-block to end them.
void AppendImageData(TBytes& out, const TEncodedFrame& frame) {
  out.push_back(static_cast<uint8_t>(frame.minCodeSize));
  const TBytes& codes = frame.codes;
  for (size_t at = 0; at < codes.size(); at += 255) {
    size_t n = std::min<size_t>(255, codes.size() - at);
    out.push_back(static_cast<uint8_t>(n));
    out.insert(out.end(), codes.begin() + at, codes.begin() + at + n);
  }
  out.push_back(0);
}

void AppendTrailer(TBytes& out) { out.push_back(0x3B); }

}  // namespace

std::vector<uint8_t> EncodeGif(const TIndexedImage& image, TGifCompression compression) {
  Validate(image);
  TEncodedFrame frame = EncodeFrame(image, compression);
  TBytes out;
  out.reserve(frame.FileBytes() + 64);
  AppendHeader(out);
  AppendLogicalScreen(out, image.width, image.height, frame.tableBits);
  AppendColorTable(out, image.palette, image.usedSize, frame.tableBits);
  if (image.transparentIndex >= 0) AppendGraphicControl(out, image.transparentIndex);
  AppendImageDescriptor(out, image.width, image.height);
  AppendImageData(out, frame);
  AppendTrailer(out);
  return out;
}

void WriteGifFile(const std::string& path, const TIndexedImage& image, TFileGroup* files,
                  TGifCompression compression) {
  TBytes bytes = EncodeGif(image, compression);
  WriteOutputBytes(files, path, bytes.data(), bytes.size());
}

}  // namespace qz
