#include "config_utility/wizard/agreement_pages.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vessor {

namespace {

// Paragraphs are separated by an empty line; every line ends in CR LF.
constexpr const char* CO_AGREEMENT =
    "PLEASE READ THROUGH THE MANUAL, WHICH SHOULD BE KEPT FOR FUTURE REFERENCE.\r\n"
    "PASS THE MANUAL ON TO THOSE WHO USE THIS DEVICE. \r\n"
    "\r\n"
    "Do not use the ZR-CO until you have read and understood the manual and all the "
    "documentation supplied with it. Monitoring carbon monoxide is a complex procedure. If you "
    "are in any doubt, stop and consult a suitably qualified expert.\r\n"
    "\r\n"
    "The ZR-CO is a professional measuring instrument that records carbon monoxide (CO) levels "
    "for later analysis. It is NOT an alarm, safety or warning device, because:\r\n"
    "1. Its light and sound do not adequately warn people in the area.\r\n"
    "2. The battery drains quickly while the light or sound is indicating.\r\n"
    "3. It registers CO only when it takes a sample, at the interval that has been set.\r\n"
    "4. The light and sound alarms are set by the user, who may choose to set no warning at "
    "all.\r\n"
    "\r\n"
    "Carbon monoxide is a poisonous gas. It is colourless and odourless and can kill at low "
    "concentrations. Wherever people or animals may be at risk from carbon monoxide, a "
    "certified domestic or industrial CO detector or alarm must be installed.\r\n"
    "\r\n"
    "IMPORTANT INFORMATION\r\n"
    "\r\n"
    "Operate the ZR-CO and replace its batteries only as the instructions describe.\r\n"
    "\r\n"
    "The red LED flashes when a preset level is exceeded. As supplied, the indicator is enabled"
    " for 50ppm or greater and the sounder is also enabled. Any change to these settings is "
    "made at the user's own risk. The LED and the sounder are triggered only at the times a "
    "sample is taken.\r\n"
    "\r\n"
    "The ZR-CO cannot adequately warn people of dangerous carbon monoxide levels.\r\n"
    "\r\n"
    "Meridane Electronics products are not authorised for use as critical components in "
    "life-support devices or systems without the express written approval of Meridane "
    "Electronics. The ZR-CO is intended for non-life-saving analysis only.\r\n"
    "\r\n"
    "The ZR-CO detects no gas other than carbon monoxide. Other gases may affect the reading.\r\n"
    "\r\n";

constexpr const char* PRO_AGREEMENT =
    "PLEASE READ THROUGH THE MANUAL, WHICH SHOULD BE KEPT FOR FUTURE REFERENCE.\r\n"
    "PASS THE MANUAL ON TO THOSE WHO USE THIS DEVICE. \r\n"
    "\r\n"
    "Do not use the ZR-T-PRO until you have read and understood the manual and all the "
    "documentation supplied with it. The ZR-T-PRO measures high temperatures: correct "
    "procedures must be followed to avoid injury.\r\n"
    "\r\n"
    "The ZR-T-PRO is a professional measuring instrument for recording temperature. Take the "
    "following precautions:\r\n"
    "1. Removing the logger from an extreme environment: the metal case keeps its heat or cold "
    "for some time. Always use protective gloves or suitable tools. See the data sheet for the "
    "limits of use.\r\n"
    "2. Replacing the batteries: use only the battery specified by Meridane Electronics. Many "
    "batteries fail at extreme temperatures, and the wrong battery can cause serious injury.\r\n"
    "\r\n"
    "Meridane Electronics products are not authorised for use as critical components in "
    "life-support devices or systems without the express written approval of Meridane "
    "Electronics.\r\n"
    "\r\n";

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
    if (page == PAGE_CO_DISCLAIMER)
        return std::string(CO_AGREEMENT) + AGREEMENT_CONFIRMATION;
    if (page == PAGE_PRO_DISCLAIMER)
        return std::string(PRO_AGREEMENT) + AGREEMENT_CONFIRMATION;
    return {};
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
