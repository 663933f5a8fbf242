#pragma once

// The one record syntax of every text data file (config.dat, the project file
// set, plate files, calvalue.dat, subproj.dat):
//
//   - one record per line, lines ended by CR LF (a bare LF is accepted on reading);
//   - fields separated by commas; text fields in double quotes, with the commas
//     inside the quotes being part of the text; numbers bare, "." as decimal point;
//   - the first line is a single quoted header naming the fields in angle
//     brackets; readers take fields by position and ignore its content.
//
// The format has no escape for a double quote inside a text field, so the
// writer stores '"' as '\'' and line breaks as blanks: a name typed by the
// operator can never split a record or unbalance the quotes of a file.

#include <QByteArray>
#include <QString>
#include <QVector>

#include <stdexcept>
#include <variant>

namespace bandora {

// A field that is missing or does not hold what the reader asked for.
class RecordError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct RecordField {
    QString text;
    bool quoted = false;
};

// Parses numbers the way the files are written: optional blanks, an optional
// sign, digits with an optional "." and fraction (".5" and "5." included).
// No exponent, no thousands separator, nothing after the number but blanks.
bool ParseNumber(const QString& text, double& value);

// The numeric value of a text as the leading number in it: blanks, an optional
// sign, digits with an optional "." and fraction; 0 when the text does not
// start with a number ("7" -> 7, " 12ab" -> 12, "abc" -> 0, "" -> 0). Used
// where a file or the operator gives a number as text that is only compared.
double NumericValue(const QString& text);

// Plain decimal text of a double: no exponent, no trailing zeros, "." as the
// decimal point (3 -> "3", 2.5 -> "2.5", 0.001 -> "0.001").
QString FormatNumber(double value);

// Text made safe for a quoted field: '"' becomes '\'', CR and LF become blanks.
QString SafeFieldText(const QString& text);

// Reads a text data file as a stream of fields, line by line. The typed reads
// move across line ends as a free-field reader does; SkipLine() drops the rest
// of the current line (or the whole next line when at a line start).
class RecordReader {
public:
    // Files larger than this are refused: no data file of the instrument comes
    // near it, and a stray multi-gigabyte file must not exhaust memory.
    static constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;

    RecordReader() = default;
    explicit RecordReader(const QByteArray& content);

    // Opens and reads the whole file. Throws RecordError when the file is
    // missing, unreadable or too large.
    static RecordReader FromFile(const QString& path);

    bool AtEnd() const;
    int LineCount() const { return lines_.size(); }

    RecordField NextField();      // throws RecordError at the end
    // The fields from the current position to the end of the line (the whole
    // next line holding fields when at a line start); the reader then stands
    // at the start of the following line. Throws RecordError at the end.
    QVector<RecordField> ReadRecord();
    QString ReadText();           // any field, quotes stripped
    double ReadNumber();          // throws RecordError when not a number
    qint16 ReadInt16();           // rounded half to even; throws beyond 16 bits
    qint32 ReadInt32();           // rounded half to even; throws beyond 32 bits
    void SkipLine();              // throws RecordError when there is no line left

    // The typed reads applied to one field already taken, e.g. from ReadRecord().
    static double NumberOf(const RecordField& field);
    static qint16 Int16Of(const RecordField& field);

private:
    void SettleAtField(); // throws RecordError when the line ends are damaged
    QVector<QVector<RecordField>> lines_;
    bool damaged_ = false;
    int line_ = 0;
    int field_ = 0;
};

// Builds the bytes of a text data file.
class RecordWriter {
public:
    using Value = std::variant<QString, qint64, double>;

    RecordWriter& Header(const QString& text);
    RecordWriter& Record(std::initializer_list<Value> fields);
    RecordWriter& Record(const QVector<Value>& fields);

    const QByteArray& Bytes() const { return bytes_; }

    // Writes the bytes beside the file and puts them in its place whole.
    // Throws RecordError ("<file>: <reason>") when that cannot be done; the
    // previous file then stays as it was.
    void WriteTo(const QString& path) const;

private:
    QByteArray bytes_;
};

} // namespace bandora
