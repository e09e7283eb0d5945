#include "config_utility/wizard/co_table_dialog.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vessor {

namespace {

struct ExposureRow {
    const char* ppm;
    const char* time;
    const char* symptoms;  // the lines of the cell, separated by '\n'
};

constexpr ExposureRow EXPOSURE_ROWS[] = {
    {"50", "N/A",
     "Safety level as specified by the Health and Safety Executive\n"
     "(HSE) in the UK."},
    {"200", "2 - 3 hours",
     "Slight headache, some may experience slight dizziness,\n"
     "nausea, chest tightness, fatigue, lack of concentration,\n"
     "memory loss."},
    {"400", "1 - 2 hours",
     "Headache worsening to a severe headache with prolonged\n"
     "exposure, dizziness, nausea, fatigue, tightness across the\n"
     "chest, memory loss, lack of concentration."},
    {"800", "45 minutes",
     "Headache, dizziness, nausea, convulsions within 45 minutes.\n"
     "Unconscious within 2 hours. Death can occur within 2-3\n"
     "hours."},
};

QLabel* cellLabel(const QString& text, QWidget* parent, bool bold = false)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

QFrame* rule(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

SetupCOTableDialog::SetupCOTableDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Vessor USB"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 12);
    layout->setSpacing(10);

    QLabel* title = cellLabel(tr("The effects of Carbon Monoxide exposure"), this, true);
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.2);
    title->setFont(titleFont);
    title->setAlignment(Qt::AlignHCenter);
    layout->addWidget(title);

    auto* table = new QFrame(this);
    table->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(table);
    grid->setContentsMargins(10, 8, 10, 8);
    grid->setHorizontalSpacing(18);
    grid->setVerticalSpacing(6);
    grid->addWidget(cellLabel(tr("ppm CO"), table, true), 0, 0);
    grid->addWidget(cellLabel(tr("Time exposed"), table, true), 0, 1);
    grid->addWidget(cellLabel(tr("Symptoms"), table, true), 0, 2);
    int row = 1;
    for (const ExposureRow& r : EXPOSURE_ROWS) {
        grid->addWidget(rule(table), row++, 0, 1, 3);
        grid->addWidget(cellLabel(tr(r.ppm), table), row, 0);
        grid->addWidget(cellLabel(tr(r.time), table), row, 1);
        grid->addWidget(cellLabel(tr(r.symptoms), table), row, 2);
        ++row;
    }
    grid->setColumnStretch(2, 1);
    layout->addWidget(table);

    layout->addWidget(cellLabel(tr("- ppm CO, parts per million Carbon Monoxide"), this));
    layout->addWidget(cellLabel(tr("- This table is for guidance only. National safety standards vary from "
                                   "country to country.\n"
                                   "   If unsure, check with your appropriate national body."),
                                this));
    layout->addStretch(1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

} // namespace vessor
