// Exported GIFs read by a second, independent decoder: Qt's own GIF reader (the one
// a Qt-based page viewer uses) must see the same pixels as giflib, transparent
// pixels included.
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include "export/ExportImage.h"
#include "export/ExportTestSupport.h"
#include "gif/Dither.h"
#include "gif/GifTestSupport.h"
#include "gif/PaletteKind.h"
#include "platform/FileUtil.h"

namespace qz {

class ExportGifQtTest : public QObject {
  Q_OBJECT

 private slots:
  void qtAndGiflibSeeTheSamePixels() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const TRenderedButton button = test::MakeRenderedButton(240, 80);
    int files = 0;
    for (const TPaletteKindInfo& kind : PaletteKinds())
      for (TDitherMethod dither : {TDitherMethod::None, TDitherMethod::FloydSteinberg, TDitherMethod::StevensonArce})
        for (bool transparency : {true, false}) {
          TExportOptions o;
          o.PaletteKind = kind.kind;
          o.Dithering = dither;
          o.Transparency = transparency;
          o.ColorBits = 5;
          const std::string path = dir.filePath("b.gif").toStdString();
          WriteImage(button, 160, 53, o, path);
          ++files;

          const auto bytes = ReadWholeFile(path, 1u << 20);
          QVERIFY(bytes.has_value());
          const test::TDecodedGif gif = test::DecodeWithGiflib(*bytes);
          QVERIFY2(gif.ok, gif.error.c_str());
          QImage qt(QString::fromStdString(path), "GIF");
          QVERIFY(!qt.isNull());
          QCOMPARE(qt.width(), gif.width);
          QCOMPARE(qt.height(), gif.height);
          QCOMPARE(gif.transparentIndex >= 0, transparency);
          int transparent = 0;
          for (int y = 0; y < gif.height; ++y)
            for (int x = 0; x < gif.width; ++x) {
              const int index = gif.indices[static_cast<size_t>(y) * gif.width + x];
              const QRgb seen = qt.pixel(x, y);
              if (index == gif.transparentIndex) {
                ++transparent;
                if (qAlpha(seen) != 0) QFAIL(qPrintable(QString("%1: pixel %2,%3 is not transparent").arg(kind.key).arg(x).arg(y)));
                continue;
              }
              const TRgb& c = gif.colorMap[index];
              if (qAlpha(seen) != 255 || qRed(seen) != c.r || qGreen(seen) != c.g || qBlue(seen) != c.b)
                QFAIL(qPrintable(QString("%1 dither %2: pixel %3,%4 differs").arg(kind.key).arg(static_cast<int>(dither)).arg(x).arg(y)));
            }
          QVERIFY(transparency ? transparent > 1000 : transparent == 0);
        }
    QCOMPARE(files, 48);
  }
};

}  // namespace qz

QTEST_GUILESS_MAIN(qz::ExportGifQtTest)
#include "ExportGifQtTest.moc"
