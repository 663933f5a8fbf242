#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

namespace bandora {

struct AppState;
class FrmInit;
class FrmMain;
class InstrumentSteps;

// How long the splash shows each of its texts. The program uses the values
// below; tests shorten them.
struct SplashTimings {
    int firstMs = 1000; // steps 0 to 2
    int laterMs = 2000; // steps 3 and 4
};

// The staged start-up of the program: checks and reads config.dat, decides
// the project folder, loads the project, fills the main window, looks for the
// instrument, reads its factory calibration and shows the main window, while
// the splash window tells the operator how far it got. StartupStage in the
// program state says how far it got when something fails.
class Startup : public QObject {
    Q_OBJECT
public:
    enum class Result {
        Running,       // the main window is up; the program runs
        MissingConfig, // no config.dat: the installation is broken, nothing was touched
        Failed,        // a stage failed; its number was shown
    };

    Startup(AppState& state, FrmMain& main, FrmInit& splash, InstrumentSteps& instrument,
            SplashTimings timings = SplashTimings());

    // Runs the whole start-up. switchLine is the command line without the
    // options the program consumed itself ("/run" and its kin).
    Result Run(const QString& switchLine);

    bool AutoRun() const { return autoRun_; }

private:
    void RunStages();
    void ShowMainWindow();
    void ShowOfflineWindow();
    // Has the step timer perform splash step n and waits for it, letting
    // window events (and the timer) run meanwhile.
    void RunSplashStep(int n);
    void OnTimerinicio();
    void PerformSplashStep(int n);

    AppState& state_;
    FrmMain& main_;
    FrmInit& splash_;
    InstrumentSteps& instrument_;
    SplashTimings timings_;
    bool autoRun_ = false;

    QTimer Timerinicio;
    qint16 SplashStep = 0;
    bool SplashStepDone = false;
};

} // namespace bandora
