// The recent-file list of the File menu, kept in the settings under
// "Recent File List" as "File1".."File4" (most recent first).
#pragma once

#include <QStringList>

class QSettings;

namespace vessor::graph {

inline constexpr int RECENT_FILE_COUNT = 4;

// The list with `path` moved (or added) to the front, at most `limit` long.
QStringList withRecentFile(QStringList list, const QString& path, int limit = RECENT_FILE_COUNT);
QStringList withoutRecentFile(QStringList list, const QString& path);

QStringList loadRecentFiles(QSettings& settings);
void saveRecentFiles(QSettings& settings, const QStringList& files);

} // namespace vessor::graph
