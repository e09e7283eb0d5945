// Renders the utility's window offscreen to PNG files, for looking at the
// pages without a display:
//   vessor-usb-screenshots OUTPUT_DIR [MODEL...]
// For each model (default 3) a factory logger is simulated in memory, read,
// and every page is grabbed in turn (MODEL-PAGE.png), plus the About box and
// Options > Archive... (as it opens, and with a PostgreSQL URL tested).
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QDir>
#include <QEventLoop>
#include <QPixmap>
#include <QPushButton>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "config_utility/shell/about_dialog.h"
#include "config_utility/shell/archive_dialog.h"
#include "config_utility/shell/desktop.h"
#include "config_utility/shell/utility_window.h"
#include "config_utility/wizard/wizard_page.h"
#include "logger/clock.h"
#include "logger/locale_format.h"
#include "logger/logger_config.h"
#include "logger/sim/simulated_logger.h"

namespace {

using namespace vessor;

class PrintingUi : public UserInterface {
public:
    void showMessage(const std::string& text, MessageIcon) override
    {
        std::fprintf(stderr, "message: %s\n", text.c_str());
    }
    Answer ask(const std::string& text, MessageButtons buttons, MessageIcon) override
    {
        std::fprintf(stderr, "question: %s\n", text.c_str());
        return buttons == MessageButtons::YesNo ? Answer::Yes : Answer::Ok;
    }
};

class NoDesktop : public Desktop {
public:
    QString openFileName(const FileDialogRequest&) override { return {}; }
    QString saveFileName(const FileDialogRequest&) override { return {}; }
    bool startViewer(const QString&) override { return false; }
    bool openInTextEditor(const QString&) override { return false; }
    bool openHelp(const QString&) override { return false; }
    QVariant setting(const QString&, const QString&, const QVariant& fallback) const override { return fallback; }
    void setSetting(const QString&, const QString&, const QVariant&) override {}
};

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: vessor-usb-screenshots OUTPUT_DIR [MODEL...]\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    std::vector<int> models;
    for (int i = 2; i < argc; ++i)
        models.push_back(std::atoi(argv[i]));
    if (models.empty())
        models.push_back(3);

    FixedClock clock(makeCalendarTime(2024, 3, 15, 10, 30, 0));
    FixedLocaleFormat locale;
    PrintingUi ui;
    NoDesktop desktop;
    for (int model : models) {
        sim::FactoryOptions options;
        options.modelType = model;
        options.logging = true;
        options.now = makeCalendarTime(2024, 3, 14, 9, 0, 0);
        std::string error;
        auto image = sim::makeFactoryImage(options, error);
        if (!image) {
            std::fprintf(stderr, "model %d: %s\n", model, error.c_str());
            return 1;
        }
        std::shared_ptr<sim::SimulatedLogger> logger(sim::SimulatedLogger::fromImage(*image, clock, 1.0));
        sim::SimXpress usb(logger);
        LoggerConfig config;
        SampleBuffer samples;
        LoggerSession session(config, clock);
        session.setTransport(&usb);
        UtilityWindow window(session, samples, ui, desktop, clock, locale);
        window.show();
        session.refresh();
        for (int page = 0; page < PAGE_COUNT; ++page) {
            window.showPage(page);
            QApplication::processEvents();
            window.grab().save(out.filePath(QStringLiteral("model%1-page%2.png").arg(model).arg(page)));
        }
    }
    // The bare frame of a set-up page, with two groups, as the pages build on it.
    {
        LoggerConfig config;
        SampleBuffer samples;
        LoggerSession session(config, clock);
        PageContext context(session, samples, ui, desktop, clock, locale);
        struct Demo : WizardPage {
            Demo(PageContext& c) : WizardPage(PAGE_SETUP_NAME, c)
            {
                setHeading(QStringLiteral("Set up the USB Data Logger"));
                auto* name = addGroup(QStringLiteral("Logger Name"));
                auto* l1 = new QVBoxLayout(name);
                l1->addWidget(new QLineEdit(QStringLiteral("Cold Store"), name));
                auto* rate = addGroup(QStringLiteral("Sample Rate"));
                auto* l2 = new QVBoxLayout(rate);
                auto* combo = new QComboBox(rate);
                combo->addItem(QStringLiteral("1 Minute"));
                l2->addWidget(combo);
                controlsLayout()->addStretch(1);
            }
        } demo(context);
        demo.show();
        QApplication::processEvents();
        demo.grab().save(out.filePath(QStringLiteral("wizard-frame.png")));
    }
    AboutDialog about;
    about.show();
    QApplication::processEvents();
    about.grab().save(out.filePath(QStringLiteral("about.png")));

    ArchiveDialog archive(desktop, ui, std::nullopt);
    archive.show();
    QApplication::processEvents();
    archive.grab().save(out.filePath(QStringLiteral("archive.png")));
    archive.setForm({ArchiveKind::Postgresql, {}, "postgresql://vessor@127.0.0.1:1/archive"});
    QEventLoop wait;
    QObject::connect(&archive, &ArchiveDialog::tested, &wait, &QEventLoop::quit);
    archive.testButton()->click();
    wait.exec();
    archive.grab().save(out.filePath(QStringLiteral("archive-tested.png")));
    return 0;
}
