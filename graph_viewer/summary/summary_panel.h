// The View › Summary panel: the summary of the file on show and of the
// visible range, recomputed as the view zooms and scrolls, and the MKT
// activation energy, kept in the settings.
#pragma once

#include <QWidget>

#include <functional>

class QDoubleSpinBox;
class QSettings;
class QTextBrowser;

namespace vessor::graph {

class VessorGraphView;

class SummaryPanel : public QWidget {
    Q_OBJECT
public:
    // `fileName` gives the name of the file on show.
    SummaryPanel(VessorGraphView& view, QSettings& settings, std::function<QString()> fileName,
                 QWidget* parent = nullptr);

    double activationEnergy() const { return energy_; }
    void setActivationEnergy(double kjPerMol);
    QTextBrowser* text() const { return text_; }
    // Recomputes the tables; only while the panel is shown.
    void refresh();

protected:
    void showEvent(QShowEvent* event) override;

private:
    VessorGraphView& view_;
    QSettings& settings_;
    std::function<QString()> fileName_;
    QTextBrowser* text_;
    QDoubleSpinBox* energyBox_;
    double energy_;
};

} // namespace vessor::graph
