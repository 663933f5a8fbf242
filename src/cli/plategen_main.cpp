// bandora-plategen FOLDER
//
// Writes the plate files shipped with the program (w384.dat, w96f.dat, ...)
// into FOLDER and prints, per plate, its wells, the beams per well and, for
// the plates derived from a footprint, how close the nearest beam comes to a
// well's bottom edge. The files in data/ are made with it:
//
//     bandora-plategen data

#include "core/common/ToolCommandLine.h"
#include "core/storage/PlateDerivation.h"
#include "core/storage/RecordSyntax.h"

#include <QCoreApplication>
#include <QDir>
#include <QString>
#include <QVector>

#include <algorithm>
#include <cstdio>

using namespace bandora;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    OptionReader line(QList<QCommandLineOption>{});
    if (line.Read(app.arguments()).any() || line.positional().size() != 1) {
        std::fprintf(stderr, "usage: bandora-plategen FOLDER\n");
        return 2;
    }
    const QString folder = line.positional().front();
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "bandora-plategen: cannot create %s\n", qPrintable(folder));
        return 1;
    }
    try {
        WriteShippedPlateFiles(folder);
    } catch (const RecordError& e) {
        std::fprintf(stderr, "bandora-plategen: %s in %s\n", e.what(), qPrintable(folder));
        return 1;
    }

    for (const QString& name : ShippedPlateNames()) {
        const PlateFormat plate = *ShippedPlate(name);
        QVector<int> beams(plate.Rows * plate.Columns, 0);
        for (int ch = 0; ch < kChannels; ++ch)
            if (plate.ChannelWell[ch] >= 0 && plate.ChannelWell[ch] < beams.size())
                ++beams[plate.ChannelWell[ch]];
        const auto [fewest, most] = std::minmax_element(beams.cbegin(), beams.cend());
        QString line = QStringLiteral("%1.dat: %2 wells, %3 to %4 beams per well")
                           .arg(name)
                           .arg(beams.size())
                           .arg(*fewest)
                           .arg(*most);
        if (const auto fp = ShippedFootprint(name))
            line += QStringLiteral(", nearest beam %1 mm from a well edge")
                        .arg(NearestBeamToAnEdgeMm(*fp), 0, 'f', 3);
        std::printf("%s\n", qPrintable(line));
    }
    return 0;
}
