// Every set-up page over one PageContext, switched the way the utility
// switches them: the page shown is the only one visible, and every switch
// refreshes every page from theConfig. Buttons are pressed with real mouse
// clicks, text typed with real key presses.
#pragma once

#include <QAbstractButton>
#include <QString>

#include <array>
#include <memory>
#include <vector>

#include "config_utility/shell/page.h"

class QWidget;

namespace vessor::test {

class WizardDriver {
public:
    explicit WizardDriver(PageContext& context);
    ~WizardDriver();

    // What the set-up command does after its checks: show `entry`.
    void start(int entry);

    Page* page(int index) const;
    template <typename P>
    P* as(int index) const
    {
        return dynamic_cast<P*>(page(index));
    }
    int current() const { return current_; }
    // Every page switch, in order.
    const std::vector<int>& shown() const { return shown_; }

    // Near the left edge: a radio button or check box reacts only on its
    // mark and text.
    static void click(QAbstractButton* button);
    void next();
    void back();
    // Replaces the text of a box by typing: select all, erase, type.
    static void retype(QWidget* box, const QString& text);
    // Shows the current page as the active window, so focus can be checked.
    bool activate();

private:
    void switchTo(int index);

    PageContext& context_;
    std::array<std::unique_ptr<Page>, PAGE_COUNT> pages_;
    int current_ = PAGE_MAIN_MENU;
    std::vector<int> shown_;
};

} // namespace vessor::test
