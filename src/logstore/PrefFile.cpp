#include "logstore/PrefFile.h"

#include "platform/Folders.h"
#include "logstore/StationSettings.h"
#include "platform/Prompt.h"
#include "platform/QuotedText.h"
#include "platform/SafeFile.h"

#include <QFileInfo>
#include <QStringList>

#include <cmath>
#include <limits>

namespace zq {

namespace {

const QString kPrefName = QStringLiteral("QSOpref.txt");

QString prefPath()
{
    return Folders::workingFile(kPrefName);
}

// Whole numbers stored in a narrower type are rounded to the nearest
// integer (a half to the even neighbour) and must fit the type.
template <typename Int>
bool toInteger(double v, Int* out)
{
    const double r = std::nearbyint(v);
    if (!(r >= static_cast<double>(std::numeric_limits<Int>::min())
          && r <= static_cast<double>(std::numeric_limits<Int>::max())))
        return false;
    *out = static_cast<Int>(r);
    return true;
}

class PrefReader {
public:
    explicit PrefReader(const QByteArray& content) : stream_(content) {}

    bool text(QString* out) { return stream_.nextText(out); }
    bool single(float* out)
    {
        QuotedValue v;
        return stream_.next(&v) && parseSingle(v, out);
    }
    bool byte(uint8_t* out)
    {
        double v = 0;
        return stream_.nextNumber(&v) && toInteger(v, out);
    }
    bool int32(int32_t* out)
    {
        double v = 0;
        return stream_.nextNumber(&v) && toInteger(v, out);
    }

private:
    QuotedValueStream stream_;
};

} // namespace

QByteArray formatPrefFile()
{
    const StationSettings& s = StationSettings::instance();
    const QStringList lines = {
        quotedText(s.OwnCall),
        quotedText(s.OwnSpc),
        quotedText(s.OwnCountry),
        quotedText(s.OwnArrlSection),
        quotedText(s.OwnName),
        quotedText(s.OwnCategory),
        quotedText(s.OwnCounty),
        quotedText(s.OwnCity),
        quotedText(s.CurrentMode),
        quotedText(s.CurrentBand),
        bareNumber(s.UtcOffsetHours),
        bareNumber(s.OwnLongitude),
        bareNumber(s.OwnLatitude),
        quotedText(s.OwnContinent),
        QString::number(s.FormSizePercent),
        QString::number(s.WorkedColor),
        QString::number(s.RemainingColor),
        bareNumber(s.AccumulatedOperatingSeconds),
        quotedText(s.HomeStateCode),
        QString::number(s.OutOfStateFlag),
        QString::number(s.RoverFlag),
        QString::number(s.VoiceNavigationLevel),
        quotedText(s.RigType),
        QString::number(s.TaskbarFlag),
        QString::number(s.ListPreviousFlag),
    };
    QByteArray out;
    for (const QString& l : lines)
        out += recordLine({l});
    return out;
}

PrefReadResult ReadPrefFile()
{
    const QString path = prefPath();
    if (!QFileInfo::exists(path))
        return PrefReadResult::Missing;
    auto content = readWholeFile(path, nullptr, kMaxSettingsFileBytes);
    if (!content)
        return PrefReadResult::Failed;

    // Each value is stored as soon as it is read, so a file that ends or
    // fails part-way leaves the values before that point taken.
    StationSettings& s = StationSettings::instance();
    PrefReader r(*content);
    const bool complete = r.text(&s.OwnCall) && r.text(&s.OwnSpc) && r.text(&s.OwnCountry)
        && r.text(&s.OwnArrlSection) && r.text(&s.OwnName) && r.text(&s.OwnCategory)
        && r.text(&s.OwnCounty) && r.text(&s.OwnCity) && r.text(&s.CurrentMode)
        && r.text(&s.CurrentBand) && r.single(&s.UtcOffsetHours) && r.single(&s.OwnLongitude)
        && r.single(&s.OwnLatitude) && r.text(&s.OwnContinent) && r.byte(&s.FormSizePercent)
        && r.int32(&s.WorkedColor) && r.int32(&s.RemainingColor)
        && r.single(&s.AccumulatedOperatingSeconds) && r.text(&s.HomeStateCode)
        && r.byte(&s.OutOfStateFlag) && r.byte(&s.RoverFlag) && r.byte(&s.VoiceNavigationLevel)
        && r.text(&s.RigType) && r.byte(&s.TaskbarFlag) && r.byte(&s.ListPreviousFlag);
    return complete ? PrefReadResult::Ok : PrefReadResult::Failed;
}

bool WritePrefFile()
{
    QString why;
    if (writeFileAtomically(prefPath(), formatPrefFile(), &why))
        return true;
    prompt().message(QStringLiteral("Unable to write %1: %2").arg(kPrefName, why),
                     QStringLiteral("File Error"), MsgButtons::Ok, MsgIcon::Critical);
    return false;
}

} // namespace zq
