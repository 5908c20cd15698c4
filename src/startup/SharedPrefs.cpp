#include "startup/SharedPrefs.h"

#include "platform/Prompt.h"
#include "platform/QuotedText.h"
#include "platform/SafeFile.h"

#include <QFileInfo>

namespace zq {

namespace {

const QString LineEnd = QStringLiteral("\r\n");

QString declarationLine()
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>");
}

// Index of the end of the line that holds `from` (its CR or LF), or the end
// of the text.
qsizetype endOfLine(const QString& text, qsizetype from)
{
    for (qsizetype i = from; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\r') || text[i] == QLatin1Char('\n'))
            return i;
    }
    return text.size();
}

QString escapedXmlText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == u'&')
            out += QStringLiteral("&amp;");
        else if (c == u'<')
            out += QStringLiteral("&lt;");
        else if (c == u'>')
            out += QStringLiteral("&gt;");
        else
            out += c;
    }
    return out;
}

bool fitsLatin1(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() > 0xFF)
            return false;
    return true;
}

} // namespace

SharedPrefs& SharedPrefs::instance()
{
    static SharedPrefs s;
    return s;
}

void LoadSharedPrefs(const QString& path)
{
    SharedPrefs& s = SharedPrefs::instance();
    s.SharedPrefsPath = path;
    s.SharedPrefsText = declarationLine();
    s.Latin1File = false;
    if (!QFileInfo(path).isFile())
        return;
    const std::optional<QByteArray> bytes = readWholeFile(path, nullptr, kMaxSettingsFileBytes);
    if (!bytes || bytes->size() < 2)
        return; // unreadable, oversized or too short to hold anything: start afresh
    s.Latin1File = readsAsLatin1(*bytes);
    QString text = s.Latin1File ? QString::fromLatin1(*bytes) : QString::fromUtf8(*bytes);
    if (text.endsWith(LineEnd))
        text.chop(2);
    else if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    if (text.isEmpty())
        return; // nothing worth keeping, not even the declaration
    s.SharedPrefsText = text;
}

bool SetSharedPref(QString& key, const QString& plainValue, uint8_t saveFlag)
{
    SharedPrefs& s = SharedPrefs::instance();
    key = key.toUpper();
    const QString open = QLatin1Char('<') + key + QLatin1Char('>');
    const QString close = QStringLiteral("</") + key + QLatin1Char('>');
    QString& text = s.SharedPrefsText;

    const qsizetype p = text.indexOf(open, 0, Qt::CaseSensitive);
    const QString value = escapedXmlText(plainValue);
    if (p >= 0) {
        const qsizetype openEnd = p + open.size();
        const qsizetype q = text.indexOf(close, openEnd, Qt::CaseSensitive);
        if (q >= 0) {
            text = text.left(openEnd) + value + text.mid(q);
        } else {
            // A damaged element without its closing tag: the rest of its
            // line becomes the whole element.
            const qsizetype eol = endOfLine(text, openEnd);
            text = text.left(openEnd) + value + close + text.mid(eol);
        }
    } else {
        text += LineEnd + open + value + close;
    }

    if (saveFlag == 1)
        return SaveSharedPrefs(s.SharedPrefsPath);
    return true;
}

bool SaveSharedPrefs(const QString& path)
{
    SharedPrefs& s = SharedPrefs::instance();
    s.SharedPrefsPath = path;
    QString reason;
    if (path.isEmpty())
        reason = QStringLiteral("No file name");
    else {
        const QString text = s.SharedPrefsText + LineEnd;
        const QByteArray bytes =
            s.Latin1File && fitsLatin1(text) ? text.toLatin1() : text.toUtf8();
        if (writeFileAtomically(path, bytes, &reason))
            return true;
    }
    prompt().message(reason + QStringLiteral("  ") + path, QStringLiteral("File Error"),
                     MsgButtons::Ok, MsgIcon::Warning);
    return false;
}

} // namespace zq
