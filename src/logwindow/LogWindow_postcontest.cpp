// Post-contest mode: contacts written on paper are typed in afterwards with
// their own date and time.  The mode is on while the time field is shown;
// Mains then takes the contact's date and time from the two fields.

#include "logwindow/LogWindow.h"

#include "common/EntryBox.h"
#include "common/KeyCodes.h"
#include "platform/Clock.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>

namespace zq {

void LogWindow::wirePostContestFields()
{
    txtPostConTime->onKeyPress = [this](int& k) { txtPostConTime_KeyPress(k); };
    txtPostConDate->onKeyPress = [this](int& k) { txtPostConDate_KeyPress(k); };
    txtPostConTime->characterFilter = [](int& k) { k = (k >= '0' && k <= ':') ? k : 0; };
    txtPostConDate->characterFilter = [](int& k) { k = (k >= '/' && k <= '9') ? k : 0; };
    connect(txtPostConTime, &EntryBox::focusGained, this, [this] { txtPostConTime_GotFocus(); });
    connect(txtPostConDate, &EntryBox::focusGained, this, [this] { txtPostConDate_GotFocus(); });
}

void LogWindow::mnuPostContest_Click()
{
    if (mnuPostContest->isChecked()) {
        mnuPostContest->setChecked(false);
        lblPostConTime->hide();
        txtPostConTime->hide();
        lblPostConDate->hide();
        txtPostConDate->hide();
    } else {
        lblPostConTime->show();
        txtPostConTime->show();
        lblPostConDate->show();
        txtPostConDate->show();
        mnuPostContest->setChecked(true);
    }
}

void LogWindow::txtPostConTime_GotFocus()
{
    txtPostConTime->setSelection(0, static_cast<int>(txtPostConTime->text().size()));
}

void LogWindow::txtPostConDate_GotFocus()
{
    if (!txtPostConDate->text().isEmpty())
        return;
    txtPostConDate->setText(clock().now().local.toString(QStringLiteral("yyyy/MM/dd")));
    txtPostConDate->setSelection(0, static_cast<int>(txtPostConDate->text().size()));
}

// The keys both post-contest fields share: Space moves on as Tab does,
// Enter logs the contact, Backspace edits, and any other key outside
// first..last is dropped.
void LogWindow::postContestKey(EntryBox* box, int& k, int first, int last)
{
    if (k == vk::Space) {
        k = 0;
        QCoreApplication::postEvent(box, new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
        return;
    }
    if (logOnEnter(k))
        return;
    if (k != vk::Back && (k < first || k > last))
        k = 0;
}

void LogWindow::txtPostConTime_KeyPress(int& k)
{
    postContestKey(txtPostConTime, k, '0', ':');
}

void LogWindow::txtPostConDate_KeyPress(int& k)
{
    postContestKey(txtPostConDate, k, '/', '9');
}

} // namespace zq
