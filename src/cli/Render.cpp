// quenzar-cli render WORK OUT [--mask MASK]: the design's own picture (and mask), at
// the size the render made it, as a 24-bit BMP or a PNG by the file's extension.
#include <cstdio>
#include <strings.h>

#include <cstring>

#include "cli/Cli.h"
#include "cli/Session.h"
#include "image/formats/BmpWriter.h"
#include "text/FontEngine.h"
#include "image/formats/PngFile.h"

namespace qz::cli {

namespace {

enum class TPictureFormat { Bmp, Png };

bool EndsWithNoCase(const std::string& s, const char* tail) {
  const size_t n = std::strlen(tail);
  return s.size() >= n && ::strcasecmp(s.c_str() + s.size() - n, tail) == 0;
}

TPictureFormat FormatOf(const std::string& path) {
  if (EndsWithNoCase(path, ".bmp")) return TPictureFormat::Bmp;
  if (EndsWithNoCase(path, ".png")) return TPictureFormat::Png;
  throw TUsageError{"cannot tell the picture format of '" + path + "': use .bmp or .png"};
}

void WritePicture(const std::string& path, const TBitmap& picture, TFileGroup& files) {
  if (FormatOf(path) == TPictureFormat::Bmp)
    WriteBmp24(path, picture, &files);
  else
    WritePng(path, picture, nullptr, &files);
}

}  // namespace

int Render(const TArgs& args) {
  const std::string& out = args.positional[1];
  FormatOf(out);  // a usage error before any work
  const bool withMask = args.Has("--mask");
  if (withMask) FormatOf(args.options.at("--mask"));

  TCliSession cli;
  if (!cli.Load(args.positional[0], args)) return ExitFailed;
  cli.BuildAndRender(withMask);

  // The picture and its mask appear together or not at all.
  const TPicture& picture = cli.session.Picture();
  TFileGroup files;
  WritePicture(out, picture.Image, files);
  if (withMask) WritePicture(args.options.at("--mask"), picture.Mask, files);
  files.Commit();
  return ExitOk;
}

int Fonts(const TArgs&) {
  for (const std::string& face : TFontEngine::TrueTypeFaces()) std::printf("%s\n", face.c_str());
  return ExitOk;
}

}  // namespace qz::cli
