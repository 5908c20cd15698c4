#include "logstore/PositionTables.h"

#include "platform/Folders.h"
#include "platform/QuotedText.h"

#include <QFileInfo>

#include <functional>

namespace zq {

CountryTable& CountryTable::instance()
{
    static CountryTable t;
    return t;
}

StateTable& StateTable::instance()
{
    static StateTable t;
    return t;
}

namespace {

const QString kCountryFile = QStringLiteral("arrlpre2.txt");
const QString kStateFile = QStringLiteral("states.txt");

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// What a table reader does after a row.
enum class RowStep { Next, Stop, Failed };

// Reads the rows of a table file: blank lines are passed over; every other
// line must hold `columns` quoted values, with numbers in the columns
// numberA and numberB, or the load fails naming that line.  takeRow gets
// the values and the two numbers; it asks for the next row, stops the
// reading, or fails (having set the error).  Lines are read one at a time
// from the file's bytes into one reused list, so the rows after a stop are
// never read and a line costs no more than its values.
TableLoad readPositionRows(
    const QString& path, const QString& fileName, qsizetype columns, qsizetype numberA,
    qsizetype numberB, QString* error,
    const std::function<RowStep(const QList<QuotedValue>&, float, float)>& takeRow)
{
    QString why;
    const auto content = readWholeFile(path, &why);
    if (!content) {
        setError(error, why);
        return TableLoad::Failed;
    }
    QuotedLineReader reader(*content);
    QList<QuotedValue> values;
    bool ok = true;
    while (reader.next(&values, &ok)) {
        // A text value without quotes is trimmed of every kind of white
        // space, as a line of text is; a line of nothing else is blank.
        for (QuotedValue& v : values)
            if (!v.quoted)
                v.text = v.text.trimmed();
        if (ok && values.size() == 1 && !values[0].quoted && values[0].text.isEmpty())
            continue;
        float a = 0, b = 0;
        if (!ok || values.size() != columns || !parseSingle(values.at(numberA), &a)
            || !parseSingle(values.at(numberB), &b)) {
            setError(error, QStringLiteral("%1: line %2 is damaged").arg(fileName).arg(reader.lineNumber()));
            return TableLoad::Failed;
        }
        switch (takeRow(values, a, b)) {
        case RowStep::Next: break;
        case RowStep::Stop: return TableLoad::Ok;
        case RowStep::Failed: return TableLoad::Failed;
        }
    }
    return TableLoad::Ok;
}

} // namespace

TableLoad LoadCountryTable(QString* error)
{
    const QString path = Folders::findDataFile(kCountryFile);
    if (path.isEmpty())
        return TableLoad::Missing;
    CountryTable& t = CountryTable::instance();
    return readPositionRows(
        path, kCountryFile, 8, 3, 4, error,
        [&](const QList<QuotedValue>& values, float lon, float lat) {
            if (t.CountryCount >= CountryTable::Capacity) {
                setError(error, QStringLiteral("%1: more than %2 rows")
                                    .arg(kCountryFile)
                                    .arg(CountryTable::Capacity));
                return RowStep::Failed;
            }
            const int i = ++t.CountryCount;
            t.CountryPrefix[i] = values.at(0).text;
            t.CountryName[i] = values.at(1).text;
            t.CountryContinent[i] = values.at(2).text;
            t.CountryLongitude[i] = lon;
            t.CountryLatitude[i] = lat;
            return RowStep::Next;
        });
}

TableLoad LoadStateTable(QString* error)
{
    const QString path = Folders::workingFile(kStateFile);
    if (!QFileInfo(path).isFile()) {
        setError(error, QStringLiteral("%1 not found").arg(kStateFile));
        return TableLoad::Missing;
    }
    StateTable& t = StateTable::instance();
    int row = 0;
    const TableLoad load = readPositionRows(
        path, kStateFile, 3, 1, 2, error,
        [&](const QList<QuotedValue>& values, float latitude, float longitude) {
            ++row;
            t.StateCode[row] = values.at(0).text;
            t.StateLatitude[row] = latitude;
            t.StateLongitude[row] = longitude;
            return row < StateFileRows ? RowStep::Next : RowStep::Stop;
        });
    if (load != TableLoad::Ok)
        return load;
    if (row < StateFileRows) {
        setError(error, QStringLiteral("%1: %2 rows, %3 expected").arg(kStateFile).arg(row).arg(StateFileRows));
        return TableLoad::Failed;
    }
    return TableLoad::Ok;
}

} // namespace zq
