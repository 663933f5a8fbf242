#include "PseudoTerminal.h"

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace bandora::sim {

PseudoTerminal::~PseudoTerminal() { Close(); }

#if defined(Q_OS_UNIX)

bool PseudoTerminal::Open(QString* error)
{
    Close();
    const auto fail = [&](const char* what) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(strerror(errno)));
        Close();
        return false;
    };
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master_ < 0)
        return fail("cannot open a pseudo-terminal");
    if (grantpt(master_) != 0 || unlockpt(master_) != 0)
        return fail("cannot unlock the pseudo-terminal");
    const char* name = ptsname(master_);
    if (!name)
        return fail("cannot name the pseudo-terminal");
    devicePath_ = QString::fromLocal8Bit(name);
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (slave_ < 0)
        return fail("cannot open the program's end of the pseudo-terminal");
    termios raw{};
    if (tcgetattr(slave_, &raw) != 0)
        return fail("cannot read the line settings");
    cfmakeraw(&raw);
    cfsetispeed(&raw, B115200);
    cfsetospeed(&raw, B115200);
    if (tcsetattr(slave_, TCSANOW, &raw) != 0)
        return fail("cannot set the line settings");
    return true;
}

void PseudoTerminal::Close()
{
    if (slave_ >= 0)
        ::close(slave_);
    if (master_ >= 0)
        ::close(master_);
    slave_ = master_ = -1;
}

bool PseudoTerminal::WaitReadable(qint64 timeoutNs)
{
    if (master_ < 0)
        return false;
    pollfd pfd{master_, POLLIN, 0};
    timespec ts{time_t(timeoutNs / 1000000000), long(timeoutNs % 1000000000)};
    if (timeoutNs < 0)
        ts = {0, 0};
    const int n = ppoll(&pfd, 1, &ts, nullptr);
    return n > 0 && (pfd.revents & POLLIN);
}

QByteArray PseudoTerminal::ReadAvailable()
{
    QByteArray bytes;
    char buffer[512];
    while (master_ >= 0) {
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0)
            break;
        bytes.append(buffer, n);
    }
    return bytes;
}

qint64 PseudoTerminal::Write(const char* data, qint64 size)
{
    if (master_ < 0)
        return -1;
    const ssize_t n = ::write(master_, data, size_t(size));
    if (n < 0)
        return errno == EAGAIN || errno == EINTR ? 0 : -1;
    return n;
}

#else

bool PseudoTerminal::Open(QString* error)
{
    if (error)
        *error = QStringLiteral("the virtual instrument needs pseudo-terminals, which this system does not have");
    return false;
}

void PseudoTerminal::Close() {}
bool PseudoTerminal::WaitReadable(qint64) { return false; }
QByteArray PseudoTerminal::ReadAvailable() { return {}; }
qint64 PseudoTerminal::Write(const char*, qint64) { return -1; }

#endif

} // namespace bandora::sim
