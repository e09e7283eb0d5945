#include "recent_files.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace vessor::graph {

namespace {

const QString SECTION = QStringLiteral("Recent File List");

// The same file however it was named (relative path, "..", separators).
bool sameFile(const QString& a, const QString& b) {
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath()) ==
           QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

} // namespace

QStringList withRecentFile(QStringList list, const QString& path, int limit) {
    list = withoutRecentFile(list, path);
    list.prepend(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    while (list.size() > limit)
        list.removeLast();
    return list;
}

QStringList withoutRecentFile(QStringList list, const QString& path) {
    list.removeIf([&](const QString& entry) { return entry.isEmpty() || sameFile(entry, path); });
    return list;
}

QStringList loadRecentFiles(QSettings& settings) {
    QStringList files;
    settings.beginGroup(SECTION);
    for (int i = 1; i <= RECENT_FILE_COUNT; ++i) {
        const QString entry = settings.value(QStringLiteral("File%1").arg(i)).toString();
        if (!entry.isEmpty() && !files.contains(entry))
            files.append(entry);
    }
    settings.endGroup();
    return files;
}

void saveRecentFiles(QSettings& settings, const QStringList& files) {
    settings.beginGroup(SECTION);
    for (int i = 1; i <= RECENT_FILE_COUNT; ++i) {
        const QString key = QStringLiteral("File%1").arg(i);
        if (i <= files.size())
            settings.setValue(key, files[i - 1]);
        else
            settings.remove(key);
    }
    settings.endGroup();
}

} // namespace vessor::graph
