// Whether both programs, installed as the package installs them under ROOT
// (ROOT/usr/bin), find the help pages the package puts in place, through the
// same lookup the programs make.
//   vessor-installed-help-check ROOT
#include "config_utility/shell/qt_desktop.h"
#include "shell/help_pages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vessor-installed-help-check ROOT\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    const QString programDir = root.filePath(QStringLiteral("usr/bin"));
    const QString expected = QDir::cleanPath(root.filePath(QStringLiteral("usr/share/vessor/help")));
    struct Lookup {
        const char* program;
        QString folder;
        QString contents; // the page Help > Help Topics opens
    };
    const Lookup lookups[] = {
        {"vessor-usb", vessor::QtDesktop(programDir).helpDirectory(), QStringLiteral("index.html")},
        {"vessor-graph", vessor::graph::helpDirectory(programDir), vessor::graph::helpContentsPage()},
    };
    int status = 0;
    for (const Lookup& lookup : lookups) {
        const QString page = QDir(lookup.folder).filePath(lookup.contents);
        if (QDir::cleanPath(lookup.folder) != expected) {
            std::fprintf(stderr, "%s looks for its help in %s, not in %s\n", lookup.program,
                         qPrintable(lookup.folder), qPrintable(expected));
            status = 1;
        } else if (!QFileInfo(page).isFile()) {
            std::fprintf(stderr, "%s: its contents page %s is missing\n", lookup.program,
                         qPrintable(page));
            status = 1;
        }
    }
    return status;
}
