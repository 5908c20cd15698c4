#pragma once
// The home state's counties with their abbreviations, in the county table's
// order.  A click on a county writes its full name into the county box of
// the active log window and hides the list; the log window unloads it.

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

private:
    void Form_Load() override;
};

} // namespace zq
