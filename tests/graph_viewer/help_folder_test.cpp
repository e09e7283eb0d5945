// The help folder copied beside the programs: every page the two programs
// open is there, every link, picture and anchor inside it resolves, and the
// installed layout (bin/ beside share/vessor/help) is found.
#include "document/vessor_graph_doc.h"
#include "logger/strings.h"
#include "shell/help_pages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vessor::graph {
namespace {

QDir helpFolder() {
    return QDir(helpDirectory(QCoreApplication::applicationDirPath()));
}

QString readPage(const QDir& dir, const QString& name) {
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QSet<QString> anchorsOf(const QString& html) {
    QSet<QString> ids;
    static const QRegularExpression id(QStringLiteral(R"re(\b(?:id|name)="([^"]+)")re"));
    for (const QRegularExpressionMatch& m : id.globalMatch(html))
        ids.insert(m.captured(1));
    return ids;
}

QStringList referencesOf(const QString& html) {
    QStringList refs;
    static const QRegularExpression ref(QStringLiteral(R"re(\b(?:href|src)="([^"]*)")re"));
    for (const QRegularExpressionMatch& m : ref.globalMatch(html))
        refs << m.captured(1);
    return refs;
}

TEST(HelpFolder, EveryPageTheProgramsOpenIsThere) {
    const QDir dir = helpFolder();
    // vessor-usb opens the contents page; vessor-graph its own contents page
    // and one page per kind of logger.
    // Both archive dialogs have a page of their own.
    QStringList pages{QStringLiteral("index.html"), helpContentsPage(), QStringLiteral("archive.html"),
                      QString::fromLatin1(ARCHIVE_HELP_PAGE)};
    for (int id = help::TEMPERATURE_DECIMALS; id <= help::CO; ++id) {
        EXPECT_NE(helpPageFor(id), helpContentsPage()) << id;
        pages << helpPageFor(id);
    }
    for (const QString& page : pages)
        EXPECT_TRUE(QFileInfo(dir.filePath(page)).isFile()) << page.toStdString();
}

TEST(HelpFolder, LinksPicturesAndAnchorsResolveAndEveryPageIsReachable) {
    const QDir dir = helpFolder();
    const QStringList pages = dir.entryList({QStringLiteral("*.html")}, QDir::Files);
    ASSERT_GE(pages.size(), 10);
    QHash<QString, QSet<QString>> anchors;
    for (const QString& page : pages)
        anchors.insert(page, anchorsOf(readPage(dir, page)));

    QHash<QString, QStringList> linksFrom;
    for (const QString& page : pages) {
        const QString html = readPage(dir, page);
        EXPECT_TRUE(html.contains(QStringLiteral("<title>"))) << page.toStdString();
        for (const QString& ref : referencesOf(html)) {
            const std::string where = page.toStdString() + ": " + ref.toStdString();
            // Pages work from any folder they are installed in: no absolute
            // paths, nothing outside the help folder, nothing fetched from the web.
            EXPECT_FALSE(ref.isEmpty()) << where;
            EXPECT_FALSE(ref.contains(QLatin1Char(':')) || ref.startsWith(QLatin1Char('/')) ||
                         ref.contains(QLatin1String("..")))
                << where;
            const QString target = ref.section(QLatin1Char('#'), 0, 0);
            const QString anchor = ref.section(QLatin1Char('#'), 1);
            const QString file = target.isEmpty() ? page : target;
            ASSERT_TRUE(QFileInfo(dir.filePath(file)).isFile()) << where;
            if (!anchor.isEmpty()) {
                EXPECT_TRUE(anchors.value(file).contains(anchor)) << where;
            }
            if (file.endsWith(QLatin1String(".html")))
                linksFrom[page] << file;
        }
    }

    QSet<QString> reached;
    QStringList queue{QStringLiteral("index.html")};
    while (!queue.isEmpty()) {
        const QString page = queue.takeLast();
        if (reached.contains(page))
            continue;
        reached.insert(page);
        queue << linksFrom.value(page);
    }
    for (const QString& page : pages)
        EXPECT_TRUE(reached.contains(page)) << page.toStdString() << " cannot be reached from index.html";
}

TEST(HelpFolder, TheSectionTheEventQuestionsNameExists) {
    // Both programs' event-file questions send the user to a help section by name.
    static const QRegularExpression section(QStringLiteral("help file section '([^']+)'"));
    QString pages;
    const QDir dir = helpFolder();
    for (const QString& page : dir.entryList({QStringLiteral("*.html")}, QDir::Files))
        pages += readPage(dir, page);
    for (const char* question : {vessor::text::EVENT_FILE_QUESTION, text::EVENT_QUESTION}) {
        const QRegularExpressionMatch m = section.match(QString::fromUtf8(question));
        ASSERT_TRUE(m.hasMatch()) << question;
        EXPECT_TRUE(pages.contains(QStringLiteral(">%1</h2>").arg(m.captured(1))))
            << m.captured(1).toStdString();
    }
}

// What the set-up wizard shows and takes is described as it behaves: the
// message and the line that may follow it, and the key that cancels a page.
TEST(HelpFolder, TheSetUpPagesDescribeTheWizardAsItBehaves) {
    const QDir dir = helpFolder();
    const struct {
        const char* page;
        QString text;
    } cases[] = {
        {"setup.html", QString::fromStdString(messageText(MSG_NAME_BAD_CHARACTER)).section(QLatin1Char('\n'), 0, 0)},
        {"setup.html", QStringLiteral("The logger cannot store the character 'X'.")},
        {"setup.html", QStringLiteral("the character the second line names")},
        {"setup.html", QStringLiteral("<b>Cancel</b>, or the <b>Esc</b> key, returns to the main menu")},
        {"main-menu.html", QStringLiteral("<b>Cancel</b> or the <b>Esc</b> key on any page returns")},
    };
    for (const auto& c : cases) {
        const QString page = readPage(dir, QString::fromLatin1(c.page)).simplified();
        EXPECT_TRUE(page.contains(c.text)) << c.page << ": " << c.text.toStdString();
    }
}

TEST(HelpFolder, BesideTheProgramInTheBuildUnderShareWhenInstalled) {
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    const QDir root(prefix.path());
    ASSERT_TRUE(root.mkpath(QStringLiteral("bin")));
    ASSERT_TRUE(root.mkpath(QStringLiteral("share/vessor/help")));
    EXPECT_EQ(helpDirectory(root.filePath(QStringLiteral("bin"))),
              QDir::cleanPath(root.filePath(QStringLiteral("share/vessor/help"))));
    ASSERT_TRUE(root.mkpath(QStringLiteral("bin/help")));
    EXPECT_EQ(helpDirectory(root.filePath(QStringLiteral("bin"))),
              QDir::cleanPath(root.filePath(QStringLiteral("bin/help"))));
}

} // namespace
} // namespace vessor::graph
