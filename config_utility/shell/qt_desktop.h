// The desktop seam on Qt: QFileDialog, QProcess, QDesktopServices, QSettings.
#pragma once

#include "config_utility/shell/desktop.h"

#include <QSettings>

class QWidget;

namespace vessor {

class QtDesktop : public Desktop {
public:
    // `programDir` is where vessor-graph and the help folder are looked for
    // (the utility's own folder); `settingsApplication` names the settings
    // ("Vessor USB" under "Meridane Electronics").
    explicit QtDesktop(QString programDir,
                       QString settingsApplication = QStringLiteral("Vessor USB"));

    // The window the dialogs belong to.
    void setDialogParent(QWidget* parent) { dialogParent_ = parent; }

    QString openFileName(const FileDialogRequest& request) override;
    QString saveFileName(const FileDialogRequest& request) override;
    bool startViewer(const QString& path) override;
    bool openInTextEditor(const QString& path) override;
    bool openHelp(const QString& page) override;
    QVariant setting(const QString& section, const QString& key,
                     const QVariant& fallback = {}) const override;
    void setSetting(const QString& section, const QString& key, const QVariant& value) override;

    // The folder holding the help pages: <programDir>/help, or the shared
    // data folder of an installation.
    QString helpDirectory() const;

private:
    QString programDir_;
    mutable QSettings settings_;
    QWidget* dialogParent_ = nullptr;
};

// The name of the graph viewer's executable.
inline constexpr const char* VIEWER_PROGRAM = "vessor-graph";

} // namespace vessor
