#include "ReportLayouts.h"

#include "core/common/Rounding.h"

#include <QBuffer>
#include <QIODevice>

#include <charconv>
#include <cmath>

namespace bandora {

namespace {

const QByteArray kMeanTitle = "<<<<<< Group Activity: Average Activity Counts per Data Interval>>>>>>";
const QByteArray kStdErrorTitle = "<<<<<< Group Activity: Standard Error >>>>>>";
const QByteArray kStdDevTitle = "<<<<<< Group Activity: Standard Deviation >>>>>>";
const QByteArray kWellCountTitle = "<<<<<< Group Activity: Number of wells/group >>>>>>";
const QByteArray kSamplesTitle = "<<<<<< Number of Samples per Acquisition Interval [1unit=500values] >>>>>>";
const QByteArray kTemperatureTitle = QString::fromUtf8("<<<<<< Average Temperature [°C] >>>>>>").toLatin1();
const QByteArray kWellTitle = "<<<<<< Well Activity >>>>>>";
const QByteArray kChannelTitle = "<<<<<< Channel Activity >>>>>>";
const QByteArray kDegrees = QString::fromUtf8("°C").toLatin1();

constexpr int kArrayRows = 16;
constexpr int kArrayColumns = 24;
constexpr qsizetype kFlushBytes = 1 << 20;

// A number with exactly one decimal from a count of tenths.
QByteArray Tenths(qint64 tenths)
{
    const bool negative = tenths < 0;
    const qint64 v = negative ? -tenths : tenths;
    QByteArray text = QByteArray::number(v / 10) + '.' + QByteArray::number(v % 10);
    return negative ? '-' + text : text;
}

class Writer {
public:
    Writer(QIODevice& out, const ReportTables& t, const ExperimentSettings& s, const ReportOptions& o,
           const std::function<bool()>& keepGoing)
        : out_(out), t_(t), s_(s), o_(o), keepGoing_(keepGoing), shown_(t.ShownBins()),
          sp_(o.Separator.toLatin1())
    {
        buffer_.reserve(kFlushBytes + 4096);
        groupLabels_.reserve(t.Groups);
        for (int g = 0; g < t.Groups; ++g)
            groupLabels_.push_back(s.GroupLabel(g).toLatin1());
        freeLabel_ = s.GroupLabel(-1).toLatin1();
    }

    WriteOutcome Write(const ReportHead& head)
    {
        Quoted("DATE:");
        Sep();
        Quoted(head.Date.toLatin1());
        End();
        Quoted("FILE:");
        Sep();
        Quoted(head.Folder.toLatin1());
        End();
        End();

        if (o_.Layout == ReportLayout::Array) {
            ArraySection();
        } else {
            GroupSection(kMeanTitle, [this](size_t i, int g) { Int(t_.Mean(i, g)); });
            if (o_.StdError)
                GroupSection(kStdErrorTitle, [this](size_t i, int g) { StdError(i, g); });
            if (o_.StdDev)
                GroupSection(kStdDevTitle, [this](size_t i, int g) { Put(Tenths(10 * t_.SD(i, g))); });
            if (o_.WellCount)
                GroupSection(kWellCountTitle, [this](size_t, int g) { Int(t_.GroupWellCount[size_t(g)]); });
            BinSection(kSamplesTitle, "#Samples", "#Samples", [this](size_t i) { Int(t_.RecordCount[i]); });
            BinSection(kTemperatureTitle, "Temp[" + kDegrees + "]", "Avrg_Temp[" + kDegrees + "]",
                       [this](size_t i) { Put(Tenths(t_.Temperature[i])); });
            WellSection();
            ChannelSection();
        }
        if (stopped_)
            return WriteOutcome::Stopped;
        Flush();
        return failed_ ? WriteOutcome::Failed : WriteOutcome::Written;
    }

private:
    // --- the pieces of a line ---------------------------------------------

    void Put(const QByteArray& bytes) { buffer_ += bytes; }
    void Put(const char* text) { buffer_ += text; }
    void Sep() { buffer_ += sp_; }
    void Quoted(const QByteArray& text)
    {
        buffer_ += '"';
        buffer_ += text;
        buffer_ += '"';
    }
    void Int(qint64 v)
    {
        char digits[24];
        const auto r = std::to_chars(digits, digits + sizeof digits, v);
        buffer_.append(digits, r.ptr - digits);
    }
    void End()
    {
        buffer_ += "\r\n";
        if (buffer_.size() >= kFlushBytes)
            Flush();
    }
    void Flush()
    {
        if (!failed_ && !buffer_.isEmpty() && out_.write(buffer_) != buffer_.size())
            failed_ = true;
        buffer_.clear();
    }
    // Asked between the lines of groups, wells and channels.
    bool Going()
    {
        if (!stopped_ && !failed_ && keepGoing_ && !keepGoing_())
            stopped_ = true;
        return !stopped_ && !failed_;
    }

    const QByteArray& GroupLabel(int g) const
    {
        return g >= 0 && g < int(groupLabels_.size()) ? groupLabels_[size_t(g)] : freeLabel_;
    }

    void StdError(size_t i, int g)
    {
        const qint64 wells = t_.GroupWellCount[size_t(g)];
        const qint64 sd = t_.SD(i, g);
        if (wells < 1 || sd < 1) {
            Put("0.0");
            return;
        }
        Put(Tenths(RoundHalfEven(double(sd) / std::sqrt(double(wells)) * 10.0)));
    }

    // --- sections -----------------------------------------------------------

    template <typename Value>
    void GroupSection(const QByteArray& title, Value value)
    {
        Quoted(title);
        End();
        if (o_.Layout == ReportLayout::Rows) {
            Put("Group/Time[m]");
            for (size_t i : shown_) {
                Sep();
                Int(t_.BinTime(i));
            }
            End();
            for (int g = 0; g < t_.Groups && Going(); ++g) {
                Put(GroupLabel(g));
                for (size_t i : shown_) {
                    Sep();
                    value(i, g);
                }
                End();
            }
            End();
        } else {
            Put("Time");
            Sep();
            Put("Group");
            Sep();
            Put("Value");
            End();
            End();
            for (int g = 0; g < t_.Groups && Going(); ++g) {
                for (size_t i : shown_) {
                    Int(t_.BinTime(i));
                    Sep();
                    Put(GroupLabel(g));
                    Sep();
                    value(i, g);
                    End();
                }
                End();
            }
        }
    }

    // The samples and the temperature: one value per bin.
    template <typename Value>
    void BinSection(const QByteArray& title, const QByteArray& rowsLabel, const QByteArray& listLabel, Value value)
    {
        Quoted(title);
        End();
        if (o_.Layout == ReportLayout::Rows) {
            // Both lines end with a separator.
            Put("Time[m]");
            Sep();
            for (size_t i : shown_) {
                Int(t_.BinTime(i));
                Sep();
            }
            End();
            Put(rowsLabel);
            Sep();
            for (size_t i : shown_) {
                value(i);
                Sep();
            }
            End();
            End();
        } else {
            Put("Time");
            Sep();
            Put(listLabel);
            End();
            End();
            for (size_t i : shown_) {
                Int(t_.BinTime(i));
                Sep();
                value(i);
                End();
            }
            End();
        }
    }

    // One well or channel of a section. Rows: its labels, then one value per
    // shown bin on the same line. List: one line per shown bin, the bin's time
    // first, then the labels and the value; a blank line after the last.
    template <class ValueOfBin>
    void LabelledValues(bool rows, std::initializer_list<const QByteArray*> labels, ValueOfBin value)
    {
        if (rows) {
            bool first = true;
            for (const QByteArray* l : labels) {
                if (!first)
                    Sep();
                Put(*l);
                first = false;
            }
            for (size_t i : shown_) {
                Sep();
                Int(value(i));
            }
            End();
            return;
        }
        for (size_t i : shown_) {
            Int(t_.BinTime(i));
            for (const QByteArray* l : labels) {
                Sep();
                Put(*l);
            }
            Sep();
            Int(value(i));
            End();
        }
        End();
    }

    void WellSection()
    {
        Quoted(kWellTitle);
        End();
        const bool rows = o_.Layout == ReportLayout::Rows;
        if (rows) {
            Put("Well");
            Sep();
            Put("Group/Time[m]");
            for (size_t i : shown_) {
                Sep();
                Int(t_.BinTime(i));
            }
        } else {
            Put("Time" + sp_ + "Well" + sp_ + "Group" + sp_ + "Value");
            End();
        }
        End();
        for (int w = 0; w < t_.Wells && Going(); ++w) {
            const qint16 first = s_.Plate.WellChannel(w, 0);
            if (first < 0)
                continue;
            const QByteArray label = s_.Plate.WellLabel(w).toLatin1();
            const QByteArray& group = GroupLabel(s_.ChannelGroup[first]);
            LabelledValues(rows, {&label, &group}, [&](size_t i) { return t_.Well(i, w); });
        }
        if (rows)
            End();
    }

    void ChannelSection()
    {
        Quoted(kChannelTitle);
        End();
        const bool rows = o_.Layout == ReportLayout::Rows;
        if (rows) {
            Put("Channel" + sp_ + "Well" + sp_ + "Group/Time[m]");
            for (size_t i : shown_) {
                Sep();
                Int(t_.BinTime(i));
            }
        } else {
            Put("Time" + sp_ + "Channel" + sp_ + "Well" + sp_ + "Group" + sp_ + "Value");
            End();
        }
        End();
        for (int c = 0; c < kChannels && Going(); ++c) {
            if (!s_.Plate.BelongsToWell(c))
                continue;
            const QByteArray label = "CH" + QByteArray::number(c);
            const QByteArray well = s_.Plate.ChannelWellLabel(c).toLatin1();
            const QByteArray& group = GroupLabel(s_.ChannelGroup[c]);
            LabelledValues(rows, {&label, &well, &group}, [&](size_t i) { return t_.Channel(i, c); });
        }
        if (rows)
            End();
    }

    void ArraySection()
    {
        Put("ARRAY OUTPUT FORMAT");
        End();
        for (size_t i : shown_) {
            if (!Going())
                return;
            Put("Time_Block[m]");
            Sep();
            Int(t_.BinTime(i));
            End();
            Put("Row/Column");
            Sep();
            for (int j = 1; j <= kArrayColumns; ++j) {
                Int(j);
                Sep();
            }
            End();
            for (int r = 0; r < kArrayRows; ++r) {
                buffer_ += char('A' + r);
                for (int j = 0; j < kArrayColumns; ++j) {
                    const int c = kArrayRows * j + r;
                    Sep();
                    if (s_.Plate.BelongsToWell(c))
                        Int(t_.Channel(i, c));
                    else
                        Put("-");
                }
                End();
            }
            End();
        }
    }

    QIODevice& out_;
    const ReportTables& t_;
    const ExperimentSettings& s_;
    const ReportOptions& o_;
    const std::function<bool()>& keepGoing_;
    const std::vector<size_t> shown_;
    const QByteArray sp_;
    std::vector<QByteArray> groupLabels_;
    QByteArray freeLabel_;
    QByteArray buffer_;
    bool stopped_ = false;
    bool failed_ = false;
};

} // namespace

WriteOutcome WriteReportText(QIODevice& out, const ReportTables& tables, const ExperimentSettings& settings,
                             const ReportOptions& options, const ReportHead& head,
                             const std::function<bool()>& keepGoing)
{
    return Writer(out, tables, settings, options, keepGoing).Write(head);
}

QByteArray ReportText(const ReportTables& tables, const ExperimentSettings& settings, const ReportOptions& options,
                      const ReportHead& head)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    WriteReportText(buffer, tables, settings, options, head);
    return bytes;
}

} // namespace bandora
