#include "config_utility/shell/archive_dialog.h"

#include "config_utility/shell/desktop.h"
#include "logger/archive/archive_url.h"
#include "logger/user_interface.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>
#include <QVBoxLayout>

#include <cstdlib>
#include <memory>

namespace vessor {

namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

std::optional<std::string> environmentArchive() {
    const char* value = std::getenv(archive::ENVIRONMENT_VARIABLE);
    if (!value || !*value)
        return std::nullopt;
    return std::string(value);
}

QLabel* hintLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Disabled, QPalette::WindowText));
    label->setPalette(palette);
    return label;
}

} // namespace

ArchiveDialog::ArchiveDialog(Desktop& desktop, UserInterface& ui,
                             const std::optional<std::string>& option, QWidget* parent)
    : QDialog(parent), desktop_(desktop), ui_(ui),
      default_(new QRadioButton(tr("The &default archive in your data folder"), this)),
      sqlite_(new QRadioButton(tr("Another &SQLite file"), this)),
      postgres_(new QRadioButton(tr("A shared &PostgreSQL database"), this)),
      none_(new QRadioButton(tr("&No archive: downloads are saved as files only"), this)),
      sqlitePath_(new QLineEdit(this)), postgresUrl_(new QLineEdit(this)),
      browse_(new QPushButton(tr("&Browse..."), this)), test_(new QPushButton(tr("&Test"), this)),
      result_(new QLabel(this)), note_(new QLabel(this)) {
    setWindowTitle(tr("Archive"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* group = new QButtonGroup(this);
    for (QRadioButton* button : {default_, sqlite_, postgres_, none_})
        group->addButton(button);

    auto* intro =
        new QLabel(tr("Every download Vessor USB saves is also stored in the archive, where "
                      "the graph viewer opens a logger's readings across downloads."),
                   this);
    intro->setWordWrap(true);

    sqlitePath_->setPlaceholderText(tr("/full/path/archive.sqlite"));
    postgresUrl_->setPlaceholderText(tr("postgresql://user@host/database"));
    // Room for a whole path or URL.
    sqlitePath_->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 48);

    constexpr int INDENT = 24;
    auto* choices = new QGridLayout;
    choices->setColumnMinimumWidth(0, INDENT);
    choices->setColumnStretch(1, 1);
    choices->setVerticalSpacing(4);
    int row = 0;
    choices->addWidget(default_, row++, 0, 1, 3);
    choices->addWidget(hintLabel(fromUtf8(archive::defaultArchivePath()), this), row++, 1, 1, 2);
    choices->setRowMinimumHeight(row++, 6);
    choices->addWidget(sqlite_, row++, 0, 1, 3);
    choices->addWidget(sqlitePath_, row, 1);
    choices->addWidget(browse_, row++, 2);
    choices->setRowMinimumHeight(row++, 6);
    choices->addWidget(postgres_, row++, 0, 1, 3);
    choices->addWidget(postgresUrl_, row++, 1, 1, 2);
    choices->addWidget(
        hintLabel(tr("Leave the password out of the URL: the PostgreSQL client reads it "
                     "from ~/.pgpass or the PGPASSWORD variable."),
                  this),
        row++, 1, 1, 2);
    choices->setRowMinimumHeight(row++, 6);
    choices->addWidget(none_, row++, 0, 1, 3);

    result_->setWordWrap(true);
    result_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* testRow = new QHBoxLayout;
    testRow->addWidget(test_);
    testRow->addStretch(1);

    note_->setWordWrap(true);
    note_->setStyleSheet(QStringLiteral("color: #a05000;"));

    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &ArchiveDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [this] { desktop_.openHelp(QStringLiteral("archive.html")); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addWidget(intro);
    layout->addSpacing(10);
    layout->addLayout(choices);
    layout->addSpacing(10);
    layout->addLayout(testRow);
    layout->addWidget(result_);
    layout->addWidget(note_);
    layout->addSpacing(6);
    layout->addWidget(buttons);

    connect(group, &QButtonGroup::buttonToggled, this, [this] { updateFields(); });
    connect(browse_, &QPushButton::clicked, this, &ArchiveDialog::browse);
    connect(test_, &QPushButton::clicked, this, &ArchiveDialog::test);
    // An answer belongs to the form it was given for.
    for (QLineEdit* edit : {sqlitePath_, postgresUrl_})
        connect(edit, &QLineEdit::textEdited, result_, &QLabel::clear);
    connect(group, &QButtonGroup::buttonToggled, result_, &QLabel::clear);

    const QVariant stored = desktop_.setting(QString::fromLatin1(archive::SETTING_SECTION),
                                             QString::fromLatin1(archive::SETTING_KEY));
    const StoredArchiveForm start = archiveFormFor(stored.toString().toStdString());
    setForm(start.form);
    QStringList notes;
    if (!start.note.empty())
        notes << fromUtf8(start.note);
    if (const std::string override = archiveOverrideNote(option, environmentArchive());
        !override.empty())
        notes << fromUtf8(override);
    note_->setText(notes.join(QLatin1Char('\n')));
    note_->setVisible(!notes.isEmpty());
    result_->clear();
}

QRadioButton* ArchiveDialog::choice(ArchiveKind kind) const {
    switch (kind) {
    case ArchiveKind::Default:
        return default_;
    case ArchiveKind::SqliteFile:
        return sqlite_;
    case ArchiveKind::Postgresql:
        return postgres_;
    case ArchiveKind::None:
        return none_;
    }
    return default_;
}

ArchiveForm ArchiveDialog::form() const {
    ArchiveForm form;
    for (ArchiveKind kind : {ArchiveKind::Default, ArchiveKind::SqliteFile, ArchiveKind::Postgresql,
                             ArchiveKind::None})
        if (choice(kind)->isChecked())
            form.kind = kind;
    form.sqlitePath = sqlitePath_->text().toStdString();
    form.postgresUrl = postgresUrl_->text().toStdString();
    return form;
}

void ArchiveDialog::setForm(const ArchiveForm& form) {
    sqlitePath_->setText(fromUtf8(form.sqlitePath));
    postgresUrl_->setText(fromUtf8(form.postgresUrl));
    choice(form.kind)->setChecked(true);
    updateFields();
}

void ArchiveDialog::updateFields() {
    sqlitePath_->setEnabled(sqlite_->isChecked());
    browse_->setEnabled(sqlite_->isChecked());
    postgresUrl_->setEnabled(postgres_->isChecked());
}

void ArchiveDialog::browse() {
    FileDialogRequest request;
    request.title = tr("Archive File");
    request.filters = {tr("SQLite archive (*.sqlite *.db)"), tr("All Files (*)")};
    const QString current = sqlitePath_->text().trimmed();
    if (!current.isEmpty())
        request.fileName = current;
    const QString path = desktop_.openFileName(request);
    if (path.isEmpty())
        return;
    sqlitePath_->setText(path);
    result_->clear();
}

void ArchiveDialog::accept() {
    const ArchiveSetting setting = archiveSettingFor(form());
    if (!setting.ok()) {
        ui_.showMessage(setting.error, MessageIcon::Warning);
        return;
    }
    desktop_.setSetting(QString::fromLatin1(archive::SETTING_SECTION),
                        QString::fromLatin1(archive::SETTING_KEY), fromUtf8(*setting.value));
    QDialog::accept();
}

void ArchiveDialog::test() {
    if (testing_)
        return;
    const ArchiveSetting setting = archiveSettingFor(form());
    if (!setting.ok()) {
        showCheck({false, setting.error});
        return;
    }
    testing_ = true;
    test_->setEnabled(false);
    result_->setStyleSheet({});
    result_->setText(tr("Testing..."));
    // The answer outlives the dialog when it is closed first; the thread
    // then ends on its own (the connection gives up after its timeout).
    auto answer = std::make_shared<ArchiveCheck>();
    QThread* worker =
        QThread::create([answer, value = *setting.value] { *answer = checkArchive(value); });
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    connect(worker, &QThread::finished, this, [this, answer] {
        testing_ = false;
        test_->setEnabled(true);
        showCheck(*answer);
        emit tested();
    });
    worker->start();
}

void ArchiveDialog::fitContents() {
    // A long answer wraps onto more lines: the dialog grows to show them all.
    layout()->activate();
    const int needed = layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width())
                                                     : layout()->totalSizeHint().height();
    if (needed > height())
        resize(width(), needed);
}

void ArchiveDialog::showCheck(const ArchiveCheck& check) {
    result_->setStyleSheet(check.ok ? QStringLiteral("color: #006000;")
                                    : QStringLiteral("color: #b00000;"));
    result_->setText(fromUtf8(check.text));
    fitContents();
}

} // namespace vessor
