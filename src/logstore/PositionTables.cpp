#include "logstore/PositionTables.h"

#include "common/Folders.h"
#include "platform/Paths.h"
#include "platform/QuotedText.h"

#include <QFileInfo>

#include <cmath>

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

bool toSingle(const QuotedValue& v, float* out)
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

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

QString countryFilePath()
{
    const Folders& f = Folders::instance();
    for (const QString& folder : {f.SharedDirectory, f.UserDirectory, f.WorkingDirectory}) {
        if (!folder.isEmpty() && fileExistsIn(folder, kCountryFile))
            return fileIn(folder, kCountryFile);
    }
    return QString();
}

} // namespace

TableLoad LoadCountryTable(QString* error)
{
    const QString path = countryFilePath();
    if (path.isEmpty())
        return TableLoad::Missing;
    QString why;
    const auto content = readWholeFile(path, &why);
    if (!content) {
        setError(error, why);
        return TableLoad::Failed;
    }

    CountryTable& t = CountryTable::instance();
    const QStringList lines = splitLines(*content);
    for (int n = 0; n < lines.size(); ++n) {
        if (lines[n].trimmed().isEmpty())
            continue;
        const auto values = parseQuotedLine(lines[n]);
        float lon = 0, lat = 0;
        if (!values || values->size() != 8 || !toSingle(values->at(3), &lon)
            || !toSingle(values->at(4), &lat)) {
            setError(error, QStringLiteral("%1: line %2 is damaged").arg(kCountryFile).arg(n + 1));
            return TableLoad::Failed;
        }
        if (t.CountryCount >= CountryTable::Capacity) {
            setError(error, QStringLiteral("%1: more than %2 rows")
                                .arg(kCountryFile)
                                .arg(CountryTable::Capacity));
            return TableLoad::Failed;
        }
        const int i = ++t.CountryCount;
        t.CountryPrefix[i] = values->at(0).text;
        t.CountryName[i] = values->at(1).text;
        t.CountryContinent[i] = values->at(2).text;
        t.CountryLongitude[i] = lon;
        t.CountryLatitude[i] = lat;
    }
    return TableLoad::Ok;
}

TableLoad LoadStateTable(QString* error)
{
    const QString path = Folders::workingFile(kStateFile);
    if (!QFileInfo(path).isFile()) {
        setError(error, QStringLiteral("%1 not found").arg(kStateFile));
        return TableLoad::Missing;
    }
    QString why;
    const auto content = readWholeFile(path, &why);
    if (!content) {
        setError(error, why);
        return TableLoad::Failed;
    }

    StateTable& t = StateTable::instance();
    const QStringList lines = splitLines(*content);
    int row = 0;
    for (int n = 0; n < lines.size() && row < StateFileRows; ++n) {
        if (lines[n].trimmed().isEmpty())
            continue;
        const auto values = parseQuotedLine(lines[n]);
        float latitude = 0, longitude = 0;
        if (!values || values->size() != 3 || !toSingle(values->at(1), &latitude)
            || !toSingle(values->at(2), &longitude)) {
            setError(error, QStringLiteral("%1: line %2 is damaged").arg(kStateFile).arg(n + 1));
            return TableLoad::Failed;
        }
        ++row;
        t.StateCode[row] = values->at(0).text;
        t.StateLatitude[row] = latitude;
        t.StateLongitude[row] = longitude;
    }
    if (row < StateFileRows) {
        setError(error, QStringLiteral("%1: %2 rows, %3 expected").arg(kStateFile).arg(row).arg(StateFileRows));
        return TableLoad::Failed;
    }
    return TableLoad::Ok;
}

} // namespace zq
