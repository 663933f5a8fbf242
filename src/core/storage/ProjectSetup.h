#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <map>

namespace bandora {

// Every per-channel table has 385 entries: channels 0 to 383 and a spare
// entry 384 (which carries the temperature in a counts record).
constexpr int kChannels = 384;
constexpr int kChannelTable = 385;

// One row of the tool-parameter table (six cells as stored).
using ToolRow = std::array<qint16, 6>;

// The cells of one tool's row by name; Row is ToolRow, or const ToolRow for
// a project that is only read.
template <class Row>
struct CalibrationParams {
    Row& row;
    auto& Organism() const { return row[0]; }      // index of the organism list; 7..9 size classes of old projects
    auto& AutoCalibrate() const { return row[1]; } // 1: calibrate at every run start
    auto& AutoZero() const { return row[2]; }      // 1: zero-mode detection
    auto& Snrx10() const { return row[3]; }        // signal-to-noise factor x 10
};

template <class Row>
struct LightParams {
    Row& row;
    auto& Enabled() const { return row[0]; }      // 1: the schedule drives the light
    auto& OnHour() const { return row[1]; }
    auto& OffHour() const { return row[2]; }
    auto& Pulses() const { return row[3]; }       // a pulse train instead of the hours when 1 or more
    auto& PulseOnTenths() const { return row[4]; }  // tenths of a minute
    auto& PulseOffTenths() const { return row[5]; } // tenths of a minute
};

template <class Row>
struct TemperatureParams {
    Row& row;
    auto& Enabled() const { return row[0]; }     // 1: the element holds the set point
    auto& Setpointx10() const { return row[1]; } // tenths of a degree
};

// The current project: its settings, tool switches and per-channel tables.
// All integers are 16-bit signed as stored in the files.
struct ProjectSetup {
    qint16 Num_proj = 0;            // 0 = "Default"; same value as ProgramConfig::Actual_Project_Number
    QString Name = QStringLiteral("Default");
    QString Working_folder;         // project folder path with a trailing separator, as stored
    // The built-in plate's file name: a damaged setup.dat then still finds
    // w96f.dat, rather than naming a plate no folder holds.
    QString Plate_format = QStringLiteral("w96f");

    qint16 Aq_mode = 1;             // "0_Offline", "1_Default", "2_Fast(0.31)", ...
    qint16 Aq_lapse = 30;           // programmed lapse in minutes
    qint16 Sample_Rate = 99;        // samples per second
    qint16 RT_Buffer = 500;         // ticks per buffer cycle = samples per real-time record
    qint16 DSP_Method = 1;
    qint16 DSP_Interval = 30;       // detector window in ticks
    qint16 Binary_Acq = 1;
    qint16 Threshold_Counter = 300; // length of the blank reading in ticks
    qint16 Cal_value = 80;
    qint16 Cal_mode = 1;
    qint16 Save_counts = 1;
    qint16 Save_real = 1;

    // Tool switches of the main window: Menu1 calibration, Menu2 light,
    // Menu3 temperature, Menu4-6 spare. Non-zero = shown.
    qint16 Menu1 = 1, Menu2 = 0, Menu3 = 0, Menu4 = 0, Menu5 = 0, Menu6 = 0;

    // Tool parameters: row k belongs to Menu k (row 0 is not stored).
    //   row 1: Organism, Enab_Cal, Enab_Zero, SNRx10, spare, spare
    //   row 2: Enable, Time_ON, Time_OFF, pulse count, pulse ON, pulse OFF (tenths of a minute)
    //   row 3: Enable, Tempx10, spare x4
    // Read and change them by name through Calibration(), Light() and
    // Temperature(); the rows are kept as they are stored.
    std::array<ToolRow, 7> MenuParam = DefaultMenuParam();

    std::array<bool, kChannelTable> ChannelEnabled{};
    std::array<double, kChannelTable> ChannelThreshold{};
    std::array<QString, kChannelTable> GroupName;
    std::array<qint16, kChannelTable> ChannelGroup{}; // -1 = free

    // The extra columns of a plate layout taken from a spreadsheet (genotype,
    // dose, ...): their names, and per group number its values in that
    // order. Kept in groupcols.csv beside the project files; empty for a
    // project whose groups were made in the program.
    QStringList GroupColumnNames;
    std::map<int, QStringList> GroupColumnValues;

    ProjectSetup();

    // Menu switch k (1..6) by number.
    qint16& Menu(int k);
    qint16 Menu(int k) const;

    CalibrationParams<ToolRow> Calibration() { return {MenuParam[1]}; }
    CalibrationParams<const ToolRow> Calibration() const { return {MenuParam[1]}; }
    LightParams<ToolRow> Light() { return {MenuParam[2]}; }
    LightParams<const ToolRow> Light() const { return {MenuParam[2]}; }
    TemperatureParams<ToolRow> Temperature() { return {MenuParam[3]}; }
    TemperatureParams<const ToolRow> Temperature() const { return {MenuParam[3]}; }

    static std::array<ToolRow, 7> DefaultMenuParam();

    // The defaults of each table, as loaded after a read error.
    void SetDefaultChannelEnabled();
    void SetDefaultThresholds();
    void SetDefaultGroupNames();
    void SetDefaultChannelGroups();
};

// "p" and the project number in five digits: p00012.
QString ProjectFolderName(int number);

} // namespace bandora
