#pragma once

// A plate's groups as the spreadsheet where a lab keeps its plate layout:
// one line per well, columns well and group (in any order, any case), and
// optionally more columns such as genotype or dose, which belong to the
// group and are kept with the project (groupcols.csv) and in the manifest
// of every run.
//
//   well,group,genotype
//   A1,003_WT,N2          group "003_WT": group 3 named WT (as the program
//   B1,WT,N2              labels groups); "WT": the group of that name, or
//   C1,,                  the next free number; empty: the well stays free
//
// Wells are written as the plate labels them (A1, also a1 or A01). Wells not
// listed are free. Comma, semicolon or tab separated, UTF-8.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

namespace bandora {

struct PlateFormat;
struct ProjectSetup;

struct PlateLayout {
    std::vector<int> WellGroup; // per well 0..MaxWell: group number, -1 free
    std::map<int, QString> GroupNames;
    QStringList ColumnNames;
    std::map<int, QStringList> ColumnValues; // per group, in the order of ColumnNames
};

// The whole file is checked before anything is taken: either a layout, or
// every problem found ("line 7: ..."), one per text.
struct LayoutReading {
    std::optional<PlateLayout> Layout;
    QStringList Problems;
};
LayoutReading ReadPlateLayout(const QByteArray& bytes, const PlateFormat& plate);

// The project's groups as such a file (CR LF line ends): every well of the
// plate in well order (A1, B1, ...), in the group of its beam-0 channel.
QByteArray PlateLayoutCsv(const ProjectSetup& project, const PlateFormat& plate);

// Replaces every group of the project by the layout: all beams of a listed
// well join its group, every other channel is free, and unused group slots
// are named "Free".
void ApplyPlateLayout(ProjectSetup& project, const PlateFormat& plate, const PlateLayout& layout);

} // namespace bandora
