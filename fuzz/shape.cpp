// Fuzz target: a button shape file (.qzkh), loaded, stretched onto button rectangles
// and made into the button body. The input is the file followed by 24 bytes that give
// one rectangle and the bevel size and extrusion of the button (the seeds carry them).
//
// Whatever the bytes, the load either gives a shape or throws with a clear message
// (leaving the shape as it was); a loaded shape maps onto any rectangle within the
// outline buffer and makes a body within its capacities; its picture, if any, lies
// within the file; mapped onto its own frame, a
// shape of corners alone comes back point for point; and the shape dialog's save of it
// loads back unchanged.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "FuzzKit.h"
#include "geometry/ButShape.h"
#include "geometry/ButtonBody.h"

namespace {

using namespace qz;

constexpr int32_t Lo = std::numeric_limits<int32_t>::min();
constexpr int32_t Hi = std::numeric_limits<int32_t>::max();

int32_t MapOnto(TButShape& shape, const TButtonRect& R, TOutlinePoints& pts) {
  int32_t count = 0;
  shape.MakeOutline(R, pts, count);
  if (count < 0 || count > MaxOutlinePoints) fuzz::Broken("an outline of " + std::to_string(count) + " points");
  if (shape.PointCount > 0 && count == 0) fuzz::Broken("a shape with points gives an empty outline");
  return count;
}

bool SameShape(const TButShape& a, const TButShape& b) {
  if (a.PointCount != b.PointCount || !(a.Frame == b.Frame)) return false;
  for (int i = 1; i <= a.PointCount; ++i)
    if ((a.Points[i].OnCurve != 0) != (b.Points[i].OnCurve != 0) || a.Points[i].X != b.Points[i].X ||
        a.Points[i].Y != b.Points[i].Y)
      return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  TButtonRect given;
  given.Left = input.ConsumeIntegral<int32_t>();
  given.Top = input.ConsumeIntegral<int32_t>();
  given.Right = input.ConsumeIntegral<int32_t>();
  given.Bottom = input.ConsumeIntegral<int32_t>();
  const int32_t butW = input.ConsumeIntegral<int32_t>();
  const int32_t butY = input.ConsumeIntegral<int32_t>();
  const std::vector<uint8_t> file = input.ConsumeRemainingBytes<uint8_t>();
  const std::string path = fuzz::WriteScratch("shape.qzkh", file.data(), file.size());

  // The shape dialog's picture: nothing, or bytes that lie inside the file.
  if (const auto picture = TButShape::ReadPicture(path); picture && picture->size() > file.size())
    fuzz::Broken("a picture larger than its shape file");

  TButShape shape;
  shape.PointCount = 3;  // a sentinel that a failed load must leave alone
  try {
    if (!shape.LoadFromFile(path)) fuzz::Broken("an existing shape file reads as missing");
  } catch (const std::runtime_error& e) {
    if (std::string(e.what()).find(path) == std::string::npos) fuzz::Broken("a shape error without its file name");
    if (shape.PointCount != 3) fuzz::Broken("a damaged shape file changed the shape");
    return 0;
  }

  TOutlinePoints pts{};
  const int32_t own = MapOnto(shape, shape.Frame, pts);
  bool corners = true;
  for (int i = 1; i <= shape.PointCount; ++i) corners = corners && shape.Points[i].OnCurve != 0;
  if (corners && shape.PointCount > 0) {
    if (own != shape.PointCount + 1) fuzz::Broken("a shape of corners mapped onto its frame lost points");
    for (int i = 1; i <= own; ++i) {
      const TShapePoint& p = shape.Points[i <= shape.PointCount ? i : 1];
      if (pts[i].x != p.X || pts[i].y != p.Y) fuzz::Broken("a shape mapped onto its own frame moved a corner");
    }
  }
  for (const TButtonRect& R : {TButtonRect{-200, 60, 200, -60}, TButtonRect{0, 0, 0, 0}, TButtonRect{50, -50, -50, 50},
                               TButtonRect{Lo, Hi, Hi, Lo}})
    MapOnto(shape, R, pts);

  // The button body of the outline on the given rectangle, as the build makes it.
  TParams params;
  params.ButW = butW;
  params.ButY = butY;
  TButtonOutline outline;
  outline.Count = MapOnto(shape, given, outline.Pts);
  TView3D view;
  MakeButtonBody(outline, params, view);
  if (view.BodyCount() != 1) fuzz::Broken("no button body");
  const TBody& body = view.Body(1);
  if (body.FaceCount() < 1 || body.FaceCount() > TBody::MaxFaces || body.VertexCount() > TBody::MaxVertices)
    fuzz::Broken("a button body of " + std::to_string(body.FaceCount()) + " faces");

  const std::string copy = fuzz::ScratchDir() + "copy.qzkh";
  shape.SaveToFile(copy);
  TButShape again;
  if (!again.LoadFromFile(copy) || !SameShape(shape, again)) fuzz::Broken("a saved shape loads back differently");
  return 0;
}
