// Page 0: the main menu, three large picture buttons with their texts.
#pragma once

#include "config_utility/shell/page.h"

class QAction;
class QPushButton;

namespace vessor {

class MainMenuPage : public Page {
    Q_OBJECT
public:
    // The buttons trigger the window's actions, so menu and buttons run the
    // same commands.
    MainMenuPage(PageContext& context, QAction* setUp, QAction* stopAndDownload,
                 QAction* viewPreviousGraph, QWidget* parent = nullptr);

    QPushButton* setUpButton() const { return setUp_; }
    QPushButton* stopButton() const { return stop_; }
    QPushButton* viewGraphButton() const { return viewGraph_; }

private:
    QPushButton* setUp_;
    QPushButton* stop_;
    QPushButton* viewGraph_;
};

} // namespace vessor
