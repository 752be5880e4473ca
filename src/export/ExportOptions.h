// The choices of the "Export 3D Button " page as plain data, and the naming rules of
// exported files. The designer fills TExportOptions from its controls; quenzar-cli
// from its options. Nothing here touches a window.
//
//   TExportOptions o;                          // the page's start values
//   o.Format = FormatOfFileName("go.jpg").value();
//   std::string name = DefaultImageName(U"Click Here 2!", TExportFormat::Gif);  // "ClickHere2.gif"
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "palette/Dither.h"
#include "image/formats/GifWriter.h"  // TGifCompression
#include "base/FileUtil.h"  // ReplaceFileExt
#include "palette/PaletteKind.h"
#include "scene/Folders.h"
#include "scene/MessageText.h"
#include "scene/Params.h"  // TButtonState

namespace qz {

// The formats in the order of the page's sub-pages and of the save dialog's filter
// (PNG and WebP, the formats with an alpha channel, last).
enum class TExportFormat { Gif = 1, Jpeg = 2, Bmp = 3, Png = 4, WebP = 5 };

// High-density pictures: at most three times the export size.
constexpr int MaxExportScale = 3;

struct TExportOptions {
  TExportFormat Format = TExportFormat::Gif;
  int ColorBits = 8;                                   // Colors index + 3: 3 (" 8") .. 8 (" 256")
  TPaletteKind PaletteKind = TPaletteKind::Optimized;  // code 7
  TDitherMethod Dithering = TDitherMethod::None;       // code 0
  bool Transparency = true;
  TGifCompression GifCompression = TGifCompression::Lzw;
  int JpegQuality = 90;                                // 1..100, also a lossy WebP's
  bool WebpLossy = false;                              // WebP: lossless unless asked
  // 1, or 2 or 3: a picture of that many times the size as well, named name@2x.ext.
  int Scale = 1;
  bool States = false;                                 // name-hover.ext and name-pressed.ext as well
  bool BrowserPreview = true;
  std::string Diffusion = " None";      // the Dithering entry's text, for the preview page
  std::string NumberOfColors = " 256";  // the Colors entry's text, for the preview page
};

constexpr int MinColorBits = 3;
constexpr int MaxColorBits = 8;
constexpr int MinJpegQuality = 1;
constexpr int MaxJpegQuality = 100;

// The "Colors" list: entry i holds 2^(i + 3) colours. (The Palette and Dithering
// lists are the colour reduction's own tables, PaletteKinds() and DitherMethods().)
inline constexpr std::array<const char*, 6> ColorEntries{" 8", " 16", " 32", " 64", " 128", " 256"};
// The Colors entry's text for a colour resolution (" 256" for 8 bits); empty outside 3..8.
std::string ColorEntryText(int colorBits);

// ".gif", ".jpg", ".bmp", ".png", ".webp".
const char* FormatExtension(TExportFormat format);
// The format a file name asks for by its extension (".gif", ".jpg", ".jpeg", ".bmp",
// ".png", ".webp", in any case); nothing for any other.
std::optional<TExportFormat> FormatOfFileName(const std::string& path);
// True for the formats whose pictures carry an alpha channel (PNG, WebP).
bool HasAlphaChannel(TExportFormat format);

// The file of one picture of an export to path: the state's suffix ("-hover",
// "-pressed") and, for a scale above 1, "@2x" or "@3x" before the extension.
// "b/go.png", Hover, 2 -> "b/go-hover@2x.png"; a name without extension gets them
// at its end.
std::string StatePicturePath(const std::string& path, TButtonState state, int scale);
// "", "-hover", "-pressed".
const char* StateSuffix(TButtonState state);
// Beside the pictures of an export with states: the HTML snippet that swaps them,
// "b/go.html" for "b/go.png".
std::string StatesSnippetPath(const std::string& path);

// The name proposed for an export (UTF-8): the message's letters and digits of any
// script in order (with the marks that combine with letters, and the ASCII signs
// [\]^_` and {|}~), everything else dropped, with the format's extension.
// "Click Here 2!" -> "ClickHere2.gif", "Привет!" -> "Привет.gif". When nothing is
// left the name is "Untitled.gif": a bare ".gif" would be a hidden file here. The
// backslash is dropped too: browsers read it as a folder separator in the preview
// page's file URL, so the page would not find the picture (Windows read it as one as
// well).
std::string DefaultImageName(std::u32string_view message, TExportFormat format);
// The same for the message's characters, a symbol font's taken by their codes (the
// letters a user typed, not the pictures the font draws for them).
std::string DefaultImageName(const TMessageText& message, TExportFormat format);

// The folder exports go to by default (Images/ in the program folder, or Quenzar/ in
// the user's pictures folder), created when missing.
// Gives the folder (with its "/") even when it could not be made: the save dialog then
// reports the problem when it writes.
std::string ExportImagesFolder(const TFolders& folders);

}  // namespace qz
