#pragma once
// The log window's contact list: a report-style list of text rows, newest
// on top. Its rows live in its own model, a double-ended queue of cell
// texts, and the view lays out rows of one fixed height, so adding the
// newest row on top (and dropping the oldest) costs the same whatever the
// number of rows listed.

#include <QAbstractTableModel>
#include <QStringList>
#include <QTableView>
#include <deque>
#include <vector>

namespace zq {

class ContactListModel final : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The columns with their header texts, all left-aligned.
    void setHeaders(const QStringList& headers);
    void setHeaderAlignment(int column, Qt::Alignment alignment);
    QString headerText(int column) const;

    // The cell's text; empty past the row's last cell or the last row.
    QString text(int row, int column) const;
    // Every row's cells, top row first.
    std::vector<QStringList> allRows() const;

    void setRows(std::vector<QStringList> rows);
    void prependRow(QStringList cells);
    void appendRow(QStringList cells);
    void removeLastRow();
    void clear();
    // Puts the rows in the order given (order[k] is the row that comes
    // k-th); a selected row stays selected.
    void reorder(const std::vector<int>& order);

private:
    QStringList headers_;
    std::vector<Qt::Alignment> alignments_;
    std::deque<QStringList> rows_;
};

class ContactListView final : public QTableView {
public:
    explicit ContactListView(QWidget* parent = nullptr);

    ContactListModel& rows() { return model_; }
    const ContactListModel& rows() const { return model_; }

    int rowCount() const { return model_.rowCount(); }
    int columnCount() const { return model_.columnCount(); }
    QString text(int row, int column) const { return model_.text(row, column); }
    QHeaderView* header() const { return horizontalHeader(); }
    // The selected row, or -1.
    int selectedRow() const;
    // Where the row is shown, in viewport coordinates (after scrolling it
    // into view).
    QRect rowRect(int row);

protected:
    void changeEvent(QEvent* e) override;
    // Reached with Tab or Shift+Tab while no row is chosen, the list chooses
    // the row its focus stands on, so the keys act on the row they show.
    void focusInEvent(QFocusEvent* e) override;

private:
    void fitRowHeight();

    ContactListModel model_;
};

} // namespace zq
