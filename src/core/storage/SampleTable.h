#pragma once

// The raw beam values of one buffer cycle: 385 channel rows (channel 384 is
// spare) of RT_Buffer + 1 columns, one column per tick of the cycle plus the
// spare column RT_Buffer that the cycle never fills. Each channel's row is
// contiguous, because every per-channel algorithm walks one beam through time;
// the real-time files store the same table column by column (RealTimeFile.h).

#include "ProjectSetup.h"

#include <QtGlobal>

#include <algorithm>
#include <span>
#include <vector>

namespace bandora {

class SampleTable {
public:
    SampleTable() = default;
    explicit SampleTable(int bufferLength) { Resize(bufferLength); }

    // Dimensions the table for a buffer cycle of bufferLength ticks (at least
    // one) and clears every value.
    void Resize(int bufferLength)
    {
        bufferLength_ = std::max(bufferLength, 1);
        columns_ = bufferLength_ + 1;
        values_.assign(static_cast<size_t>(kChannelTable) * Columns(), 0);
    }

    void Fill(qint16 value) { std::fill(values_.begin(), values_.end(), value); }

    // Ticks of one buffer cycle (RT_Buffer): the columns the cycle fills.
    int BufferLength() const { return bufferLength_; }
    // Columns of each row, the spare last one included.
    int Columns() const { return columns_; }

    qint16& operator()(int ch, int col) { return values_[Index(ch, col)]; }
    qint16 operator()(int ch, int col) const { return values_[Index(ch, col)]; }

    // The whole row of one channel, spare column included.
    std::span<qint16> Row(int ch) { return {values_.data() + Index(ch, 0), size_t(Columns())}; }
    std::span<const qint16> Row(int ch) const
    {
        return {values_.data() + Index(ch, 0), size_t(Columns())};
    }

    bool operator==(const SampleTable&) const = default;

private:
    size_t Index(int ch, int col) const { return size_t(ch) * size_t(Columns()) + size_t(col); }

    int bufferLength_ = 0;
    int columns_ = 0; // 0 until the table is dimensioned
    std::vector<qint16> values_;
};

} // namespace bandora
