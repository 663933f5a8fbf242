#include "support/Files.h"
#include "support/SimulatedInstrument.h"

#include "core/AppState.h"
#include "core/link/FindInstrument.h"
#include "core/storage/ConfigFile.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <map>

namespace bandora::test {
namespace {

// An application folder whose ports 1..15 are all links: some to virtual
// instruments (answering, silent or of another kind), the rest to nothing,
// so no test ever touches a serial device of the machine.
class Bench {
public:
    explicit Bench(int configuredPort)
        : app(dir.path(), op, clock, events), link(dir.path(), clock)
    {
        app.project.config.Serial_COM = qint16(configuredPort);
        app.instrument.link = &link;
        QDir().mkpath(dir.filePath("ports"));
        for (int n = 1; n <= 15; ++n)
            QFile::link(dir.filePath("nothing-here"), dir.filePath(QStringLiteral("ports/COM%1").arg(n)));
    }

    sim::VirtualInstrument& Put(int port, const sim::SimOptions& options = FastSimOptions())
    {
        QFile::remove(dir.filePath(QStringLiteral("ports/COM%1").arg(port)));
        auto& sim = instruments[port];
        sim = std::make_unique<sim::VirtualInstrument>(options, BuiltInPlate("w96f"));
        QString error;
        EXPECT_TRUE(sim->Start(&error) && sim->LinkPort(dir.path(), port, &error)) << error.toStdString();
        return *sim;
    }

    sim::VirtualInstrument& PutSilent(int port)
    {
        auto& sim = Put(port);
        sim.SetSilent(true);
        return sim;
    }

    void Find()
    {
        FindInstrument(app.project, app.instrument, app.services, link,
                       [this](const QString& text) { splash << text; });
    }

    // Identify frames a virtual instrument received.
    int IdentifyFrames(int port)
    {
        int n = 0;
        for (const QByteArray& f : instruments[port]->TakeFrames())
            n += f == QByteArray::fromHex("ff000000f0");
        return n;
    }

    QByteArray ConfigBytes() const { return ReadAll(ConfigFilePath(dir.path())); }

    QTemporaryDir dir;
    ScriptedOperator op;
    TestClock clock;
    TestEventPump events;
    AppState app;
    InstrumentLink link;
    std::map<int, std::unique_ptr<sim::VirtualInstrument>> instruments;
    QStringList splash;
};

QString PortOf(int n) { return QStringLiteral("STARTING........... Opening Communication Port [%1]").arg(n); }

QString Prompt(int n)
{
    return QStringLiteral("COM(%1) PORT ERROR. Type New Port number or <Enter> to go Offline").arg(n);
}

TEST(FindInstrument, TheConfiguredPortAnsweringEndsTheSearchAtOnce)
{
    Bench bench(4);
    bench.Put(4);
    bench.Find();
    EXPECT_TRUE(bench.link.IsOpen());
    EXPECT_EQ(bench.link.PortNumber(), 4);
    EXPECT_TRUE(bench.splash.isEmpty()) << "no bracketed port number";
    EXPECT_TRUE(bench.op.shown.isEmpty());
    EXPECT_TRUE(bench.ConfigBytes().isEmpty()) << "config.dat is not rewritten";
    EXPECT_EQ(bench.IdentifyFrames(4), 1);
}

TEST(FindInstrument, ASilentConfiguredPortLeadsToTheScan)
{
    Bench bench(3);
    bench.PutSilent(3);
    bench.Put(7);
    bench.Find();

    EXPECT_TRUE(bench.link.IsOpen());
    EXPECT_EQ(bench.link.PortNumber(), 7);
    EXPECT_EQ(bench.IdentifyFrames(3), 4) << "two link tests first, two more in the scan";
    EXPECT_TRUE(bench.op.shown.isEmpty());

    // The silent port was closed again: the found instrument answers.
    EXPECT_EQ(bench.link.Identify(), 0);
}

TEST(FindInstrument, OnlyAnIdentityAboveTenCounts)
{
    Bench bench(2);
    for (const auto& [port, version] : {std::pair{2, 5}, {5, 10}, {9, 11}}) {
        sim::SimOptions options = FastSimOptions();
        options.version = version;
        bench.Put(port, options);
    }
    bench.Find();
    EXPECT_EQ(bench.app.project.config.Serial_COM, 9);
    EXPECT_EQ(bench.IdentifyFrames(5), 2);
    EXPECT_TRUE(bench.op.shown.isEmpty());
}

TEST(FindInstrument, ThePromptAsksAgainUntilItGetsAPortFromOneToFifteen)
{
    Bench bench(3);
    bench.PutSilent(9);
    // The operator plugs the instrument in before answering the prompt.
    bench.op.beforeReply = [&] { bench.instruments[9]->SetSilent(false); };
    // Rubbish and numbers outside 1..15 ask again; 8.6 is port 9.
    for (const char* answer : {"abc", "0", "16", "-2", "8.6"})
        bench.op.replies.enqueue(answer);
    bench.Find();

    EXPECT_FALSE(bench.app.instrument.OfflineMode);
    EXPECT_EQ(bench.link.PortNumber(), 9);
    EXPECT_EQ(bench.op.texts(), QStringList(5, Prompt(3)));
    // The scan resumed at the typed port and found it there at once.
    EXPECT_EQ(bench.splash.size(), 16);
    EXPECT_EQ(bench.splash.last(), PortOf(9));
}

TEST(FindInstrument, APortThatDoesNotAnswerAsksAgainThenEnterGoesOffline)
{
    Bench bench(6);
    bench.op.replies.enqueue("12");
    bench.op.replies.enqueue("   ");
    bench.Find();
    EXPECT_TRUE(bench.app.instrument.OfflineMode);
    EXPECT_FALSE(bench.link.IsOpen());
    EXPECT_EQ(bench.op.texts(), (QStringList{Prompt(6), Prompt(12)}));
    // The typed number was kept even though nothing answered on it.
    EXPECT_TRUE(bench.ConfigBytes().contains("\r\n1,1,12,0\r\n"));
    EXPECT_EQ(bench.splash.mid(15),
              (QStringList{PortOf(12), PortOf(13), PortOf(14), PortOf(15)}));
}

} // namespace
} // namespace bandora::test
