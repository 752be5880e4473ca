// quenzar-cli export WORK OUT: what the export page does, with the page's choices as
// options and the format taken from OUT's extension.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

#include "cli/Cli.h"
#include "cli/Session.h"
#include "export/ExportImage.h"
#include "export/ExportOptions.h"
#include "export/PreviewPage.h"
#include "palette/Dither.h"
#include "palette/PaletteKind.h"
#include "base/FileUtil.h"

namespace qz::cli {

namespace {

// Whole decimal digits only (no sign, no blanks), at most nine of them.
std::optional<int64_t> ParseCount(const std::string& text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

TExportSize ParseSize(const std::string& text) {
  const size_t x = text.find_first_of("xX");
  const auto w = x == std::string::npos ? std::nullopt : ParseCount(text.substr(0, x));
  const auto h = x == std::string::npos ? std::nullopt : ParseCount(text.substr(x + 1));
  if (!w || !h) throw TUsageError{"--size wants WIDTHxHEIGHT in pixels, such as 160x40, not '" + text + "'"};
  if (!IsExportSize(*w, *h))
    throw TUsageError{"--size " + text + ": each side must be 1 to " + std::to_string(MaxExportSide) +
                      " pixels and the whole at most " + std::to_string(MaxExportPixels) + " pixels"};
  return {static_cast<int32_t>(*w), static_cast<int32_t>(*h)};
}

void ParseColors(const std::string& text, TExportOptions& o) {
  for (int bits = MinColorBits; bits <= MaxColorBits; ++bits)
    if (text == std::to_string(1 << bits)) {
      o.ColorBits = bits;
      o.NumberOfColors = ColorEntryText(bits);
      return;
    }
  throw TUsageError{"--colors wants 8, 16, 32, 64, 128 or 256, not '" + text + "'"};
}

void ParsePalette(const std::string& text, TExportOptions& o) {
  std::string names;
  for (const TPaletteKindInfo& k : PaletteKinds()) {
    if (text == k.key) {
      o.PaletteKind = k.kind;
      return;
    }
    names += names.empty() ? k.key : std::string(", ") + k.key;
  }
  throw TUsageError{"--palette wants one of " + names + ", not '" + text + "'"};
}

void ParseDither(const std::string& text, TExportOptions& o) {
  std::string names;
  for (const TDitherMethodInfo& d : DitherMethods()) {
    if (text == d.key) {
      o.Dithering = d.method;
      o.Diffusion = d.exportEntry;
      return;
    }
    names += names.empty() ? d.key : std::string(", ") + d.key;
  }
  throw TUsageError{"--dither wants one of " + names + ", not '" + text + "'"};
}

// The export page's choices from the options; its start values where none is given.
TExportOptions ParseOptions(const TArgs& args) {
  TExportOptions o;
  const std::string& out = args.positional[1];
  const auto format = FormatOfFileName(out);
  if (!format)
    throw TUsageError{"cannot tell the image format of '" + out + "': use .gif, .jpg, .jpeg, .bmp, .png or .webp"};
  o.Format = *format;
  if (args.Has("--colors")) ParseColors(args.options.at("--colors"), o);
  if (args.Has("--palette")) ParsePalette(args.options.at("--palette"), o);
  if (args.Has("--dither")) ParseDither(args.options.at("--dither"), o);
  o.Transparency = !args.Has("--no-transparency");
  if (args.Has("--quality")) {
    const std::string& q = args.options.at("--quality");
    const auto quality = ParseCount(q);
    if (!quality || *quality < MinJpegQuality || *quality > MaxJpegQuality)
      throw TUsageError{"--quality wants a whole number from 1 to 100, not '" + q + "'"};
    o.JpegQuality = static_cast<int>(*quality);
    o.WebpLossy = true;  // a WebP is lossless unless a quality is asked for
  }
  if (args.Has("--gif-compression")) {
    const std::string& c = args.options.at("--gif-compression");
    if (c != "lzw" && c != "rle") throw TUsageError{"--gif-compression wants lzw or rle, not '" + c + "'"};
    o.GifCompression = c == "lzw" ? TGifCompression::Lzw : TGifCompression::RunLength;
  }
  if (args.Has("--scale")) {
    const std::string& k = args.options.at("--scale");
    if (k != "1" && k != "2" && k != "3") throw TUsageError{"--scale wants 1, 2 or 3, not '" + k + "'"};
    o.Scale = k[0] - '0';
  }
  o.States = args.Has("--states");
  o.BrowserPreview = args.Has("--preview-page");
  if (args.Has("--link") && !o.BrowserPreview) throw TUsageError{"--link goes with --preview-page"};
  return o;
}

}  // namespace

int Export(const TArgs& args) {
  const TExportOptions options = ParseOptions(args);
  // An invalid --text or --shaping is a usage error before anything is checked.
  MessageOption(args);
  ShapingOption(args);
  const bool sizeAsked = args.Has("--size");
  const TExportSize askedSize = sizeAsked ? ParseSize(args.options.at("--size")) : TExportSize{};
  if (sizeAsked && options.Scale > 1 &&
      !IsExportSize(int64_t{askedSize.width} * options.Scale, int64_t{askedSize.height} * options.Scale))
    throw TUsageError{"--size " + args.options.at("--size") + " at --scale " + std::to_string(options.Scale) +
                      " is larger than an export can be"};
  // The page shows where the file is: its full path.
  const std::string out = std::filesystem::absolute(args.positional[1]).lexically_normal().string();

  TCliSession cli;
  TDesignSession& session = cli.session;
  // The page's template is checked before any work; should the page still fail, nothing
  // is written (all or nothing).
  const std::string pageTemplate = session.Folders().PageTemplate();
  if (options.BrowserPreview && !FileExists(pageTemplate))
    throw std::runtime_error("Cannot read file " + pageTemplate);
  if (!cli.Load(args.positional[0], args)) return ExitFailed;
  cli.Build();
  const std::optional<TRenderedButton> button = session.RenderForExport();
  if (!button) return ExitFailed;
  // Without --size: the size the designer shows for the design (ExportSize.h).
  const TExportSize size = sizeAsked ? askedSize : session.ExportSize();

  session.Export(*button, size, options, out, args.Has("--link") ? args.options.at("--link") : std::string());
  return ExitOk;
}

}  // namespace qz::cli
