#include "FaultPlan.h"

#include "core/link/Frames.h"

#include <QVector>

namespace bandora::sim {

FaultPlan::FaultPlan(const FaultOptions& options, quint32 seed) : options_(options), rng_(seed) {}

Fault FaultPlan::Next()
{
    if (options_.rate <= 0.0 || !options_.AnyKind())
        return Fault::None;
    if (std::uniform_real_distribution<double>(0.0, 1.0)(rng_) >= options_.rate)
        return Fault::None;
    QVector<Fault> kinds;
    if (options_.drop)
        kinds << Fault::Drop;
    if (options_.shortReply)
        kinds << Fault::Short;
    if (options_.late)
        kinds << Fault::Late;
    if (options_.corrupt)
        kinds << Fault::Corrupt;
    return kinds[std::uniform_int_distribution<int>(0, kinds.size() - 1)(rng_)];
}

QByteArray FaultPlan::Shorten(const QByteArray& reply)
{
    if (reply.size() < 2)
        return {};
    return reply.left(std::uniform_int_distribution<int>(1, reply.size() - 1)(rng_));
}

QByteArray FaultPlan::Corrupt(const QByteArray& reply)
{
    QByteArray out = reply;
    if (out.size() == kBlockBytes) {
        const int hits = std::uniform_int_distribution<int>(1, 3)(rng_);
        for (int i = 0; i < hits; ++i) {
            const int sample = std::uniform_int_distribution<int>(0, kBlockSamples - 1)(rng_);
            out[2 * sample] = char(0x10 | std::uniform_int_distribution<int>(0, 0xEF)(rng_));
        }
    } else if (!out.isEmpty()) {
        out[0] = char(quint8(out[0]) ^ std::uniform_int_distribution<int>(1, 255)(rng_));
    }
    return out;
}

} // namespace bandora::sim
