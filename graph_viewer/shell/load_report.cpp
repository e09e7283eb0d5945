#include "load_report.h"

#include <QLoggingCategory>

namespace vessor::graph {

namespace {
// Why a file was refused, line and reason: QT_LOGGING_RULES="vessor.graph.reader.info=true".
Q_LOGGING_CATEGORY(readerLog, "vessor.graph.reader", QtWarningMsg)
} // namespace

void reportLoad(const VessorGraphDoc& doc, const std::string& path, UserInterface& ui,
                TextEditorLauncher& editor) {
    switch (doc.lastStatus()) {
    case LoadStatus::Ok:
        return;
    case LoadStatus::CannotOpen:
        ui.showMessage(text::UNABLE_TO_OPEN, MessageIcon::Warning);
        return;
    case LoadStatus::Invalid:
        qCInfo(readerLog, "%s: %s", path.c_str(), doc.lastError().c_str());
        ui.showMessage(text::INVALID_DATA, MessageIcon::Warning);
        return;
    case LoadStatus::ReadError:
        ui.showMessage(doc.lastError(), MessageIcon::Warning);
        return;
    case LoadStatus::EventFile:
        if (ui.ask(text::EVENT_QUESTION, MessageButtons::YesNo, MessageIcon::Question) == Answer::Yes &&
            !editor.open(path))
            ui.showMessage(text::EDITOR_FAILED, MessageIcon::Warning);
        return;
    }
}

} // namespace vessor::graph
