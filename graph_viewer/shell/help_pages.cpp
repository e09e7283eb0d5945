#include "help_pages.h"

#include <QDir>
#include <QFileInfo>

namespace vessor::graph {

QString helpContentsPage() {
    return QStringLiteral("graph-viewer.html");
}

QString helpPageFor(int contextId) {
    switch (contextId) {
    case help::TEMPERATURE_DECIMALS:
        return QStringLiteral("graph-temperature.html");
    case help::TWO_CHANNEL:
        return QStringLiteral("graph-two-channel.html");
    case help::VOLTAGE:
        return QStringLiteral("graph-voltage.html");
    case help::CURRENT:
        return QStringLiteral("graph-current.html");
    case help::TEMPERATURE_WHOLE:
        return QStringLiteral("graph-temperature-whole.html");
    case help::CO:
        return QStringLiteral("graph-co.html");
    default:
        return helpContentsPage();
    }
}

QString helpDirectory(const QString& programDir) {
    const QDir dir(programDir);
    for (const QString& candidate :
         {dir.filePath(QStringLiteral("help")), dir.filePath(QStringLiteral("../share/vessor/help"))}) {
        if (QFileInfo(candidate).isDir())
            return QDir::cleanPath(candidate);
    }
    return dir.filePath(QStringLiteral("help"));
}

} // namespace vessor::graph
