#include "app/dialogs/IconList.h"

#include <QApplication>
#include <QDir>
#include <QFontMetrics>
#include <QListWidget>
#include <QPainter>
#include <QSet>
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/bridge/QtBridge.h"
#include "base/FileUtil.h"
#include "scene/IconRecord.h"

namespace qz {

void SetUpIconList(QListWidget* list) {
  list->setViewMode(QListView::IconMode);
  list->setIconSize(QSize(IconWidth, IconHeight));
  list->setResizeMode(QListView::Adjust);
  list->setMovement(QListView::Static);
  list->setWrapping(true);
  // A fixed grid with room for two lines of caption: long file names wrap instead
  // of being cut short.
  list->setGridSize(QSize(IconWidth + 20, IconHeight + 44));
  list->setWordWrap(true);
  list->setTextElideMode(Qt::ElideMiddle);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->setAutoFillBackground(true);
}

void ColourIconList(QListWidget* list, bool asWindow) {
  const QPalette standard = QApplication::palette(list);
  QPalette pal = list->palette();
  pal.setColor(QPalette::Base, standard.color(asWindow ? QPalette::Base : QPalette::Button));
  list->setPalette(pal);
}

QImage PlaceholderIcon(const QString& text, const QFont& font) {
  QImage image(IconWidth, IconHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setPen(QPen(QColor(0, 128, 0), 1));
  p.setBrush(Qt::NoBrush);
  // drawRect strokes one pixel beyond the rectangle's width and height.
  p.drawRect(0, 0, IconWidth - 2, IconHeight - 2);
  p.setFont(font);
  p.setPen(Qt::black);
  const QFontMetrics fm(font);
  const int left = (IconWidth - fm.horizontalAdvance(text)) / 2;
  const int top = (IconHeight - fm.height()) / 2;
  p.drawText(left, top + fm.ascent(), text);
  return image;
}

QImage CropIcon(const TBitmap& picture) {
  QImage image(IconWidth, IconHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.drawImage(0, 0, BitmapToQImage(picture));
  return image;
}

TFileMask SplitMask(const std::string& mask) {
  const size_t slash = mask.find_last_of('/');
  if (slash == std::string::npos) return {"", mask};
  return {mask.substr(0, slash + 1), mask.substr(slash + 1)};
}

std::optional<std::vector<std::string>> ListFolder(const TFileMask& mask, bool sorted) {
  if (mask.Folder.empty()) return std::nullopt;
  QDir dir(PathToQt(mask.Folder));
  if (!dir.exists()) return std::nullopt;
  // Without QDir::CaseSensitive the pattern matches in any case, so "ROUND.QZKH"
  // written on another system is listed too.
  const QDir::SortFlags order = sorted ? (QDir::Name | QDir::IgnoreCase) : QDir::Unsorted;
  const QStringList names = dir.entryList({PathToQt(mask.Pattern)}, QDir::Files, order);
  std::vector<std::string> out;
  for (const QString& n : names) out.push_back(PathFromQt(n));
  return out;
}

namespace {

// Two names of one folder (a symbolic link, a trailing "/" more or less).
bool SameFolder(const std::string& a, const std::string& b) {
  if (WithTrailingSlash(a) == WithTrailingSlash(b)) return true;
  std::error_code ec;
  return !a.empty() && !b.empty() && std::filesystem::equivalent(a, b, ec) && !ec;
}

}  // namespace

bool TFolderListing::IsMissing(const std::string& folder) const {
  return std::find(Missing.begin(), Missing.end(), folder) != Missing.end();
}

TFolderListing ListFolders(const std::vector<std::string>& folders, const std::string& pattern, bool sorted) {
  TFolderListing listing;
  std::vector<std::string> listed;
  QSet<QString> taken;  // the names listed so far, case folded, to hide later ones
  for (const std::string& folder : folders) {
    if (std::any_of(listed.begin(), listed.end(), [&](const std::string& f) { return SameFolder(f, folder); })) continue;
    listed.push_back(folder);
    const auto found = ListFolder({WithTrailingSlash(folder), pattern}, sorted);
    if (!found) {
      listing.Missing.push_back(folder);
      continue;
    }
    for (const std::string& name : *found) {
      const QString key = PathToQt(name).toCaseFolded();
      if (taken.contains(key)) continue;
      taken.insert(key);
      listing.Paths.push_back(WithTrailingSlash(folder) + name);
    }
  }
  if (sorted)
    std::stable_sort(listing.Paths.begin(), listing.Paths.end(), [](const std::string& a, const std::string& b) {
      return PathToQt(BareFileName(a)).compare(PathToQt(BareFileName(b)), Qt::CaseInsensitive) < 0;
    });
  return listing;
}

QString MissingFolderText(const std::string& folder, const QString& emptyFolderText) {
  if (folder.empty()) return emptyFolderText;
  return QStringLiteral("Directory: \"%1\" does not exist").arg(PathToQt(folder));
}

}  // namespace qz
