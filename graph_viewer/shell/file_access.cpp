#include "file_access.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vessor::graph {

QString fileOpenProblem(const QString& path) {
    const QFileInfo info(path);
    const QString shown = QDir::toNativeSeparators(path);
    if (!info.exists())
        return QStringLiteral("%1\nFile not found.").arg(shown);
    if (info.isDir())
        return QStringLiteral("%1\nThis is a folder, not a file.").arg(shown);
    // Devices and pipes never end; a download file is a plain file.
    if (!info.isFile())
        return QStringLiteral("%1\nThis is not a plain file.").arg(shown);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("%1\nCannot open the file: %2.").arg(shown, file.errorString());
    return {};
}

} // namespace vessor::graph
