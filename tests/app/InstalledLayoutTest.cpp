// The designer installed: its factory files in a read-only PREFIX/share/quenzar/ found
// from PREFIX/bin/, the user's things in the XDG folders of a home of the test's own.
// Whatever the user does, the installed tree stays exactly as it was.

#include <filesystem>

#include "WindowKit.h"
#include "base/IniFile.h"

namespace qz {

namespace {

namespace fs = std::filesystem;

// Every entry under root with its size and time of change.
QStringList Listing(const std::string& root) {
  QStringList lines;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    const auto stamp = fs::last_write_time(e.path()).time_since_epoch().count();
    lines << QString::fromStdString(e.path().string() + " " + std::to_string(e.is_regular_file() ? e.file_size() : 0) +
                                    " " + std::to_string(stamp));
  }
  lines.sort();
  return lines;
}

}  // namespace

class InstalledLayoutTest : public TWindowTestBase {
  Q_OBJECT

  std::string prefix_, factory_, home_, userData_;
  QStringList before_;

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    const std::string root = PathFromQt(dir_.path()) + "/";
    prefix_ = root + "usr/", factory_ = prefix_ + "share/quenzar/", home_ = root + "home/";
    fs::create_directories(prefix_ + "bin");
    fs::create_directories(factory_);
    fs::copy(std::string(QZ_SOURCE_DIR) + "/data", factory_, fs::copy_options::recursive);
    // The settings and the data where the variables say, the cache and the pictures
    // where their defaults put them.
    qputenv("HOME", QByteArray::fromStdString(home_));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(home_ + "settings"));
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(home_ + "data"));
    qunsetenv("XDG_CACHE_HOME");
    userData_ = home_ + "data/quenzar/";
    fs::create_directories(userData_ + "Templates");
    WriteWork(userData_ + "Templates/Mine.qzpl", "Mine");
    WriteWork(userData_ + "Templates/Aqua.qzpl", "Yours");  // in place of the factory's Aqua
    for (const auto& e : fs::recursive_directory_iterator(prefix_))
      fs::permissions(e.path(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                      fs::perm_options::remove);
    before_ = Listing(prefix_);
    folders_ = TFolders::ForExecutable(prefix_ + "bin/");
  }

  void cleanupTestCase() {
    for (const auto& e : fs::recursive_directory_iterator(prefix_))
      fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add);
  }

  void cleanup() { StopWatchingModals(); }

  void theUsersThingsGoToTheUsersFolders() {
    QVERIFY(folders_->Installed);
    // The welcome dialog lists the factory templates and the user's together; the
    // user's Aqua stands in for the factory's.
    QStringList expected{"Mine.qzpl"};
    for (const auto& e : fs::directory_iterator(factory_ + "Templates"))
      expected << QString::fromStdString(e.path().filename().string());
    expected.sort(Qt::CaseInsensitive);
    QStringList listed;
    auto w = MakeWindow([&listed](TWelcomeDialog* f) {
      f->TemplateButton->click();  // "emplate"
      listed = Captions(f->FileList);
      ItemNamed(f->FileList, "Aqua.qzpl")->setSelected(true);
      f->OkButton->click();
    });
    QCOMPARE(listed, expected);
    QCOMPARE(w->Session->Text().Text(), std::string("Yours"));

    // Saved, the work goes to the user's works folder.
    QString savedIn;
    QVERIFY(Through<QFileDialog>([&] { Pick(*w, "&Save ..."); }, [&savedIn](QFileDialog* d) {
      savedIn = d->directory().absolutePath();
      TypeIntoFileDialog(d, "First");
    }));
    QCOMPARE(savedIn, QString::fromStdString(userData_ + "Works"));
    QVERIFY(fs::exists(userData_ + "Works/First.qznr"));
    // An export is proposed in the pictures folder's Quenzar/.
    QString exportIn;
    QVERIFY(Through<QFileDialog>([&] { w->ExportPage()->ExportButton->click(); }, [&exportIn](QFileDialog* d) {
      exportIn = d->directory().absolutePath();
      static_cast<QDialog*>(d)->reject();
    }));
    QCOMPARE(exportIn, QString::fromStdString(home_ + "Pictures/Quenzar"));
    // Quitting writes the settings into the user's settings folder.
    w.reset();
    const TIniFile settings(home_ + "settings/quenzar/Buttons.dat");
    QCOMPARE(settings.ReadString("General", "Saves", ""), userData_ + "Works/");
    QCOMPARE(settings.ReadString("General", "JobFile", ""), userData_ + "Works/First.qznr");
    QVERIFY2(messages_.Texts.empty(), messages_.Texts.empty() ? "" : messages_.Texts[0].c_str());
    QCOMPARE(Listing(prefix_), before_);
  }
};

}  // namespace qz

QZ_WINDOW_TEST_MAIN(qz::InstalledLayoutTest)
#include "InstalledLayoutTest.moc"
