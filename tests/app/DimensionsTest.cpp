// The arithmetic of the Dimensions tab and the light marker, the hex colours of the
// Background tab and the file-chooser filters: plain functions, tested directly.
#include <QtTest>
#include <numbers>

#include "app/Dimensions.h"
#include "app/HexColor.h"

namespace qz {

class DimensionsTest : public QObject {
  Q_OBJECT

 private slots:
  void typedWidthIsClampedAndTheDerivedHeightIsNot() {
    // A base image twice as high as wide: 1000 typed gives 800 x 1600.
    TDimensions d{1000, 40, 50, 100};
    ApplyDimension(d, TSide::Width, true);
    QCOMPARE(d.Width, 800);
    QCOMPARE(d.Height, 1600);
    // The same for the height side: 700 -> 600, width follows unclamped.
    TDimensions h{40, 700, 300, 100};
    ApplyDimension(h, TSide::Height, true);
    QCOMPARE(h.Height, 600);
    QCOMPARE(h.Width, 1800);
  }

  void unconstrainedEditLeavesTheOtherSide() {
    TDimensions d{160, 40, 400, 100};
    d.Height = 90;
    ApplyDimension(d, TSide::Height, false);
    QCOMPARE(d.Height, 90);
    QCOMPARE(d.Width, 160);
    QCOMPARE(HeightRulerPosition(d.Height), -90);
  }

  void derivedSideRoundsHalfToEven() {
    // 5 x 3 / 2 = 7.5 -> 8; 3 x 3 / 2 = 4.5 -> 4.
    TDimensions a{5, 0, 2, 3};
    ApplyDimension(a, TSide::Width, true);
    QCOMPARE(a.Height, 8);
    TDimensions b{3, 0, 2, 3};
    ApplyDimension(b, TSide::Width, true);
    QCOMPARE(b.Height, 4);
  }

  void aBaseOfZeroKeepsTheOtherSide() {
    TDimensions d{200, 77, 0, 0};
    ApplyDimension(d, TSide::Width, true);
    QCOMPARE(d.Width, 200);
    QCOMPARE(d.Height, 77);
    ApplyDimension(d, TSide::Height, true);
    QCOMPARE(d.Width, 200);
  }

  void rulerEndsAndClipping() {
    QCOMPARE(HeightFromRuler(HeightRulerMin), 145);  // top end: the largest height
    for (int pos = -4; pos <= HeightRulerMax; ++pos) QCOMPARE(HeightFromRuler(pos), 5);
    QCOMPARE(HeightFromRuler(-5), 5);
    QCOMPARE(HeightFromRuler(-6), 6);
    QCOMPARE(HeightRulerPosition(600), HeightRulerMin);  // clipped to the ruler
    QCOMPARE(HeightRulerPosition(2), -2);
    QCOMPARE(HeightRulerPosition(-1000), HeightRulerMax);
    QCOMPARE(WidthRulerPosition(800), WidthRulerMax);
    QCOMPARE(WidthRulerPosition(1), WidthRulerMin);
    QCOMPARE(WidthRulerPosition(123), 123);
  }

  void digitsOnly() {
    QCOMPARE(DigitsOnly("1a2 b3"), std::string("123"));
    QCOMPARE(DigitsOnly("px"), std::string());
  }

  void dimensionPictureNeedsTwoPixelsEachWay() {
    QVERIFY(CanDrawDimensionPicture(2, 2, {2, 2, 1, 1}));
    QVERIFY(!CanDrawDimensionPicture(1, 50, {20, 20, 1, 1}));
    QVERIFY(!CanDrawDimensionPicture(50, 50, {1, 20, 1, 1}));
    QVERIFY(!CanDrawDimensionPicture(50, 50, {800, 1000000, 1, 1}));  // far too large
  }

  void markerAtTheCentreIsHalfPiBothWays() {
    const TLightAngles a = LightAnglesAt(300, 100, 600, 200);
    QCOMPARE(a.a1, static_cast<float>(std::numbers::pi / 2));
    QCOMPARE(a.a2, static_cast<float>(std::numbers::pi / 2));
    // And back: the angles place the marker's centre there.
    const TMarkerPoint p = LightMarkerCentre(a.a1, a.a2, 600, 200);
    QCOMPARE(p.X, 300);
    QCOMPARE(p.Y, 100);
    const TMarkerPoint corner = LightMarkerCentre(0, static_cast<float>(std::numbers::pi), 600, 200);
    QCOMPARE(corner.X, 0);
    QCOMPARE(corner.Y, 200);
    // An empty preview gives no division by zero.
    const TLightAngles z = LightAnglesAt(0, 0, 0, 0);
    QCOMPARE(z.a1, static_cast<float>(std::numbers::pi / 2));
  }

  void markerStaysWhollyInside() {
    QVERIFY(!MarkerPositionAllowed(0, 400));
    QVERIFY(MarkerPositionAllowed(1, 400));
    QVERIFY(MarkerPositionAllowed(367, 400));
    QVERIFY(!MarkerPositionAllowed(368, 400));  // client - 32
    QVERIFY(!MarkerPositionAllowed(5, 20));     // a preview smaller than the marker
  }

  void hexColours() {
    QCOMPARE(HexToColor("FF").value(), RGBToColor(0, 0, 255));  // fills from the blue end
    QCOMPARE(HexToColor("ff8000").value(), RGBToColor(255, 128, 0));
    QCOMPARE(HexToColor("#Ff-80-00").value(), RGBToColor(255, 128, 0));  // only digits count
    QCOMPARE(HexToColor("1FF8000").value(), RGBToColor(255, 128, 0));    // low 24 bits
    QVERIFY(!HexToColor("xyz").has_value());
    QVERIFY(!HexToColor("").has_value());
    QCOMPARE(ColorToHex(RGBToColor(255, 128, 0)), std::string("FF8000"));
    QCOMPARE(ColorToHex(RGBToColor(1, 2, 171)), std::string("0102AB"));
    for (TColor c : {0, 0xFFFFFF, RGBToColor(18, 52, 86)}) QCOMPARE(HexToColor(ColorToHex(c)).value(), c);
  }
};

}  // namespace qz

QTEST_APPLESS_MAIN(qz::DimensionsTest)
#include "DimensionsTest.moc"
