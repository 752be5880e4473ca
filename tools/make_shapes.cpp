// make_shapes: writes the button shape files of the installation (data/BShapes/*.qzkh)
// from their readable descriptions (tools/shapes/*.txt, format in ShapeDescription.h),
// each with the 120 x 40 picture that the shape dialog shows: the shape rendered by
// our own renderer as a plain button without text, on its frame, scaled to fit.
//
//   build/tools/make_shapes tools/shapes data [PNG_FOLDER]
//
// The second argument is the program folder (the shapes go into its BShapes). With a
// third folder the tool also writes there, to look at: each outline mapped onto a
// short, a long and a tall button rectangle (NAME-outline.png), the rendered button
// (NAME-button.png) and the picture (NAME-picture.png).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "DesignRender.h"
#include "ShapeDescription.h"
#include "geometry/ButShape.h"
#include "image/Bitmap.h"
#include "base/FileUtil.h"
#include "image/formats/JpegWriter.h"
#include "image/formats/PngFile.h"
#include "scene/IconRecord.h"

namespace {

using namespace qz;
namespace fs = std::filesystem;

// Button rectangles a shape is drawn on: short text, long text, tall text.
const TButtonRect SampleRects[] = {{-900, 300, 900, -300}, {-2400, 300, 2400, -300}, {-900, 560, 900, -560}};

// Plane coordinates (y up) into a picture at an eighth of their size.
class TOutlineCanvas {
 public:
  TOutlineCanvas(int width, int height) : image_(width, height) { image_.Fill(RGBToPixel(255, 255, 255)); }

  void Line(TPoint a, TPoint b, int originX, int originY, uint32_t colour) {
    int x0 = originX + a.x / 8, y0 = originY - a.y / 8;
    const int x1 = originX + b.x / 8, y1 = originY - b.y / 8;
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
      if (x0 >= 0 && y0 >= 0 && x0 < image_.Width() && y0 < image_.Height()) image_.SetPixel(x0, y0, colour);
      if (x0 == x1 && y0 == y1) break;
      const int e2 = 2 * err;
      if (e2 >= dy) err += dy, x0 += sx;
      if (e2 <= dx) err += dx, y0 += sy;
    }
  }
  const TBitmap& Image() const { return image_; }

 private:
  TBitmap image_;
};

// The outline on each sample rectangle, the rectangle in grey beneath it.
void DrawOutlines(TButShape shape, const std::string& pngPath) {
  TOutlineCanvas canvas(760, 560);
  const int originY[] = {90, 250, 420};
  for (int k = 0; k < 3; ++k) {
    const TButtonRect& R = SampleRects[k];
    const int ox = 380, oy = originY[k];
    const TPoint corners[] = {{R.Left, R.Top}, {R.Right, R.Top}, {R.Right, R.Bottom}, {R.Left, R.Bottom}};
    for (int c = 0; c < 4; ++c) canvas.Line(corners[c], corners[(c + 1) % 4], ox, oy, RGBToPixel(190, 190, 190));
    TOutlinePoints pts{};
    int32_t count = 0;
    shape.MakeOutline(R, pts, count);
    for (int i = 1; i < count; ++i) canvas.Line(pts[i], pts[i + 1], ox, oy, RGBToPixel(0, 0, 170));
  }
  WritePng(pngPath, canvas.Image());
}

// The shape as the shape dialog shows it: a steel-blue button with a medium bevel,
// lifted a little off a white page, on the shape's own frame.
TBitmap RenderButton(const TButShape& shape, const std::string& fileName, const std::string& programDir) {
  tools::TStrictMessages strict;
  TNullProgressSink quiet;
  TDesignSession session(programDir, strict, quiet);
  TParams p;
  p.Type = TButtonType::ShapeFile;
  p.ShapeName = fileName;
  p.HoldButtonSize = true;
  p.ButLeft = shape.Frame.Left;
  p.ButTop = shape.Frame.Top;
  p.ButRight = shape.Frame.Right;
  p.ButBottom = shape.Frame.Bottom;
  p.ButW = 24;
  p.ButY = -40;
  p.Button.Altitude = 24;
  p.BkgColor = RGBToColor(255, 255, 255);
  p.Button.DColor = RGBToColor(16, 32, 64);
  p.Button.MColor = RGBToColor(70, 120, 190);
  p.Button.BColor = RGBToColor(235, 244, 255);
  p.Button.ColSplit = 204;
  session.Start(p, TMessageText());
  tools::RenderDesign(session);
  return session.Picture().Image;
}

std::vector<fs::path> Descriptions(const std::string& folder) {
  std::vector<fs::path> files;
  for (const fs::directory_entry& e : fs::directory_iterator(folder))
    if (e.is_regular_file() && e.path().extension() == ".txt") files.push_back(e.path());
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: make_shapes DESCRIPTIONS_FOLDER PROGRAM_FOLDER [PNG_FOLDER]\n");
    return 2;
  }
  try {
    const std::string programDir = std::string(argv[2]) + "/";
    const std::string out = programDir + "BShapes/";
    fs::create_directories(out);
    const std::string png = argc == 4 ? std::string(argv[3]) + "/" : std::string();
    if (!png.empty()) fs::create_directories(png);
    for (const fs::path& file : Descriptions(argv[1])) {
      const std::optional<std::vector<uint8_t>> text = ReadWholeFile(file.string(), 1 << 20);
      if (!text) throw std::runtime_error("cannot read " + file.string());
      const TButShape shape = tools::ParseShapeDescription(std::string(text->begin(), text->end()), file.filename().string());
      const std::string name = file.stem().string();
      // Written first without its picture, which is drawn from the file just written.
      shape.SaveToFile(out + name + ".qzkh");
      const TBitmap button = RenderButton(shape, name + ".qzkh", programDir);
      const TBitmap picture = tools::FitPicture(button, IconWidth, IconHeight, RGBToColor(255, 255, 255));
      shape.SaveToFile(out + name + ".qzkh", EncodeJpeg(picture, IconJpegQuality));
      if (!png.empty()) {
        DrawOutlines(shape, png + name + "-outline.png");
        WritePng(png + name + "-button.png", button);
        WritePng(png + name + "-picture.png", picture);
      }
      std::printf("%s: %d points%s\n", name.c_str(), shape.PointCount, tools::HasControlPoints(shape) ? ", curved" : "");
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_shapes: %s\n", e.what());
    return 1;
  }
  return 0;
}
