#include "RecordSyntax.h"

#include "core/common/Rounding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QLocale>

#include <cmath>
#include <limits>

namespace bandora {

namespace {

// The files are in the workstation's 8-bit code page; Latin-1 reads every byte
// and writes every character an operator can type on a western keyboard.
QString DecodeLine(const QByteArray& raw) { return QString::fromLatin1(raw); }

QVector<RecordField> SplitFields(const QString& line)
{
    QVector<RecordField> fields;
    const int n = line.size();
    int i = 0;
    if (line.trimmed().isEmpty())
        return fields;
    while (i <= n) {
        while (i < n && (line[i] == QLatin1Char(' ') || line[i] == QLatin1Char('\t')))
            ++i;
        RecordField f;
        if (i < n && line[i] == QLatin1Char('"')) {
            f.quoted = true;
            const int close = line.indexOf(QLatin1Char('"'), i + 1);
            if (close < 0) { // unbalanced quote: the rest of the line is the text
                f.text = line.mid(i + 1);
                i = n;
            } else {
                f.text = line.mid(i + 1, close - i - 1);
                i = close + 1;
            }
            // Anything between the closing quote and the next comma is ignored.
            const int comma = line.indexOf(QLatin1Char(','), i);
            fields.push_back(f);
            if (comma < 0)
                break;
            i = comma + 1;
        } else {
            const int comma = line.indexOf(QLatin1Char(','), i);
            const int end = comma < 0 ? n : comma;
            f.text = line.mid(i, end - i).trimmed();
            fields.push_back(f);
            if (comma < 0)
                break;
            i = comma + 1;
        }
    }
    return fields;
}

} // namespace

bool ParseNumber(const QString& text, double& value)
{
    QString t = text.trimmed();
    // Check the shape first: sign, digits, optional "." and digits, nothing else.
    int i = 0, digits = 0;
    const int n = t.size();
    if (i < n && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+')))
        ++i;
    const auto isDigit = [&](int k) { return t[k] >= QLatin1Char('0') && t[k] <= QLatin1Char('9'); };
    while (i < n && isDigit(i)) { ++i; ++digits; }
    if (i < n && t[i] == QLatin1Char('.')) {
        ++i;
        while (i < n && isDigit(i)) { ++i; ++digits; }
    }
    if (digits == 0 || i != n)
        return false;
    if (t.startsWith(QLatin1Char('+')))
        t.remove(0, 1);
    if (t.endsWith(QLatin1Char('.')))
        t.chop(1);
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

double NumericValue(const QString& text)
{
    int i = 0;
    const int n = text.size();
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    const int start = i;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        ++i;
    const auto isDigit = [&](int k) { return text[k] >= QLatin1Char('0') && text[k] <= QLatin1Char('9'); };
    while (i < n && isDigit(i))
        ++i;
    if (i < n && text[i] == QLatin1Char('.')) {
        ++i;
        while (i < n && isDigit(i))
            ++i;
    }
    double value = 0;
    return ParseNumber(text.mid(start, i - start), value) ? value : 0.0;
}

QString FormatNumber(double value)
{
    if (!std::isfinite(value) || value == 0.0)
        return QStringLiteral("0");
    // Fifteen significant digits, as the files have always carried, without exponent.
    const int magnitude = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    const int decimals = std::clamp(14 - magnitude, 0, 340);
    QString s = QString::number(value, 'f', decimals);
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
    }
    if (s == QLatin1String("-0"))
        s = QStringLiteral("0");
    return s;
}

QString SafeFieldText(const QString& text)
{
    QString s = text;
    s.replace(QLatin1Char('"'), QLatin1Char('\''));
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return s;
}

// ---------------------------------------------------------------- reader

RecordReader::RecordReader(const QByteArray& content)
{
    // The writer never leaves a carriage return but before a line feed. A lone
    // one means line ends converted to CR only (or a torn file): read as one
    // line, every record after the first would silently slide into it. The
    // first read says so.
    for (qsizetype at = content.indexOf('\r'); at >= 0 && at + 1 < content.size(); at = content.indexOf('\r', at + 1))
        if (content[at + 1] != '\n')
            damaged_ = true;
    qsizetype start = 0;
    const qsizetype n = content.size();
    while (start < n) {
        qsizetype end = content.indexOf('\n', start);
        if (end < 0)
            end = n;
        qsizetype stop = end;
        if (stop > start && content[stop - 1] == '\r')
            --stop;
        lines_.push_back(SplitFields(DecodeLine(content.mid(start, stop - start))));
        start = end + 1;
    }
}

RecordReader RecordReader::FromFile(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        throw RecordError("file not found");
    // Only a regular file: a FIFO or a device of that name would block the
    // read, or never end it.
    if (!QFileInfo(path).isFile())
        throw RecordError("not a regular file");
    if (file.size() > MaxFileBytes)
        throw RecordError("file too large");
    if (!file.open(QIODevice::ReadOnly))
        throw RecordError("file cannot be opened");
    const QByteArray content = file.read(MaxFileBytes + 1);
    if (content.size() > MaxFileBytes)
        throw RecordError("file too large");
    return RecordReader(content);
}

void RecordReader::SettleAtField()
{
    if (damaged_)
        throw RecordError("line ends other than CR LF");
    while (line_ < lines_.size() && field_ >= lines_[line_].size()) {
        ++line_;
        field_ = 0;
    }
}

bool RecordReader::AtEnd() const
{
    int l = line_, f = field_;
    while (l < lines_.size() && f >= lines_[l].size()) {
        ++l;
        f = 0;
    }
    return l >= lines_.size();
}

RecordField RecordReader::NextField()
{
    SettleAtField();
    if (line_ >= lines_.size())
        throw RecordError("unexpected end of file");
    RecordField f = lines_[line_][field_++];
    if (field_ >= lines_[line_].size()) {
        ++line_;
        field_ = 0;
    }
    return f;
}

QVector<RecordField> RecordReader::ReadRecord()
{
    SettleAtField();
    if (line_ >= lines_.size())
        throw RecordError("unexpected end of file");
    QVector<RecordField> record = lines_[line_].mid(field_);
    ++line_;
    field_ = 0;
    return record;
}

QString RecordReader::ReadText() { return NextField().text; }

double RecordReader::NumberOf(const RecordField& f)
{
    if (f.text.trimmed().isEmpty() && !f.quoted)
        return 0.0; // an empty item between two commas reads as zero
    double v = 0;
    if (!ParseNumber(f.text, v))
        throw RecordError("not a number");
    return v;
}

qint16 RecordReader::Int16Of(const RecordField& f)
{
    const auto v = ToInt16(NumberOf(f));
    if (!v)
        throw RecordError("number out of 16-bit range");
    return *v;
}

double RecordReader::ReadNumber() { return NumberOf(NextField()); }

qint16 RecordReader::ReadInt16() { return Int16Of(NextField()); }

qint32 RecordReader::ReadInt32()
{
    const qint64 v = RoundHalfEven(ReadNumber());
    if (v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
        throw RecordError("number out of 32-bit range");
    return static_cast<qint32>(v);
}

void RecordReader::SkipLine()
{
    if (damaged_)
        throw RecordError("line ends other than CR LF");
    if (line_ >= lines_.size())
        throw RecordError("unexpected end of file");
    ++line_;
    field_ = 0;
}

// ---------------------------------------------------------------- writer

RecordWriter& RecordWriter::Header(const QString& text) { return Record({Value(text)}); }

RecordWriter& RecordWriter::Record(std::initializer_list<Value> fields)
{
    return Record(QVector<Value>(fields));
}

RecordWriter& RecordWriter::Record(const QVector<Value>& fields)
{
    QString line;
    for (int i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += QLatin1Char(',');
        const Value& v = fields[i];
        if (const auto* s = std::get_if<QString>(&v))
            line += QLatin1Char('"') + SafeFieldText(*s) + QLatin1Char('"');
        else if (const auto* n = std::get_if<qint64>(&v))
            line += QString::number(*n);
        else
            line += FormatNumber(std::get<double>(v));
    }
    bytes_ += line.toLatin1();
    bytes_ += "\r\n";
    return *this;
}

void RecordWriter::WriteTo(const QString& path) const
{
    // Written beside and put in place whole: a full disk leaves the previous
    // file (or none), never a short or empty one.
    QSaveFile file(path);
    const auto fail = [&](const char* what) {
        const QString reason = file.errorString().isEmpty() ? QString::fromLatin1(what) : file.errorString();
        throw RecordError(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), reason).toStdString());
    };
    if (!file.open(QIODevice::WriteOnly))
        fail("file cannot be created");
    // The bytes wait in the file's buffer: a full disk shows at the flush,
    // which commit() would not report.
    if (file.write(bytes_) != bytes_.size() || !file.flush())
        fail("file cannot be written");
    if (!file.commit())
        fail("file cannot be written");
}

} // namespace bandora
