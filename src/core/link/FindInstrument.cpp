#include "FindInstrument.h"

#include "InstrumentLink.h"
#include "InstrumentSession.h"
#include "PortPermission.h"

#include "core/common/Operator.h"
#include "core/common/Rounding.h"
#include "core/common/Services.h"
#include "core/setup/ProjectState.h"
#include "core/storage/ConfigFile.h"
#include "core/storage/RecordSyntax.h"

#include <QMap>

#include <algorithm>
#include <optional>

namespace bandora {

namespace {

constexpr int kLastScannedPort = 15;

bool AnswersTwice(InstrumentLink& link) { return link.LinkTest() || link.LinkTest(); }

// Ports whose devices refused us, by port number: told once, before the
// operator is asked for another port, so a user outside the serial devices'
// group learns why none answered.
using Refusals = QMap<int, QString>;

bool OpenNoting(InstrumentLink& link, Refusals& refused)
{
    if (link.Open())
        return true;
    if (link.OpenRefused())
        refused.insert(link.PortNumber(), link.Device());
    return false;
}

// Tries ports first..15 in turn; true when one answers (it stays open and
// becomes Serial_COM).
bool Scan(ProjectState& project, const Services& services, InstrumentLink& link, int first, const SplashText& splash,
          Refusals& refused)
{
    bool openedHere = false;
    for (int k = first; k <= kLastScannedPort; ++k) {
        if (splash)
            splash(QStringLiteral("STARTING........... Opening Communication Port [%1]").arg(k));
        if (openedHere) {
            link.ClosePort();
            openedHere = false;
        }
        // A port that cannot be set up or opened (missing, in use) is skipped.
        if (!link.SetPortNumber(k))
            continue;
        if (!link.IsOpen()) {
            if (!OpenNoting(link, refused))
                continue;
            openedHere = true;
        }
        if (AnswersTwice(link)) {
            project.config.Serial_COM = qint16(k);
            SaveConfig(project.appDir, project.config, services.op);
            return true;
        }
    }
    if (openedHere)
        link.ClosePort();
    return false;
}

// The port number typed at the prompt, when it is a number of 1 to 15.
std::optional<int> PortFromAnswer(const QString& answer)
{
    double value = 0.0;
    if (!ParseNumber(answer, value))
        return std::nullopt;
    const qint64 n = RoundHalfEven(value);
    if (n < 1 || n > kLastScannedPort)
        return std::nullopt;
    return int(n);
}

} // namespace

void FindInstrument(ProjectState& project, InstrumentSession& instrument, const Services& services,
                    InstrumentLink& link, const SplashText& splash)
{
    bool openedHere = false;
    Refusals refused;
    bool refusalsTold = false;
    if (link.SetPortNumber(project.config.Serial_COM) || link.IsOpen()) {
        if (!link.IsOpen())
            openedHere = OpenNoting(link, refused);
        if (link.IsOpen() && AnswersTwice(link))
            return;
    }
    if (openedHere)
        link.ClosePort();

    int first = 1;
    for (;;) {
        if (Scan(project, services, link, first, splash, refused))
            return;
        if (!refused.isEmpty() && !refusalsTold) {
            QList<RefusedPort> ports;
            for (auto it = refused.cbegin(); it != refused.cend(); ++it)
                ports.push_back({it.key(), it.value()});
            // The configured port first: it is the one the operator means.
            std::stable_partition(ports.begin(), ports.end(),
                                  [&](const RefusedPort& p) { return p.number == project.config.Serial_COM; });
            services.op.inform(PortPermissionMessage(ports, DeviceGroup(ports.front().device)));
            refusalsTold = true;
        }
        // Ask until the operator names a port from 1 to 15 or goes offline;
        // anything else (text, 0, 16, ...) asks again.
        std::optional<int> port;
        while (!port) {
            const QString answer = services.op.prompt(
                QStringLiteral("COM(%1) PORT ERROR. Type New Port number or <Enter> to go Offline")
                    .arg(project.config.Serial_COM),
                QString());
            if (answer.trimmed().isEmpty()) {
                instrument.OfflineMode = true;
                return;
            }
            port = PortFromAnswer(answer);
        }
        project.config.Serial_COM = qint16(*port);
        link.SetPortNumber(*port);
        SaveConfig(project.appDir, project.config, services.op);
        first = *port;
    }
}

} // namespace bandora
