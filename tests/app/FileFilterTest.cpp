// The file choosers' filters as Qt's dialog reads them: what each entry offers in a
// folder, upper-case extensions included, and the entry order the save dialogs rely on.
#include <QFileDialog>
#include <QFileSystemModel>
#include <QListView>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "app/FileFilter.h"

namespace qz {

namespace {

// The names a (Qt, not native) file dialog lists in dir under the filter entry.
QStringList Offered(const QString& dir, const QStringList& filters, int entry) {
  QFileDialog dialog;
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setNameFilters(filters);
  dialog.selectNameFilter(filters.value(entry));
  auto* model = dialog.findChild<QFileSystemModel*>();
  QSignalSpy loaded(model, &QFileSystemModel::directoryLoaded);
  dialog.setDirectory(dir);
  if (loaded.isEmpty()) loaded.wait(5000);
  QTest::qWait(20);
  auto* view = dialog.findChild<QListView*>("listView");
  QStringList names;
  for (int r = 0; r < view->model()->rowCount(view->rootIndex()); ++r) {
    const QModelIndex i = view->model()->index(r, 0, view->rootIndex());
    if (!view->isRowHidden(r)) names << i.data().toString();
  }
  names.sort();
  return names;
}

}  // namespace

class FileFilterTest : public QObject {
  Q_OBJECT

 private slots:
  void everyEntryNamesItsPatternsLast() {
    static const QRegularExpression entry(R"(^[^;]+ \((\*\.[a-z]+)( \*\.[a-z]+)*\)$)");
    for (const QStringList* list : {&TextureFilters(), &WorkSaveFilters(), &ExportFilters()})
      for (const QString& e : *list) QVERIFY2(entry.match(e).hasMatch(), qPrintable(e));
    // The save dialogs find the format by the entry's place.
    QCOMPARE(WorkSaveFilters().size(), 2);
    QVERIFY(WorkSaveFilters()[1].endsWith("(*.qzpl)"));
    QCOMPARE(ExportFilters().size(), 4);
    QVERIFY(ExportFilters()[1].endsWith("(*.jpg)"));
    QVERIFY(ExportFilters()[2].endsWith("(*.bmp)"));
  }

  void textureChooserOffersImagesInAnyCase() {
    QTemporaryDir dir;
    for (const char* name : {"wood.gif", "PHOTO.JPG", "sky.jpeg", "brick.Bmp", "notes.txt", "work.qznr"}) {
      QFile f(dir.filePath(name));
      QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QCOMPARE(Offered(dir.path(), TextureFilters(), 0),
             (QStringList{"PHOTO.JPG", "brick.Bmp", "sky.jpeg", "wood.gif"}));
    QCOMPARE(Offered(dir.path(), TextureFilters(), 2), (QStringList{"PHOTO.JPG", "sky.jpeg"}));
    QCOMPARE(Offered(dir.path(), WorkSaveFilters(), 0), QStringList{"work.qznr"});
  }
};

}  // namespace qz

QTEST_MAIN(qz::FileFilterTest)
#include "FileFilterTest.moc"
