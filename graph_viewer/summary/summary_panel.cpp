#include "summary_panel.h"

#include "summary_text.h"

#include "document/document_summary.h"
#include "view/vessor_graph_view.h"

#include "logger/text_encoding.h"

#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QSettings>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <cmath>

namespace vessor::graph {

namespace {

const QString ENERGY_KEY = QStringLiteral("Summary/ActivationEnergy");
constexpr double MIN_ENERGY = 1.0;
constexpr double MAX_ENERGY = 1000.0;

// A saved energy outside the box's range (a hand-edited file) falls back to the default.
double savedEnergy(const QSettings& settings) {
    bool ok = false;
    const double value = settings.value(ENERGY_KEY).toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < MIN_ENERGY || value > MAX_ENERGY)
        return download::DEFAULT_ACTIVATION_ENERGY;
    return value;
}

} // namespace

SummaryPanel::SummaryPanel(VessorGraphView& view, QSettings& settings,
                           std::function<QString()> fileName, QWidget* parent)
    : QWidget(parent), view_(view), settings_(settings), fileName_(std::move(fileName)),
      text_(new QTextBrowser(this)), energyBox_(new QDoubleSpinBox(this)),
      energy_(savedEnergy(settings)) {
    text_->setOpenLinks(false);
    text_->setFrameShape(QFrame::NoFrame);
    // Wide enough for the two columns of dates and times beside the labels.
    text_->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 62);
    energyBox_->setRange(MIN_ENERGY, MAX_ENERGY);
    energyBox_->setDecimals(2);
    energyBox_->setSingleStep(1.0);
    energyBox_->setSuffix(QStringLiteral(" kJ/mol"));
    energyBox_->setValue(energy_);
    energyBox_->setToolTip(QStringLiteral("Activation energy of the mean kinetic temperature"));
    auto* energyRow = new QHBoxLayout;
    energyRow->setContentsMargins(6, 0, 6, 0);
    energyRow->addWidget(new QLabel(QStringLiteral("MKT activation energy:"), this));
    energyRow->addWidget(energyBox_);
    energyRow->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 6);
    layout->addWidget(text_, 1);
    layout->addLayout(energyRow);
    // The box shows the energy rounded; only the user's own edit replaces it.
    connect(energyBox_, &QDoubleSpinBox::valueChanged, this, [this](double value) {
        energy_ = value;
        settings_.setValue(ENERGY_KEY, value);
        refresh();
    });
    connect(&view_, &VessorGraphView::visibleRangeChanged, this, &SummaryPanel::refresh);
}

void SummaryPanel::setActivationEnergy(double kjPerMol) {
    energyBox_->setValue(kjPerMol);
}

void SummaryPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refresh();
}

void SummaryPanel::refresh() {
    if (!isVisible())
        return;
    const VessorGraphDoc& doc = view_.document();
    const int scroll = text_->verticalScrollBar()->value();
    if (doc.rowsRead < 1) {
        text_->setHtml(QStringLiteral("<p>No file is open.</p>"));
        return;
    }
    const download::SummaryInput input = documentSummaryInput(doc);
    const download::Summary whole = download::summarize(input, {}, energy_);
    const download::Summary visible = download::summarize(input, view_.visibleReadings(), energy_);
    SummaryTextContext context;
    context.fileName = fileName_();
    context.series = doc.seriesSource().has_value();
    context.serialNumber = QString::fromStdString(cp1252ToUtf8(doc.serialNumber));
    context.locale = locale();
    text_->setHtml(summaryHtml(whole, visible, context));
    text_->verticalScrollBar()->setValue(scroll);
}

} // namespace vessor::graph
