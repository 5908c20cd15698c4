#pragma once
// The quoted, comma-separated text form of the program's files: texts in
// double quotes, numbers bare with "." as decimal separator, lines ended by
// CR LF.  The reader takes CR LF or LF line ends.  A double quote, CR or LF
// cannot be held in a quoted value, so the writer strips them.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace zq {

// Size bounds of the files read whole, each far above the largest content
// the file can validly hold: the program refuses a larger file before
// reading it.  Tables and settings files hold at most a few thousand short
// rows; other programs' shared settings are of the same order.
inline constexpr qint64 kMaxTableFileBytes = 4 * 1024 * 1024;
inline constexpr qint64 kMaxSettingsFileBytes = 1024 * 1024;

struct QuotedValue {
    QString text;
    bool quoted = false;
};

// Splits one line (without its line end) into values.  A quoted value runs
// to its closing quote, which only blanks may follow before the next comma
// or the line end; an unquoted value runs to the next comma with
// surrounding blanks removed.  An empty line gives one empty value.
// nullopt when a quote is not closed or text follows a closing quote.
std::optional<QList<QuotedValue>> parseQuotedLine(QStringView line);

// Parses a value as a decimal number ("-12.25", ".5", "6", "5."); an empty
// unquoted value reads as 0.  False for anything else.
bool parseNumber(const QuotedValue& v, double* out);
// parseNumber narrowed to single precision; false also when the number does
// not fit a single-precision value.
bool parseSingle(const QuotedValue& v, float* out);
// parseNumber rounded to a whole number (a half to the even neighbour) that
// must lie in lo..hi.
bool parseWholeNumber(const QuotedValue& v, double lo, double hi, int* out);

// The lines of a file's content: CR LF or LF ends, trailing empty lines
// dropped, a leading UTF-8 byte-order mark skipped.  Texts are decoded as
// UTF-8, or as Latin-1 when the content is not valid UTF-8.
QStringList splitLines(const QByteArray& content);

// True when the content is not valid UTF-8 and is to be read as Latin-1.
bool readsAsLatin1(QByteArrayView content);
// The content without a leading UTF-8 byte-order mark.
QByteArrayView withoutByteOrderMark(QByteArrayView content);

// Reads a file whole; nullopt (with the reason) when it cannot be read, is
// not a regular file (refused before anything could wait on it,
// openRegularFile) or is larger than maxBytes (checked before anything is
// read).
std::optional<QByteArray> readWholeFile(const QString& path, QString* error = nullptr,
                                        qint64 maxBytes = kMaxTableFileBytes);

// Where the content's last line that is not blank ends (before its line
// end): trailing lines of nothing but white space (QChar::isSpace, in the
// content's encoding) are not lines for any reader.  After a leading
// byte-order mark; 0 when there is no such line.
qsizetype endOfLastLine(const QByteArray& content);

// The bytes QuotedLineReader takes for white space: blank, tab, CR, LF, VT
// and FF.  They are trimmed from unquoted values, and passed over after
// the last line.
bool isWhiteSpaceByte(char c);

// Reads a file's content line by line straight from its bytes, parsing each
// line by the rules of parseQuotedLine into a reused list.  It decodes only
// the values, so large files (the log) load without a copy per line.
class QuotedLineReader {
public:
    explicit QuotedLineReader(const QByteArray& content);
    // The next line's values; false at the end (trailing empty lines are
    // not lines).  *ok is false when the line has a quote that is not
    // closed or text after a closing quote; fault() then says which.
    bool next(QList<QuotedValue>* values, bool* ok);
    int lineNumber() const { return line_; } // 1-based number of the last line read
    QString fault() const { return fault_; }

private:
    void decodeInto(QString& out, const char* b, qsizetype n) const;

    const QByteArray& content_;
    qsizetype pos_ = 0;
    qsizetype end_ = 0; // end of the last non-empty line
    int line_ = 0;
    bool latin1_ = false;
    QString fault_;
};

// Values of a file read one after another across lines, as the settings
// files are read (one value per line, or several per line).
class QuotedValueStream {
public:
    explicit QuotedValueStream(const QByteArray& content);
    // False at the end of the data or at a malformed line.
    bool next(QuotedValue* out);
    bool nextText(QString* out);
    bool nextNumber(double* out);
    bool atEnd() const;

private:
    QStringList lines_;
    int line_ = 0;
    QList<QuotedValue> pending_;
    bool broken_ = false;
};

// Writing.
QString quotedText(const QString& text); // "text" with '"', CR and LF stripped
QString bareNumber(double value);        // shortest plain decimal: 0, 5.5, -12.25
QString bareNumber(float value);
QString stripUnsafe(const QString& text); // drops '"', CR and LF
// Appends quotedText(text) to out as UTF-8.
void appendQuotedText(QByteArray& out, const QString& text);
// Values (already quoted or bare) joined by "," and ended by CR LF, as UTF-8.
QByteArray recordLine(const QStringList& values);

} // namespace zq
