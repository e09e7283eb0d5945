// Page 6: the current status of the logger read last, with Refresh and OK.
#pragma once

#include <array>

#include "config_utility/shell/page.h"

class QLabel;
class QPushButton;

namespace vessor {

struct StatusReport;

class StatusPage : public Page {
    Q_OBJECT
public:
    explicit StatusPage(PageContext& context, QWidget* parent = nullptr);

    // Fills the page from theConfig (no device access).
    void updatePage() override;

    QPushButton* refreshButton() const { return refresh_; }
    QPushButton* okButton() const { return ok_; }
    // What the page shows: the heading, then label and value of each line.
    QString headingText() const;
    QString labelText(int line) const;
    QString valueText(int line) const;
    static constexpr int LINE_COUNT = 11;

private:
    void refresh();
    void show(const StatusReport& report);

    QLabel* heading_ = nullptr;
    std::array<QLabel*, LINE_COUNT> labels_{};
    std::array<QLabel*, LINE_COUNT> values_{};
    QPushButton* refresh_ = nullptr;
    QPushButton* ok_ = nullptr;
};

} // namespace vessor
