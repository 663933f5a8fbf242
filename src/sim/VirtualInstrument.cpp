#include "VirtualInstrument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <chrono>

#if defined(Q_OS_LINUX)
#include <sys/prctl.h>
#endif

namespace bandora::sim {

namespace {
constexpr qint64 kIdleWakeNs = 20'000'000; // how often an idle instrument looks for Stop()
constexpr int kBytesPerWrite = 12;         // about a millisecond of line time
constexpr size_t kFrameLogSize = 100'000;
} // namespace

qint64 SimNowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

QString DefaultMemoryFile(const QString& appDir)
{
    return QDir(appDir).filePath(QStringLiteral("ports/instrument-memory.dat"));
}

VirtualInstrument::VirtualInstrument(const SimOptions& options, const PlateFormat& plate)
    : options_(options), byteNs_(options.pacing && options.baud > 0 ? 10'000'000'000LL / options.baud : 0),
      memory_(options.memoryFile), model_(options.model, plate),
      responder_(model_, memory_, options.stepMs / 1000.0, options.version), faults_(options.faults, options.model.seed + 7)
{
}

VirtualInstrument::~VirtualInstrument() { Stop(); }

bool VirtualInstrument::Start(QString* error)
{
    if (thread_.joinable())
        return true;
    QString memoryError;
    if (!memory_.Load(&memoryError) && error)
        *error = memoryError; // not fatal: the default record is used
    if (!pty_.Open(error))
        return false;
    stop_ = false;
    thread_ = std::thread([this] { Run(); });
    return true;
}

void VirtualInstrument::Stop()
{
    if (thread_.joinable()) {
        stop_ = true;
        thread_.join();
    }
    pty_.Close();
    RemoveLink();
}

bool VirtualInstrument::LinkPort(const QString& appDir, int portNumber, QString* error)
{
    const QString path = QDir(appDir).filePath(QStringLiteral("ports/COM%1").arg(portNumber));
    const QFileInfo info(path);
    QString previous;
    if (info.isSymLink()) {
        // A link to a pseudo-terminal is a leftover of a virtual instrument
        // that did not end cleanly; anything else is the user's own device
        // and comes back when this instrument stops.
        if (!info.symLinkTarget().startsWith(QLatin1String("/dev/pts/")))
            previous = info.symLinkTarget();
        QFile::remove(path);
    } else if (info.exists()) {
        if (error)
            *error = QStringLiteral("%1 exists and is not a link; leaving it alone").arg(path);
        return false;
    }
    QDir().mkpath(info.absolutePath());
    if (!QFile::link(DevicePath(), path)) {
        if (error)
            *error = QStringLiteral("cannot make the link %1").arg(path);
        if (!previous.isEmpty())
            QFile::link(previous, path);
        return false;
    }
    RemoveLink(); // a link made earlier for another port
    linkPath_ = path;
    previousLinkTarget_ = previous;
    return true;
}

void VirtualInstrument::RemoveLink()
{
    if (linkPath_.isEmpty())
        return;
    const QFileInfo info(linkPath_);
    if (info.isSymLink() && info.symLinkTarget() == QFileInfo(DevicePath()).absoluteFilePath()) {
        QFile::remove(linkPath_);
        if (!previousLinkTarget_.isEmpty())
            QFile::link(previousLinkTarget_, linkPath_);
    }
    linkPath_.clear();
    previousLinkTarget_.clear();
}

void VirtualInstrument::WithModel(const std::function<void(InstrumentModel&)>& f)
{
    std::lock_guard lock(mutex_);
    f(model_);
}

qint64 VirtualInstrument::TrueInterruptions(int channel)
{
    std::lock_guard lock(mutex_);
    return model_.TrueInterruptions(channel);
}

quint8 VirtualInstrument::ChannelSetting(int channel)
{
    std::lock_guard lock(mutex_);
    return model_.ChannelSetting(channel);
}

quint8 VirtualInstrument::Outputs()
{
    std::lock_guard lock(mutex_);
    return model_.Outputs();
}

double VirtualInstrument::Temperature()
{
    std::lock_guard lock(mutex_);
    return model_.Temperature();
}

void VirtualInstrument::SetDoorOpen(bool open)
{
    std::lock_guard lock(mutex_);
    model_.SetDoorOpen(open);
}

void VirtualInstrument::SetStuckMemory(int address)
{
    std::lock_guard lock(mutex_);
    memory_.SetStuck(address);
}

std::array<quint8, 8> VirtualInstrument::Memory()
{
    std::lock_guard lock(mutex_);
    return memory_.Bytes();
}

std::vector<QByteArray> VirtualInstrument::TakeFrames()
{
    std::lock_guard lock(mutex_);
    std::vector<QByteArray> frames;
    frames.swap(frameLog_);
    return frames;
}

void VirtualInstrument::SetFaults(const FaultOptions& faults)
{
    std::lock_guard lock(mutex_);
    faults_ = FaultPlan(faults, options_.model.seed + quint32(frames_.load()));
    options_.faults = faults;
    // A silence "after N frames" counts from now.
    if (faults.silenceAfter >= 0)
        options_.faults.silenceAfter = frames_.load() + faults.silenceAfter;
    silent_ = false;
    silentUntilNs_ = -1;
}

void VirtualInstrument::SetSilent(bool silent)
{
    std::lock_guard lock(mutex_);
    silent_ = silent;
    silentUntilNs_ = -1;
    if (!silent)
        options_.faults.silenceAfter = -1;
}

bool VirtualInstrument::SilentNow(qint64 nowNs)
{
    FaultOptions& f = options_.faults;
    if (f.silenceAfter >= 0 && frames_.load() > f.silenceAfter) {
        f.silenceAfter = -1;
        silent_ = true;
        silentUntilNs_ = f.silenceMs > 0 ? nowNs + qint64(f.silenceMs) * 1'000'000 : -1;
    }
    if (silent_ && silentUntilNs_ >= 0 && nowNs >= silentUntilNs_) {
        silent_ = false;
        silentUntilNs_ = -1;
    }
    return silent_;
}

void VirtualInstrument::Handle(const FrameScan& frame, qint64 nowNs)
{
    ++frames_;
    QByteArray reply;
    Fault fault = Fault::None;
    qint64 lateNs = 0;
    {
        std::lock_guard lock(mutex_);
        if (frameLog_.size() < kFrameLogSize)
            frameLog_.push_back(BuildFrame(frame.kind, frame.first, frame.second));
        if (SilentNow(nowNs))
            return;
        reply = responder_.Respond(frame, nowNs / 1e9);
        if (reply.isEmpty())
            return;
        fault = faults_.Next();
        if (fault == Fault::Short)
            reply = faults_.Shorten(reply);
        else if (fault == Fault::Corrupt)
            reply = faults_.Corrupt(reply);
        else if (fault == Fault::Late)
            lateNs = qint64(options_.faults.lateMs) * 1'000'000;
    }
    if (fault == Fault::Drop)
        return;
    // On a real line the frame itself takes five byte times to arrive, and an
    // instrument answers one command after the other: a late reply holds up
    // every reply behind it.
    Schedule(reply, std::max(nowNs + kFrameBytes * byteNs_, busyUntilNs_) + lateNs);
}

void VirtualInstrument::Schedule(const QByteArray& reply, qint64 startNs)
{
    if (nextOut_ == outgoing_.size()) {
        outgoing_.clear();
        nextOut_ = 0;
    }
    for (int i = 0; i < reply.size(); ++i)
        outgoing_.push_back({reply[i], startNs + (i + 1) * byteNs_, i == reply.size() - 1});
    busyUntilNs_ = startNs + reply.size() * byteNs_;
}

qint64 VirtualInstrument::NextWakeNs(qint64 nowNs) const
{
    if (nextOut_ >= outgoing_.size())
        return nowNs + kIdleWakeNs;
    // Bytes go out in small bunches, but the last byte of a reply always goes
    // at its own time: that is when the program sees its reply complete.
    size_t j = nextOut_;
    for (int k = 1; k < kBytesPerWrite && j + 1 < outgoing_.size() && !outgoing_[j].endsReply; ++k)
        ++j;
    return std::max(nowNs, outgoing_[j].dueNs);
}

void VirtualInstrument::SendDue(qint64 nowNs)
{
    size_t end = nextOut_;
    while (end < outgoing_.size() && outgoing_[end].dueNs <= nowNs)
        ++end;
    if (end == nextOut_)
        return;
    QByteArray bytes;
    bytes.reserve(int(end - nextOut_));
    for (size_t i = nextOut_; i < end; ++i)
        bytes.append(outgoing_[i].byte);
    const qint64 written = pty_.Write(bytes.constData(), bytes.size());
    // Nobody reading the line (a full or broken terminal): the bytes are lost,
    // as on a cable with nothing at the other end.
    nextOut_ = written > 0 && written < bytes.size() ? nextOut_ + size_t(written) : end;
}

void VirtualInstrument::Run()
{
#if defined(Q_OS_LINUX)
    // Replies are paced to a tenth of a millisecond; the default timer slack
    // of the thread would blur that.
    prctl(PR_SET_TIMERSLACK, 1000UL, 0, 0, 0);
#endif
    while (!stop_) {
        qint64 now = SimNowNs();
        const qint64 wake = NextWakeNs(now);
        const bool readable = pty_.WaitReadable(std::max<qint64>(0, std::min(wake - now, kIdleWakeNs)));
        now = SimNowNs();
        if (readable) {
            incoming_.append(pty_.ReadAvailable());
            for (;;) {
                const FrameScan scan = ScanFrame(incoming_);
                if (scan.status == FrameScan::Status::NeedMore)
                    break;
                if (scan.status == FrameScan::Status::Valid)
                    Handle(scan, now);
                incoming_.remove(0, scan.consumed);
            }
        }
        SendDue(SimNowNs());
    }
}

} // namespace bandora::sim
