#pragma once
// For the spot link targets: what a link hands on or shows holds no control
// character but CR and LF (no C0, DEL or C1), whatever bytes arrived; the
// fields of a spot hold none at all, and each is what its columns of the
// line as received hold once cleaned, so no character moved.
// Header-only so each target stays one program of its own.

#include "spots/SpotStore.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdlib>

namespace zq::fuzz {

inline bool isControl(char16_t u)
{
    return u < 0x20 || (u >= 0x7F && u <= 0x9F);
}

inline void requireClean(QStringView text)
{
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (isControl(u) && u != u'\r' && u != u'\n')
            std::abort();
    }
}

inline void require(bool holds)
{
    if (!holds)
        std::abort();
}

// The characters at 1-based positions first..first+count-1 of `text` (as
// far as it goes), control characters dropped and a tab made a blank, then
// blanks trimmed when `trim`.
inline QString cutThenClean(QStringView text, qsizetype first, qsizetype count, bool trim = true)
{
    QString out;
    for (qsizetype i = first - 1; i < first - 1 + count && i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u == u'\t')
            out += u' ';
        else if (!isControl(u))
            out += text[i];
    }
    if (!trim)
        return out;
    qsizetype b = 0, e = out.size();
    while (b < e && out[b] == u' ')
        ++b;
    while (e > b && out[e - 1] == u' ')
        --e;
    return out.mid(b, e - b);
}

// A spot as a link hands it on: `line` as received (its text before the
// line end stands in `received`), and the frequency, the call and the spot
// list's cells each cut from it at their columns and then cleaned.
inline void requireSpotAsReceived(const QString& frequency, const QString& call,
                                  const QString& line, QStringView received)
{
    qsizetype bodyEnd = line.size();
    while (bodyEnd > 0 && (line[bodyEnd - 1] == u'\r' || line[bodyEnd - 1] == u'\n'))
        --bodyEnd;
    require(received.contains(QStringView(line).left(bodyEnd)));

    require(frequency == cutThenClean(line, 16, 9));
    require(call == cutThenClean(line, 27, 13));
    // The record: from the fourth character, blanks trimmed, up to its
    // first line end.
    QStringView record = QStringView(line).mid(std::min<qsizetype>(3, line.size()));
    while (!record.isEmpty() && record.front() == u' ')
        record = record.mid(1);
    while (!record.isEmpty() && record.back() == u' ')
        record.chop(1);
    for (qsizetype i = 0; i < record.size(); ++i)
        if (record[i] == u'\r' || record[i] == u'\n') {
            record = record.left(i);
            break;
        }
    const QStringList cells = spotListCells(call, frequency, QString(), record.toString());
    require(cells.value(4) == cutThenClean(record, 1, 11) + QStringLiteral("  ")
                                  + cutThenClean(record, 35, 25));
    require(cells.value(5) == cutThenClean(record, 62, 5));
    require(cells.value(6) == cutThenClean(record, 68, 4, false));
    require(cells.value(7) == cutThenClean(record, 73, 4));
    for (const QString& field : cells)
        for (QChar c : field)
            require(!isControl(c.unicode()));
}

} // namespace zq::fuzz
