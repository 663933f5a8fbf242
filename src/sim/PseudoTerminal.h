#pragma once

#include <QByteArray>
#include <QString>

namespace bandora::sim {

// The instrument's end of a pseudo-terminal: the program opens the other end
// (a /dev/pts device) as it would open a serial port. The instrument keeps
// that end open itself as well, in raw mode, so the line stays usable while
// the program closes and reopens its port.
class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool Open(QString* error);
    void Close();
    bool IsOpen() const { return master_ >= 0; }

    // The device the program opens.
    QString DevicePath() const { return devicePath_; }

    // Waits until bytes can be read or the time is up; true when readable.
    bool WaitReadable(qint64 timeoutNs);

    // Everything that can be read now.
    QByteArray ReadAvailable();

    // Writes as much as the line takes now: the number of bytes written, or -1
    // when the terminal is gone.
    qint64 Write(const char* data, qint64 size);

private:
    int master_ = -1;
    int slave_ = -1;
    QString devicePath_;
};

} // namespace bandora::sim
