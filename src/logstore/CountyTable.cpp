#include "logstore/CountyTable.h"

#include "platform/Folders.h"
#include "logstore/StationSettings.h"
#include "platform/QuotedText.h"

#include <algorithm>

namespace zq {

CountyTable& CountyTable::instance()
{
    static CountyTable t;
    return t;
}

void CountyTable::clear()
{
    std::fill(CountyName.begin(), CountyName.end(), QString());
    std::fill(CountyAbbrev.begin(), CountyAbbrev.end(), QString());
    CountyCount = 0;
}

bool LoadCountyTable(QString* error)
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    CountyTable& t = CountyTable::instance();
    t.clear();

    auto content = readWholeFile(Folders::workingFile(QStringLiteral("county2.txt")), error);
    if (!content)
        return false;
    const QString home = StationSettings::instance().HomeStateCode;
    // Line by line from the bytes into one reused list.
    QuotedLineReader reader(*content);
    QList<QuotedValue> values;
    bool ok = true;
    while (reader.next(&values, &ok)) {
        if (!ok || values.size() != 2)
            return fail(QStringLiteral("county2.txt line %1 is not a county row").arg(reader.lineNumber()));
        // A value without quotes is trimmed of every kind of white space,
        // as in a line of text.
        for (QuotedValue& v : values)
            if (!v.quoted)
                v.text = v.text.trimmed();
        const QString& first = values[0].text;
        if (first.left(2) != home)
            continue;
        if (t.count() >= CountyTable::Capacity)
            return fail(QStringLiteral("county2.txt holds more than %1 counties of %2")
                            .arg(CountyTable::Capacity)
                            .arg(home));
        const int n = t.count() + 1;
        t.CountyName[static_cast<size_t>(n)] = first.mid(2);
        t.CountyAbbrev[static_cast<size_t>(n)] = values[1].text;
        t.CountyCount = static_cast<float>(n);
    }
    return true;
}

QString CountyNameFromAbbreviation(QString& text)
{
    text = text.toUpper();
    const CountyTable& t = CountyTable::instance();
    for (int i = 1; i <= t.count(); ++i)
        if (t.CountyAbbrev[static_cast<size_t>(i)] == text)
            return t.CountyName[static_cast<size_t>(i)];
    return QString();
}

void UpperKey(int& keyAscii)
{
    if (keyAscii >= 'a' && keyAscii <= 'z')
        keyAscii -= 32;
    else if (keyAscii == '"') // cannot be stored in the program's files
        keyAscii = 0;
}

void DigitKey(int& keyAscii)
{
    if (keyAscii == 8 || (keyAscii >= '0' && keyAscii <= '9'))
        return;
    keyAscii = 0;
}

} // namespace zq
