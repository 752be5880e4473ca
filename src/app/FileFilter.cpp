#include "app/FileFilter.h"

#include <QStringList>

namespace qz {

QString QtFileFilter(const QString& barFilter) {
  const QStringList parts = barFilter.split('|');
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString description = parts[i].trimmed();
    const QString patterns = parts[i + 1].split(';', Qt::SkipEmptyParts).join(' ');
    // Qt reads the patterns from the last parentheses of an entry.
    if (description.endsWith("(" + patterns + ")"))
      entries << description;
    else
      entries << description + " (" + patterns + ")";
  }
  return entries.join(";;");
}

}  // namespace qz
