// Writes the seed corpora of the fuzz targets: small files of every kind a user can be
// handed, made with the program's own writers where it has them and built byte by
// byte where it does not (BMP variants, grayscale, CMYK and progressive JPEG).
//
//   build-fuzz/fuzz/make_fuzz_seeds fuzz/corpus              the committed seeds
//   build-fuzz/fuzz/make_fuzz_seeds build-fuzz/data-seeds data
//                     the installation files (works, templates, shapes, textures,
//                     Buttons.dat), in the form each target reads them
//
// Each target's folder gets its files; the fuzzer grows them from there.
#include <cstdio>
#include <jpeglib.h>
#include <png.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "geometry/ButShape.h"
#include "image/formats/BmpWriter.h"
#include "text/FontEngine.h"
#include "base/IniFile.h"
#include "image/formats/JpegWriter.h"
#include "image/formats/PngFile.h"
#include "scene/IconRecord.h"
#include "scene/MessageText.h"
#include "scene/WorkFile.h"
#include "support/TestGif.h"

namespace {

using namespace qz;
using Bytes = std::vector<uint8_t>;

std::string Root;

void Put(const std::string& target, const std::string& name, const Bytes& bytes) {
  // A work is built as well as loaded: the build target starts from the same files.
  for (const std::string& t : target == "work" ? std::vector<std::string>{"work", "build"} : std::vector{target}) {
    const std::string dir = Root + "/" + t;
    std::filesystem::create_directories(dir);
    std::ofstream(dir + "/" + name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
}
void Put(const std::string& target, const std::string& name, const std::string& text) {
  Put(target, name, Bytes(text.begin(), text.end()));
}

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Little-endian integers appended to a byte string.
void U16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void U32(Bytes& b, uint32_t v) {
  U16(b, v & 0xFFFF);
  U16(b, v >> 16);
}
// Integers as the targets' FuzzedDataProvider takes them from the end of the input:
// the first one consumed is the last four bytes, each offset by INT32_MIN.
Bytes TrailingInts(std::initializer_list<int32_t> inConsumedOrder) {
  Bytes b;
  for (auto it = std::rbegin(inConsumedOrder); it != std::rend(inConsumedOrder); ++it)
    U32(b, static_cast<uint32_t>(*it) ^ 0x80000000u);
  return b;
}
// What the shape target reads after the file: a rectangle, the bevel size and the
// extrusion of the button.
Bytes ShapeTail(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t butW = 20, int32_t butY = -30) {
  return TrailingInts({left, top, right, bottom, butW, butY});
}

TBitmap Gradient(int w, int h) {
  TBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, RGBToPixel(x * 255 / w, y * 255 / h, (x + y) * 7 & 255));
  return b;
}

// --- works and templates ---------------------------------------------------------

std::string SavedWork(const TParams& params, TMessageText& text) {
  TIniFile ini;
  SaveDesignToIni(params, text, ini);
  return ini.Text();
}

void Works() {
  {
    TParams scene;
    TMessageText text;
    text.Append("Quenzar", text.DefaultFormat());
    Put("work", "plain.qznr", SavedWork(scene, text));
  }
  {
    TParams scene;
    TMessageText text;
    text.Append("A", {"Times New Roman", 24, 0, true, false, false});
    text.Append("b", {"Courier New", 12, 238, false, true, true});
    text.Append(" ", text.DefaultFormat());
    text.Append("\xE9", {"Symbol", 18, 2, false, false, false});
    scene.Type = 8;
    scene.ShapeName = "STAR.QZKH";
    scene.Message.TexFile = "wood.jpg";
    scene.Button.TexFile = "C:\\Buttons\\Textures\\Marble.GIF";
    scene.HoldButtonSize = true;
    scene.A1 = 2.5f;
    scene.A2 = 1.2f;
    Put("work", "rich.qzpl", SavedWork(scene, text));
  }
  // What a hand or another tool might write: LF ends, comments, blanks around names,
  // hexadecimal colours, an exponent, a key in another case, a repeated section.
  Put("work", "handwritten.qznr",
      "; a work written by hand\n[general]\nversion = 1.3.5\n\n[Message]\nNLetters=3\nTexW=2.5e0\n"
      "MColor=0xFF00\nDColor=$FF\n[ Button ]\nType=16\nShapeName=../BShapes/oval.qzkh\nButLeft=-40\n"
      "[Render]\nDistance=0\nCnX=-450\n[Light]\na1=-3.14159\na2=7\nLoBright=300\nHiBright=-5\n"
      "[Letter 1]\nChar=Hi\nSize=-18\n[Letter 2]\nChar=\n[Letter 3]\nName=\nCharset=999\nBold=7\n"
      "[Message]\nNLetters=40\n");
  Put("work", "wrong-version.qznr", "[General]\r\nVersion=1.3.4\r\n");
  {
    // Letters of several scripts, shaped: code-page letters of three charsets, a
    // right-to-left word, an ideograph and a character beyond the Basic Multilingual
    // Plane held by their code points.
    TParams scene;
    scene.Shaping = true;
    TMessageText text;
    ReplaceMessage(text, U"Go \u0416\u0430 \u05E9\u05DC\u05D5\u05DD \u0645\u0631\u062D\u0628\u0627 \u65E5\u0301\U0001F600");
    Put("work", "scripts.qznr", SavedWork(scene, text));
  }
  // Code keys by hand: one a code page holds, a stale one beside a Char, bad ones.
  Put("work", "codes.qznr",
      "[General]\nVersion=1.3.5\n[Message]\nNLetters=5\nShaping=7\n[Letter 1]\nChar=?\nCode=u+e9\n"
      "[Letter 2]\nChar=x\nCharset=204\nCode=U+10FFFF\n[Letter 3]\nCode=U+D800\n[Letter 4]\nCode=U+1F\n"
      "[Letter 5]\nChar=?\nCode=U+0000065E5\nCharset=2\n");
  // Files the build target's program folder holds damaged.
  Put("work", "damaged-files.qznr",
      "[General]\r\nVersion=1.3.5\r\n[Message]\r\nNLetters=2\r\nTexFile=broken.jpg\r\n[Button]\r\nType=8\r\n"
      "ShapeName=torn.qzkh\r\nTexFile=stone.bmp\r\n[Letter 1]\r\nChar=o\r\n[Letter 2]\r\nChar=k\r\n");

  TParams scene;
  TMessageText text;
  text.Append("Go", text.DefaultFormat());
  TIniFile ini;
  SaveDesignToIni(scene, text, ini);
  SaveIconBytes(ini, "Icon", EncodeJpeg(Gradient(IconWidth, IconHeight), IconJpegQuality));
  Put("work", "with-icon.qznr", ini.Text());
  Put("icon", "with-icon.qznr", ini.Text());
  TIniFile tiny;
  SaveIconBytes(tiny, "Icon", EncodeJpeg(Gradient(3, 2), 50));
  Put("icon", "tiny-icon.qznr", tiny.Text());
}

// --- command-line text -------------------------------------------------------------

void Utf8Texts() {
  Put("utf8", "scripts.txt", "Caf\xC3\xA9 \xCE\xA9 \xD0\x96 \xD7\xA9 \xD9\x85 \xE0\xA4\xA8 \xE6\x97\xA5 \xF0\x9F\x98\x80");
  Put("utf8", "overlong.txt", "a\xC0\xAF");
  Put("utf8", "surrogate.txt", "ab\xED\xA0\x80");
  Put("utf8", "truncated.txt", "\xE6\x97");
  Put("utf8", "beyond.txt", "\xF4\x90\x80\x80");
  Put("utf8", "stray.txt", "\x80x");
}

// --- Buttons.dat and the preview template -----------------------------------------

const char* const ExportKeys =
    "ImageFileName=button.gif\r\nImageFilePath=/home/user/Images/\r\nImageWidth=160\r\nImageHeight=40\r\n"
    "ImageDiffusion= Floyd-Steinberg\r\nImageFileSize=3.5\r\nBgColor=#FFFFFF\r\nTargetURL=http://example.org/?a=1&b=<2>\r\n"
    "NumberOfColors= 256\r\nButtonText=Caf\xC3\xA9 \"Quenzar\"\r\n";

void Settings() {
  Put("settings", "buttons.dat",
      std::string("[General]\r\nCurPath=/home/user\r\nJobFile=/home/user/Works/a.qznr\r\nTextureDir=\r\n"
                  "Templates=/opt/quenzar/Templates/\r\nSaves=C:\\Buttons\\Works\\\r\nTemplateFile=t.qzpl\r\n") +
          ExportKeys);
  Put("settings", "recent-works.dat",
      "[General]\r\nJobFile=a.qznr\r\n[Recent Works]\r\nFile1=/home/user/Works/a.qznr\r\nFile2=\r\n"
      "File3=/home/user/Works/a.qznr\r\nfile4=  /t/sale.qzpl  \r\nFile11=/beyond.qznr\r\n[recent works]\r\nFile5=/x.qznr\r\n");
  Put("settings", "other-sections.dat",
      "; settings\n[Other]\nSaves=elsewhere\n[GENERAL]\n  JobFile  =  spaced.qznr  \nSaves=\n[General]\nJobFile=second\n");
  std::ifstream in(std::string(QZ_SOURCE_DIR) + "/data/html/preview.tml", std::ios::binary);
  std::stringstream tml;
  tml << in.rdbuf();
  Put("template", "preview.tml", tml.str() + std::string(1, '\0') + "[General]\r\n" + ExportKeys);
  Put("template", "odd.tml", std::string("a `ImageWidth` b `imagewidth` `` `Missing` `unclosed") + '\0' +
                                 "ImageWidth=<1>\nimagewidth=2\n=empty\n");
}

// --- shape files (each followed by a rectangle and the button's bevel and extrusion) -

Bytes ShapeBytes(const TButShape& shape, const Bytes& picture = {}) {
  const std::string path = std::filesystem::temp_directory_path().string() + "/quenzar-seed.qzkh";
  shape.SaveToFile(path, picture);
  std::ifstream in(path, std::ios::binary);
  Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::filesystem::remove(path);
  return bytes;
}

void Shapes() {
  const Bytes rect = ShapeTail(-200, 60, 200, -60);
  TButShape rounded;
  rounded.Frame = {-100, 40, 100, -40};
  const TShapePoint pts[] = {{1, -100, 20},  {0, -100, 40}, {1, -80, 40},  {1, 80, 40},   {0, 100, 40},
                             {1, 100, 20},   {1, 100, -20}, {0, 100, -40}, {1, 80, -40},  {1, -80, -40},
                             {0, -100, -40}, {1, -100, -20}};
  rounded.PointCount = 12;
  for (int i = 0; i < 12; ++i) rounded.Points[i + 1] = pts[i];
  Put("shape", "rounded.qzkh", Concat(ShapeBytes(rounded), rect));

  TButShape star;
  star.Frame = {-50, 50, 50, -50};
  star.PointCount = 10;
  for (int i = 0; i < 10; ++i) {
    const double a = i * 3.14159265358979 / 5, r = i % 2 ? 30 : 90;
    star.Points[i + 1] = {1, static_cast<int32_t>(r * std::cos(a)), static_cast<int32_t>(r * std::sin(a))};
  }
  Put("shape", "star.qzkh", Concat(ShapeBytes(star), ShapeTail(0, 0, 0, 0, 0, 0)));
  Put("shape", "star-picture.qzkh", Concat(ShapeBytes(star, EncodeJpeg(Gradient(8, 8), 80)), rect));
  Put("shape", "empty.qzkh", Concat(ShapeBytes(TButShape{}), rect));
  TButShape flat = rounded;
  flat.Frame = {0, 0, 0, 0};
  Put("shape", "flat-frame.qzkh", Concat(ShapeBytes(flat), ShapeTail(INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN, INT32_MAX, INT32_MIN)));
}

// --- BMP variants ----------------------------------------------------------------

// A BMP with a header of headerSize bytes (12 core, 40, 108), bits per pixel, the
// given palette entries and masks, and rows of the right stride.
Bytes Bmp(uint32_t headerSize, int w, int h, int bits, uint32_t compression, int paletteCount,
          std::vector<uint32_t> masks = {}) {
  const bool core = headerSize == 12;
  const uint32_t entry = core ? 3 : 4;
  const uint32_t stride = (static_cast<uint32_t>(w) * bits + 31) / 32 * 4;
  const uint32_t masksAfter = (!core && headerSize == 40 && compression == 3) ? 12 : 0;
  const uint32_t offset = 14 + headerSize + masksAfter + paletteCount * entry;
  const int rows = h < 0 ? -h : h;
  Bytes b = {'B', 'M'};
  U32(b, offset + stride * rows);
  U32(b, 0);
  U32(b, offset);
  U32(b, headerSize);
  if (core) {
    U16(b, w);
    U16(b, h);
    U16(b, 1);
    U16(b, bits);
  } else {
    U32(b, static_cast<uint32_t>(w));
    U32(b, static_cast<uint32_t>(h));
    U16(b, 1);
    U16(b, bits);
    U32(b, compression);
    U32(b, stride * rows);
    U32(b, 2835);
    U32(b, 2835);
    U32(b, bits <= 8 && paletteCount == (1 << bits) ? 0 : paletteCount);
    U32(b, 0);
    Bytes rest;
    for (uint32_t m : masks) U32(rest, m);
    if (headerSize > 40) rest.resize(headerSize - 40, 0);
    b.insert(b.end(), rest.begin(), rest.end());
  }
  for (int i = 0; i < paletteCount; ++i) {
    b.push_back(static_cast<uint8_t>(i * 40));
    b.push_back(static_cast<uint8_t>(255 - i * 20));
    b.push_back(static_cast<uint8_t>(i * 90));
    if (!core) b.push_back(0);
  }
  for (uint32_t i = 0; i < stride * rows; ++i) b.push_back(static_cast<uint8_t>(i * 37 + 11));
  return b;
}

void Bmps() {
  Put("bmp", "24bit.bmp", EncodeBmp24(Gradient(7, 5)));
  Put("bmp", "1bit.bmp", Bmp(40, 13, 3, 1, 0, 2));
  Put("bmp", "4bit-5colours.bmp", Bmp(40, 5, 4, 4, 0, 5));
  Put("bmp", "8bit-topdown.bmp", Bmp(40, 6, -3, 8, 0, 256));
  Put("bmp", "16bit-555.bmp", Bmp(40, 5, 2, 16, 0, 0));
  Put("bmp", "16bit-565.bmp", Bmp(40, 5, 2, 16, 3, 0, {0xF800, 0x07E0, 0x001F}));
  Put("bmp", "32bit-v4.bmp", Bmp(108, 3, 3, 32, 3, 0, {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000}));
  Put("bmp", "core-8bit.bmp", Bmp(12, 4, 4, 8, 0, 16));
}

// --- GIF variants ----------------------------------------------------------------

void Gifs() {
  using test::TGifFrame;
  using test::TGifLayout;
  std::vector<uint8_t> pixels(15);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i % 4);
  Put("gif", "global.gif", test::MakeTestGif({5, 3, 1, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}, {{0, 0, 5, 3, false, {}, -1, pixels}}}));
  std::vector<uint8_t> tall(3 * 11);
  for (size_t i = 0; i < tall.size(); ++i) tall[i] = static_cast<uint8_t>(i % 2);
  Put("gif", "interlaced-local-transparent.gif",
      test::MakeTestGif({4, 12, 0, {}, {{1, 1, 3, 11, true, {0x102030, 0xFFEEDD}, 1, tall}}}));
  Put("gif", "frame-beyond-screen.gif",
      test::MakeTestGif({2, 2, 3, {0, 0xFFFFFF}, {{3, 1, 5, 3, false, {}, 0, pixels}, {0, 0, 5, 3, false, {}, -1, pixels}}}));
}

// --- JPEG variants (libjpeg directly, for the colour spaces the writer never makes) -

struct TJpegSink {
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
};

Bytes RawJpeg(int w, int h, J_COLOR_SPACE space, int components, bool progressive) {
  jpeg_compress_struct info;
  jpeg_error_mgr err;
  info.err = jpeg_std_error(&err);
  jpeg_create_compress(&info);
  TJpegSink sink;
  jpeg_mem_dest(&info, &sink.buffer, &sink.size);
  info.image_width = static_cast<JDIMENSION>(w);
  info.image_height = static_cast<JDIMENSION>(h);
  info.input_components = components;
  info.in_color_space = space;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 75, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<size_t>(w) * components);
  for (int y = 0; y < h; ++y) {
    for (size_t i = 0; i < row.size(); ++i) row[i] = static_cast<JSAMPLE>((i * 31 + y * 17) & 255);
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&info, &r, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  Bytes out(sink.buffer, sink.buffer + sink.size);
  std::free(sink.buffer);
  return out;
}

void Jpegs() {
  Put("jpeg", "colour.jpg", EncodeJpeg(Gradient(17, 9), 90));
  Put("jpeg", "one-pixel.jpg", EncodeJpeg(Gradient(1, 1), 10));
  Put("jpeg", "grey.jpg", RawJpeg(9, 7, JCS_GRAYSCALE, 1, false));
  Put("jpeg", "cmyk.jpg", RawJpeg(8, 8, JCS_CMYK, 4, false));
  Put("jpeg", "progressive.jpg", RawJpeg(16, 16, JCS_RGB, 3, true));
}

// --- glyph records (each followed by SplPnt and the bevel width) -------------------

// --- PNG textures -------------------------------------------------------------------

Bytes WrittenPng(const TBitmap& image, const TBitmap* alpha) {
  const std::string path = std::filesystem::temp_directory_path().string() + "/quenzar-seed.png";
  WritePng(path, image, alpha);
  std::ifstream in(path, std::ios::binary);
  Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::filesystem::remove(path);
  return bytes;
}

// A PNG of the kinds our writer never makes, encoded by libpng itself: rows of
// samples in the file's own layout, a palette with its alphas.
Bytes RawPng(int w, int h, int colorType, int depth, bool interlaced, const Bytes& samples,
             std::vector<png_color> palette = {}, Bytes alphas = {}) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, [](png_structp p, png_bytep data, size_t n) {
    auto* o = static_cast<Bytes*>(png_get_io_ptr(p));
    o->insert(o->end(), data, data + n);
  }, nullptr);
  png_set_IHDR(png, info, w, h, depth, colorType, interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
  if (!alphas.empty()) png_set_tRNS(png, info, alphas.data(), static_cast<int>(alphas.size()), nullptr);
  png_write_info(png, info);
  const size_t stride = samples.size() / h;
  std::vector<png_bytep> rows;
  for (int y = 0; y < h; ++y) rows.push_back(const_cast<png_bytep>(samples.data() + y * stride));
  png_write_image(png, rows.data());  // every pass of an interlaced picture
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

void Pngs() {
  Put("png", "rgb.png", WrittenPng(Gradient(7, 5), nullptr));
  const TBitmap alpha = Gradient(6, 4);
  Put("png", "rgba.png", WrittenPng(Gradient(6, 4), &alpha));
  Bytes grey16;
  for (int i = 0; i < 9 * 5 * 2; ++i) grey16.push_back(static_cast<uint8_t>(i * 29));
  Put("png", "grey16-interlaced.png", RawPng(9, 5, PNG_COLOR_TYPE_GRAY, 16, true, grey16));
  Put("png", "palette-2bit-trns.png",
      RawPng(8, 2, PNG_COLOR_TYPE_PALETTE, 2, false, {0x1B, 0xE4, 0x6C, 0x93}, {{255, 0, 0}, {0, 0, 255}, {0, 128, 0}}, {255, 0}));
  Put("png", "grey-alpha.png", RawPng(3, 3, PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, Bytes(3 * 3 * 2, 0x80)));
}

// --- hostile textures: sizes and lengths beyond the data -----------------------------
//
// Each declares more than its bytes hold, and was once read with an allocation of what
// it declared before the reader found it short. fuzz/README.md lists them.

// The first marker segment of a JPEG of the given kind (its 0xFF).
size_t JpegMarker(const Bytes& b, uint8_t marker) {
  size_t at = 0;
  while (at + 1 < b.size() && !(b[at] == 0xFF && b[at + 1] == marker)) ++at;
  return at;
}

// The JPEG with the size in its frame header (0xC0 or 0xC2) replaced.
Bytes JpegWithSize(Bytes b, uint8_t frameMarker, int w, int h) {
  const size_t sof = JpegMarker(b, frameMarker);
  b[sof + 5] = static_cast<uint8_t>(h >> 8), b[sof + 6] = static_cast<uint8_t>(h);
  b[sof + 7] = static_cast<uint8_t>(w >> 8), b[sof + 8] = static_cast<uint8_t>(w);
  return b;
}

void HostileTextures() {
  // PNG: the signature and header of a small picture, then a chunk libpng would
  // allocate for declaring 2^31 - 1 bytes; three follow.
  const Bytes png = WrittenPng(Gradient(4, 4), nullptr);
  for (const char* type : {"tEXt", "zTXt", "iTXt", "sPLT", "iCCP"}) {
    Bytes b(png.begin(), png.begin() + 33);
    b.insert(b.end(), {0x7F, 0xFF, 0xFF, 0xFF});
    b.insert(b.end(), type, type + 4);
    b.insert(b.end(), {'a', 0, 'b'});
    std::string name = type;
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    Put("png", name + "-chunk-beyond-file.png", b);
  }
  // GIF: a 4096 x 4096 frame (a 64 MB canvas) over five bytes of picture data.
  Put("gif", "frame-beyond-data.gif",
      Bytes{'G', 'I', 'F', '8', '9', 'a', 0, 16, 0, 16, 0x80, 0, 0, 0, 0, 0, 255, 255, 255,
            0x2C, 0, 0, 0, 0, 0, 16, 0, 16, 0, 2, 2, 0x44, 0x01, 0, 0x3B});
  // JPEG: pictures of 16 x 16 pixels whose frame headers claim thousands.
  Put("jpeg", "size-beyond-data.jpg", JpegWithSize(EncodeJpeg(Gradient(16, 16), 80), 0xC0, 4096, 4096));
  Put("jpeg", "progressive-size-beyond-data.jpg", JpegWithSize(RawJpeg(16, 16, JCS_RGB, 3, true), 0xC2, 8192, 8192));
  // A progressive picture whose first scan starts past the DC coefficients.
  Bytes acFirst = RawJpeg(16, 16, JCS_RGB, 3, true);
  const size_t sos = JpegMarker(acFirst, 0xDA);
  acFirst[sos + 5 + 2 * acFirst[sos + 4]] = 1;
  Put("jpeg", "progressive-ac-first.jpg", acFirst);
  // A scan cut in half, and the end of the picture after it.
  const Bytes whole = EncodeJpeg(Gradient(64, 48), 80);
  const size_t scan = JpegMarker(whole, 0xDA), data = scan + 2 + (whole[scan + 2] << 8 | whole[scan + 3]);
  Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(data + (whole.size() - 2 - data) / 2));
  cut.insert(cut.end(), {0xFF, 0xD9});
  Put("jpeg", "scan-cut-short.jpg", cut);
  // BMP: 4096 x 4096 pixels of 24 bits (48 MB) declared, none there.
  Bytes bmp = Bmp(40, 1, 1, 24, 0, 0);
  bmp.resize(54);  // the headers alone
  for (size_t at : {18, 22}) bmp[at] = 0, bmp[at + 1] = 0x10, bmp[at + 2] = 0, bmp[at + 3] = 0;
  Put("bmp", "pixels-beyond-file.bmp", bmp);
}

void Glyphs() {
  struct TGlyphSeed {
    const char* name;
    TFontRequest font;
    uint8_t code;
    int32_t splPnt, bevel;
  };
  const TGlyphSeed seeds[] = {
      {"arial-Q", {"Arial", 512, false, false, 1}, 'Q', 2, 10},
      {"arial-g-complex", {"Arial", 512, false, false, 1}, 'g', 3, 10},
      {"times-percent-bold-italic", {"Times New Roman", 341, true, true, 1}, '%', 1, 25},
      {"dejavu-8", {"DejaVu Sans", 512, false, false, 1}, '8', 64, -10},
      {"courier-i-huge-bevel", {"Courier New", 2000, false, false, 1}, 'i', 2, INT32_MAX},
  };
  for (const TGlyphSeed& s : seeds) {
    TFontEngine fonts;
    fonts.SelectFont(s.font);
    TGlyphMetrics gm;
    const uint32_t size = fonts.GetGlyphOutline(s.code, gm, 0, nullptr);
    if (size == GDI_ERROR) {
      std::cerr << "no glyph for seed " << s.name << "\n";
      continue;
    }
    Bytes block(size);
    fonts.GetGlyphOutline(s.code, gm, size, block.data());
    Put("glyph", s.name, Concat(block, TrailingInts({s.splPnt, s.bevel})));
  }
}

// --- the installation files ---------------------------------------------------------

Bytes ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string LowerExtension(const std::filesystem::path& path) {
  std::string ext = path.extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

void InstallationFiles(const std::string& data) {
  std::error_code ec;
  for (auto it = std::filesystem::recursive_directory_iterator(data, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    if (!it->is_regular_file()) continue;
    const std::filesystem::path& path = it->path();
    const std::string name = path.filename().string(), ext = LowerExtension(path);
    const Bytes bytes = ReadFile(path);
    if (name == "Buttons.dat") {
      Put("settings", name, bytes);
    } else if (ext == ".dat" || ext == ".qznr" || ext == ".qzpl") {
      Put("work", name, bytes);
      Put("icon", name, bytes);
    } else if (ext == ".qzkh") {
      Put("shape", name, Concat(bytes, ShapeTail(-200, 60, 200, -60)));
    } else if (ext == ".bmp") {
      Put("bmp", name, bytes);
    } else if (ext == ".gif") {
      Put("gif", name, bytes);
    } else if (ext == ".jpg" || ext == ".jpeg") {
      Put("jpeg", name, bytes);
    } else if (ext == ".png") {
      Put("png", name, bytes);
    } else if (ext == ".tml") {
      Bytes page = bytes;
      page.push_back(0);
      const std::string keys = std::string("[General]\r\n") + ExportKeys;
      Put("template", name, Concat(page, Bytes(keys.begin(), keys.end())));
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::cerr << "usage: make_fuzz_seeds CORPUS-FOLDER [DATA-FOLDER]\n";
    return 2;
  }
  Root = argv[1];
  if (argc == 3) {
    InstallationFiles(argv[2]);
    return 0;
  }
  Works();
  Utf8Texts();
  Settings();
  Shapes();
  Bmps();
  Gifs();
  Jpegs();
  Pngs();
  HostileTextures();
  Glyphs();
  return 0;
}
