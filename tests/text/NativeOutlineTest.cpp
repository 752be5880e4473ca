#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "text/FontEngine.h"
#include "text/NativeOutline.h"
#include "support/GlyphRecordsKit.h"

namespace qz {
namespace {

using test::DecodeRecords;
using test::TDecodedPolygon;
using test::TRawPoint;

// A hand-made outline: points in 26.6 units with their on-curve flags, split into
// contours by their last indices.
struct THandOutline {
  std::vector<FT_Vector> points;
  std::vector<char> tags;
  std::vector<short> ends;
  void Contour(const std::vector<std::tuple<FT_Pos, FT_Pos, bool>>& pts) {
    for (auto [x, y, on] : pts) {
      points.push_back({x, y});
      tags.push_back(on ? FT_CURVE_TAG_ON : FT_CURVE_TAG_CONIC);
    }
    ends.push_back(static_cast<short>(points.size() - 1));
  }
  FT_Outline Outline() {
    FT_Outline o{};
    o.n_contours = static_cast<short>(ends.size());
    o.n_points = static_cast<short>(points.size());
    o.points = points.data();
    o.tags = tags.data();
    o.contours = ends.data();
    return o;
  }
};

// A polygon as text in 26.6 units (halves shown): "(0,64) Q(64,0)(128,64) L(64,128)".
std::string Describe(const TDecodedPolygon& p) {
  auto point = [](TRawPoint r) {
    std::ostringstream o;
    o << "(" << r.x / 1024.0 << "," << r.y / 1024.0 << ")";
    return o.str();
  };
  std::string s = point(p.Start);
  for (const auto& c : p.Curves) {
    s += c.Type == TT_PRIM_LINE ? " L" : c.Type == TT_PRIM_QSPLINE ? " Q" : " ?";
    for (TRawPoint r : c.Points) s += point(r);
  }
  return s;
}

TEST(NativeOutline, StartRuleAndRunsOfHandMadeContours) {
  THandOutline h;
  // First point off-curve, last on-curve: the walk starts at the last point.
  h.Contour({{64, 0, false}, {128, 64, true}, {64, 128, true}, {0, 64, true}});
  // All points off-curve: the start is the exact mid-point of last and first (half a
  // 26.6 unit here, which the 16.16 form keeps).
  h.Contour({{0, 64, false}, {64, 128, false}, {128, 64, false}, {65, 1, false}});
  // First point on-curve; the spline ends on an on-curve point and the straight return
  // to the start gets no record.
  h.Contour({{0, 0, true}, {64, 0, true}, {64, 64, false}, {0, 64, true}});
  // The last stretch is curved: the last spline record ends on the start.
  h.Contour({{0, 0, true}, {64, 0, true}, {64, 64, false}});
  std::vector<uint8_t> bytes;
  FT_Outline o = h.Outline();
  ASSERT_TRUE(MakeNativeOutline(o, bytes));
  bool ok = false;
  const auto p = DecodeRecords(bytes, ok);
  ASSERT_TRUE(ok);
  ASSERT_EQ(p.size(), 4u);
  EXPECT_EQ(Describe(p[0]), "(0,64) Q(64,0)(128,64) L(64,128)");
  EXPECT_EQ(Describe(p[1]), "(32.5,32.5) Q(0,64)(64,128)(128,64)(65,1)(32.5,32.5)");
  EXPECT_EQ(Describe(p[2]), "(0,0) L(64,0) Q(64,64)(0,64)");
  EXPECT_EQ(Describe(p[3]), "(0,0) L(64,0) Q(64,64)(0,0)");
  EXPECT_EQ(p[0].Cb, 16u + (4 + 16) + (4 + 8));
  for (const auto& poly : p) EXPECT_EQ(poly.Type, TT_POLYGON_TYPE);
}

TEST(NativeOutline, RefusesWhatRecordsCannotHold) {
  // A cubic point; 32768 pixels (no 16.16 value); a contour end beyond the points;
  // the largest coordinates that fit.
  THandOutline cubic, far, broken, edge;
  cubic.Contour({{0, 0, true}, {64, 0, true}, {64, 64, true}});
  cubic.tags[1] = FT_CURVE_TAG_CUBIC;
  far.Contour({{0, 0, true}, {32768 * 64, 0, true}, {0, 64, true}});
  broken.Contour({{0, 0, true}, {64, 0, true}});
  broken.ends[0] = 5;
  edge.Contour({{-32768 * 64, 0, true}, {32768 * 64 - 1, 0, true}, {0, 64, true}});
  std::vector<uint8_t> bytes{1, 2, 3};
  for (THandOutline* refused : {&cubic, &far, &broken}) {
    FT_Outline o = refused->Outline();
    EXPECT_FALSE(MakeNativeOutline(o, bytes));
  }
  EXPECT_EQ(bytes, (std::vector<uint8_t>{1, 2, 3}));  // left as it was
  FT_Outline o = edge.Outline();
  EXPECT_TRUE(MakeNativeOutline(o, bytes));
}

// What FreeType's own decomposer makes of an outline, as a list of segments
// (kind, control, end) in 26.6 units.
struct TSegment {
  char kind;  // 'M' move, 'L' line, 'Q' conic
  FT_Vector control, to;
};

std::vector<TSegment> Decompose(const FT_Outline& o) {
  std::vector<TSegment> out;
  FT_Outline_Funcs f{};
  f.move_to = [](const FT_Vector* to, void* u) {
    static_cast<std::vector<TSegment>*>(u)->push_back({'M', {}, *to});
    return 0;
  };
  f.line_to = [](const FT_Vector* to, void* u) {
    static_cast<std::vector<TSegment>*>(u)->push_back({'L', {}, *to});
    return 0;
  };
  f.conic_to = [](const FT_Vector* c, const FT_Vector* to, void* u) {
    static_cast<std::vector<TSegment>*>(u)->push_back({'Q', *c, *to});
    return 0;
  };
  f.cubic_to = [](const FT_Vector*, const FT_Vector*, const FT_Vector*, void*) { return 1; };
  FT_Outline copy = o;
  EXPECT_EQ(FT_Outline_Decompose(&copy, &f, &out), 0);
  return out;
}

// The same segments read back from our records (in 26.6 units, mid-points exact).
std::vector<TSegment> Segments(const std::vector<TDecodedPolygon>& polygons, std::vector<bool>& exact) {
  std::vector<TSegment> out;
  auto v = [](TRawPoint p) { return FT_Vector{p.x / 1024, p.y / 1024}; };
  for (const auto& poly : polygons) {
    out.push_back({'M', {}, v(poly.Start)});
    exact.push_back(poly.Start.x % 1024 == 0 && poly.Start.y % 1024 == 0);
    bool closedByCurve = false;
    for (const auto& c : poly.Curves) {
      closedByCurve = false;
      if (c.Type == TT_PRIM_LINE) {
        for (auto p : c.Points) out.push_back({'L', {}, v(p)}), exact.push_back(true);
      } else {
        for (size_t i = 0; i + 1 < c.Points.size(); ++i) {
          const bool last = i + 2 == c.Points.size();
          TRawPoint end = last ? c.Points[i + 1]
                               : TRawPoint{(c.Points[i].x + c.Points[i + 1].x) / 2, (c.Points[i].y + c.Points[i + 1].y) / 2};
          out.push_back({'Q', v(c.Points[i]), v(end)});
          exact.push_back(last && end.x % 1024 == 0 && end.y % 1024 == 0);
        }
        closedByCurve = c.Points.back() == poly.Start;
      }
    }
    if (!closedByCurve) out.push_back({'L', {}, v(poly.Start)}), exact.push_back(true);
  }
  return out;
}

// Every glyph of Basic Latin and Latin-1/Extended-A of two faces: the records describe
// exactly the path FreeType's decomposer walks (implied mid-points, which FreeType
// truncates to 26.6 units, within one unit). These faces start every contour on-curve;
// the hand-made outlines above cover the other start rules.
TEST(NativeOutline, AgreesWithFreeTypeDecomposition) {
  FT_Library lib;
  ASSERT_EQ(FT_Init_FreeType(&lib), 0);
  for (const char* family : {"Liberation Sans", "Liberation Serif"}) {
    const TFaceChoice choice = TFontEngine::ResolveFace(family, false, false, 0);
    ASSERT_TRUE(choice.Found);
    FT_Face face;
    ASSERT_EQ(FT_New_Face(lib, choice.File.c_str(), choice.Index, &face), 0);
    ASSERT_EQ(FT_Set_Pixel_Sizes(face, 0, 683), 0);
    for (FT_ULong ch = 0x21; ch < 0x17F; ++ch) {
      const FT_UInt g = FT_Get_Char_Index(face, ch);
      if (g == 0) continue;
      ASSERT_EQ(FT_Load_Glyph(face, g, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP), 0);
      const FT_Outline& o = face->glyph->outline;
      std::vector<uint8_t> bytes;
      ASSERT_TRUE(MakeNativeOutline(o, bytes));
      bool ok = false;
      std::vector<bool> exact;
      const auto ours = Segments(DecodeRecords(bytes, ok), exact);
      ASSERT_TRUE(ok);
      const auto theirs = Decompose(o);
      ASSERT_EQ(ours.size(), theirs.size()) << family << " U+" << std::hex << ch;
      for (size_t i = 0; i < ours.size(); ++i) {
        EXPECT_EQ(ours[i].kind, theirs[i].kind) << family << " U+" << std::hex << ch << " segment " << i;
        const FT_Pos tolerance = exact[i] ? 0 : 1;
        EXPECT_LE(std::labs(ours[i].to.x - theirs[i].to.x), tolerance);
        EXPECT_LE(std::labs(ours[i].to.y - theirs[i].to.y), tolerance);
        if (ours[i].kind == 'Q') {
          EXPECT_EQ(ours[i].control.x, theirs[i].control.x);
          EXPECT_EQ(ours[i].control.y, theirs[i].control.y);
        }
      }
    }
    FT_Done_Face(face);
  }
  FT_Done_FreeType(lib);
}

}  // namespace
}  // namespace qz
