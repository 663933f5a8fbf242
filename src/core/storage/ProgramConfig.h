#pragma once

#include <QtGlobal>

namespace bandora {

// The four values kept in config.dat from one run of the program to the next.
struct ProgramConfig {
    qint16 Actual_Project_Number = 1; // the current project; also ProjectSetup::Num_proj
    qint16 Last_Project = 1;          // highest project number handed out so far
    qint16 Serial_COM = 4;            // serial port, 1 means COM1
    qint16 Restart_Time = 0;          // written, always 0 after loading

    friend bool operator==(const ProgramConfig&, const ProgramConfig&) = default;
};

} // namespace bandora
