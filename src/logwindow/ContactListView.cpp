#include "logwindow/ContactListView.h"

#include <QEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QItemSelectionModel>

namespace zq {

int ContactListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ContactListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

QVariant ContactListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return text(index.row(), index.column());
}

QVariant ContactListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= headers_.size())
        return {};
    if (role == Qt::DisplayRole)
        return headers_[section];
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(alignments_[static_cast<size_t>(section)]);
    return {};
}

Qt::ItemFlags ContactListModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void ContactListModel::setHeaders(const QStringList& headers)
{
    beginResetModel();
    headers_ = headers;
    alignments_.assign(static_cast<size_t>(headers.size()), Qt::AlignLeft | Qt::AlignVCenter);
    endResetModel();
}

void ContactListModel::setHeaderAlignment(int column, Qt::Alignment alignment)
{
    if (column < 0 || column >= headers_.size())
        return;
    alignments_[static_cast<size_t>(column)] = alignment;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

QString ContactListModel::headerText(int column) const
{
    return column >= 0 && column < headers_.size() ? headers_[column] : QString();
}

QString ContactListModel::text(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0)
        return {};
    const QStringList& cells = rows_[static_cast<size_t>(row)];
    return column < cells.size() ? cells[column] : QString();
}

std::vector<QStringList> ContactListModel::allRows() const
{
    return {rows_.begin(), rows_.end()};
}

void ContactListModel::setRows(std::vector<QStringList> rows)
{
    beginResetModel();
    rows_.assign(std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    endResetModel();
}

void ContactListModel::prependRow(QStringList cells)
{
    beginInsertRows({}, 0, 0);
    rows_.push_front(std::move(cells));
    endInsertRows();
}

void ContactListModel::appendRow(QStringList cells)
{
    const int at = rowCount();
    beginInsertRows({}, at, at);
    rows_.push_back(std::move(cells));
    endInsertRows();
}

void ContactListModel::removeLastRow()
{
    if (rows_.empty())
        return;
    const int last = rowCount() - 1;
    beginRemoveRows({}, last, last);
    rows_.pop_back();
    endRemoveRows();
}

void ContactListModel::clear()
{
    if (rows_.empty())
        return;
    beginResetModel();
    rows_.clear();
    endResetModel();
}

void ContactListModel::reorder(const std::vector<int>& order)
{
    if (order.size() != rows_.size())
        return;
    emit layoutAboutToBeChanged();
    std::deque<QStringList> sorted;
    std::vector<int> newRowOf(order.size());
    for (size_t k = 0; k < order.size(); ++k) {
        sorted.push_back(std::move(rows_[static_cast<size_t>(order[k])]));
        newRowOf[static_cast<size_t>(order[k])] = static_cast<int>(k);
    }
    rows_ = std::move(sorted);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    for (const QModelIndex& i : before)
        after << index(newRowOf[static_cast<size_t>(i.row())], i.column());
    changePersistentIndexList(before, after);
    emit layoutChanged();
}

// ---------------------------------------------------------------------------

ContactListView::ContactListView(QWidget* parent) : QTableView(parent), model_(this)
{
    setModel(&model_);
    setShowGrid(false);
    setWordWrap(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* h = horizontalHeader();
    h->setHighlightSections(false);
    h->setStretchLastSection(false);
    h->setMinimumSectionSize(0);
    h->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    h->setSectionResizeMode(QHeaderView::Interactive);
    fitRowHeight();
}

int ContactListView::selectedRow() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

QRect ContactListView::rowRect(int row)
{
    const QModelIndex i = model_.index(row, 0);
    scrollTo(i);
    return visualRect(i);
}

void ContactListView::changeEvent(QEvent* e)
{
    QTableView::changeEvent(e);
    if (e->type() == QEvent::FontChange)
        fitRowHeight();
}

void ContactListView::focusInEvent(QFocusEvent* e)
{
    QTableView::focusInEvent(e); // the focus stands on the top row at least
    const bool byKeyboard = e->reason() == Qt::TabFocusReason || e->reason() == Qt::BacktabFocusReason;
    if (byKeyboard && selectedRow() < 0 && currentIndex().isValid())
        selectRow(currentIndex().row());
}

void ContactListView::fitRowHeight()
{
    // One line of the list's font with the margins of a list item.
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
}

} // namespace zq
