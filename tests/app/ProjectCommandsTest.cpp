#include <QAbstractButton>
#include <QComboBox>
#include <QFileDialog>
#include <QListWidget>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>

#include "ModalDriver.h"
#include "app/FileFilter.h"
#include "app/IconList.h"
#include "app/ProjectCommands.h"
#include "app/QtBridge.h"
#include "app/WelcomeDialog.h"
#include "platform/IniFile.h"
#include "platform/JpegWriter.h"
#include "scene/IconRecord.h"

namespace qz {

namespace {

// Records what SaveIcon reports, in order.
struct TRecordingSink : IProgressSink {
  std::vector<std::string> statuses;
  std::vector<int> progress;
  int processed = 0;
  void SetStatus(const std::string& text) override { statuses.push_back(text); }
  void SetProgress(int value) override { progress.push_back(value); }
  void ProcessMessages() override { ++processed; }
};

TBitmap TwoColours(int w, int h) {
  TBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, x < w / 2 ? RGBToPixel(220, 20, 20) : RGBToPixel(20, 20, 220));
  return b;
}

// A real JPEG picture padded with zeros to an exact size: the decoder stops at its
// end marker, so the picture still shows.
std::vector<uint8_t> JpegOfSize(size_t size) {
  TBitmap b(IconWidth, IconHeight);
  b.Fill(RGBToPixel(20, 160, 20));
  std::vector<uint8_t> data = EncodeJpeg(b, 90);
  if (data.size() > size) return {};
  data.resize(size, 0);
  return data;
}

}  // namespace

class ProjectCommandsTest : public QObject {
  Q_OBJECT

  QTemporaryDir tmp_;
  std::string dir_;

 private slots:
  void initTestCase() {
    QVERIFY(tmp_.isValid());
    dir_ = PathFromQt(tmp_.path()) + "/";
  }

  void questionsBeforeDiscardingChanges() {
    struct TCase {
      TProjectCommand command;
      QString text, title;
    } cases[] = {
        {TProjectCommand::New, "Save changes to current work?", "New confirmation"},
        {TProjectCommand::NewFromTemplate, "Save changes to current work?", "New confirmation"},
        {TProjectCommand::Open, "Save changes to current work?", "Open confirmation"},
        {TProjectCommand::Quit, "Save changes to current work before quit?", "Quit confirmation"},
    };
    for (const TCase& c : cases) {
      QString text, title;
      QMessageBox::StandardButtons buttons;
      auto seen = WhenModal<QMessageBox>([&](QMessageBox* box) {
        text = box->text();
        title = box->windowTitle();
        buttons = box->standardButtons();
        box->button(QMessageBox::No)->click();
      });
      QCOMPARE(AskUnsavedChanges(nullptr, c.command), TUnsavedAnswer::No);
      QVERIFY(*seen);
      QCOMPARE(text, c.text);
      QCOMPARE(title, c.title);
      QCOMPARE(buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    }
    // Escape is Cancel.
    auto seen = WhenModal<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
    QCOMPARE(AskUnsavedChanges(nullptr, TProjectCommand::Open), TUnsavedAnswer::Cancel);
    QVERIFY(*seen);
    seen = WhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    QCOMPARE(AskUnsavedChanges(nullptr, TProjectCommand::Quit), TUnsavedAnswer::Yes);
    QVERIFY(*seen);
  }

  void answersDecideWhetherTheCommandGoesOn() {
    int saves = 0;
    const auto save = [&] { ++saves; };
    QVERIFY(CommandGoesOn(TUnsavedAnswer::Yes, save));  // also when the save was cancelled
    QCOMPARE(saves, 1);
    QVERIFY(CommandGoesOn(TUnsavedAnswer::No, save));
    QVERIFY(!CommandGoesOn(TUnsavedAnswer::Cancel, save));
    QCOMPARE(saves, 1);
  }

  void saveNamingRules() {
    TProjectFiles files{"/w/old/shiny.txt", "/t/old.qzpl", "/w/", "/t/"};
    QCOMPARE(PrepareSave(files), std::string("/w/shiny.qznr"));
    QCOMPARE(files.JobFile, std::string("/w/old/shiny.qznr"));

    // A work: the typed extension gives way to .qznr; the template fields stay.
    TProjectFiles work = files;
    TSaveTarget t = ApplySaveChoice(work, "/home/me/designs/shiny.txt", 1);
    QCOMPARE(t.File, std::string("/home/me/designs/shiny.qznr"));
    QVERIFY(!t.Template);
    QCOMPARE(work.JobFile, t.File);
    QCOMPARE(work.WorksDir, std::string("/home/me/designs/"));
    QCOMPARE(work.TemplateFile, files.TemplateFile);
    QCOMPARE(work.TemplatesDir, files.TemplatesDir);

    // A template: .qzpl, TemplateFile and TemplatesDir; JobFile and WorksDir stay.
    TProjectFiles tpl = files;
    t = ApplySaveChoice(tpl, "/home/me/tpl/shiny.txt", 2);
    QCOMPARE(t.File, std::string("/home/me/tpl/shiny.qzpl"));
    QVERIFY(t.Template);
    QCOMPARE(tpl.TemplateFile, t.File);
    QCOMPARE(tpl.TemplatesDir, std::string("/home/me/tpl/"));
    QCOMPARE(tpl.JobFile, files.JobFile);
    QCOMPARE(tpl.WorksDir, files.WorksDir);

    // Names without an extension, and dots in folder names.
    QCOMPARE(SaveFileName("/a.b/name", 1), std::string("/a.b/name.qznr"));
    QCOMPARE(SaveFileName("/a/my.design.qznr", 2), std::string("/a/my.design.qzpl"));
    QCOMPARE(WorkSaveFilters(), (QStringList{"3D Button FIles (*.qznr)", "QZNR Templates (*.qzpl)"}));
  }

  void saveDialogProposesTheWorkAndReplacesTheExtension() {
    TProjectFiles files{"Untitled", "", dir_, dir_ + "tpl/"};
    QString proposedName, filter;
    auto seen = WhenModal<QFileDialog>([&](QFileDialog* d) {
      proposedName = d->findChild<QLineEdit*>("fileNameEdit")->text();
      filter = d->selectedNameFilter();
      TypeIntoFileDialog(d, "shiny.txt");
    });
    const auto target = AskSaveTarget(nullptr, files);
    QVERIFY(*seen);
    QCOMPARE(proposedName, QString("Untitled.qznr"));
    QCOMPARE(filter, QString("3D Button FIles (*.qznr)"));
    QVERIFY(target.has_value());
    QCOMPARE(target->File, dir_ + "shiny.qznr");
    QCOMPARE(files.JobFile, dir_ + "shiny.qznr");

    // The templates entry.
    seen = WhenModal<QFileDialog>([&](QFileDialog* d) {
      d->selectNameFilter("QZNR Templates (*.qzpl)");
      TypeIntoFileDialog(d, "shiny.txt");
    });
    const auto tpl = AskSaveTarget(nullptr, files);
    QVERIFY(*seen);
    QVERIFY(tpl && tpl->Template);
    QCOMPARE(tpl->File, dir_ + "shiny.qzpl");
    QCOMPARE(files.TemplatesDir, dir_);
    QCOMPARE(files.JobFile, dir_ + "shiny.qznr");

    // Cancel: nothing chosen.
    seen = WhenModal<QFileDialog>([](QFileDialog* d) { d->reject(); });
    QVERIFY(!AskSaveTarget(nullptr, files));
    QVERIFY(*seen);
  }

  void replacingAnExistingFileIsAskedAboutTheFinalName() {
    const std::string existing = dir_ + "kept.qznr";
    QFile f(PathToQt(existing));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    TProjectFiles files{"Untitled.qznr", "", dir_, dir_};
    // Typed as kept.txt, it would be written as the existing kept.qznr: asked; No
    // returns to the dialog, which is then cancelled.
    QString question;
    auto seen = WhenModal<QFileDialog>([&](QFileDialog* d) {
      WhenModal<QMessageBox>([&](QMessageBox* box) {
        question = box->text();
        box->button(QMessageBox::No)->click();
        WhenModal<QFileDialog>([](QFileDialog* again) { again->reject(); });
      });
      TypeIntoFileDialog(d, "kept.txt");
    });
    QVERIFY(!AskSaveTarget(nullptr, files));
    QVERIFY(*seen);
    QVERIFY(question.startsWith("kept.qznr already exists."));

    // Yes replaces it.
    seen = WhenModal<QFileDialog>([&](QFileDialog* d) {
      WhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
      TypeIntoFileDialog(d, "kept.txt");
    });
    const auto target = AskSaveTarget(nullptr, files);
    QVERIFY(*seen);
    QVERIFY(target.has_value());
    QCOMPARE(target->File, existing);
  }

  void saveIconReportsAndStoresTheIcon() {
    const std::string work = dir_ + "icon.qznr";
    {
      TIniFile ini(work);
      ini.WriteString("General", "Version", "1.3.5");
      ini.Flush();
    }
    TRecordingSink sink;
    QVERIFY(SaveIcon(work, "Icon", TwoColours(400, 100), 160, 40, sink));
    QCOMPARE(sink.statuses, (std::vector<std::string>{" Sretching icon ...", " Saving icon ...", " Done"}));
    QCOMPARE(sink.processed, 3);
    QCOMPARE(sink.progress.front(), 0);
    QCOMPARE(sink.progress.back(), 100);

    TBitmap icon;
    QVERIFY(LoadIconFromIni(work, "Icon", icon));
    QCOMPARE(icon.Width(), IconWidth);
    QCOMPARE(icon.Height(), IconHeight);
    // Stretched over the whole icon, the aspect ratio not kept: red left, blue right.
    QVERIFY(PixelRed(icon.Pixel(20, 20)) > 180 && PixelBlue(icon.Pixel(20, 20)) < 60);
    QVERIFY(PixelBlue(icon.Pixel(100, 20)) > 180 && PixelRed(icon.Pixel(100, 20)) < 60);
    const TIniFile ini(work);
    QCOMPARE(ini.ReadString("General", "Version", ""), std::string("1.3.5"));
  }

  void noIconForATinyPreviewOrSize() {
    const std::string work = dir_ + "tiny.qznr";
    struct TCase {
      int pw, ph, dw, dh;
    } cases[] = {{1, 50, 160, 40}, {50, 1, 160, 40}, {50, 50, 1, 40}, {50, 50, 160, 1}, {0, 0, 160, 40}};
    for (const TCase& c : cases) {
      TRecordingSink sink;
      QVERIFY(!SaveIcon(work, "Icon", TwoColours(c.pw, c.ph), c.dw, c.dh, sink));
      QVERIFY(sink.statuses.empty());
      QVERIFY(!QFile::exists(PathToQt(work)));
    }
    TRecordingSink sink;
    QVERIFY(SaveIcon(work, "Icon", TwoColours(2, 2), 2, 2, sink));
  }

  // Icon data of 3000 and 3001 bytes, stored as Save stores it and shown by the
  // welcome dialog.
  void iconsOfThirtyAndThirtyOneLines() {
    for (auto [size, lines, lastDigits] : {std::tuple{3000u, 30, 200}, {3001u, 31, 2}}) {
      const std::vector<uint8_t> jpeg = JpegOfSize(size);
      QVERIFY(!jpeg.empty());
      const std::string work = dir_ + "lines" + std::to_string(size) + ".qznr";
      TRecordingSink sink;
      StoreIcon(work, "Icon", jpeg, sink);
      QCOMPARE(sink.progress.back(), 100);
      const TIniFile ini(work);
      QCOMPARE(ini.ReadString("IconInfo", "Lines", ""), std::to_string(lines));
      QCOMPARE(static_cast<int>(ini.ReadString("Icon", std::to_string(lines), "").size()), lastDigits);
      QVERIFY(!ini.HasKey("Icon", std::to_string(lines + 1)));

      TForm4 form;
      form.AddWorkItem(work);
      const QImage shown = form.ListView1->item(0)->icon().pixmap(IconWidth, IconHeight).toImage();
      QVERIFY(shown != PlaceholderIcon("<None>", form.font()));
      const QColor middle = shown.pixelColor(60, 20);
      QVERIFY(middle.green() > 120 && middle.red() < 60);
    }
  }

  void aSecondIconReplacesTheFirst() {
    const std::string work = dir_ + "twice.qznr";
    TRecordingSink sink;
    StoreIcon(work, "Icon", JpegOfSize(3001), sink);
    StoreIcon(work, "Icon", JpegOfSize(1500), sink);
    const TIniFile ini(work);
    QCOMPARE(ini.ReadString("IconInfo", "Lines", ""), std::string("15"));
    QVERIFY(!ini.HasKey("Icon", "16"));
  }
};

}  // namespace qz

QTEST_MAIN(qz::ProjectCommandsTest)
#include "ProjectCommandsTest.moc"
