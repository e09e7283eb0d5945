#include "file_access.h"

#include "logger/open_file.h"

#include <QDir>
#include <QFile>

namespace vessor::graph {

QString fileOpenProblem(const std::string& path, const InputFile& file) {
    const QString shown = QDir::toNativeSeparators(QFile::decodeName(QByteArray::fromStdString(path)));
    switch (file.problem()) {
    case OpenProblem::None:
        return {};
    case OpenProblem::NotFound:
        return QStringLiteral("%1\nFile not found.").arg(shown);
    case OpenProblem::Folder:
        return QStringLiteral("%1\nThis is a folder, not a file.").arg(shown);
    // Devices and pipes never end; a download file is a plain file.
    case OpenProblem::NotPlainFile:
        return QStringLiteral("%1\nThis is not a plain file.").arg(shown);
    case OpenProblem::CannotOpen:
        break;
    }
    return QStringLiteral("%1\nCannot open the file: %2.").arg(shown, QString::fromStdString(file.reason()));
}

} // namespace vessor::graph
