#include "PlateLayoutCsv.h"

#include "GroupRules.h"
#include "core/storage/CsvText.h"
#include "core/storage/PlateFormat.h"
#include "core/storage/ProjectSetup.h"

#include <QRegularExpression>

#include <algorithm>

namespace bandora {

namespace {

const QString kFree = QStringLiteral("Free");

// A name groups.dat can hold: one quoted Latin-1 field on one line, and not
// the word that marks an unused slot.
QString NameProblem(const QString& name)
{
    for (const QChar c : name) {
        if (c.unicode() > 0xFF)
            return QStringLiteral("the character '%1' cannot be stored in the project files").arg(c);
        if (c == QLatin1Char('"'))
            return QStringLiteral("a double quote cannot be stored in the project files");
        if (c.unicode() < 0x20)
            return QStringLiteral("a control character cannot be stored in the project files");
    }
    if (name == kFree)
        return QStringLiteral("\"Free\" marks an unused group");
    return {};
}

int BeamZeroChannel(const PlateFormat& plate, int well)
{
    const QVector<int> channels = ChannelsOfWell(plate, well);
    for (int ch : channels)
        if (plate.ChannelBeam[size_t(ch)] == 0)
            return ch;
    return channels.isEmpty() ? -1 : channels.front();
}

// The well a label names on the plate (A1, a1, A01), or -1.
int WellOfLabel(const PlateFormat& plate, const QString& label)
{
    static const QRegularExpression pattern(QStringLiteral("^([A-Za-z])0*([1-9][0-9]*)$"));
    const QRegularExpressionMatch m = pattern.match(label);
    if (!m.hasMatch())
        return -1;
    const int row = m.captured(1).toUpper()[0].unicode() - 'A';
    const int column = m.captured(2).toInt();
    if (row >= plate.Rows || column < 1 || column > plate.Columns)
        return -1;
    const int well = (column - 1) * plate.Rows + row;
    return well <= plate.MaxWell && BeamZeroChannel(plate, well) >= 0 ? well : -1;
}

struct Line {
    int Number = 0; // in the file, from 1
    int Well = -1;
    QString Group;
    QStringList Values;
};

} // namespace

LayoutReading ReadPlateLayout(const QByteArray& bytes, const PlateFormat& plate)
{
    LayoutReading out;
    QStringList& problems = out.Problems;
    const QStringList lines = CsvTextLines(bytes);
    const QChar sep = lines.isEmpty() ? QLatin1Char(',') : GuessCsvSeparator(lines.front());
    const QStringList header = lines.isEmpty() ? QStringList() : SplitCsvLine(lines.front(), sep);
    int wellColumn = -1, groupColumn = -1;
    QStringList columnNames;
    QVector<int> extra;
    for (int i = 0; i < header.size(); ++i) {
        const QString name = header[i].trimmed();
        if (name.compare(QLatin1String("well"), Qt::CaseInsensitive) == 0 && wellColumn < 0)
            wellColumn = i;
        else if (name.compare(QLatin1String("group"), Qt::CaseInsensitive) == 0 && groupColumn < 0)
            groupColumn = i;
        else if (!name.isEmpty()) {
            columnNames << name;
            extra << i;
        }
    }
    if (wellColumn < 0 || groupColumn < 0) {
        problems << QStringLiteral("line 1: the first line must name the columns well and group");
        return out;
    }
    const QString plateRange =
        QStringLiteral("A1 to %1").arg(WellLabel(plate.Rows * plate.Columns - 1, plate.Rows));

    std::vector<Line> rows;
    std::vector<int> firstLineOfWell(size_t(plate.MaxWell) + 1, 0);
    for (int n = 1; n < lines.size(); ++n) {
        const QStringList fields = SplitCsvLine(lines[n], sep);
        if (std::all_of(fields.begin(), fields.end(), [](const QString& f) { return f.trimmed().isEmpty(); }))
            continue; // spreadsheets leave empty lines at the end
        const int lineNo = n + 1;
        if (fields.size() > header.size()) {
            problems << QStringLiteral("line %1: %2 fields, the first line names %3")
                            .arg(lineNo)
                            .arg(fields.size())
                            .arg(header.size());
            continue;
        }
        auto field = [&fields](int i) { return i < fields.size() ? fields[i].trimmed() : QString(); };
        Line line{lineNo, WellOfLabel(plate, field(wellColumn)), field(groupColumn), {}};
        for (int i : extra)
            line.Values << field(i);
        if (line.Well < 0) {
            problems << QStringLiteral("line %1: unknown well '%2' (this plate has %3)")
                            .arg(lineNo)
                            .arg(field(wellColumn), plateRange);
            continue;
        }
        int& first = firstLineOfWell[size_t(line.Well)];
        if (first) {
            problems << QStringLiteral("line %1: well %2 is listed twice (first on line %3)")
                            .arg(lineNo)
                            .arg(WellLabel(line.Well, plate.Rows))
                            .arg(first);
            continue;
        }
        first = lineNo;
        rows.push_back(line);
    }

    // Groups: "NNN_Name" takes number NNN; a plain name joins the group of
    // that name, else takes the next number not yet in use.
    static const QRegularExpression numbered(QStringLiteral("^([0-9]{3})_(.*)$"));
    PlateLayout layout;
    layout.WellGroup.assign(size_t(plate.MaxWell) + 1, -1);
    layout.ColumnNames = columnNames;
    std::map<int, int> lineOfGroup;
    std::vector<int> groupOfRow(rows.size(), -1);
    std::vector<QString> nameOfRow(rows.size());
    for (size_t r = 0; r < rows.size(); ++r) {
        const Line& line = rows[r];
        if (line.Group.isEmpty())
            continue;
        const QRegularExpressionMatch m = numbered.match(line.Group);
        nameOfRow[r] = m.hasMatch() ? m.captured(2) : line.Group;
        const QString problem = nameOfRow[r].isEmpty() ? QStringLiteral("the group has no name")
                                                       : NameProblem(nameOfRow[r]);
        if (!problem.isEmpty()) {
            problems << QStringLiteral("line %1: group '%2': %3").arg(line.Number).arg(line.Group, problem);
            nameOfRow[r].clear();
            continue;
        }
        if (!m.hasMatch())
            continue;
        const int g = m.captured(1).toInt();
        if (g > kMaxGroup) {
            problems << QStringLiteral("line %1: group number %2: more groups than allowed (numbers 000 to %3)")
                            .arg(line.Number)
                            .arg(g)
                            .arg(kMaxGroup);
            continue;
        }
        const auto known = layout.GroupNames.find(g);
        if (known != layout.GroupNames.end() && known->second != nameOfRow[r]) {
            problems << QStringLiteral("line %1: group %2 is named '%3' here and '%4' on line %5")
                            .arg(line.Number)
                            .arg(g, 3, 10, QLatin1Char('0'))
                            .arg(nameOfRow[r], known->second)
                            .arg(lineOfGroup[g]);
            continue;
        }
        layout.GroupNames[g] = nameOfRow[r];
        lineOfGroup.emplace(g, line.Number);
        groupOfRow[r] = g;
    }
    int next = 0;
    for (size_t r = 0; r < rows.size(); ++r) {
        if (groupOfRow[r] >= 0 || nameOfRow[r].isEmpty() || numbered.match(rows[r].Group).hasMatch())
            continue;
        for (const auto& [g, name] : layout.GroupNames)
            if (name == nameOfRow[r]) {
                groupOfRow[r] = g;
                break;
            }
        if (groupOfRow[r] >= 0)
            continue;
        while (layout.GroupNames.count(next))
            ++next;
        if (next > kMaxGroup) {
            problems << QStringLiteral("line %1: group '%2': more groups than allowed (%3)")
                            .arg(rows[r].Number)
                            .arg(nameOfRow[r])
                            .arg(kMaxGroup + 1);
            continue;
        }
        layout.GroupNames[next] = nameOfRow[r];
        lineOfGroup.emplace(next, rows[r].Number);
        groupOfRow[r] = next;
    }

    // The extra columns belong to the group: its wells must agree on them.
    std::map<int, int> valuesLine;
    for (size_t r = 0; r < rows.size(); ++r) {
        const int g = groupOfRow[r];
        if (g < 0)
            continue;
        layout.WellGroup[size_t(rows[r].Well)] = g;
        if (columnNames.isEmpty())
            continue;
        const auto known = layout.ColumnValues.find(g);
        if (known == layout.ColumnValues.end()) {
            layout.ColumnValues[g] = rows[r].Values;
            valuesLine[g] = rows[r].Number;
            continue;
        }
        for (int c = 0; c < columnNames.size(); ++c)
            if (known->second[c] != rows[r].Values[c])
                problems << QStringLiteral("line %1: group '%2' has %3 '%4' here and '%5' on line %6")
                                .arg(rows[r].Number)
                                .arg(layout.GroupNames[g], columnNames[c], rows[r].Values[c], known->second[c])
                                .arg(valuesLine[g]);
    }
    // A group without values keeps none, as a group made in the program.
    std::erase_if(layout.ColumnValues, [](const auto& entry) {
        return std::all_of(entry.second.begin(), entry.second.end(), [](const QString& v) { return v.isEmpty(); });
    });
    if (problems.isEmpty())
        out.Layout = std::move(layout);
    // Problems in line order, however the checks found them.
    std::stable_sort(problems.begin(), problems.end(), [](const QString& a, const QString& b) {
        return a.section(QLatin1Char(':'), 0, 0).mid(5).toInt() < b.section(QLatin1Char(':'), 0, 0).mid(5).toInt();
    });
    return out;
}

QByteArray PlateLayoutCsv(const ProjectSetup& project, const PlateFormat& plate)
{
    QString text = CsvLine(QStringList{QStringLiteral("well"), QStringLiteral("group")} + project.GroupColumnNames) +
                   QStringLiteral("\r\n");
    for (int w = 0; w <= plate.MaxWell; ++w) {
        const int ch = BeamZeroChannel(plate, w);
        if (ch < 0)
            continue;
        const int g = project.ChannelGroup[size_t(ch)];
        QStringList fields{WellLabel(w, plate.Rows), g >= 0 ? GroupItemText(g, project.GroupName[size_t(g)]) : QString()};
        const auto values = project.GroupColumnValues.find(g);
        for (int c = 0; c < project.GroupColumnNames.size(); ++c)
            fields << (g >= 0 && values != project.GroupColumnValues.end() && c < values->second.size()
                           ? values->second[c]
                           : QString());
        text += CsvLine(fields) + QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

void ApplyPlateLayout(ProjectSetup& project, const PlateFormat& plate, const PlateLayout& layout)
{
    ClearGroups(project);
    for (int w = 0; w < int(layout.WellGroup.size()); ++w)
        if (layout.WellGroup[size_t(w)] >= 0)
            for (int ch : ChannelsOfWell(plate, w))
                project.ChannelGroup[size_t(ch)] = qint16(layout.WellGroup[size_t(w)]);
    for (const auto& [g, name] : layout.GroupNames)
        project.GroupName[size_t(g)] = name;
    project.GroupColumnNames = layout.ColumnNames;
    project.GroupColumnValues = layout.ColumnValues;
}

} // namespace bandora
