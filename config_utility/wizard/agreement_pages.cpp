#include "config_utility/wizard/agreement_pages.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "config_utility/wizard/page_sequence.h"

namespace vessor {

namespace {

// The professional logger's agreement shows a temperature logger, not the
// CO one.
constexpr const char* PICTURE_PRO_DISCLAIMER = ":/vessor-usb/panel-disclaimer-pro.png";

QString forDisplay(const std::string& text)
{
    QString shown = QString::fromUtf8(text);
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return shown;
}

} // namespace

std::string agreementText(int page)
{
    return agreementText(stepOfPage(page));
}

AgreementPage::AgreementPage(int pageNumber, PageContext& context, QWidget* parent)
    : WizardPage(pageNumber, context, parent)
{
    setPicture(QString::fromLatin1(pageNumber == PAGE_PRO_DISCLAIMER ? PICTURE_PRO_DISCLAIMER
                                                                     : PICTURE_DISCLAIMER));
    setHeading(tr("Safety Agreement"));

    text_ = new QPlainTextEdit(this);
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text_->setPlainText(forDisplay(agreementText(pageNumber)));
    controlsLayout()->addWidget(text_, 1);

    QGroupBox* choice = addGroup();
    auto* layout = new QHBoxLayout(choice);
    disagree_ = new QRadioButton(tr("I Do Not Agree"), choice);
    agree_ = new QRadioButton(tr("I Agree"), choice);
    auto* buttons = new QButtonGroup(choice);
    buttons->addButton(disagree_, 0);
    buttons->addButton(agree_, 1);
    layout->addWidget(disagree_);
    layout->addSpacing(24);
    layout->addWidget(agree_);
    layout->addStretch(1);

    connect(agree_, &QRadioButton::clicked, this, [this] { nextButton()->setEnabled(true); });
    connect(disagree_, &QRadioButton::clicked, this, [this] { nextButton()->setEnabled(false); });
}

void AgreementPage::updatePage()
{
    disagree_->setChecked(true);
    nextButton()->setEnabled(false);
    text_->moveCursor(QTextCursor::Start);
}

} // namespace vessor
