#pragma once

#include <QByteArray>

#include <random>

namespace bandora::sim {

// Faults the virtual instrument puts on the line, as a bad cable, a busy or a
// switched-off instrument would.
struct FaultOptions {
    double rate = 0.0;        // share of the replies that go wrong (0..1)
    bool drop = false;        // the reply never comes
    bool shortReply = false;  // only the first bytes of the reply come
    bool late = false;        // the reply comes after lateMs, holding up the replies behind it
    bool corrupt = false;     // bytes of the reply are garbled
    int lateMs = 400;
    qint64 silenceAfter = -1; // after this many frames the instrument falls silent (-1: never)
    int silenceMs = 0;        // how long it stays silent (0: until told otherwise)

    bool AnyKind() const { return drop || shortReply || late || corrupt; }
};

enum class Fault { None, Drop, Short, Late, Corrupt };

// Decides, reply by reply, which fault (if any) strikes, and garbles replies.
class FaultPlan {
public:
    FaultPlan(const FaultOptions& options, quint32 seed);

    const FaultOptions& Options() const { return options_; }

    // The fault for the next reply.
    Fault Next();

    // A reply cut short: one byte up to all but one.
    QByteArray Shorten(const QByteArray& reply);

    // Garbled bytes a reader can notice: a two-byte reply gets another first
    // byte; a beam block gets high bytes above 15, which no sample has.
    QByteArray Corrupt(const QByteArray& reply);

private:
    FaultOptions options_;
    std::mt19937 rng_;
};

} // namespace bandora::sim
