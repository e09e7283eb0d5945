// The About box: program icon, version line and the maker's contact details.
#pragma once

#include <QDialog>

namespace vessor {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

} // namespace vessor
