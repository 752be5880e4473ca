// The installation's designs and shapes, rendered as the program renders them: every
// shape file matches its description, holds the text at any length and makes a button
// round a short text; every template and factory design loads, builds and renders
// without a message, and each rendered picture is still the one whose checksum
// tests/data/golden.txt pins (so speed work can prove it changed no pixel).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "../../tools/ShapeDescription.h"
#include "geometry/ButShape.h"
#include "image/Bitmap.h"
#include "base/FileUtil.h"
#include "text/FontEngine.h"
#include "image/ImageFile.h"
#include "image/formats/PngFile.h"
#include "render/RenderDriver.h"
#include "export/ExportSize.h"
#include "session/DesignSession.h"
#include "scene/IconRecord.h"
#include "scene/MessageText.h"
#include "scene/WorkFile.h"
#include "support/InstallationFiles.h"
#include "support/MessageCollector.h"
#include "support/TempDir.h"

namespace qz {
namespace {

namespace fs = std::filesystem;

using test::ProgramDir;
const std::string GoldenPath = std::string(QZ_SOURCE_DIR) + "/tests/data/golden.txt";

void LeavePicture(const std::string& name, const TBitmap& picture) {
  WritePng(test::OutputPath("installation/" + name + ".png"), picture);
}

// The templates and both factory designs, named relative to the program folder.
std::vector<std::string> Designs() {
  std::vector<std::string> names = {"default.dat", "Default.dat"};
  for (const fs::path& p : test::InstallationFiles("Templates", {".qzpl"})) names.push_back("Templates/" + p.filename().string());
  return names;
}

// 64-bit FNV-1a, as 16 hexadecimal digits.
struct TFnv {
  uint64_t Hash = 14695981039346656037ull;
  void Add(uint8_t b) { Hash = (Hash ^ b) * 1099511628211ull; }
  std::string Text() const {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(Hash));
    return text;
  }
};

// The picture's colour channels row by row (the fourth byte of a pixel is no part of
// the picture), as 16 hexadecimal digits.
std::string PictureHash(const TBitmap& b) {
  TFnv f;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      const uint32_t p = b.Pixel(x, y);
      f.Add(static_cast<uint8_t>(PixelRed(p)));
      f.Add(static_cast<uint8_t>(PixelGreen(p)));
      f.Add(static_cast<uint8_t>(PixelBlue(p)));
    }
  return f.Text();
}

std::string FileHash(const std::string& path) {
  const std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(path, 64u << 20);
  if (!bytes) return "unreadable";
  TFnv f;
  for (uint8_t b : *bytes) f.Add(b);
  return f.Text();
}

// A design loaded, built and rendered with its mask as the export renders it, the
// messages it gave collected.
struct TRendered {
  test::TMessageCollector Messages;
  TNullProgressSink Progress;
  TDesignSession Session{ProgramDir, Messages, Progress};
  const TParams& Params = Session.Params();
  const TMessageText& Message = Session.Text();
  const TPicture& Picture = Session.Picture();
  bool Loaded = false;

  explicit TRendered(const std::string& design) {
    Loaded = Session.Load(ProgramDir + design);
    if (!Loaded) return;
    Session.Rebuild();
    Session.Render(true, false);
  }
};

// Inside a closed polygon, by the even-odd rule.
bool Inside(const std::vector<TPoint>& poly, double x, double y) {
  bool in = false;
  for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
    const TPoint a = poly[i], b = poly[j];
    if ((a.y > y) != (b.y > y) && x < a.x + (y - a.y) * (b.x - a.x) / static_cast<double>(b.y - a.y)) in = !in;
  }
  return in;
}

double SignedArea2(const std::vector<TPoint>& poly) {
  double a = 0;
  for (size_t i = 0; i < poly.size(); ++i) {
    const TPoint p = poly[i], q = poly[(i + 1) % poly.size()];
    a += static_cast<double>(p.x) * q.y - static_cast<double>(q.x) * p.y;
  }
  return a;
}

// Every shape file is the one its description makes, keeps the text inside its outline
// at any text length, and builds a button round a short text.
TEST(InstallationDesigns, EveryShapeHoldsTheTextAndBuildsAButton) {
  const std::vector<fs::path> shapes = test::InstallationFiles("BShapes", {".qzkh"});
  ASSERT_GE(shapes.size(), 10u);
  // Short, long and tall button rectangles, and one off the origin.
  const TButtonRect rects[] = {{-700, 250, 700, -250}, {-3000, 300, 3000, -300}, {-900, 900, 900, -900}, {-1200, 420, 1600, -310}};
  const std::set<std::string> straightShapes = {"Hexagon", "Starburst"};  // every other shape has round parts
  for (const fs::path& file : shapes) {
    const std::string name = file.stem().string();
    SCOPED_TRACE(name);
    TButShape shape;
    ASSERT_TRUE(shape.LoadFromFile(file.string()));
    EXPECT_EQ(tools::HasControlPoints(shape), straightShapes.count(name) == 0);
    const std::optional<std::vector<uint8_t>> description = ReadWholeFile(std::string(QZ_SOURCE_DIR) + "/tools/shapes/" + name + ".txt", 1 << 20);
    ASSERT_TRUE(description) << "no description";
    const TButShape described = tools::ParseShapeDescription(std::string(description->begin(), description->end()), name + ".txt");
    EXPECT_EQ(shape.Frame, described.Frame);
    ASSERT_EQ(shape.PointCount, described.PointCount);
    for (int i = 1; i <= shape.PointCount; ++i)
      EXPECT_EQ((std::tuple{shape.Points[i].OnCurve, shape.Points[i].X, shape.Points[i].Y}),
                (std::tuple{described.Points[i].OnCurve, described.Points[i].X, described.Points[i].Y})) << "point " << i;

    for (const TButtonRect& R : rects) {
      TOutlinePoints pts{};
      int32_t count = 0;
      shape.MakeOutline(R, pts, count);
      ASSERT_GT(count, shape.PointCount / 2);
      ASSERT_LT(count, 400) << "the button body holds 2048 faces, four an outline point";
      EXPECT_EQ(pts[1], pts[count]) << "closed";
      const std::vector<TPoint> poly(pts.begin() + 1, pts.begin() + count);
      EXPECT_LT(SignedArea2(poly), 0) << "clockwise with y up, so the bevel lies outside";
      // The rectangle the text and its margins fill lies inside the outline.
      for (double fx = 0; fx <= 1; fx += 0.125)
        for (double fy : {0.0, 1.0}) {
          const double x = R.Left + 1 + fx * (R.Right - R.Left - 2), y = R.Bottom + 1 + fy * (R.Top - R.Bottom - 2);
          EXPECT_TRUE(Inside(poly, x, y)) << "edge point (" << x << ", " << y << ") of " << R.Left << ".." << R.Right;
          EXPECT_TRUE(Inside(poly, R.Left + 1 + fy * (R.Right - R.Left - 2), R.Bottom + 1 + fx * (R.Top - R.Bottom - 2)));
        }
    }

    test::TMessageCollector messages;
    TNullProgressSink progress;
    TDesignSession session(ProgramDir, messages, progress);
    TParams p;
    p.Type = TButtonType::ShapeFile;
    p.ShapeName = file.filename().string();
    TMessageText go;
    go.Append("Go", TCharFormat{});
    session.Start(p, go);
    ASSERT_TRUE(session.Rebuild());
    EXPECT_TRUE(messages.Texts.empty()) << messages.Texts.front();
    const TView3D& view = session.Built().View;
    ASSERT_EQ(view.BodyCount(), 3) << "two letters and the button";
    // The shape's outline, not an empty one: a wall, bevel, ring and skirt for every
    // outline point (each point on the curve at least) and the plane quad.
    int onCurve = 0;
    for (int i = 1; i <= shape.PointCount; ++i) onCurve += shape.Points[i].OnCurve != 0;
    EXPECT_GE(view.Body(3).FaceCount(), 4 * onCurve + 1);
  }
}

// "key = value" lines of the checksum file, comments ("#") and blank lines left out.
std::map<std::string, std::string> ReadGolden(const std::string& text) {
  std::map<std::string, std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const size_t eq = line.find(" = ");
    if (eq != std::string::npos) lines[line.substr(0, eq)] = line.substr(eq + 3);
  }
  return lines;
}

// What the checksums depend on besides our code: the face file each font of the
// designs resolves to and that file's contents, and the pixels each texture file
// decodes to (the JPEG decoder is the system's).
void AddSources(const TRendered& r, std::map<std::string, std::string>& lines) {
  for (const TMessageText::TChar& c : r.Message.Chars()) {
    const TCharFormat& f = c.Format;
    const TFaceChoice face = TFontEngine::ResolveFace(f.Name, f.Bold, f.Italic, static_cast<uint8_t>(f.Charset));
    std::string key = "font " + f.Name + (f.Bold ? " bold" : "") + (f.Italic ? " italic" : "");
    lines[key] = face.Found ? BareFileName(face.File) + " " + FileHash(face.File) : "none";
  }
  for (const std::string& texture : {r.Params.Message.TexFile, r.Params.Button.TexFile})
    if (!texture.empty()) lines["texture " + BareFileName(texture)] = PictureHash(LoadImageFile(texture));
}

// Every template and factory design renders cleanly, and its picture is still the one
// golden.txt pins.
TEST(InstallationDesigns, RenderedPicturesMatchTheirCheckedInChecksums) {
  std::map<std::string, std::string> actual;
  const std::vector<std::string> designs = Designs();
  ASSERT_GE(designs.size(), 8u) << "six templates or more, and the two factory designs";
  for (const std::string& design : designs) {
    SCOPED_TRACE(design);
    // The files it names are bare names, found in the installation's folders.
    const TIniFile ini(ProgramDir + design);
    for (auto [section, key] : {std::pair{"Message", "TexFile"}, {"Button", "TexFile"}, {"Button", "ShapeName"}}) {
      const std::string name = ini.ReadString(section, key, "");
      EXPECT_EQ(name, BareFileName(name));
    }

    // Loaded, built and rendered without a message, its textures in use, an icon for
    // the welcome dialog; the export size saved with it is the one a design begun from
    // it (laid out with shaping) fits to its picture, so it shows undistorted.
    TRendered r(design);
    ASSERT_TRUE(r.Loaded) << (r.Messages.Texts.empty() ? "" : r.Messages.Texts.front());
    LeavePicture("design-" + fs::path(design).stem().string() + (design == "default.dat" ? "-start" : ""), r.Picture.Image);
    EXPECT_TRUE(r.Messages.Texts.empty()) << r.Messages.Texts.front();
    EXPECT_GT(r.Message.Length(), 0);
    EXPECT_EQ(r.Session.Textured(TPart::Text), !r.Params.Message.TexFile.empty());
    EXPECT_EQ(r.Session.Textured(TPart::Button), !r.Params.Button.TexFile.empty());
    TDesignSession begun(ProgramDir, r.Messages, r.Progress);
    ASSERT_TRUE(begun.Begin(ProgramDir + design));
    begun.Rebuild();
    EXPECT_EQ((TExportSize{r.Params.ExpWidth, r.Params.ExpHeight}), begun.FittedExportSize());
    TBitmap icon;
    if (design.rfind("Templates/", 0) == 0) {
      EXPECT_TRUE(LoadIconFromIni(ProgramDir + design, "Icon", icon));
      EXPECT_EQ(icon.Width(), IconWidth);
    }

    AddSources(r, actual);
    const TBitmap& image = r.Picture.Image;
    actual["picture " + design] = std::to_string(image.Width()) + "x" + std::to_string(image.Height()) + " image " +
                                  PictureHash(image) + " mask " + PictureHash(r.Picture.Mask);
  }

  const std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(GoldenPath, 1 << 20);
  const std::string text = bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
  if (std::getenv("QZ_UPDATE_GOLDEN")) {
    // The explanation at the top of the file stays; the lines after it are replaced.
    std::string header;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line) && (line.empty() || line[0] == '#');) header += line + "\n";
    std::ofstream out(GoldenPath, std::ios::binary | std::ios::trunc);
    out << header;
    for (const auto& [key, value] : actual) out << key << " = " << value << "\n";
    GTEST_SKIP() << "wrote " << GoldenPath;
  }
  ASSERT_TRUE(bytes) << "no " << GoldenPath;
  const std::map<std::string, std::string> expected = ReadGolden(text);

  auto differs = [&](const std::string& kind) {
    for (const auto& [key, value] : expected)
      if (key.rfind(kind, 0) == 0 && actual.count(key) && actual.at(key) != value) return true;
    return false;
  };
  EXPECT_FALSE(differs("font ")) << "The fonts installed here are not those the checksums were made with "
                                    "(fonts-liberation 1.07 and DejaVu, from setup.sh): the pictures below cannot match.";
  EXPECT_FALSE(differs("texture ")) << "The textures decode to other pixels than when the checksums were made "
                                       "(another JPEG or GIF decoder?): the pictures below cannot match.";
  for (const auto& [key, value] : expected) {
    const auto found = actual.find(key);
    if (found == actual.end())
      ADD_FAILURE() << key << ": listed in golden.txt, but no longer made";
    else
      EXPECT_EQ(found->second, value) << key << " renders differently";
  }
  for (const auto& [key, value] : actual)
    if (!expected.count(key)) ADD_FAILURE() << key << " = " << value << ": not in golden.txt";
}

}  // namespace
}  // namespace qz
