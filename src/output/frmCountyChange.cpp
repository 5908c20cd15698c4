#include "output/frmCountyChange.h"

#include "common/DoneOnly.h"
#include "common/EntryBox.h"
#include "common/KeyCodes.h"
#include "common/ModalShow.h"
#include "common/NamedControls.h"
#include "common/TwipsLayout.h"
#include "common/WindowRegistry.h"
#include "entry/EntryChecks.h"
#include "logstore/PrefFile.h"
#include "logstore/StationSettings.h"
#include "output/CountyChangeShared.h"
#include "output/frmCountyChangeRover.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace zq {

frmCountyChange::frmCountyChange()
{
    setObjectName(QStringLiteral("frmCountyChange"));
    setWindowTitle(QStringLiteral("County Change"));
    setModal(true);
    // A fixed border, no minimise, maximise or close control.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    makeDoneOnly(*this);
    resize(twipsToPixelsX(3210, this), twipsToPixelsY(2040, this));

    Label1 = makeNamedLabel(this, QStringLiteral("Label1"),
                            QStringLiteral("Please enter your current county:"), 120, 120, 3375, 255);
    Text1 = makeNamedBox(this, QStringLiteral("Text1"), QString(), 720, 600, 1575);
    Label2 = makeNamedLabel(this, QStringLiteral("Label2"), QStringLiteral("   Invalid!"), 2400, 600,
                            735, 255);
    styleInvalidLabel(*Label2, *Text1);
    cmdMultipleCounties =
        new CaptionButton(QStringLiteral("&Rovers on County Lines Click to Add Multiple Counties"), this);
    cmdMultipleCounties->setObjectName(QStringLiteral("cmdMultipleCounties"));
    placeControl(*cmdMultipleCounties, 240, 960, 2775, 495);
    // Read by what it does; its whole caption is its description.
    cmdMultipleCounties->setAccessibleName(QStringLiteral("Add Multiple Counties"));
    cmdMultipleCounties->setAccessibleDescription(
        QStringLiteral("Rovers on County Lines Click to Add Multiple Counties"));
    Command1 = new QPushButton(QStringLiteral("Done"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    placeControl(*Command1, 960, 1560, 1215, 375);
    for (QPushButton* b : {cmdMultipleCounties, Command1})
        b->setAutoDefault(false);
    setTabOrder(Text1, Command1);
    setTabOrder(Command1, cmdMultipleCounties);

    Text1->onKeyPress = [this](int& k) { Text1_KeyPress(k); };
    selectFromCaretOnFocus(*Text1);
    Text1->installEventFilter(this);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(cmdMultipleCounties, &QPushButton::clicked, this, [this] { cmdMultipleCounties_Click(); });
}

void frmCountyChange::Form_Load()
{
    fitCountyChangeDialog(*this);
    Text1->setText(StationSettings::instance().OwnCounty);
    Text1->setFocus();
}

void frmCountyChange::Text1_KeyPress(int& k)
{
    if (k == '"')
        k = 0;
    if (k == vk::Return) {
        k = 0;
        Command1_Click();
        return;
    }
    countyFieldKey(*Text1, k);
}

void frmCountyChange::focusText1()
{
    movingFocus_ = true;
    Text1->setFocus(Qt::OtherFocusReason);
    movingFocus_ = false;
}

bool frmCountyChange::Text1_LostFocus()
{
    if (ownCountyChecked(*Text1, *Label2))
        return true;
    // Back into the field once the focus change under way has finished.
    QTimer::singleShot(0, Text1, [this] {
        if (!closing_ && isVisible())
            focusText1();
    });
    return false;
}

bool frmCountyChange::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Text1 && event->type() == QEvent::FocusOut && !movingFocus_ && !closing_
        && isVisible()) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Another window taking the focus is no leaving; a click on Done
        // checks the county itself.
        const bool toOtherWindow =
            reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
        const bool clickOnDone =
            reason == Qt::MouseFocusReason && QApplication::focusWidget() == Command1;
        if (!toOtherWindow && !clickOnDone)
            Text1_LostFocus();
    }
    return QDialog::eventFilter(watched, event);
}

void frmCountyChange::Command1_Click()
{
    if (closing_)
        return;
    if (!ownCountyChecked(*Text1, *Label2)) {
        focusText1();
        return;
    }
    StationSettings::instance().OwnCounty = tableCountyName(Text1->text().trimmed());
    WritePrefFile();
    closing_ = true;
    hide();
}

void frmCountyChange::cmdMultipleCounties_Click()
{
    // Left by the end of the program (or unloaded), the rover window stores
    // nothing, and neither does this one.
    if (showModal(DefaultInstance<frmCountyChangeRover>()))
        Command1_Click();
}

} // namespace zq
