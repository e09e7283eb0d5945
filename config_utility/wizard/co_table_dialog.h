// SetupCOTableDialog: the fixed table of the effects of carbon monoxide
// exposure, shown modally from the CO alarm page's "CO Levels..." button.
//
//   SetupCOTableDialog dialog(this);
//   dialog.exec();
#pragma once

#include <QDialog>

namespace vessor {

class SetupCOTableDialog : public QDialog {
    Q_OBJECT
public:
    explicit SetupCOTableDialog(QWidget* parent = nullptr);
};

} // namespace vessor
