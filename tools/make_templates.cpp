// make_templates: writes the designs of the installation (the templates in
// data/Templates and the factory designs data/default.dat and data/Default.dat) from
// readable descriptions (tools/designs/*.txt), each rendered by our own renderer and
// saved with its 120 x 40 icon as the designer's Save does.
//
//   build/tools/make_templates tools/designs data [PNG_FOLDER]
//
// A description is INI text (";" starts a comment). Section [Design] says what is
// not a design field:
//   File=Templates/Name.qzpl   where the design goes, inside the program folder
//   Text=Home                  the message
//   Font=Arial  Size=18  Bold=1  Italic=0  Underline=0  Charset=0
//                              the font of every character
// The other sections and keys are those of a work file (Message, Button, Render,
// Light, General.ExpWidth/ExpHeight); what a description leaves out keeps the
// default of a fresh design. Colours may be written #RRGGBB. Texture and shape
// names are bare file names, found in the program folder's Textures and BShapes.
// Without ExpWidth and ExpHeight the export size is the one the designer fits to the
// picture of the design as it begins a new design from the file (laid out with
// shaping): the size a design begun from it shows.
//
// With a third folder the tool also writes there, to look at, each rendered picture
// (NAME.png) and its icon (NAME-icon.png).
#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "DesignRender.h"
#include "base/IniFile.h"
#include "base/NumberText.h"
#include "image/formats/PngFile.h"
#include "image/Resample.h"
#include "export/ExportSize.h"
#include "scene/IconRecord.h"
#include "scene/MessageText.h"
#include "session/WorkIcon.h"
#include "scene/WorkFile.h"

namespace {

using namespace qz;
namespace fs = std::filesystem;

// "#RRGGBB" as a colour of the work file (red in the low byte), in decimal.
std::string ColorValue(const std::string& value, const std::string& where) {
  if (value.size() != 7 || value.find_first_not_of("0123456789abcdefABCDEF", 1) != std::string::npos)
    throw std::runtime_error(where + ": a colour is #RRGGBB, not " + value);
  const unsigned long rgb = std::stoul(value.substr(1), nullptr, 16);
  return IntToText(RGBToColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
}

struct TDescription {
  std::string File;
  std::string Text;
  TCharFormat Format;
  TIniFile Design;  // the work-file keys, in memory
  bool HasExportSize = false;
};

TDescription ReadDescription(const fs::path& path) {
  const TIniFile source(path.string());
  if (!source.ReadError().empty()) throw std::runtime_error(source.ReadError());
  const std::string name = path.filename().string();
  TDescription d;
  d.File = source.ReadString("Design", "File", "");
  d.Text = source.ReadString("Design", "Text", "");
  if (d.File.empty() || d.Text.empty()) throw std::runtime_error(name + ": [Design] needs File and Text");
  auto number = [&](const char* key, int32_t def) {
    const std::string v = source.ReadString("Design", key, "");
    if (v.empty()) return def;
    const std::optional<int32_t> n = TextToInt(v);
    if (!n) throw std::runtime_error(name + ": [Design] " + key + " is not a number");
    return *n;
  };
  d.Format.Name = source.ReadString("Design", "Font", d.Format.Name);
  d.Format.Size = number("Size", d.Format.Size);
  d.Format.Charset = number("Charset", 0);
  d.Format.Bold = number("Bold", 0) != 0;
  d.Format.Italic = number("Italic", 0) != 0;
  d.Format.Underline = number("Underline", 0) != 0;

  d.Design.WriteString("General", "Version", WorkFileVersion);
  for (const auto& [section, entry] : source.Entries()) {
    const auto& [key, raw] = entry;
    if (section == "Design") continue;
    std::string value = raw;
    value.erase(0, value.find_first_not_of(' '));
    value.erase(value.find_last_not_of(' ') + 1);
    if (!value.empty() && value[0] == '#') value = ColorValue(value, name + ": [" + section + "] " + key);
    d.Design.WriteString(section, key, value);
    if (section == "General" && (key == "ExpWidth" || key == "ExpHeight")) d.HasExportSize = true;
  }
  return d;
}

// Makes, saves and returns the rendered picture of one description.
TBitmap MakeDesign(const TDescription& d, const std::string& programDir) {
  tools::TStrictMessages strict;
  TNullProgressSink quiet;
  TParams scene;
  TMessageText message;
  if (!LoadDesignFromIni(scene, message, d.Design, strict)) throw std::runtime_error("version refused");
  message.Append(d.Text, d.Format);
  TDesignSession session(programDir, strict, quiet);
  session.Start(scene, message);
  tools::RenderDesign(session);
  const TBitmap image = session.Picture().Image;
  // The file keeps what the build computed, and the bare names of its textures (the
  // session stores the paths it found them at).
  TParams saved = session.BuiltParams();
  saved.Message.TexFile = scene.Message.TexFile;
  saved.Button.TexFile = scene.Button.TexFile;
  if (d.HasExportSize) {
    saved.ExpWidth = scene.ExpWidth;
    saved.ExpHeight = scene.ExpHeight;
  } else {
    TParams begun = scene;
    begun.Shaping = true;
    session.Start(begun, message);
    session.Rebuild();
    const TExportSize size = session.FittedExportSize();
    saved.ExpWidth = size.width;
    saved.ExpHeight = size.height;
  }

  // Written anew, so nothing of an older version of the design stays in the file.
  const std::string out = programDir + d.File;
  fs::create_directories(fs::path(out).parent_path());
  fs::remove(out);
  SaveWorkFile(out, saved, message);
  // The icon as Save makes it: the picture resampled onto 120 x 40, proportions not kept.
  SaveIconToIni(out, "Icon", MakeIcon(image));
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: make_templates DESCRIPTIONS_FOLDER PROGRAM_FOLDER [PNG_FOLDER]\n");
    return 2;
  }
  try {
    std::vector<fs::path> files;
    for (const fs::directory_entry& e : fs::directory_iterator(argv[1]))
      if (e.is_regular_file() && e.path().extension() == ".txt") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    const std::string programDir = std::string(argv[2]) + "/";
    const std::string png = argc == 4 ? std::string(argv[3]) + "/" : std::string();
    if (!png.empty()) fs::create_directories(png);
    for (const fs::path& file : files) {
      const TDescription d = ReadDescription(file);
      const TBitmap picture = MakeDesign(d, programDir);
      if (!png.empty()) {
        const std::string stem = file.stem().string();
        WritePng(png + stem + ".png", picture);
        TBitmap icon;
        LoadIconFromIni(programDir + d.File, "Icon", icon);
        WritePng(png + stem + "-icon.png", icon);
      }
      std::printf("%s: %s, %d x %d\n", file.filename().c_str(), d.File.c_str(), picture.Width(), picture.Height());
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_templates: %s\n", e.what());
    return 1;
  }
  return 0;
}
