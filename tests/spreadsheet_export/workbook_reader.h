// Reads an .xlsx workbook back for the tests: sheet names, the data sheet's
// cells with their number formats, and each chart sheet's chart XML, all
// found through the package's relationships as a spreadsheet program does.
#pragma once

#include <QDomDocument>
#include <QString>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vessor::xlsx::testing {

struct Cell {
    QString type;   // the t attribute: "" for a number, "inlineStr", "s", ...
    QString value;  // the number as written, or the text
    QString format; // number format code of the cell's style ("" for General)
};

struct ChartSeries {
    int index = -1;
    QString name;       // formula of the name, e.g. Data!$C$1
    QString categories; // e.g. Data!$B$2:$B$101
    QString values;
    int group = 0; // which line chart of the plot area holds it (0 first)
};

struct ChartAxis {
    QString kind; // catAx or valAx
    QDomElement element;
    QString id() const;
    QString child(const QString& name) const; // val attribute of a child
    QString title() const;
};

struct Chart {
    QDomDocument xml;
    QString title;
    std::vector<ChartSeries> series;
    std::vector<std::vector<QString>> groupAxisIds; // axis ids per line chart
    std::vector<ChartAxis> axes;
    const ChartAxis* axis(const QString& id) const;
};

class Workbook {
public:
    explicit Workbook(const std::string& path);
    bool ok() const { return m_ok; }
    const QString& error() const { return m_error; }

    std::vector<QString> sheetNames() const { return m_sheetNames; }
    // Cells of the first (data) sheet, by reference ("B2").
    const std::map<QString, Cell>& cells() const { return m_cells; }
    std::optional<Cell> cell(const QString& ref) const;
    int rowCount() const { return m_rows; }
    // Charts of the chart sheets, in sheet order.
    const std::vector<Chart>& charts() const { return m_charts; }
    // Raw XML of one part.
    std::optional<QByteArray> part(const QString& name) const;

private:
    QString relationTarget(const QString& part, const QString& id) const;
    bool fail(const QString& why);

    std::map<QString, QByteArray> m_parts;
    bool m_ok = false;
    QString m_error;
    std::vector<QString> m_sheetNames;
    std::map<QString, Cell> m_cells;
    int m_rows = 0;
    std::vector<Chart> m_charts;
};

} // namespace vessor::xlsx::testing
