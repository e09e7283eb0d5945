// The shared frame of every set-up page: a picture on the left, the page's
// framed groups on the right, and "< Back", "Next >" (or "&Finish") and
// "&Cancel" along the bottom.
//
// A page builds its controls in its constructor with addGroup(), fills them
// from theConfig in updatePage(), and overrides onNext() to validate, store
// into theConfig and then call goNext(). The default handlers follow the page
// tables (page_sequence.h): onNext() -> goNext(), onBack() -> goBack(),
// onCancel() -> main menu.
#pragma once

#include <string>

#include "config_utility/shell/page.h"

class QGroupBox;
class QKeyEvent;
class QLabel;
class QPushButton;
class QVBoxLayout;

namespace vessor {

class WizardPage : public Page {
    Q_OBJECT
public:
    // `pageNumber` is this page's index in the page table (1..24).
    WizardPage(int pageNumber, PageContext& context, QWidget* parent = nullptr);

    int pageNumber() const { return pageNumber_; }

    QPushButton* backButton() const { return back_; }
    QPushButton* nextButton() const { return next_; }
    QPushButton* cancelButton() const { return cancel_; }
    // The resource shown on the left.
    QString picture() const { return pictureResource_; }

protected:
    // A new framed group at the bottom of the right-hand column. The page
    // gives it a layout and its controls.
    QGroupBox* addGroup(const QString& title = {});
    // The right-hand column itself, for anything that is not a group
    // (a stretch, a note under the groups).
    QVBoxLayout* controlsLayout() const { return controls_; }
    // An optional bold line above the groups.
    void setHeading(const QString& text);
    // One of the PICTURE_* resources of page.h (or a page's own); setting
    // the one shown already does nothing.
    void setPicture(const QString& resource);

    // "&Finish" instead of "Next >" (the last page of a sequence).
    void setFinishButton(bool finish);
    // The first page of a sequence keeps Back present and enabled, but
    // pressing it does nothing.
    void setBackInert(bool inert);

    // Button handlers. Next/Finish and Back are not re-entered while one runs.
    virtual void onNext();
    virtual void onBack();
    virtual void onCancel();

    // Switches to the next/previous page of the page tables for this page and
    // theConfig; goNext also raises the start pages' live-clock flags.
    void goNext();
    void goBack();
    // Switches to `target`, raising liveStartClock for the start page and
    // livePushClock for the push-button page (unless the logger is already
    // in push-button mode).
    void goToPage(int target);

    // A validation failure: shows message `messageId` with an OK button and
    // puts the keyboard focus on `focus` (may be null).
    void rejectInput(int messageId, QWidget* focus);
    // The same with a text of its own (a message with details added).
    void rejectInput(const std::string& text, QWidget* focus);

    // Escape leaves the page as Cancel does.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void runNext();
    void runBack();

    int pageNumber_;
    bool backInert_ = false;
    bool busy_ = false;
    QLabel* picture_ = nullptr;
    QString pictureResource_;
    QLabel* heading_ = nullptr;
    QVBoxLayout* controls_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

} // namespace vessor
