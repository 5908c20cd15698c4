// The shared quoted text form: the line parser, the byte-level line reader,
// the value stream and the number parser on any bytes.

#include "platform/QuotedText.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    // The two readers split lines alike and agree on which lines are damaged.
    const QStringList lines = zq::splitLines(content);
    zq::QuotedLineReader reader(content);
    QList<zq::QuotedValue> values;
    bool ok = true;
    qsizetype n = 0;
    while (reader.next(&values, &ok)) {
        if (n >= lines.size())
            std::abort();
        const auto parsed = zq::parseQuotedLine(lines[n]);
        if (parsed.has_value() != ok)
            std::abort();
        if (parsed && parsed->size() != values.size())
            std::abort();
        ++n;
        double d = 0;
        float f = 0;
        for (const auto& v : values) {
            zq::parseNumber(v, &d);
            zq::parseSingle(v, &f);
        }
    }

    zq::QuotedValueStream stream(content);
    zq::QuotedValue v;
    int guard = 0;
    while (stream.next(&v))
        if (++guard > 10 * 1024 * 1024)
            std::abort();

    // What the writer makes of a text reads back as the same text, less
    // the characters the form cannot hold.
    const QString text = QString::fromUtf8(content.left(200));
    QByteArray line;
    zq::appendQuotedText(line, text);
    const auto back = zq::parseQuotedLine(QString::fromUtf8(line));
    if (!back || back->size() != 1 || back->at(0).text != zq::stripUnsafe(text))
        std::abort();
    return 0;
}
