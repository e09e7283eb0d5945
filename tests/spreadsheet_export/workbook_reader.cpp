#include "workbook_reader.h"

#include <QDir>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <zip.h>

namespace vessor::xlsx::testing {

namespace {

QDomElement firstChild(const QDomElement& parent, const QString& name)
{
    return parent.firstChildElement(name);
}

QString valAttribute(const QDomElement& parent, const QString& name)
{
    return firstChild(parent, name).attribute(QStringLiteral("val"));
}

QString formulaOf(const QDomElement& element)
{
    return element.elementsByTagName(QStringLiteral("c:f")).item(0).toElement().text();
}

QString richText(const QDomElement& title)
{
    QString text;
    const QDomNodeList runs = title.elementsByTagName(QStringLiteral("a:t"));
    for (int i = 0; i < runs.size(); ++i)
        text += runs.item(i).toElement().text();
    return text;
}

} // namespace

QString ChartAxis::id() const
{
    return valAttribute(element, QStringLiteral("c:axId"));
}

QString ChartAxis::child(const QString& name) const
{
    return valAttribute(element, name);
}

QString ChartAxis::title() const
{
    const QDomElement t = firstChild(element, QStringLiteral("c:title"));
    return t.isNull() ? QString() : richText(t);
}

const ChartAxis* Chart::axis(const QString& id) const
{
    for (const ChartAxis& a : axes) {
        if (a.id() == id)
            return &a;
    }
    return nullptr;
}

bool Workbook::fail(const QString& why)
{
    m_error = why;
    m_ok = false;
    return false;
}

std::optional<QByteArray> Workbook::part(const QString& name) const
{
    const auto it = m_parts.find(name);
    if (it == m_parts.end())
        return std::nullopt;
    return it->second;
}

QString Workbook::relationTarget(const QString& partName, const QString& id) const
{
    const QFileInfo info(partName);
    const QString dir = info.path();
    const auto rels = part(dir + QStringLiteral("/_rels/") + info.fileName() + QStringLiteral(".rels"));
    if (!rels)
        return {};
    QDomDocument doc;
    if (!doc.setContent(*rels))
        return {};
    const QDomNodeList list = doc.elementsByTagName(QStringLiteral("Relationship"));
    for (int i = 0; i < list.size(); ++i) {
        const QDomElement r = list.item(i).toElement();
        if (id.isEmpty() || r.attribute(QStringLiteral("Id")) == id)
            return QDir::cleanPath(dir + QLatin1Char('/') + r.attribute(QStringLiteral("Target")));
    }
    return {};
}

Workbook::Workbook(const std::string& path)
{
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (!archive) {
        fail(QStringLiteral("not a zip archive"));
        return;
    }
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat);
        QByteArray data(static_cast<qsizetype>(stat.size), '\0');
        zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
        if (!file || zip_fread(file, data.data(), stat.size) != static_cast<zip_int64_t>(stat.size)) {
            zip_discard(archive);
            fail(QStringLiteral("unreadable entry %1").arg(QString::fromUtf8(stat.name)));
            return;
        }
        zip_fclose(file);
        m_parts[QString::fromUtf8(stat.name)] = data;
    }
    zip_discard(archive);

    // Number formats of the cell styles.
    std::vector<QString> styleFormats;
    if (const auto styles = part(QStringLiteral("xl/styles.xml"))) {
        QDomDocument doc;
        if (!doc.setContent(*styles)) {
            fail(QStringLiteral("styles.xml is not well-formed"));
            return;
        }
        std::map<QString, QString> codes;
        const QDomNodeList formats = doc.elementsByTagName(QStringLiteral("numFmt"));
        for (int i = 0; i < formats.size(); ++i) {
            const QDomElement f = formats.item(i).toElement();
            codes[f.attribute(QStringLiteral("numFmtId"))] = f.attribute(QStringLiteral("formatCode"));
        }
        const QDomElement xfs = doc.elementsByTagName(QStringLiteral("cellXfs")).item(0).toElement();
        for (QDomElement xf = xfs.firstChildElement(QStringLiteral("xf")); !xf.isNull();
             xf = xf.nextSiblingElement(QStringLiteral("xf"))) {
            const QString id = xf.attribute(QStringLiteral("numFmtId"));
            styleFormats.push_back(id == QLatin1String("0") ? QString() : codes.count(id) ? codes[id] : QStringLiteral("builtin:") + id);
        }
    }

    const auto workbook = part(QStringLiteral("xl/workbook.xml"));
    QDomDocument workbookDoc;
    if (!workbook || !workbookDoc.setContent(*workbook)) {
        fail(QStringLiteral("no workbook part"));
        return;
    }
    const QDomNodeList sheets = workbookDoc.elementsByTagName(QStringLiteral("sheet"));
    for (int i = 0; i < sheets.size(); ++i) {
        const QDomElement sheet = sheets.item(i).toElement();
        m_sheetNames.push_back(sheet.attribute(QStringLiteral("name")));
        const QString target = relationTarget(QStringLiteral("xl/workbook.xml"), sheet.attribute(QStringLiteral("r:id")));
        const auto xml = part(target);
        if (!xml) {
            fail(QStringLiteral("sheet part missing: ") + target);
            return;
        }
        if (target.contains(QLatin1String("/worksheets/"))) {
            QXmlStreamReader reader(*xml);
            Cell current;
            QString ref;
            while (!reader.atEnd()) {
                reader.readNext();
                if (reader.isStartElement()) {
                    if (reader.name() == QLatin1String("row")) {
                        ++m_rows;
                    } else if (reader.name() == QLatin1String("c")) {
                        ref = reader.attributes().value(QLatin1String("r")).toString();
                        current = Cell{};
                        current.type = reader.attributes().value(QLatin1String("t")).toString();
                        const int style = reader.attributes().value(QLatin1String("s")).toInt();
                        if (style >= 0 && style < static_cast<int>(styleFormats.size()))
                            current.format = styleFormats[style];
                    } else if (reader.name() == QLatin1String("v") || reader.name() == QLatin1String("t")) {
                        current.value = reader.readElementText();
                    }
                } else if (reader.isEndElement() && reader.name() == QLatin1String("c")) {
                    m_cells[ref] = current;
                }
            }
            if (reader.hasError()) {
                fail(QStringLiteral("worksheet is not well-formed: ") + reader.errorString());
                return;
            }
            continue;
        }
        // A chart sheet: its drawing, the drawing's chart.
        const QString drawing = relationTarget(target, QString());
        const QString chartPart = relationTarget(drawing, QString());
        const auto chartXml = part(chartPart);
        Chart chart;
        if (!chartXml || !chart.xml.setContent(*chartXml)) {
            fail(QStringLiteral("chart part missing or not well-formed: ") + chartPart);
            return;
        }
        const QDomElement root = chart.xml.documentElement();
        const QDomElement chartElement = firstChild(root, QStringLiteral("c:chart"));
        const QDomElement title = firstChild(chartElement, QStringLiteral("c:title"));
        if (!title.isNull())
            chart.title = richText(title);
        const QDomElement plot = firstChild(chartElement, QStringLiteral("c:plotArea"));
        int group = 0;
        for (QDomElement e = plot.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
            if (e.tagName() == QLatin1String("c:lineChart")) {
                std::vector<QString> ids;
                for (QDomElement c = e.firstChildElement(); !c.isNull(); c = c.nextSiblingElement()) {
                    if (c.tagName() == QLatin1String("c:ser")) {
                        ChartSeries s;
                        s.index = valAttribute(c, QStringLiteral("c:idx")).toInt();
                        s.name = formulaOf(firstChild(c, QStringLiteral("c:tx")));
                        s.categories = formulaOf(firstChild(c, QStringLiteral("c:cat")));
                        s.values = formulaOf(firstChild(c, QStringLiteral("c:val")));
                        s.group = group;
                        chart.series.push_back(s);
                    } else if (c.tagName() == QLatin1String("c:axId")) {
                        ids.push_back(c.attribute(QStringLiteral("val")));
                    }
                }
                chart.groupAxisIds.push_back(ids);
                ++group;
            } else if (e.tagName() == QLatin1String("c:catAx") || e.tagName() == QLatin1String("c:valAx")) {
                chart.axes.push_back({e.tagName().mid(2), e});
            }
        }
        m_charts.push_back(std::move(chart));
    }
    m_ok = true;
}

std::optional<Cell> Workbook::cell(const QString& ref) const
{
    const auto it = m_cells.find(ref);
    if (it == m_cells.end())
        return std::nullopt;
    return it->second;
}

} // namespace vessor::xlsx::testing
