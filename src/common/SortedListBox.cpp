#include "common/SortedListBox.h"

namespace zq {

bool SortedListEntry::operator<(const QListWidgetItem& other) const
{
    return QString::compare(text(), other.text(), Qt::CaseInsensitive) < 0;
}

void makeSortedListBox(QListWidget& list)
{
    list.setSortingEnabled(true);
}

void addSortedEntry(QListWidget& list, const QString& text)
{
    list.addItem(new SortedListEntry(text));
}

void fillSortedListBox(QListWidget& list, const QStringList& entries)
{
    list.clear();
    for (const QString& e : entries)
        addSortedEntry(list, e);
}

} // namespace zq
