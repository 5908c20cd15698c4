#include "spots/SpotIntake.h"

#include <algorithm>

namespace zq {

QString trimBlanks(QStringView text)
{
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && text[b] == u' ')
        ++b;
    while (e > b && text[e - 1] == u' ')
        --e;
    return text.mid(b, e - b).toString();
}

namespace {
// Characters `first` to `last` (1-based, inclusive) as far as the text goes.
QStringView columns(QStringView line, qsizetype first, qsizetype last)
{
    if (line.size() < first)
        return {};
    return line.mid(first - 1, std::min(last, line.size()) - first + 1);
}
} // namespace

DXSpotFields parseDXSpotLine(QStringView line)
{
    DXSpotFields f;
    f.frequency = trimBlanks(cleanSpotField(columns(line, 16, 24)));
    f.call = trimBlanks(cleanSpotField(columns(line, 27, 39)));
    f.record = trimBlanks(columns(line, 4, line.size()));
    return f;
}

bool isSpotLine(QStringView text)
{
    return text.size() >= 2 && text.left(2).compare(QLatin1String("DX"), Qt::CaseInsensitive) == 0;
}

namespace {
// C0, DEL, C1; CR and LF too unless `keepLineEnds`.
bool isUnclean(QChar c, bool keepLineEnds)
{
    return c.category() == QChar::Other_Control
           && !(keepLineEnds && (c == u'\r' || c == u'\n'));
}

QString cleaned(QStringView text, bool keepLineEnds)
{
    const auto unclean = [keepLineEnds](QChar c) { return isUnclean(c, keepLineEnds); };
    if (std::none_of(text.begin(), text.end(), unclean))
        return text.toString();
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == u'\t')
            out += u' ';
        else if (!unclean(c))
            out += c;
    }
    return out;
}
} // namespace

QString cleanLinkText(QStringView text)
{
    return cleaned(text, true);
}

QString cleanSpotField(QStringView text)
{
    return cleaned(text, false);
}

void SpotPane::append(QStringView t)
{
    text_ += t;
}

bool SpotPane::holdsRecent(QStringView line) const
{
    const qsizetype from = std::max<qsizetype>(text_.size() - DuplicateWindow, 0);
    return QStringView(text_).mid(from).indexOf(line, 0, Qt::CaseInsensitive) >= 0;
}

bool SpotPane::trim()
{
    if (text_.size() <= TrimAbove)
        return false;
    text_ = text_.right(TrimTo);
    return true;
}

void SpotStream::reset()
{
    buffer_ = QStringLiteral("\n");
    head_ = 0;
    discarding_ = false;
}

void SpotStream::add(QStringView received)
{
    if (head_ > 0) {
        buffer_.remove(0, head_);
        head_ = 0;
    }
    qsizetype pos = 0;
    while (pos < received.size()) {
        if (discarding_) {
            const qsizetype lf = received.indexOf(u'\n', pos);
            if (lf < 0)
                return;
            discarding_ = false;
            buffer_ += u'\n'; // the dropped line's end starts the next line
            pos = lf + 1;
            continue;
        }
        // The unfinished line is what follows the buffer's last LF.
        const qsizetype lastLf = buffer_.lastIndexOf(u'\n');
        const qsizetype open = lastLf < 0 ? buffer_.size() : buffer_.size() - lastLf - 1;
        const qsizetype lf = received.indexOf(u'\n', pos);
        const qsizetype piece = (lf < 0 ? received.size() : lf + 1) - pos;
        const qsizetype lineLength = open + (lf < 0 ? piece : piece - 1);
        if (lineLength > MaxLine) {
            // Drop the unfinished line, and its rest up to its LF.
            if (lastLf >= 0)
                buffer_.truncate(lastLf);
            else
                buffer_.clear();
            discarding_ = lf < 0;
            if (lf >= 0)
                buffer_ += u'\n';
            pos = lf < 0 ? received.size() : lf + 1;
            continue;
        }
        buffer_ += received.mid(pos, piece);
        pos += piece;
    }
}

bool SpotStream::nextLine(QString* line)
{
    // head_ marks the leading LF of the next line; consumed text is cut off
    // once per pass, not once per line.
    const qsizetype start = buffer_.indexOf(u'\n', head_);
    if (start < 0) {
        buffer_.remove(0, head_);
        head_ = 0;
        return false;
    }
    const qsizetype end = buffer_.indexOf(u'\n', start + 1);
    if (end < 0) {
        buffer_.remove(0, start); // text before the first LF is dropped
        head_ = 0;
        return false;
    }
    *line = buffer_.mid(start + 1, end - start);
    head_ = end;
    return true;
}

int SplitSpotLines(SpotStream& stream, SpotPane& pane, bool listDxOnly,
                   const std::function<void(const QString&, const QString&, const QString&)>& forward,
                   const std::function<void()>& paneChanged)
{
    int taken = 0;
    QString line;
    while (stream.nextLine(&line)) {
        ++taken;
        const QString shown = cleanLinkText(line);
        if (pane.holdsRecent(shown))
            continue;
        if (isSpotLine(line)) {
            pane.append(shown);
            pane.trim();
            if (paneChanged)
                paneChanged();
            const DXSpotFields f = parseDXSpotLine(line);
            if (forward)
                forward(f.frequency, f.call, line);
        } else if (!listDxOnly) {
            pane.append(shown);
            pane.trim();
            if (paneChanged)
                paneChanged();
        }
    }
    return taken;
}

} // namespace zq
