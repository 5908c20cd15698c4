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
    if (!QFileInfo(path).isFile())
        return;
    const std::optional<QByteArray> bytes = readWholeFile(path);
    if (!bytes || bytes->size() < 2)
        return; // unreadable or too short to hold anything: start afresh
    QString text = QString::fromUtf8(*bytes);
    if (text.endsWith(LineEnd))
        text.chop(2);
    else if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    if (text.isEmpty())
        return; // nothing worth keeping, not even the declaration
    s.SharedPrefsText = text;
}

bool SetSharedPref(QString& key, const QString& value, uint8_t saveFlag)
{
    SharedPrefs& s = SharedPrefs::instance();
    key = key.toUpper();
    const QString open = QLatin1Char('<') + key + QLatin1Char('>');
    const QString close = QStringLiteral("</") + key + QLatin1Char('>');
    QString& text = s.SharedPrefsText;

    const qsizetype p = text.indexOf(open, 0, Qt::CaseSensitive);
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
    else if (writeFileAtomically(path, (s.SharedPrefsText + LineEnd).toUtf8(), &reason))
        return true;
    prompt().message(reason + QStringLiteral("  ") + path, QStringLiteral("File Error"),
                     MsgButtons::Ok, MsgIcon::Warning);
    return false;
}

} // namespace zq
