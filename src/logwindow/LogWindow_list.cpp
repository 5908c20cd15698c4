// The contact list's commands: choosing a row to edit or delete, the
// list-mode button, the column sort and the copy to the clipboard.

#include "logwindow/LogWindow.h"

#include "common/EntryBox.h"
#include "common/KeyCodes.h"
#include "common/ModalShow.h"
#include "common/ProgramEnd.h"
#include "common/WindowRegistry.h"
#include "entry/EntryState.h"
#include "logstore/LogFileStore.h"
#include "logstore/ArchiveRestore.h"
#include "output/ZQEditInfrm.h"
#include "output/ZQEditOut.h"
#include "platform/Prompt.h"

#include <QClipboard>
#include <QEvent>
#include <QKeyEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPushButton>

namespace zq {

namespace {

bool leavesByTab(const QKeyEvent& e)
{
    return (e.key() == Qt::Key_Tab || e.key() == Qt::Key_Backtab)
        && !(e.modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

// Mouse and focus events of the list, handed to the window's handlers.
class ContactListEvents final : public QObject {
public:
    ContactListEvents(QAbstractItemView& list, std::function<void()> click,
                      std::function<void(int button)> mouseUp, std::function<void()> lostFocus)
        : QObject(&list), list_(&list), viewport_(list.viewport()), click_(std::move(click)),
          mouseUp_(std::move(mouseUp)), lostFocus_(std::move(lostFocus))
    {
        list.installEventFilter(this);
        viewport_->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (watched == list_ && e->type() == QEvent::FocusOut) {
            lostFocus_();
        } else if (watched == list_ && e->type() == QEvent::KeyPress && leavesByTab(*static_cast<QKeyEvent*>(e))) {
            // Leaving shows the buttons that act on the chosen row; they
            // stand before the next stop is looked for, so Tab reaches them.
            lostFocus_();
        } else if (watched == viewport_ && e->type() == QEvent::MouseButtonRelease) {
            const auto* m = static_cast<QMouseEvent*>(e);
            if (m->button() == Qt::LeftButton)
                click_();
            mouseUp_(mouseButtonCode(m->button()));
        }
        return false;
    }

private:
    QObject* list_;
    QObject* viewport_;
    std::function<void()> click_;
    std::function<void(int)> mouseUp_;
    std::function<void()> lostFocus_;
};

} // namespace

void LogWindow::wireContactList()
{
    ListView1->header()->setSectionsClickable(true);
    connect(ListView1->header(), &QHeaderView::sectionClicked, this,
            [this](int logicalIndex) { ListView1_ColumnClick(logicalIndex + 1); });
    new ContactListEvents(
        *ListView1, [this] { ListView1_Click(); },
        [this](int button) { ListView1_MouseUp(button, 0, 0, 0); },
        [this] { ListView1_LostFocus(); });
}

void LogWindow::showEditAndDelete()
{
    if (ListView1->rowCount() == 0)
        return;
    cmdEdit->show();
    cmdDelete->show();
}

void LogWindow::ListView1_Click()
{
    showEditAndDelete();
}

void LogWindow::ListView1_LostFocus()
{
    showEditAndDelete();
}

void LogWindow::ListView1_MouseUp(int button, int, float, float)
{
    if (button == 2 && ListView1->rowCount() > 0)
        cmdEdit_Click();
}

void LogWindow::cmdEdit_Click()
{
    // Without a chosen row there is no contact to edit.
    const int row = ListView1->selectedRow();
    if (row < 0)
        return;
    ContactListState::instance().EditRecordNumber = ListView1->text(row, 0).toFloat();
    if (variant() == Variant::OutOfState) {
        showModal(DefaultInstance<ZQEditOut>());
        WindowRegistry::unload<ZQEditOut>();
    } else {
        showModal(DefaultInstance<ZQEditInfrm>());
        WindowRegistry::unload<ZQEditInfrm>();
    }
    if (programEnded())
        return;
    cmdEdit->hide();
    cmdDelete->hide();
    // A failed rewrite is reported by the log store, which reads the log
    // back from the unchanged file; the reload then shows what it holds.
    RewriteLogFile();
    if (!ReloadLog())
        return;
    txtCall->setFocus(); // ready for the next contact
}

void LogWindow::cmdDelete_Click()
{
    const MsgAnswer answer = prompt().message(QStringLiteral("Are you sure?"),
                                              QStringLiteral("Are you sure?"), MsgButtons::YesNo,
                                              MsgIcon::None);
    cmdEdit->hide();
    cmdDelete->hide();
    if (answer != MsgAnswer::Yes)
        return;
    const int row = ListView1->selectedRow();
    if (row < 0)
        return;
    // A failed rewrite is reported by the log store and leaves memory equal
    // to the unchanged file; the reload shows it.
    DeleteContact(ListView1->text(row, 0).toInt());
    if (!ReloadLog())
        return;
    // A message box on the way takes the focus from the list, and the list
    // shows the two buttons again when it loses the focus.
    cmdDelete->hide();
    cmdEdit->hide();
    txtCall->setFocus(); // ready for the next contact
}

void LogWindow::cmdList_Click()
{
    EntryState& s = EntryState::instance();
    if (s.ListAllContactsFlag == 0) {
        cmdList->setText(QStringLiteral("All"));
        s.ListAllContactsFlag = 1;
    } else {
        cmdList->setText(QStringLiteral("Last 20"));
        s.ListAllContactsFlag = 0;
    }
    RefreshContactList();
    txtCall->setFocus();
}

void LogWindow::ListView1_ColumnClick(int columnHeaderIndex)
{
    const int column = columnHeaderIndex - 1;
    if (column < 0 || column >= ListView1->columnCount())
        return;
    ListView1->rows().reorder(contactListSortOrder(ListView1->rows().allRows(), column));
}

void LogWindow::mnuCopyListtoClipboard_Click()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return;
    clipboard->clear();
    QStringList headers;
    for (int c = 0; c < ListView1->columnCount(); ++c)
        headers << ListView1->rows().headerText(c);
    clipboard->setText(contactListClipboardText(headers, ListView1->rows().allRows()));
}

} // namespace zq
