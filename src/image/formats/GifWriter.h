// The GIF writer of the export: one indexed image as a one-frame GIF89a file.
//
// The file: header, logical screen, global colour table (the used palette entries,
// padded with black to a power of two), a graphic control extension with the
// transparency flag and index when the image has a transparent entry, the image
// descriptor, the code stream (GifCodeStream.h) in sub-blocks, trailer. The code
// stream is LZW, or the run-length codes (whose table is padded to the size that
// gives the smallest file, as a larger table lets them cover longer runs).
//
//   TIndexedImage frame = MakeIndexedImage(image, kind, dither, bits, &mask);
//   WriteGifFile(path, frame);          // or EncodeGif(frame) for the bytes
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image/IndexedImage.h"
#include "base/OutputFiles.h"

namespace qz {

enum class TGifCompression { Lzw, RunLength };

// The file as bytes. Throws std::invalid_argument when the image cannot be a GIF:
// an empty image or a side over 65535 pixels, a used palette of 0 or over 256
// entries, a pixel or transparent index outside the used palette.
std::vector<uint8_t> EncodeGif(const TIndexedImage& image, TGifCompression compression = TGifCompression::Lzw);

// Writes the file atomically (a failed write leaves an old file whole). Throws
// std::runtime_error naming the path when it cannot be written, and
// std::invalid_argument as EncodeGif.
// With files, the file is written as one of that group.
void WriteGifFile(const std::string& path, const TIndexedImage& image, TFileGroup* files = nullptr,
                  TGifCompression compression = TGifCompression::Lzw);

}  // namespace qz
