// qz_imagejob: one image job of ours as a whole process, so that bench/peers.sh can
// time it side by side with the same job done by ImageMagick, libvips and Pillow on
// the same input file. Pictures travel as binary PPM (P6, maxval 255), which every
// one of them reads and writes without a compression step to blur the timing.
//
//   qz_imagejob picture photo|rings W H OUT.ppm      the benchmarks' made-up pictures
//   qz_imagejob resize IN.ppm OUT.ppm WxH FILTER     ResampleImage ("Box" .. "Mitchell")
//   qz_imagejob gif IN.ppm OUT.gif none|floyd-steinberg [optimized|netscape]
//                                                    MakeIndexedImage (256 colours) + EncodeGif
//   --repeat N (after the job's arguments) does the job itself N times (not the reading
//   and writing), so that instruction counts of two runs can be subtracted.
//
// Exit status 0 done, 1 the job failed (message on standard error), 2 usage.
#include <cctype>
#include <charconv>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchPictures.h"
#include "palette/ColorReduction.h"
#include "image/formats/GifWriter.h"
#include "image/Resample.h"

namespace {

using namespace qz;

constexpr int64_t kMaxPixels = int64_t{64} * 1000 * 1000;

int ParseInt(const std::string& text, const char* what) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < 1)
    throw std::invalid_argument(std::string(what) + " must be a positive whole number, not '" + text + "'");
  return value;
}

// The header's numbers: blanks and # comments between them, one blank after the last.
class TPpmHeader {
 public:
  TPpmHeader(std::FILE* file, const std::string& path) : file_(file), path_(path) {}
  int Number() {
    int c = std::fgetc(file_);
    while (c != EOF && (std::isspace(c) || c == '#')) {
      if (c == '#')
        while (c != EOF && c != '\n') c = std::fgetc(file_);
      c = std::fgetc(file_);
    }
    int64_t v = 0;
    int digits = 0;
    for (; c != EOF && std::isdigit(c) && digits < 9; ++digits, c = std::fgetc(file_)) v = v * 10 + (c - '0');
    if (digits == 0) throw std::runtime_error(path_ + ": not a binary PPM (P6) picture");
    last_ = c;  // the character after the number
    return static_cast<int>(v);
  }
  // The single blank that ends the header has been read with the last number.
  void End() const {
    if (last_ == EOF || !std::isspace(last_)) throw std::runtime_error(path_ + ": broken PPM header");
  }

 private:
  std::FILE* file_;
  const std::string& path_;
  int last_ = EOF;
};

// Read row by row into the picture, as the peers read: the file's bytes are never held
// whole beside the picture made from them.
TBitmap ReadPpm(const std::string& path) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) throw std::runtime_error(path + ": cannot be read");
  if (std::fgetc(file.get()) != 'P' || std::fgetc(file.get()) != '6')
    throw std::runtime_error(path + ": not a binary PPM (P6) picture");
  TPpmHeader header(file.get(), path);
  const int w = header.Number(), h = header.Number(), maxval = header.Number();
  header.End();
  if (maxval != 255) throw std::runtime_error(path + ": only 8-bit PPM (maxval 255) is read");
  if (w < 1 || h < 1 || int64_t{w} * h > kMaxPixels) throw std::runtime_error(path + ": picture size out of range");
  TBitmap image(w, h);
  std::vector<uint8_t> rowBytes(size_t(w) * 3);
  for (int y = 0; y < h; ++y) {
    if (std::fread(rowBytes.data(), 1, rowBytes.size(), file.get()) != rowBytes.size())
      throw std::runtime_error(path + ": the pixels are cut short");
    uint32_t* row = image.ScanLine(y);
    const uint8_t* p = rowBytes.data();
    for (int x = 0; x < w; ++x, p += 3) row[x] = RGBToPixel(p[0], p[1], p[2]);
  }
  return image;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error(path + ": cannot be written");
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (std::fclose(f) != 0 || !ok) throw std::runtime_error(path + ": cannot be written");
}

// Plain writes, as the peers make them: no temporary file, no flush to the disk.
void WritePpm(const std::string& path, const TBitmap& image) {
  const std::string header = "P6\n" + std::to_string(image.Width()) + " " + std::to_string(image.Height()) + "\n255\n";
  std::vector<uint8_t> bytes(header.begin(), header.end());
  bytes.reserve(header.size() + size_t(image.Width()) * image.Height() * 3);
  for (int y = 0; y < image.Height(); ++y) {
    const uint32_t* row = image.ScanLine(y);
    for (int x = 0; x < image.Width(); ++x)
      bytes.insert(bytes.end(), {uint8_t(PixelRed(row[x])), uint8_t(PixelGreen(row[x])), uint8_t(PixelBlue(row[x]))});
  }
  WriteBytes(path, bytes);
}

int Picture(const std::vector<std::string>& a) {
  if (a.size() != 4) throw std::invalid_argument("picture takes photo|rings W H OUT.ppm");
  const int w = ParseInt(a[1], "W"), h = ParseInt(a[2], "H");
  if (int64_t{w} * h > kMaxPixels) throw std::invalid_argument("the picture would be too large");
  if (a[0] == "photo")
    WritePpm(a[3], bench::PhotoLike(w, h));
  else if (a[0] == "rings")
    WritePpm(a[3], bench::RingsAndChecks(w, h));
  else
    throw std::invalid_argument("picture is photo or rings, not '" + a[0] + "'");
  return 0;
}

int Resize(const std::vector<std::string>& a, int repeat) {
  if (a.size() != 4) throw std::invalid_argument("resize takes IN.ppm OUT.ppm WxH FILTER");
  const size_t x = a[2].find('x');
  if (x == std::string::npos) throw std::invalid_argument("the size is WxH, not '" + a[2] + "'");
  const int w = ParseInt(a[2].substr(0, x), "W"), h = ParseInt(a[2].substr(x + 1), "H");
  if (int64_t{w} * h > kMaxPixels) throw std::invalid_argument("the result would be too large");
  const TFilter* filter = FindFilter(a[3]);
  if (!filter) throw std::invalid_argument("unknown filter '" + a[3] + "'");
  const TBitmap source = ReadPpm(a[0]);
  TBitmap result(w, h);
  for (int i = 0; i < repeat; ++i) ResampleImage(source, result, *filter);
  WritePpm(a[1], result);
  return 0;
}

int Gif(const std::vector<std::string>& a, int repeat) {
  if (a.size() != 3 && a.size() != 4)
    throw std::invalid_argument("gif takes IN.ppm OUT.gif none|floyd-steinberg [optimized|netscape]");
  TDitherMethod dither;
  if (a[2] == "none")
    dither = TDitherMethod::None;
  else if (a[2] == "floyd-steinberg")
    dither = TDitherMethod::FloydSteinberg;
  else
    throw std::invalid_argument("dithering is none or floyd-steinberg, not '" + a[2] + "'");
  TPaletteKind kind = TPaletteKind::Optimized;
  if (a.size() == 4 && a[3] == "netscape")
    kind = TPaletteKind::Netscape;
  else if (a.size() == 4 && a[3] != "optimized")
    throw std::invalid_argument("the palette is optimized or netscape, not '" + a[3] + "'");
  const TBitmap source = ReadPpm(a[0]);
  std::vector<uint8_t> bytes;
  for (int i = 0; i < repeat; ++i) bytes = EncodeGif(MakeIndexedImage(source, kind, dither, 8));
  WriteBytes(a[1], bytes);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  try {
    int repeat = 1;
    if (args.size() >= 2 && args[args.size() - 2] == "--repeat") {
      repeat = ParseInt(args.back(), "--repeat");
      args.resize(args.size() - 2);
    }
    if (args.empty()) throw std::invalid_argument("no job given");
    const std::string job = args.front();
    args.erase(args.begin());
    if (job == "picture") return Picture(args);
    if (job == "resize") return Resize(args, repeat);
    if (job == "gif") return Gif(args, repeat);
    throw std::invalid_argument("unknown job '" + job + "'");
  } catch (const std::invalid_argument& e) {
    std::fprintf(stderr,
                 "qz_imagejob: %s\nusage: qz_imagejob picture photo|rings W H OUT.ppm\n"
                 "       qz_imagejob resize IN.ppm OUT.ppm WxH FILTER [--repeat N]\n"
                 "       qz_imagejob gif IN.ppm OUT.gif none|floyd-steinberg [optimized|netscape] [--repeat N]\n",
                 e.what());
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "qz_imagejob: %s\n", e.what());
    return 1;
  }
}
