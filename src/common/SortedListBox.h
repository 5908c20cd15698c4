#pragma once
// Sorted list boxes: every entry stands in alphabetical order, ignoring
// case, whatever the order in which the entries were added.  Equal entries
// may stand more than once.

#include <QListWidget>
#include <QString>
#include <QStringList>

namespace zq {

// A list box entry that sorts alphabetically without regard to case.
class SortedListEntry final : public QListWidgetItem {
public:
    explicit SortedListEntry(const QString& text) : QListWidgetItem(text) {}
    bool operator<(const QListWidgetItem& other) const override;
};

// Makes the list box keep its entries sorted.
void makeSortedListBox(QListWidget& list);

// Adds an entry at its place in the sorted list box.
void addSortedEntry(QListWidget& list, const QString& text);

// Empties the sorted list box and fills it with the entries.
void fillSortedListBox(QListWidget& list, const QStringList& entries);

} // namespace zq
