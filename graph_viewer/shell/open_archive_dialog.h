// File › Open from Archive…: the archive's loggers (serial, name, heading,
// span, downloads) and a range, From included and To not, starting as the
// chosen logger's whole span. Open hands the choice to the opener; what it
// refuses (no readings in the range, a range too long) is said in the dialog,
// which stays open.
#pragma once

#include "logger/archive/archive.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QDateTimeEdit;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace vessor::graph {

struct ArchiveRequest {
    std::int64_t serial = 0;
    std::string loggerName;
    std::int64_t from = 0; // clock seconds, included
    std::int64_t to = 0;   // clock seconds, not included
};

class OpenArchiveDialog : public QDialog {
    Q_OBJECT
public:
    // Opens the request; empty when done, else why not.
    using Opener = std::function<std::string(const ArchiveRequest&)>;

    OpenArchiveDialog(const QString& archiveName, std::vector<archive::LoggerEntry> loggers,
                      Opener opener, QWidget* parent = nullptr);

    // The request of the logger and range chosen; none without a logger
    // that has readings.
    std::optional<ArchiveRequest> request() const;
    // Chooses the logger of `serial` (its whole span); false when not listed.
    bool selectLogger(std::int64_t serial);
    // The chosen logger's whole span back in the fields.
    void resetRange();

    // Opens the request; a refusal is shown in the dialog.
    void accept() override;

    QTreeWidget* loggerList() const { return list_; }
    QDateTimeEdit* fromEdit() const { return from_; }
    QDateTimeEdit* toEdit() const { return to_; }
    QPushButton* openButton() const { return open_; }
    QLabel* problemLabel() const { return problem_; }

signals:
    void helpRequested();

private:
    const archive::LoggerEntry* current() const;
    void loggerChanged();

    std::vector<archive::LoggerEntry> loggers_;
    Opener opener_;
    QTreeWidget* list_;
    QDateTimeEdit* from_;
    QDateTimeEdit* to_;
    QPushButton* whole_;
    QPushButton* open_;
    QLabel* problem_;
};

} // namespace vessor::graph
