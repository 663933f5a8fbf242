#include "core/link/Frames.h"
#include "core/link/InstrumentLink.h"

#include <gtest/gtest.h>

namespace bandora {
namespace {

QByteArray Hex(const char* text) { return QByteArray::fromHex(text); }

TEST(Frames, WriteFramesNameChannelsByBankAndTheFactoryRecordAsItIs)
{
    const auto frame = [](int channel, quint8 value) {
        const WriteTarget t = ChannelWriteTarget(channel);
        return BuildFrame(t.kind, t.address, value);
    };
    EXPECT_EQ(frame(200, 0x25), Hex("ff814825f0"));
    EXPECT_EQ(frame(0, 231), Hex("ff8000e7f0"));
    EXPECT_EQ(frame(127, 0), Hex("ff807f00f0"));
    EXPECT_EQ(frame(128, 66), Hex("ff810042f0"));
    EXPECT_EQ(frame(383, 0xFF), Hex("ff81ffff" "f0")) << "data bytes FF travel unescaped";
    EXPECT_EQ(BuildFrame(kWriteKindLowBank, 0x81, 5), Hex("ff808105f0"));

    // The instrument reads the same frames back to the same targets.
    for (int ch = 0; ch < 384; ++ch) {
        const WriteTarget t = ChannelWriteTarget(ch);
        ASSERT_EQ(ChannelOfWrite(t.kind, t.address), ch);
    }
    EXPECT_EQ(ChannelOfWrite(kWriteKindLowBank, 0x80), -1) << "the factory record, not a channel";
    EXPECT_EQ(ChannelOfWrite(kWriteKindLowBank, 0x87), -1);
}

TEST(Frames, BeamBlocksDecodeOnlyWhole)
{
    std::array<qint16, kBlockSamples> samples{};
    for (int s = 0; s < kBlockSamples; ++s)
        samples[s] = qint16(s * 40 + 7);
    const QByteArray bytes = EncodeBeamBlock(samples);
    ASSERT_EQ(bytes.size(), 192);
    EXPECT_EQ(bytes.left(4), Hex("0007002f")) << "high byte first";

    BeamBlock block;
    block.samples.fill(-5);
    EXPECT_FALSE(DecodeBeamBlock(bytes.left(190), block));
    EXPECT_FALSE(DecodeBeamBlock(bytes + Hex("00"), block));
    EXPECT_EQ(block.samples[0], -5) << "a rejected block changes nothing";

    ASSERT_TRUE(DecodeBeamBlock(bytes, block));
    EXPECT_EQ(block.samples, samples);
    EXPECT_FALSE(block.clamped);

    // High bytes above 15 are clamped to 15 and mark the block.
    QByteArray noisy = bytes;
    noisy[0] = char(0x10);
    noisy[1] = char(0xFF);
    noisy[10] = char(0xFF);
    ASSERT_TRUE(DecodeBeamBlock(noisy, block));
    EXPECT_TRUE(block.clamped);
    EXPECT_EQ(block.samples[0], 4095);
    EXPECT_EQ(block.samples[5], 15 * 256 + quint8(bytes[11]));
    EXPECT_EQ(block.samples[6], samples[6]);
}

TEST(Frames, SamplesGoToTheSamePositionInTheThreeBanks)
{
    const std::tuple<int, int, int> samples[] = {{0, 0, 0}, {0, 1, 128}, {0, 2, 256}, {32, 3, 33}, {96, 95, 383}};
    for (const auto& [first, sample, channel] : samples)
        EXPECT_EQ(ChannelOfSample(first, sample), channel) << first << " " << sample;

    BeamBlock block;
    block.samples.fill(1);
    std::array<qint16, kChannelTable> values{};
    StoreBlock(block, 64, values);
    EXPECT_EQ(values[64] + values[64 + 128] + values[95 + 256], 3);
    EXPECT_EQ(values[63] + values[96] + values[384], 0);
    EXPECT_EQ(std::count(values.begin(), values.end(), 1), 96);
}

TEST(Frames, TheInstrumentFindsFramesInSplitNoisyAndJoinedInput)
{
    // Split: the start of a frame asks for more.
    EXPECT_EQ(ScanFrame(Hex("ff0030")).status, FrameScan::Status::NeedMore);
    EXPECT_EQ(ScanFrame(QByteArray()).status, FrameScan::Status::NeedMore);

    // Joined: one frame at a time, in order.
    QByteArray input = Hex("ff003020f0ff814825f0");
    FrameScan scan = ScanFrame(input);
    ASSERT_EQ(scan.status, FrameScan::Status::Valid);
    EXPECT_EQ(scan.consumed, 5);
    EXPECT_EQ(scan.first, 0x30);
    EXPECT_EQ(scan.second, 0x20);
    input.remove(0, scan.consumed);
    scan = ScanFrame(input);
    ASSERT_EQ(scan.status, FrameScan::Status::Valid);
    EXPECT_EQ(scan.kind, 0x81);

    // Noise, a cut frame and a bad kind are skipped up to the next start.
    input = Hex("1234" "ff0030" "ff0021" "00f0" "ff7700" "ff000000f0");
    QList<quint8> firsts;
    while (!input.isEmpty()) {
        scan = ScanFrame(input);
        if (scan.status == FrameScan::Status::NeedMore)
            break;
        ASSERT_GT(scan.consumed, 0);
        if (scan.status == FrameScan::Status::Valid)
            firsts << scan.first;
        input.remove(0, scan.consumed);
    }
    EXPECT_EQ(firsts, (QList<quint8>{0x21, 0x00}));
    EXPECT_TRUE(input.isEmpty());
}

} // namespace
} // namespace bandora
