// Every dialog shown with realistic content: its text must fit (no label, button,
// group title or list narrower than it needs) and everything must lie inside the
// window. The pictures are written to test-output/dialogs/ to be looked at.
#include <unistd.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdlib>

#include "app/CharMap.h"
#include "app/ExportPage.h"
#include "app/MessageEdit.h"
#include "app/OptionsDialog.h"
#include "app/QtBridge.h"
#include "app/ShapeDialog.h"
#include "app/TextDialog.h"
#include "app/WebForm.h"
#include "app/WelcomeDialog.h"
#include "geometry/ButShape.h"
#include "platform/IniFile.h"
#include "platform/JpegWriter.h"
#include "scene/IconRecord.h"

#ifdef QZ_HAVE_WEBENGINE
#include <QWebEngineView>
#endif

namespace qz {

namespace {

TBitmap FromImage(const QImage& image) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  TBitmap b(rgb.width(), rgb.height());
  for (int y = 0; y < rgb.height(); ++y)
    for (int x = 0; x < rgb.width(); ++x) b.SetPixel(x, y, rgb.pixel(x, y) & 0xFFFFFF);
  return b;
}

// A button picture like the ones Save stores: a shaded plate with a caption.
QImage ButtonPicture(const QString& caption, QColor plate, bool round) {
  QImage image(IconWidth, IconHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient shade(0, 0, 0, IconHeight);
  shade.setColorAt(0, plate.lighter(150));
  shade.setColorAt(1, plate.darker(140));
  p.setBrush(shade);
  p.setPen(plate.darker(180));
  const QRectF r(4, 4, IconWidth - 8, IconHeight - 8);
  if (round) p.drawRoundedRect(r, 14, 14);
  else p.drawRect(r);
  QFont f("DejaVu Sans");
  f.setBold(true);
  f.setPixelSize(16);
  p.setFont(f);
  p.setPen(Qt::white);
  p.drawText(r, Qt::AlignCenter, caption);
  return image;
}

QImage ShapePicture(const QPainterPath& outline) {
  QImage image(IconWidth, IconHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setBrush(QColor(180, 190, 230));
  p.setPen(QPen(QColor(40, 50, 120), 2));
  p.drawPath(outline);
  return image;
}

TButShape Square() {
  TButShape s;
  s.PointCount = 4;
  s.Points[1] = {1, -10, -10};
  s.Points[2] = {1, 10, -10};
  s.Points[3] = {1, 10, 10};
  s.Points[4] = {1, -10, 10};
  s.Frame = {-10, 10, 10, -10};
  return s;
}

}  // namespace

class DialogLayoutTest : public QObject {
  Q_OBJECT

  QTemporaryDir tmp_;
  std::string program_;
  QString out_;

  // Fails for text that does not fit its widget or a widget outside the window, and
  // writes the window's picture.
  void CheckAndGrab(QWidget* window, const QString& name) {
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCoreApplication::processEvents();
    const QRect inside = window->rect();
    for (QWidget* w : window->findChildren<QWidget*>()) {
      if (!w->isVisible() || w->isWindow()) continue;
      const QRect at(w->mapTo(window, QPoint(0, 0)), w->size());
      QVERIFY2(inside.contains(at), qPrintable(name + ": " + w->metaObject()->className() + " outside"));
      const bool holdsText = qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w) ||
                             qobject_cast<QGroupBox*>(w) || qobject_cast<QComboBox*>(w);
      if (!holdsText) continue;
      const QSize need = qobject_cast<QComboBox*>(w) ? w->minimumSizeHint() : w->sizeHint();
      QVERIFY2(w->width() >= need.width() && w->height() >= need.height(),
               qPrintable(QStringLiteral("%1: %2 '%3' is %4x%5, needs %6x%7")
                              .arg(name, w->metaObject()->className(),
                                   w->property("text").toString().isEmpty() ? w->property("title").toString()
                                                                            : w->property("text").toString())
                              .arg(w->width()).arg(w->height()).arg(need.width()).arg(need.height())));
    }
    QVERIFY(window->grab().save(out_ + name + ".png"));
  }

 private slots:
  void initTestCase() {
    QVERIFY(tmp_.isValid());
    program_ = PathFromQt(tmp_.path()) + "/";
    out_ = QString(QZ_TEST_OUTPUT_DIR) + "/dialogs/";
    QDir().mkpath(out_);

    // Works with icons, one without.
    QDir().mkpath(PathToQt(program_ + "Works"));
    QDir().mkpath(PathToQt(program_ + "Templates"));
    const struct {
      const char* file;
      const char* caption;
      QColor plate;
      bool round;
    } works[] = {{"home.qznr", "Home", QColor(200, 60, 60), true},
                 {"products.qznr", "Products", QColor(60, 120, 200), false},
                 {"contact-us.qznr", "Contact", QColor(60, 160, 90), true},
                 {"a rather long file name.qznr", "Long", QColor(160, 100, 40), true}};
    for (const auto& w : works) {
      const std::string path = program_ + "Works/" + w.file;
      TIniFile ini(path);
      ini.WriteString("General", "Version", "1.3.5");
      ini.Flush();
      QVERIFY(SaveIconToIni(path, "Icon", FromImage(ButtonPicture(w.caption, w.plate, w.round))));
    }
    TIniFile bare(program_ + "Works/untitled.qznr");
    bare.WriteString("General", "Version", "1.3.5");
    bare.Flush();

    // Shapes with pictures, one without.
    QDir().mkpath(PathToQt(program_ + "BShapes"));
    QPainterPath rounded, ellipse, arrow;
    rounded.addRoundedRect(QRectF(10, 6, 100, 28), 12, 12);
    ellipse.addEllipse(QRectF(10, 4, 100, 32));
    arrow.addPolygon(QPolygonF({QPointF(10, 8), QPointF(90, 8), QPointF(110, 20), QPointF(90, 32), QPointF(10, 32)}));
    arrow.closeSubpath();
    Square().SaveToFile(program_ + "BShapes/rounded.qzkh", EncodeJpeg(FromImage(ShapePicture(rounded)), 90));
    Square().SaveToFile(program_ + "BShapes/ellipse.qzkh", EncodeJpeg(FromImage(ShapePicture(ellipse)), 90));
    Square().SaveToFile(program_ + "BShapes/arrow.right.qzkh", EncodeJpeg(FromImage(ShapePicture(arrow)), 90));
    Square().SaveToFile(program_ + "BShapes/plain.qzkh");
  }

  void welcomeDialog() {
    TForm4 form;
    form.ProgramDir = program_;
    form.WorksDir = program_ + "Works/";
    form.TemplatesDir = program_ + "Templates/";
    CheckAndGrab(&form, "welcome-new");
    form.SetMode(TForm4::ModeSaved);
    form.ListView1->item(1)->setSelected(true);
    CheckAndGrab(&form, "welcome-saved");
    form.hide();
  }

  void textDialogs() {
    TForm2 form;
    TMessageText text;
    text.Append("Q", TCharFormat{"Times New Roman", 36, 1, true, false, false});
    text.Append("uen", TCharFormat{"Arial", 22, 1, false, true, false});
    text.Append("zar", TCharFormat{"Courier New", 22, 1, true, false, false});
    text.Append(" \xA9", TCharFormat{"Arial", 18, 1, false, false, false});
    form.LoadText(text);
    form.RichEdit1->SetSelection(1, 3);
    CheckAndGrab(&form, "advanced-text");
    form.hide();
    form.CharMap->SelectCode(0xE9);
    CheckAndGrab(form.CharMap, "character-map");
    form.CharMap->hide();
  }

  void optionsDialog() {
    TForm3 form;
    form.LoadParams(TParams());
    CheckAndGrab(&form, "options-rendering");
    form.PageControl1->setCurrentIndex(1);
    CheckAndGrab(&form, "options-margins");
    form.hide();
  }

  void shapeDialog() {
    TOpenShForm form;
    form.ProgramDir = program_;
    CheckAndGrab(&form, "shape");
    form.hide();
  }

  void exportPage() {
    // The page as it sits on the main window's tab.
    QTabWidget tabs;
    auto* page = new TExportPage;
    page->DimensionsSource = [] { return QSize(160, 40); };
    tabs.addTab(new QWidget, "Dimensions ");
    tabs.addTab(page, "Export 3D Button ");
    tabs.setCurrentIndex(1);
    tabs.resize(860, 260);
    CheckAndGrab(&tabs, "export-gif");
    page->GifToggle->click();
    page->cbPalette->setCurrentIndex(2);
    CheckAndGrab(&tabs, "export-gif-advanced");
    page->PageControl2->setCurrentIndex(1);
    page->JpegToggle->click();
    CheckAndGrab(&tabs, "export-jpeg-advanced");
    page->PageControl2->setCurrentIndex(3);
    CheckAndGrab(&tabs, "export-png");
  }

  void browserWindow() {
#ifndef QZ_HAVE_WEBENGINE
    QSKIP("built without QtWebEngine");
#else
    TWebForm form;
    form.ShowPage(QZ_PROGRAM_DIR, "HTML/About.html");
    QSignalSpy loaded(form.WebBrowser, &QWebEngineView::loadFinished);
    QVERIFY(loaded.wait(60000));
    QTRY_COMPARE_WITH_TIMEOUT(form.windowTitle(), QString("About Quenzar"), 60000);
    QTest::qWait(300);  // a frame after the load
    QVERIFY(form.grab().save(out_ + "browser.png"));
    form.close();
#endif
  }
};

}  // namespace qz

int main(int argc, char** argv) {
  if (::geteuid() == 0) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --disable-dev-shm-usage", 0);
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  qz::DialogLayoutTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "DialogLayoutTest.moc"
