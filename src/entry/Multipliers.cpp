#include "entry/Multipliers.h"

#include "entry/EntryChecks.h"
#include "entry/TextCompare.h"
#include "logstore/ContactLog.h"
#include "logstore/CountyTable.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace zq {

namespace {

bool textLess(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

void sortList(QStringList& list)
{
    std::stable_sort(list.begin(), list.end(), textLess);
}

using TextSet = std::unordered_set<QString, TextKeyHash>;

std::unordered_map<QString, int, TextKeyHash> sectionRows(const std::vector<QString>& codes)
{
    std::unordered_map<QString, int, TextKeyHash> rows;
    const int n = std::min<int>(59, static_cast<int>(codes.size()) - 1);
    for (int i = n; i >= 1; --i) // the first of equal codes wins
        if (!codes[static_cast<size_t>(i)].isEmpty())
            rows[textKey(codes[static_cast<size_t>(i)])] = i;
    return rows;
}

} // namespace

int sortedInsertPosition(const QStringList& list, const QString& item)
{
    return static_cast<int>(std::upper_bound(list.begin(), list.end(), item, textLess) - list.begin());
}

int indexOfText(const QStringList& list, const QString& item)
{
    for (int i = 0; i < list.size(); ++i)
        if (sameText(list[i], item))
            return i;
    return -1;
}

void CountyLists::rebuild()
{
    const ContactLog& log = ContactLog::instance();
    worked.clear();
    TextSet seen;
    for (int i = 1; i <= log.ContactCount; ++i) {
        const QString& c = log[i].LogCounty;
        if (c.isEmpty())
            continue;
        if (seen.insert(textKey(c)).second)
            worked.append(c);
    }
    sortList(worked);

    const CountyTable& table = CountyTable::instance();
    QStringList all;
    const int n = std::min(table.count(), CountyTable::Capacity);
    for (int i = 1; i <= n; ++i)
        all.append(table.CountyName[static_cast<size_t>(i)]);
    sortList(all);
    // Each worked county takes the first equal entry off the to-go list.
    toGo.clear();
    for (const QString& name : std::as_const(all)) {
        auto it = seen.find(textKey(name));
        if (it != seen.end()) {
            seen.erase(it);
            continue;
        }
        toGo.append(name);
    }
}

CountyLists::Change CountyLists::addCounty(const QString& county)
{
    Change ch;
    if (county.isEmpty())
        return ch;
    if (indexOfText(worked, county) < 0) {
        ch.workedInsertedAt = sortedInsertPosition(worked, county);
        worked.insert(ch.workedInsertedAt, county);
    }
    ch.toGoRemovedAt = indexOfText(toGo, county);
    if (ch.toGoRemovedAt >= 0)
        toGo.removeAt(ch.toGoRemovedAt);
    return ch;
}

QString CountyLists::workedCountiesText(int count, bool inState)
{
    return (inState ? QStringLiteral("Cnty Wkd - ") : QStringLiteral("Counties Worked - "))
        + QString::number(count);
}

QString CountyLists::countiesToGoText(int count, bool inState)
{
    return (inState ? QStringLiteral("Cnty Rem - ") : QStringLiteral("Counties To Go - "))
        + QString::number(count);
}

int markStateWorked(MultiplierMatrix& m, const QString& spc, const std::vector<QString>& codes)
{
    const int row = sectionIndex(spc, codes);
    if (row == 0 || m.at(row, 1) != 0)
        return 0;
    m.at(row, 1) = 1;
    m.MultiplierCellCount += 1;
    return row;
}

void rebuildStateMatrix(MultiplierMatrix& m, const std::vector<QString>& codes)
{
    const auto rows = sectionRows(codes);
    const ContactLog& log = ContactLog::instance();
    for (int i = 1; i <= log.ContactCount; ++i) {
        const QString& spc = log[i].LogSpc;
        if (spc.size() != 2)
            continue;
        const auto it = rows.find(textKey(spc));
        if (it != rows.end())
            m.at(it->second, 1) = 1;
    }
}

bool rowWorked(const MultiplierMatrix& m, int row)
{
    for (int c = 1; c <= 7; ++c)
        if (m.cells[static_cast<size_t>(row)][static_cast<size_t>(c)] == 1)
            return true;
    return false;
}

int recountCells(MultiplierMatrix& m)
{
    int count = 0;
    for (int r = 1; r <= 99; ++r)
        if (rowWorked(m, r))
            ++count;
    m.MultiplierCellCount = count;
    return count;
}

QStringList rebuildDxList()
{
    const ContactLog& log = ContactLog::instance();
    QStringList list;
    TextSet seen;
    for (int i = 1; i <= log.ContactCount; ++i) {
        const QString& s = log[i].LogSpc;
        if (s.size() <= 2)
            continue;
        if (seen.insert(textKey(s)).second)
            list.append(s);
    }
    sortList(list);
    return list;
}

QString dxCaption(int entries)
{
    return QStringLiteral("DX - ") + QString::number(entries);
}

} // namespace zq
