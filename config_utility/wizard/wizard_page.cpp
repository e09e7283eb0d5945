#include "config_utility/wizard/wizard_page.h"

#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "config_utility/wizard/page_sequence.h"
#include "logger/strings.h"

namespace vessor {

WizardPage::WizardPage(int pageNumber, PageContext& context, QWidget* parent)
    : Page(context, parent), pageNumber_(pageNumber)
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 10);
    outer->setSpacing(8);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 12, 0);
    body->setSpacing(14);
    picture_ = new QLabel(this);
    picture_->setFixedWidth(PICTURE_WIDTH);
    picture_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    body->addWidget(picture_);

    controls_ = new QVBoxLayout;
    controls_->setContentsMargins(0, 12, 0, 0);
    controls_->setSpacing(10);
    heading_ = new QLabel(this);
    heading_->setWordWrap(true);
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);
    heading_->hide();
    controls_->addWidget(heading_);
    body->addLayout(controls_, 1);
    outer->addLayout(body, 1);

    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    outer->addWidget(rule);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(12, 0, 12, 0);
    buttons->setSpacing(0);
    back_ = new QPushButton(tr("< Back"), this);
    next_ = new QPushButton(tr("Next >"), this);
    cancel_ = new QPushButton(tr("&Cancel"), this);
    for (QPushButton* b : {back_, next_, cancel_}) {
        b->setMinimumWidth(88);
        b->setAutoDefault(false);
    }
    next_->setDefault(true);
    buttons->addStretch(1);
    buttons->addWidget(back_);
    buttons->addWidget(next_);
    buttons->addSpacing(10);
    buttons->addWidget(cancel_);
    outer->addLayout(buttons);

    setPicture(QString::fromLatin1(PICTURE_SETUP));
    setBackInert(isBackInert(pageNumber_));

    connect(next_, &QPushButton::clicked, this, &WizardPage::runNext);
    connect(back_, &QPushButton::clicked, this, &WizardPage::runBack);
    connect(cancel_, &QPushButton::clicked, this, [this] { onCancel(); });
}

QGroupBox* WizardPage::addGroup(const QString& title)
{
    auto* group = new QGroupBox(title, this);
    controls_->addWidget(group);
    return group;
}

void WizardPage::setHeading(const QString& text)
{
    heading_->setText(text);
    heading_->setVisible(!text.isEmpty());
}

void WizardPage::setPicture(const QString& resource)
{
    if (resource == pictureResource_)
        return;
    pictureResource_ = resource;
    picture_->setPixmap(QPixmap(resource));
}

void WizardPage::setFinishButton(bool finish)
{
    next_->setText(finish ? tr("&Finish") : tr("Next >"));
}

void WizardPage::setBackInert(bool inert)
{
    backInert_ = inert;
}

void WizardPage::onNext()
{
    goNext();
}

void WizardPage::onBack()
{
    goBack();
}

void WizardPage::onCancel()
{
    showPage(PAGE_MAIN_MENU);
}

void WizardPage::goNext()
{
    const int target = nextPage(pageNumber_, config());
    if (target != NO_PAGE)
        goToPage(target);
}

void WizardPage::goBack()
{
    const int target = backPage(pageNumber_, config());
    if (target != NO_PAGE)
        showPage(target);
}

void WizardPage::goToPage(int target)
{
    if (target == PAGE_SETUP_START)
        context().liveStartClock = true;
    else if (target == PAGE_PUSH_TO_START && !config().isPushButtonMode())
        context().livePushClock = true;
    showPage(target);
}

void WizardPage::rejectInput(int messageId, QWidget* focus)
{
    rejectInput(messageText(messageId), focus);
}

void WizardPage::rejectInput(const std::string& text, QWidget* focus)
{
    ui().showMessage(text);
    if (focus)
        focus->setFocus(Qt::OtherFocusReason);
}

// Keys a control has no use for (Escape in a box, on a button) arrive here.
// A page without Cancel (the confirmation) ignores Escape.
void WizardPage::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && !cancel_->isHidden() && cancel_->isEnabled()) {
        event->accept();
        cancel_->click();
        return;
    }
    Page::keyPressEvent(event);
}

// A message box inside a handler runs a nested event loop; a second click
// queued meanwhile must not run the handler again.
void WizardPage::runNext()
{
    if (busy_)
        return;
    busy_ = true;
    onNext();
    busy_ = false;
}

void WizardPage::runBack()
{
    if (busy_ || backInert_)
        return;
    busy_ = true;
    onBack();
    busy_ = false;
}

} // namespace vessor
