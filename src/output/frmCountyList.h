#pragma once
// The home state's counties with their abbreviations, in the county table's
// order.  A click on a county writes its full name into the county box of
// the active log window and hides the list; the log window unloads it.
// Enter or Space on the county the focus stands on does what its click
// does.

#include "common/WindowRegistry.h"

#include <QDialog>

class QTreeWidget;
class QTreeWidgetItem;

namespace zq {

class frmCountyList : public QDialog, public LoadStep {
    Q_OBJECT
public:
    frmCountyList();

    QTreeWidget* ListView1 = nullptr;

    void ListView1_Click(QTreeWidgetItem* item);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void Form_Load() override;
};

} // namespace zq
