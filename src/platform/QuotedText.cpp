#include "platform/QuotedText.h"

#include "platform/SafeFile.h"

#include <QFile>
#include <QStringDecoder>
#include <QVarLengthArray>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <cmath>

namespace zq {

std::optional<QList<QuotedValue>> parseQuotedLine(QStringView line)
{
    QList<QuotedValue> values;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (true) {
        while (i < n && (line[i] == u' ' || line[i] == u'\t'))
            ++i;
        QuotedValue v;
        if (i < n && line[i] == u'"') {
            qsizetype close = line.indexOf(u'"', i + 1);
            if (close < 0)
                return std::nullopt;
            v.text = line.mid(i + 1, close - i - 1).toString();
            v.quoted = true;
            i = close + 1;
            while (i < n && (line[i] == u' ' || line[i] == u'\t'))
                ++i;
            if (i < n && line[i] != u',')
                return std::nullopt; // text after the closing quote
        } else {
            qsizetype comma = line.indexOf(u',', i);
            qsizetype end = comma < 0 ? n : comma;
            v.text = line.mid(i, end - i).trimmed().toString();
            i = end;
        }
        values.append(v);
        if (i >= n)
            break;
        ++i; // the comma
    }
    return values;
}

bool parseNumber(const QuotedValue& v, double* out)
{
    const QString t = v.text.trimmed();
    if (t.isEmpty()) {
        if (v.quoted)
            return false;
        *out = 0;
        return true;
    }
    // Only an optional minus, digits and one point: no exponent, no words.
    bool digit = false;
    bool point = false;
    for (qsizetype i = 0; i < t.size(); ++i) {
        QChar c = t[i];
        if (c == u'-' && i == 0)
            continue;
        if (c == u'.' && !point) {
            point = true;
            continue;
        }
        if (c >= u'0' && c <= u'9') {
            digit = true;
            continue;
        }
        return false;
    }
    if (!digit)
        return false;
    // Only ASCII is left: narrowed on the stack, no allocation per number.
    QVarLengthArray<char, 64> latin(t.size());
    for (qsizetype i = 0; i < t.size(); ++i)
        latin[i] = static_cast<char>(t[i].unicode());
    double value = 0;
    auto res = std::from_chars(latin.data(), latin.data() + latin.size(), value);
    if (res.ec != std::errc() || res.ptr != latin.data() + latin.size() || !std::isfinite(value))
        return false;
    *out = value;
    return true;
}

bool parseWholeNumber(const QuotedValue& v, double lo, double hi, int* out)
{
    double d = 0;
    if (!parseNumber(v, &d))
        return false;
    d = std::nearbyint(d);
    if (!(d >= lo && d <= hi))
        return false;
    *out = static_cast<int>(d);
    return true;
}

bool parseSingle(const QuotedValue& v, float* out)
{
    double d = 0;
    if (!parseNumber(v, &d))
        return false;
    const float f = static_cast<float>(d);
    if (!std::isfinite(f))
        return false;
    *out = f;
    return true;
}

QByteArrayView withoutByteOrderMark(QByteArrayView content)
{
    return content.startsWith("\xEF\xBB\xBF") ? content.sliced(3) : content;
}

bool readsAsLatin1(QByteArrayView content)
{
    return !content.isValidUtf8();
}

namespace {

// UTF-8 without QString::fromUtf8's skipping of a byte-order mark at the
// start: past the file's own mark, U+FEFF is a character of a value.
QString utf8Keeping(QByteArrayView bytes)
{
    if (!bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

// The one rule for a line that is not a line after the last one: nothing
// but white space (QChar::isSpace: blanks, tabs, no-break spaces, ...).
bool isBlankText(QStringView text)
{
    for (QChar c : text)
        if (!c.isSpace())
            return false;
    return true;
}

} // namespace

QStringList splitLines(const QByteArray& content)
{
    const QByteArrayView bytes = withoutByteOrderMark(content);
    const QString text = readsAsLatin1(bytes) ? QString::fromLatin1(bytes) : utf8Keeping(bytes);
    QStringList lines = text.split(u'\n');
    for (QString& l : lines)
        if (l.endsWith(u'\r'))
            l.chop(1);
    while (!lines.isEmpty() && isBlankText(lines.last()))
        lines.removeLast();
    return lines;
}

std::optional<QByteArray> readWholeFile(const QString& path, QString* error, qint64 maxBytes)
{
    QFile f;
    // Unbuffered: the content is read straight into the result.
    if (!openRegularFile(f, path, error, QIODevice::Unbuffered))
        return std::nullopt;
    if (f.size() > maxBytes) {
        if (error)
            *error = QStringLiteral("the file holds %1 bytes, more than the %2 it can validly hold")
                         .arg(f.size())
                         .arg(maxBytes);
        return std::nullopt;
    }
    // Read what the file holds and at most one byte beyond the bound, so a
    // file that grew after the size check is refused too.  The buffer
    // follows the file's size, not the bound: a table of a few kilobytes
    // never costs an allocation of megabytes.
    QByteArray data;
    qint64 chunk = f.size() + 1;
    while (data.size() <= maxBytes) {
        const qsizetype at = data.size();
        const qint64 want = std::min<qint64>(chunk, maxBytes + 1 - at);
        data.resize(at + static_cast<qsizetype>(want));
        const qint64 got = f.read(data.data() + at, want);
        data.resize(at + static_cast<qsizetype>(std::max<qint64>(got, 0)));
        if (got <= 0 || f.atEnd())
            break;
        chunk = 64 * 1024; // grown past its size: on in pieces up to the bound
    }
    if (data.size() > maxBytes) {
        if (error)
            *error = QStringLiteral("the file holds more than the %1 bytes it can validly hold")
                         .arg(maxBytes);
        return std::nullopt;
    }
    if (f.error() != QFileDevice::NoError) {
        if (error)
            *error = f.errorString();
        return std::nullopt;
    }
    return data;
}

bool isWhiteSpaceByte(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

namespace {
bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}
// Index of the first `c` in data[from, to), or -1.
qsizetype findByte(const char* data, qsizetype from, qsizetype to, char c)
{
    if (from >= to)
        return -1;
    const void* p = memchr(data + from, c, size_t(to - from));
    return p ? static_cast<const char*>(p) - data : -1;
}
} // namespace

QuotedLineReader::QuotedLineReader(const QByteArray& content) : content_(content)
{
    pos_ = content.size() - withoutByteOrderMark(content).size();
    latin1_ = readsAsLatin1(QByteArrayView(content).sliced(pos_));
    end_ = endOfLastLine(content);
}

qsizetype endOfLastLine(const QByteArray& content)
{
    // Trailing lines that hold only white space are not lines, by the rule
    // splitLines keeps.
    const qsizetype from = content.size() - withoutByteOrderMark(content).size();
    const bool latin1 = readsAsLatin1(QByteArrayView(content).sliced(from));
    const char* data = content.constData();
    qsizetype end = content.size();
    while (end > from) {
        qsizetype start = end;
        while (start > from && data[start - 1] != '\n')
            --start;
        const QByteArrayView line(data + start, end - start);
        if (!isBlankText(latin1 ? QString::fromLatin1(line) : utf8Keeping(line)))
            break;
        end = start > from ? start - 1 : from;
    }
    return end;
}

void QuotedLineReader::decodeInto(QString& out, const char* b, qsizetype n) const
{
    if (n == 0) {
        out = QString();
        return;
    }
    // Latin-1, and UTF-8 of ASCII alone, are one character per byte:
    // written into the string the list held before, whose room is reused
    // unless a caller kept that string.
    if (latin1_ || std::all_of(b, b + n, [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        out.resize(n);
        QChar* d = out.data();
        for (qsizetype i = 0; i < n; ++i)
            d[i] = QChar(static_cast<unsigned char>(b[i]));
        return;
    }
    out = utf8Keeping(QByteArrayView(b, n));
}

bool QuotedLineReader::next(QList<QuotedValue>* values, bool* ok)
{
    // The list's values are overwritten in place and the rest cut off at
    // the end, so a line's values cost no allocation where the strings of
    // the line before had room.
    qsizetype taken = 0;
    auto slot = [&]() -> QuotedValue& {
        if (taken == values->size())
            values->emplace_back();
        return (*values)[taken];
    };
    auto finish = [&] { values->resize(taken); };
    *ok = true;
    fault_.clear();
    if (pos_ >= end_) {
        values->clear();
        return false;
    }
    const char* data = content_.constData();
    const qsizetype nl = findByte(data, pos_, content_.size(), '\n');
    qsizetype lineEnd = nl >= 0 ? nl : content_.size();
    const qsizetype next = nl >= 0 ? nl + 1 : content_.size();
    if (lineEnd > pos_ && data[lineEnd - 1] == '\r')
        --lineEnd;
    ++line_;
    qsizetype i = pos_;
    pos_ = next;
    while (true) {
        while (i < lineEnd && isBlank(data[i]))
            ++i;
        QuotedValue& v = slot();
        if (i < lineEnd && data[i] == '"') {
            const qsizetype close = findByte(data, i + 1, lineEnd, '"');
            if (close < 0) {
                *ok = false;
                fault_ = QStringLiteral("a quote is not closed");
                finish();
                return true;
            }
            decodeInto(v.text, data + i + 1, close - i - 1);
            v.quoted = true;
            i = close + 1;
            while (i < lineEnd && isBlank(data[i]))
                ++i;
            if (i < lineEnd && data[i] != ',') {
                *ok = false;
                fault_ = QStringLiteral("text follows the closing quote of value %1").arg(taken + 1);
                finish();
                return true;
            }
        } else {
            const qsizetype comma = findByte(data, i, lineEnd, ',');
            const qsizetype stop = comma >= 0 ? comma : lineEnd;
            qsizetype b = i, e = stop;
            while (b < e && isWhiteSpaceByte(data[b]))
                ++b;
            while (e > b && isWhiteSpaceByte(data[e - 1]))
                --e;
            decodeInto(v.text, data + b, e - b);
            v.quoted = false;
            i = stop;
        }
        ++taken;
        if (i >= lineEnd)
            break;
        ++i; // the comma
    }
    finish();
    return true;
}

QuotedValueStream::QuotedValueStream(const QByteArray& content) : lines_(splitLines(content)) {}

bool QuotedValueStream::next(QuotedValue* out)
{
    while (pending_.isEmpty()) {
        if (broken_ || line_ >= lines_.size())
            return false;
        auto parsed = parseQuotedLine(lines_[line_++]);
        if (!parsed) {
            broken_ = true;
            return false;
        }
        pending_ = *parsed;
    }
    *out = pending_.takeFirst();
    return true;
}

bool QuotedValueStream::nextText(QString* out)
{
    QuotedValue v;
    if (!next(&v))
        return false;
    *out = v.text;
    return true;
}

bool QuotedValueStream::nextNumber(double* out)
{
    QuotedValue v;
    return next(&v) && parseNumber(v, out);
}

bool QuotedValueStream::atEnd() const
{
    return pending_.isEmpty() && (broken_ || line_ >= lines_.size());
}

QString stripUnsafe(const QString& text)
{
    QString t = text;
    t.remove(u'"');
    t.remove(u'\r');
    t.remove(u'\n');
    return t;
}

void appendQuotedText(QByteArray& out, const QString& text)
{
    out += '"';
    bool safe = true;
    for (QChar c : text)
        if (c == u'"' || c == u'\r' || c == u'\n') {
            safe = false;
            break;
        }
    out += (safe ? text : stripUnsafe(text)).toUtf8();
    out += '"';
}

QString quotedText(const QString& text)
{
    return QLatin1Char('"') + stripUnsafe(text) + QLatin1Char('"');
}

namespace {
template <typename T>
QString shortestFixed(T value)
{
    if (!std::isfinite(value))
        return QStringLiteral("0");
    if (value == 0)
        return QStringLiteral("0"); // also for -0
    char buf[512];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    if (res.ec != std::errc())
        return QStringLiteral("0");
    return QString::fromLatin1(buf, res.ptr - buf);
}
} // namespace

QString bareNumber(double value)
{
    return shortestFixed(value);
}

QString bareNumber(float value)
{
    return shortestFixed(value);
}

QByteArray recordLine(const QStringList& values)
{
    return (values.join(QLatin1Char(',')) + QStringLiteral("\r\n")).toUtf8();
}

} // namespace zq
