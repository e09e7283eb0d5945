#include "config_utility/download/stop_info_form.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "config_utility/shell/desktop.h"
#include "config_utility/shell/device_messages.h"
#include "logger/archive/archive.h"
#include "logger/conversion.h"
#include "logger/download_sequence.h"
#include "logger/strings.h"
#include "logger/text_encoding.h"

namespace vessor {

namespace {

// The page's side of the download: the save dialog (remembering its
// folder), the wait cursor while the device or the disk is busy, never
// over a dialog, and the archive of the file saved.
class SaveDialogPrompts : public DownloadPrompts {
public:
    explicit SaveDialogPrompts(PageContext& context) : m_desktop(context.desktop), m_context(context) {}

    // The logger was stopped before the page was shown.
    bool confirmStop(const LoggerConfig&) override { return false; }

    std::string chooseFile(const LoggerConfig& config) override
    {
        FileDialogRequest request;
        request.filters = {QStringLiteral("VessorUSB Download File (*.txt)"),
                           QStringLiteral("All Files (*)")};
        request.defaultSuffix = QStringLiteral("txt");
        request.directory = initialSaveFolder(
            m_desktop.setting(QString::fromLatin1(SETTINGS_SECTION), QString::fromLatin1(SAVED_DIRECTORY_KEY))
                .toString());
        request.fileName = QString::fromStdString(cp1252ToUtf8(defaultDownloadFileName(config.loggerName())));
        const QString path = m_desktop.saveFileName(request);
        if (path.isEmpty())
            return {};
        m_desktop.setSetting(QString::fromLatin1(SETTINGS_SECTION), QString::fromLatin1(SAVED_DIRECTORY_KEY),
                             QFileInfo(path).absolutePath());
        return QFile::encodeName(path).toStdString();
    }

    // A download the archive cannot take is saved all the same: a warning.
    void saved(const std::string& path, std::string_view bytes) override
    {
        const QVariant setting = m_desktop.setting(QString::fromLatin1(archive::SETTING_SECTION),
                                                   QString::fromLatin1(archive::SETTING_KEY));
        const archive::ArchiveChoice choice =
            archive::chooseArchiveForProgram(m_context.archiveOption, setting.toString().toStdString());
        const std::string warning =
            archive::archiveSavedDownload(choice, bytes, QFile::decodeName(QByteArray::fromStdString(path)).toStdString());
        if (!warning.empty())
            m_context.ui.showMessage(warning, MessageIcon::Warning);
    }

    void busy(bool on) override
    {
        if (on)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    }

private:
    Desktop& m_desktop;
    PageContext& m_context;
};

std::string memoryUsage(const LoggerConfig& config)
{
    const int count = config.readingCount();
    const int capacity = config.memoryCapacity();
    double percent = 0.0;
    if (count > 0)
        percent = capacity > 0 ? count * 100.0 / capacity : 100.0;
    if (percent > 100.0)
        percent = 100.0;
    if (percent < 0.1 && count > 0)
        percent = 0.1;
    return formatFixed(percent, 1) + "%";
}

QLabel* plainLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

StopPageTexts stopPageTexts(const LoggerConfig& config)
{
    StopPageTexts texts;
    texts.name = cp1252ToUtf8(config.loggerName());
    texts.caption = "Readings:";
    const bool eventRecords = isEventLogger(config.modelType()) &&
                              (config.eventSampleMode() == EVENT_MODE_EDGE ||
                               config.eventSampleMode() == EVENT_MODE_STATE);
    if (config.isWrapMode() && config.wrapCount() >= 1) {
        texts.count = std::to_string(config.memoryCapacity() - 1);
    } else if (eventRecords) {
        texts.caption = "Memory Usage:";
        texts.count = memoryUsage(config);
    } else {
        texts.count = std::to_string(config.readingCount());
    }
    texts.okEnabled = config.readingCount() > 0;
    return texts;
}

QString initialSaveFolder(const QString& savedDirectory)
{
    // Only absolute folders are ever stored; anything else is a damaged
    // profile value and would follow the program's working folder.
    const QFileInfo saved(savedDirectory);
    if (!savedDirectory.isEmpty() && saved.isAbsolute() && saved.isDir())
        return savedDirectory;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

std::string viewerNotFoundText()
{
    return messageText(MSG_GRAPH_NOT_FOUND);
}

std::string textEditorNotFoundText()
{
    return text::TEXT_EDITOR_NOT_FOUND;
}

std::string eventFileQuestionText()
{
    return text::EVENT_FILE_QUESTION;
}

StopInfoForm::StopInfoForm(PageContext& context, QWidget* parent) : Page(context, parent)
{
    setObjectName(QStringLiteral("stopInfoForm"));
    QVBoxLayout* column = infoColumn(PICTURE_DOWNLOAD);

    auto* heading = plainLabel(tr("The Logger is in the 'Stopped' condition."), this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    column->addWidget(heading);

    QGridLayout* panel = addValuePanel(column, 8);
    QWidget* frame = panel->parentWidget();
    name_ = plainLabel({}, frame);
    caption_ = plainLabel(tr("Readings:"), frame);
    count_ = plainLabel({}, frame);
    for (QLabel* value : {name_, count_})
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    addValueLine(panel, 0, plainLabel(tr("Name:"), frame), name_);
    addValueLine(panel, 1, caption_, count_);

    auto* press = plainLabel(tr("To save the data to the PC, press 'OK'. "), this);
    auto* after = plainLabel(tr("After selecting a suitable filename for the logged\n"
                                "data, the graph program will open automatically."),
                             this);
    column->addSpacing(8);
    column->addWidget(press);
    column->addWidget(after);

    ok_ = new QPushButton(tr("OK"), this);
    cancel_ = new QPushButton(tr("Cancel"), this);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &StopInfoForm::saveDownload);
    connect(cancel_, &QPushButton::clicked, this, [this] { showPage(PAGE_MAIN_MENU); });

    column->addStretch(1);
    column->addLayout(buttonRow({ok_, cancel_}));
}

void StopInfoForm::updatePage()
{
    const StopPageTexts texts = stopPageTexts(config());
    name_->setText(QString::fromStdString(texts.name));
    caption_->setText(QString::fromStdString(texts.caption));
    count_->setText(QString::fromStdString(texts.count));
    ok_->setEnabled(texts.okEnabled);
}

void StopInfoForm::saveDownload()
{
    SaveDialogPrompts prompts(context());
    const DownloadResult result = saveReadings(context().session, context().samples, prompts, true);
    const QString path = QFile::decodeName(QByteArray::fromStdString(result.path));
    switch (result.step) {
    case DownloadStep::Done:
        if (QFileInfo(path).size() == 0)
            ui().showMessage(replaceFirst(text::FILE_HAS_ZERO_LENGTH, "%s", path.toStdString()));
        break;
    case DownloadStep::DeviceFailed:
        showDeviceResult(ui(), result.device);
        break;
    case DownloadStep::NotSaved:
        showMessage(&ui(), MSG_DATA_NOT_SAVED);
        break;
    case DownloadStep::SaveFailed:
        ui().showMessage(result.saved.message);
        break;
    case DownloadStep::BadStartDate:
        ui().showMessage(result.refusal, MessageIcon::Warning);
        break;
    case DownloadStep::StopDeclined:
        break;
    }
    const bool eventFile = isEventLogger(config().modelType());
    showPage(PAGE_MAIN_MENU);
    if (!result.ok())
        return;
    if (eventFile) {
        if (ui().ask(eventFileQuestionText(), MessageButtons::YesNo, MessageIcon::Question) ==
                Answer::Yes &&
            !desktop().openInTextEditor(path))
            ui().showMessage(textEditorNotFoundText());
        return;
    }
    if (!desktop().startViewer(path))
        ui().showMessage(viewerNotFoundText());
}

QString StopInfoForm::nameText() const
{
    return name_->text();
}

QString StopInfoForm::captionText() const
{
    return caption_->text();
}

QString StopInfoForm::countText() const
{
    return count_->text();
}

} // namespace vessor
