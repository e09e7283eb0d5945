#include "wizard_driver.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "config_utility/support/user_input.h"
#include "config_utility/wizard/wizard_factory.h"
#include "config_utility/wizard/wizard_page.h"

namespace vessor::test {

WizardDriver::WizardDriver(PageContext& context) : context_(context)
{
    for (int i = 1; i < PAGE_COUNT; ++i) {
        pages_[i].reset(createWizardPage(i, context_, nullptr));
        if (pages_[i]) {
            pages_[i]->setFixedSize(PAGE_WIDTH, PAGE_HEIGHT);
            pages_[i]->updatePage();
        }
    }
    context_.pageSwitcher = [this](int index) { switchTo(index); };
}

WizardDriver::~WizardDriver()
{
    context_.pageSwitcher = nullptr;
}

void WizardDriver::start(int entry)
{
    switchTo(entry);
}

Page* WizardDriver::page(int index) const
{
    return index > 0 && index < PAGE_COUNT ? pages_[index].get() : nullptr;
}

void WizardDriver::switchTo(int index)
{
    if (index < 0 || index >= PAGE_COUNT || index == current_)
        return;
    shown_.push_back(index);
    if (Page* old = page(current_))
        old->hide();
    current_ = index;
    for (auto& p : pages_)
        if (p)
            p->updatePage();
    if (Page* now = page(current_))
        now->show();
}

void WizardDriver::click(QAbstractButton* button)
{
    test::click(button);
}

void WizardDriver::next()
{
    if (auto* p = dynamic_cast<WizardPage*>(page(current_)))
        click(p->nextButton());
}

void WizardDriver::back()
{
    if (auto* p = dynamic_cast<WizardPage*>(page(current_)))
        click(p->backButton());
}

void WizardDriver::retype(QWidget* box, const QString& text)
{
    if (auto* edit = qobject_cast<QLineEdit*>(box)) {
        edit->setFocus();
        edit->selectAll();
    }
    QTest::keyClick(box, Qt::Key_Backspace);
    for (const QChar ch : text) {
        if (ch.unicode() < 128) {
            QTest::keyClick(box, ch.toLatin1());
            continue;
        }
        // QTest knows key codes for ASCII only; other characters arrive as
        // text, as from an input method.
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(box, &press);
        QApplication::sendEvent(box, &release);
    }
}

bool WizardDriver::activate()
{
    Page* p = page(current_);
    if (!p)
        return false;
    p->show();
    p->activateWindow();
    return QTest::qWaitForWindowActive(p);
}

} // namespace vessor::test
