#include "platform/QuotedText.h"

#include <QFile>
#include <QStringDecoder>

#include <charconv>
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
            qsizetype comma = line.indexOf(u',', i);
            i = comma < 0 ? n : comma;
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
    const QByteArray latin = t.toLatin1();
    double value = 0;
    auto res = std::from_chars(latin.constData(), latin.constData() + latin.size(), value);
    if (res.ec != std::errc() || res.ptr != latin.constData() + latin.size() || !std::isfinite(value))
        return false;
    *out = value;
    return true;
}

QStringList splitLines(const QByteArray& content)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(content);
    if (utf8.hasError())
        text = QString::fromLatin1(content);
    QStringList lines = text.split(u'\n');
    for (QString& l : lines)
        if (l.endsWith(u'\r'))
            l.chop(1);
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    return lines;
}

std::optional<QByteArray> readWholeFile(const QString& path, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = f.errorString();
        return std::nullopt;
    }
    QByteArray data = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        if (error)
            *error = f.errorString();
        return std::nullopt;
    }
    return data;
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
