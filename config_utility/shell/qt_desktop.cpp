#include "config_utility/shell/qt_desktop.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace vessor {

namespace {

QFileDialog::Options dialogOptions()
{
    // The read-only box of the old dialogs has no counterpart; keep Qt's own
    // dialog so tests and desktops behave alike.
    return QFileDialog::DontUseCustomDirectoryIcons;
}

QString runDialog(QWidget* parent, const FileDialogRequest& request, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, request.title);
    dialog.setOptions(dialogOptions());
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    if (!request.filters.isEmpty())
        dialog.setNameFilters(request.filters);
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.directory.isEmpty() && QFileInfo(request.directory).isDir())
        dialog.setDirectory(request.directory);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QtDesktop::QtDesktop(QString programDir, QString settingsApplication)
    : programDir_(std::move(programDir)),
      settings_(QStringLiteral("Meridane Electronics"), settingsApplication)
{
}

QString QtDesktop::openFileName(const FileDialogRequest& request)
{
    return runDialog(dialogParent_, request, QFileDialog::AcceptOpen);
}

QString QtDesktop::saveFileName(const FileDialogRequest& request)
{
    return runDialog(dialogParent_, request, QFileDialog::AcceptSave);
}

bool QtDesktop::startViewer(const QString& path)
{
    // The path is one argument of its own: spaces and quotes need no escaping
    // because no shell is involved.
    const QString program = QDir(programDir_).filePath(QString::fromLatin1(VIEWER_PROGRAM));
    if (!QFileInfo(program).isExecutable())
        return false;
    return QProcess::startDetached(program, {path}, programDir_);
}

bool QtDesktop::openInTextEditor(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

QString QtDesktop::helpDirectory() const
{
    const QDir dir(programDir_);
    for (const QString& candidate :
         {dir.filePath(QStringLiteral("help")),
          dir.filePath(QStringLiteral("../share/vessor/help"))}) {
        if (QFileInfo(candidate).isDir())
            return QDir::cleanPath(candidate);
    }
    return dir.filePath(QStringLiteral("help"));
}

bool QtDesktop::openHelp(const QString& page)
{
    const QString file = QDir(helpDirectory()).filePath(page);
    if (!QFileInfo::exists(file))
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

QVariant QtDesktop::setting(const QString& section, const QString& key, const QVariant& fallback) const
{
    return settings_.value(section + QLatin1Char('/') + key, fallback);
}

void QtDesktop::setSetting(const QString& section, const QString& key, const QVariant& value)
{
    settings_.setValue(section + QLatin1Char('/') + key, value);
    settings_.sync();
}

} // namespace vessor
