#include "entry/DupeChecks.h"

#include "entry/ContactIndex.h"
#include "entry/LogTimes.h"
#include "entry/TextCompare.h"
#include "logstore/ContactLog.h"

namespace zq {

namespace {

// A contact number in a message: a blank, then the number.
QString recordNumber(int contact)
{
    return QLatin1Char(' ') + QString::number(contact);
}

bool onBandAndMode(const ContactRecord& r, const DupeStation& s)
{
    return sameText(r.LogBand, s.band) && sameText(r.LogMode, s.mode);
}

// Fills the empty exchange fields of the row from an earlier contact of the
// same call.  In-state, the state/province/country comes first so that the
// county is taken only for a home-state exchange.
void fillFrom(const ContactRecord& r, const DupeStation& s, DupeEntry& e, bool& countyFilled,
              bool& spcFilled)
{
    if (s.inState) {
        if (e.spc.isEmpty() && !r.LogSpc.isEmpty()) {
            e.spc = r.LogSpc;
            spcFilled = true;
        }
        if (e.county.isEmpty() && !r.LogCounty.isEmpty() && sameText(e.spc, s.homeState)) {
            e.county = r.LogCounty;
            countyFilled = true;
        }
    } else if (e.county.isEmpty() && !r.LogCounty.isEmpty()) {
        e.county = r.LogCounty;
        countyFilled = true;
    }
}

} // namespace

QString finalDupeMessage(int contact, bool inState)
{
    const ContactRecord& r = ContactLog::instance()[contact];
    if (inState)
        return QStringLiteral("Duplicate ") + r.LogCall + QLatin1Char(' ') + monthDayText(r.LogDate)
            + QLatin1Char(' ') + r.LogTime + QStringLiteral("  Rec# ") + recordNumber(contact);
    return QStringLiteral("Duplicate ") + r.LogCall + QStringLiteral("  ") + r.LogDate
        + QStringLiteral("  ") + r.LogTime + QStringLiteral("   Rec# ") + recordNumber(contact);
}

QString dupCheck2Message(int contact, bool inState)
{
    const ContactRecord& r = ContactLog::instance()[contact];
    if (inState)
        return QStringLiteral("Dupe if not rover!  ") + r.LogCall + QStringLiteral("  ")
            + monthDayText(r.LogDate) + QStringLiteral("  ") + r.LogTime + QStringLiteral("   Rec# ")
            + recordNumber(contact);
    return QStringLiteral("Duplicate Unless Rover!  ") + r.LogCall + QStringLiteral("  ") + r.LogDate
        + QStringLiteral("  ") + r.LogTime + QStringLiteral("   Rec# ") + recordNumber(contact);
}

FinalDupeResult findFinalDuplicate(const DupeEntry& entry, const DupeStation& station)
{
    FinalDupeResult res;
    res.entry = entry;
    const ContactLog& log = ContactLog::instance();
    for (int i : ContactIndex::instance().contactsWithCall(entry.call)) {
        const ContactRecord& r = log[i];
        fillFrom(r, station, res.entry, res.countyFilled, res.spcFilled);
        if (onBandAndMode(r, station) && sameText(r.LogCounty, res.entry.county)
            && (!station.inState || sameText(r.LogCountySent, station.ownCounty))) {
            res.duplicateOf = i;
            res.message = finalDupeMessage(i, station.inState);
            break;
        }
    }
    return res;
}

DupCheck2Result dupCheck2(const DupeEntry& entry, const DupeStation& station, bool listPrevious)
{
    DupCheck2Result res;
    res.entry = entry;
    const ContactLog& log = ContactLog::instance();
    // Copied: the final check below queries the index again.
    const std::vector<int> matches = ContactIndex::instance().contactsWithCall(entry.call);
    for (int i : matches) {
        const ContactRecord& r = log[i];
        if (listPrevious)
            res.listedContacts.push_back(i);
        fillFrom(r, station, res.entry, res.countyFilled, res.spcFilled);
        const bool sameSlot = onBandAndMode(r, station)
            && (!station.inState || sameText(r.LogCountySent, station.ownCounty));
        if (station.inState) {
            if (sameSlot && !sameText(r.LogSpc, station.homeState)) {
                // A station from outside the home state has no county to
                // tell two contacts apart: check it as a duplicate now.
                res.finalCheck = findFinalDuplicate(res.entry, station);
                res.finalCheckRan = true;
                res.entry = res.finalCheck.entry;
                res.countyFilled = res.countyFilled || res.finalCheck.countyFilled;
                res.spcFilled = res.spcFilled || res.finalCheck.spcFilled;
                if (res.finalCheck.duplicateOf != 0)
                    break;
            }
        }
        if (sameSlot) {
            res.message = dupCheck2Message(i, station.inState);
            ++res.beeps;
            if (!listPrevious)
                break;
        }
    }
    return res;
}

QString possibleDupeList(const QString& text, const DupeStation& station)
{
    ContactIndex& index = ContactIndex::instance();
    const ContactLog& log = ContactLog::instance();
    const std::vector<int>& candidates = index.contactsOnBandMode(station.band, station.mode);
    const QString prefix = textKey(text);
    const int ownCounty = station.inState ? index.textId(station.ownCounty) : -1;
    QString list;
    for (int i : candidates) {
        if (station.inState && index.countySentId(i) != ownCounty)
            continue;
        if (!index.foldedCall(i).startsWith(prefix))
            continue;
        list.prepend(QLatin1Char(' '));
        list.prepend(log[i].LogCall);
        if (list.size() > 100)
            break;
    }
    return list;
}

PossibleDupesResult possibleDupes(const QString& callText, int key, const DupeStation& station,
                                  bool displayOn, bool loggedOn)
{
    PossibleDupesResult res;
    const bool callKey = key >= 46 && key <= 90;
    const QString text = callText + QChar(key);
    if (displayOn && callKey) {
        res.list = possibleDupeList(text, station);
        res.listColoured = !res.list.isEmpty();
    }
    if (callText.size() > 2 && !res.list.isEmpty()) {
        res.setDialog = true;
        res.dialog = QStringLiteral("Possible Duplicate!");
    } else if (loggedOn) {
        res.setDialog = true;
        res.dialog = QStringLiteral(" ");
    }
    if (text.size() == 3 && callKey) {
        auto callDigit = [](QChar c) { return c.unicode() >= 47 && c.unicode() <= 57; };
        res.setDialog = true;
        if (callDigit(text.at(1)) || callDigit(text.at(2))) {
            res.dialog = QStringLiteral(" ");
        } else {
            res.beep = true;
            res.dialog = QStringLiteral("The second or third character is not numeric!");
        }
    }
    return res;
}

} // namespace zq
