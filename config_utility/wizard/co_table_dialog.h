// CSetupCOTableDlg: the fixed table of the effects of carbon monoxide
// exposure, shown modally from the CO alarm page's "CO Levels..." button.
//
//   CSetupCOTableDlg dialog(this);
//   dialog.exec();
#pragma once

#include <QDialog>

namespace vessor {

class CSetupCOTableDlg : public QDialog {
    Q_OBJECT
public:
    explicit CSetupCOTableDlg(QWidget* parent = nullptr);
};

} // namespace vessor
