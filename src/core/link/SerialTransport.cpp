#include "SerialTransport.h"

#include <QElapsedTimer>

#include <algorithm>

namespace bandora {

namespace {
// Longest single wait for bytes; the callers' bounds are made of these.
constexpr int kWaitSliceMs = 5;
} // namespace

SerialTransport::SerialTransport() = default;

bool SerialTransport::SetDevice(const QString& deviceName)
{
    if (port_.isOpen())
        return false;
    port_.setPortName(deviceName);
    return true;
}

QString SerialTransport::Device() const { return port_.portName(); }

bool SerialTransport::Open()
{
    if (port_.isOpen())
        return true;
    openRefused_ = false;
    if (port_.portName().isEmpty())
        return false;
    if (!port_.open(QIODevice::ReadWrite)) {
        openRefused_ = port_.error() == QSerialPort::PermissionError;
        return false;
    }
    // Handshake and control lines stay as the device has them.
    const bool ok = port_.setBaudRate(QSerialPort::Baud115200) && port_.setDataBits(QSerialPort::Data8)
                    && port_.setParity(QSerialPort::NoParity) && port_.setStopBits(QSerialPort::OneStop);
    if (!ok) {
        port_.close();
        return false;
    }
    suspect_ = false;
    port_.clear(QSerialPort::Input);
    return true;
}

void SerialTransport::Close()
{
    if (port_.isOpen())
        port_.close();
    port_.clearError();
}

bool SerialTransport::IsOpen() const { return port_.isOpen(); }

// A device that went away (a pulled adapter, a stopped virtual instrument)
// leaves the port failing on every read: it is closed, so every later exchange
// fails at once instead of waiting out its bound.
bool SerialTransport::Failing()
{
    if (!port_.isOpen())
        return true;
    const auto error = port_.error();
    if (error == QSerialPort::ResourceError || error == QSerialPort::DeviceNotFoundError
        || error == QSerialPort::PermissionError) {
        port_.close();
        return true;
    }
    if (error != QSerialPort::NoError)
        port_.clearError();
    return false;
}

bool SerialTransport::ClearReceive()
{
    if (Failing())
        return false;
    return port_.clear(QSerialPort::Input);
}

bool SerialTransport::Write(const QByteArray& bytes)
{
    if (Failing())
        return false;
    for (char c : bytes) {
        if (!port_.putChar(c))
            return false;
    }
    while (port_.bytesToWrite() > 0) {
        if (!port_.waitForBytesWritten(kWaitSliceMs * 10) || Failing() || !KeepWaiting())
            return false;
    }
    return true;
}

QByteArray SerialTransport::Receive(int count, int maxWaitMs)
{
    if (Failing())
        return {};
    QElapsedTimer timer;
    timer.start();
    while (port_.bytesAvailable() < count) {
        const qint64 left = maxWaitMs - timer.elapsed();
        if (left <= 0)
            break;
        port_.waitForReadyRead(int(std::min<qint64>(left, kWaitSliceMs)));
        if (Failing())
            return {};
        if (!KeepWaiting())
            break;
    }
    // Collect whatever is already there beyond the reply, so surplus shows.
    port_.waitForReadyRead(0);
    const QByteArray bytes = port_.readAll();
    suspect_ = bytes.size() != count;
    return bytes;
}

QByteArray SerialTransport::ReceiveUntilQuiet(int count, int maxWaitMs, int quietMs)
{
    QByteArray bytes;
    QElapsedTimer timer;
    timer.start();
    while (!Failing()) {
        bytes += port_.readAll();
        if (bytes.size() >= count) {
            if (!port_.waitForReadyRead(quietMs) || timer.elapsed() > maxWaitMs + kMaxSettleMs)
                break;
        } else {
            const qint64 left = maxWaitMs - timer.elapsed();
            if (left <= 0)
                break;
            port_.waitForReadyRead(int(std::min<qint64>(left, kWaitSliceMs)));
        }
        if (!KeepWaiting())
            break;
    }
    if (port_.isOpen())
        bytes += port_.readAll();
    return bytes;
}


} // namespace bandora
