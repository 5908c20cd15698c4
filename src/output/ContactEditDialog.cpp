#include "output/ContactEditDialog.h"

#include "common/DoneOnly.h"
#include "common/EntryBox.h"
#include "common/KeyCodes.h"
#include "common/NamedControls.h"
#include "common/ScreenReader.h"
#include "common/TwipsLayout.h"
#include "common/WindowFit.h"
#include "entry/CallChecks.h"
#include "entry/EntryChecks.h"
#include "entry/EntryState.h"
#include "entry/TypeAhead.h"
#include "logstore/CountyTable.h"
#include "logstore/PositionTables.h"
#include "logstore/ArchiveRestore.h"
#include "output/EditChecks.h"
#include "platform/Prompt.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace zq {

namespace {

// Design geometry in twips (on the 9600 x 7200 twip design screen).
// The flag column is wide enough for "Delete Dupe"; the captions keep clear
// of their boxes.
constexpr double kFirstRowTop = 540, kRowPitch = 420, kFlagLeft = 60, kFlagWidth = 1240,
                 kCaptionLeft = 1340, kCaptionWidth = 1160, kBoxLeft = 2540, kBoxWidth = 2280,
                 kDialogWidth = 4940;

double rowTop(int row)
{
    return kFirstRowTop + row * kRowPitch;
}

bool isDigitCode(int k)
{
    return k >= '0' && k <= '9';
}

// The characters the date and time boxes take (Backspace passes too).
void dateCharacter(int& k)
{
    if (k != vk::Back && k != '/' && !isDigitCode(k))
        k = 0;
}
void timeCharacter(int& k)
{
    if (k != vk::Back && k != ':' && !isDigitCode(k))
        k = 0;
}

} // namespace

ContactEditDialog::ContactEditDialog(const QString& name, bool inState) : inState_(inState)
{
    setObjectName(name);
    setWindowTitle(QStringLiteral("Edit Contact Entry"));
    setModal(true);
    makeDoneOnly(*this);

    const ContactLog& log = ContactLog::instance();
    const float n = ContactListState::instance().EditRecordNumber;
    if (std::isfinite(n) && n >= 1 && n <= static_cast<float>(log.ContactCount)
        && n == std::floor(n))
        index_ = static_cast<int>(n);

    lblEditTitle = makeNamedLabel(this, QStringLiteral("lblEditTitle"),
                                  QStringLiteral("Edit Contact:"), kCaptionLeft, 120, 2400, 300);
    QFont title = lblEditTitle->font();
    title.setBold(true);
    lblEditTitle->setFont(title);

    Label1 = addFlag("Label1", QStringLiteral("  Dupe!"), 0);
    cmdDeleteDupe = new QPushButton(QStringLiteral("Delete Dupe"), this);
    cmdDeleteDupe->setObjectName(QStringLiteral("cmdDeleteDupe"));
    cmdDeleteDupe->setAutoDefault(false);
    placeControl(*cmdDeleteDupe, kFlagLeft, rowTop(0) + 300, kFlagWidth, 360);
    cmdDeleteDupe->hide();
    connect(cmdDeleteDupe, &QPushButton::clicked, this, [this] { cmdDeleteDupe_Click(); });

    cmdDone = new QPushButton(QStringLiteral("Done"), this);
    cmdDone->setObjectName(QStringLiteral("cmdDone"));
    cmdDone->setAutoDefault(false);
    connect(cmdDone, &QPushButton::clicked, this, [this] { cmdDone_Click(); });
}

QLabel* ContactEditDialog::addFlag(const char* name, const QString& text, int row)
{
    QLabel* l = makeNamedLabel(this, QLatin1String(name), text, kFlagLeft, rowTop(row) + 15,
                               kFlagWidth, 255);
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(7.5);
    f.setBold(true);
    l->setFont(f);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, QColor(0x80, 0, 0));
    p.setColor(QPalette::Window, Qt::white);
    l->setPalette(p);
    l->setAutoFillBackground(true);
    l->hide();
    if (row < static_cast<int>(rowBoxes_.size()))
        tieMessageToBox(*l, *rowBoxes_[static_cast<size_t>(row)]);
    return l;
}

EntryBox* ContactEditDialog::addRow(int row, const char* boxName, const QString& caption,
                                    KeyFilter filter)
{
    makeNamedLabel(this, QStringLiteral("lblRow%1").arg(row + 1), caption, kCaptionLeft,
                   rowTop(row) + 30, kCaptionWidth, 255);
    EntryBox* box = makeNamedBox(this, QLatin1String(boxName), QString(), kBoxLeft, rowTop(row),
                                 kBoxWidth);
    box->onKeyPress = [this, box, filter](int& k) { keyPress(*box, filter, k); };
    // Pasted text meets the refusals and the capitals of the box's typed
    // keys.
    box->setCapitals(filter == KeyFilter::Capitals || filter == KeyFilter::Call);
    if (filter == KeyFilter::Call)
        box->characterFilter = CallCharacter;
    else if (filter == KeyFilter::Date)
        box->characterFilter = dateCharacter;
    else if (filter == KeyFilter::Time)
        box->characterFilter = timeCharacter;
    if (!rowBoxes_.empty())
        setTabOrder(rowBoxes_.back(), box);
    rowBoxes_.push_back(box);
    return box;
}

void ContactEditDialog::setLeaveTest(EntryBox* box, std::function<void()> test)
{
    leaveTests_[box] = std::move(test);
    box->installEventFilter(this);
}

void ContactEditDialog::Form_Load()
{
    const int rows = static_cast<int>(rowBoxes_.size());
    const double doneTop = rowTop(rows) + 120;
    placeControl(*cmdDone, (kDialogWidth - 1215) / 2, doneTop, 1215, 375);
    setTabOrder(rowBoxes_.back(), cmdDone);
    setTabOrder(cmdDone, cmdDeleteDupe);
    setLeaveTest(txtEditDate, [this] { txtEditDate_LostFocus(); });
    setLeaveTest(txtEditTime, [this] { txtEditTime_LostFocus(); });
    setLeaveTest(txtEditBnd, [this] { txtEditBnd_LostFocus(); });
    setLeaveTest(Text1, [this] { Text1_LostFocus(); });
    setFormTwips(*this, 0, 0, kDialogWidth, doneTop + 375 + 240);
    ResizeFormToScreen(*this);

    const ContactRecord& r = stored();
    txtEditCall->setText(r.LogCall);
    txtEditCk->setText(r.LogRstReceived);
    txtEditNum->setText(r.LogRstSent);
    txtEditDate->setText(r.LogDate);
    txtEditTime->setText(r.LogTime);
    txtEditBnd->setText(r.LogMode);
    Text1->setText(r.LogBand);
    fillVariantBoxes(r);
    txtEditCall->setFocus();
}

const ContactRecord& ContactEditDialog::stored() const
{
    static const ContactRecord none;
    return index_ > 0 ? ContactLog::instance()[index_] : none;
}

bool ContactEditDialog::keeps(const EntryBox* box, const QString& storedValue) const
{
    return index_ > 0 && box->text().trimmed() == storedValue.trimmed();
}

void ContactEditDialog::Cap2(int& KeyAscii)
{
    if (KeyAscii >= 'a' && KeyAscii <= 'z')
        KeyAscii -= 'a' - 'A';
}

void ContactEditDialog::keyPress(EntryBox& box, KeyFilter filter, int& k)
{
    if (k == '"')
        k = 0;
    if (k == vk::Return) {
        k = 0;
        cmdDone_Click();
    }
    switch (filter) {
    case KeyFilter::Capitals:
        Cap2(k);
        break;
    case KeyFilter::Call:
        Cap2(k);
        CallCharacter(k);
        break;
    case KeyFilter::County: {
        const CountyTable& t = CountyTable::instance();
        TypeAheadComplete(box, k, t.CountyName, t.count(), TypeAheadRules::editCounty());
        break;
    }
    case KeyFilter::Country: {
        const CountryTable& t = CountryTable::instance();
        TypeAheadComplete(box, k, t.CountryName, t.CountryCount, TypeAheadRules::editCountry());
        break;
    }
    case KeyFilter::Date:
        dateCharacter(k);
        break;
    case KeyFilter::Time:
        timeCharacter(k);
        break;
    }
}

// ---------------------------------------------------------------------------
// Tests

void ContactEditDialog::flagFailure(QLabel* flag, EntryBox* box, bool leaving)
{
    prompt().beep();
    if (flag)
        flag->show();
    if (!leaving) {
        if (!firstFailed_
            || std::find(rowBoxes_.begin(), rowBoxes_.end(), box)
                < std::find(rowBoxes_.begin(), rowBoxes_.end(), firstFailed_))
            firstFailed_ = box;
        return;
    }
    // After the focus change under way has finished.
    QTimer::singleShot(0, box, [this, box] {
        if (!closing_ && isVisible())
            moveFocus(box);
    });
}

void ContactEditDialog::moveFocus(EntryBox* box)
{
    movingFocus_ = true;
    box->setFocus(Qt::OtherFocusReason);
    movingFocus_ = false;
}

bool ContactEditDialog::formatFailure(EntryBox* box, const QString& text, const QString& title,
                                      bool leaving)
{
    prompt().beep();
    prompt().message(text, title, MsgButtons::Ok);
    if (leaving)
        QTimer::singleShot(0, box, [this, box] {
            if (!closing_ && isVisible())
                moveFocus(box);
        });
    else
        moveFocus(box);
    return false;
}

bool ContactEditDialog::timePasses(bool leaving)
{
    if (keeps(txtEditTime, stored().LogTime)
        || !normalizedLogTime(txtEditTime->text().trimmed()).isNull())
        return true;
    return formatFailure(txtEditTime, QStringLiteral("You have entered an invalid time format!"),
                         QStringLiteral("Invalid Time Format!"), leaving);
}

bool ContactEditDialog::datePasses(bool leaving)
{
    if (keeps(txtEditDate, stored().LogDate)
        || !normalizedLogDate(txtEditDate->text().trimmed()).isNull())
        return true;
    return formatFailure(txtEditDate, QStringLiteral("You have entered an invalid date format!"),
                         QStringLiteral("Invalid Date Format!"), leaving);
}

bool ContactEditDialog::bandPasses(bool leaving)
{
    if (keeps(Text1, stored().LogBand) || isEditBand(Text1->text().trimmed())) {
        Label6->hide();
        return true;
    }
    flagFailure(Label6, Text1, leaving);
    return false;
}

bool ContactEditDialog::modePasses(bool leaving)
{
    if (keeps(txtEditBnd, stored().LogMode) || isEditMode(txtEditBnd->text().trimmed())) {
        Label3->hide();
        return true;
    }
    flagFailure(Label3, txtEditBnd, leaving);
    return false;
}

bool ContactEditDialog::countyPasses(EntryBox* box, QLabel* flag, bool emptyPasses,
                                     const QString& storedValue, bool leaving)
{
    flag->hide();
    EntryState& es = EntryState::instance();
    es.InvalidCountyFlag = 1;
    const QString text = box->text().trimmed();
    if ((emptyPasses && text.isEmpty()) || keeps(box, storedValue) || isTableCounty(text)) {
        es.InvalidCountyFlag = 0;
        return true;
    }
    flagFailure(flag, box, leaving);
    return false;
}

QString ContactEditDialog::countySpelling(const QString& text)
{
    const QString name = tableCountyName(text);
    return name.isNull() ? text : name;
}

bool ContactEditDialog::Text1_LostFocus()
{
    return bandPasses(true);
}

bool ContactEditDialog::txtEditBnd_LostFocus()
{
    return modePasses(true);
}

bool ContactEditDialog::txtEditDate_LostFocus()
{
    return datePasses(true);
}

bool ContactEditDialog::txtEditTime_LostFocus()
{
    return timePasses(true);
}

bool ContactEditDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && !movingFocus_ && !closing_ && isVisible()) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Another window (a message box) taking the focus is no leaving;
        // a click on Done runs every test itself.
        const bool toOtherWindow =
            reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
        const bool clickOnDone =
            reason == Qt::MouseFocusReason && QApplication::focusWidget() == cmdDone;
        const auto it = leaveTests_.find(watched);
        if (it != leaveTests_.end() && !toOtherWindow && !clickOnDone)
            it->second();
    }
    return QDialog::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// Done and Delete Dupe

void ContactEditDialog::cmdDone_Click()
{
    if (closing_)
        return;
    if (index_ < 1) {
        closeDialog();
        return;
    }
    beforeDoneTests();
    for (EntryBox* box : rowBoxes_) {
        const QString trimmed = box->text().trimmed();
        if (trimmed != box->text())
            box->setText(trimmed);
    }
    if (!timePasses(false) || !datePasses(false))
        return;
    firstFailed_ = nullptr;
    bool passed = bandPasses(false);
    passed = modePasses(false) && passed;
    passed = variantTestsPass() && passed;
    if (!passed) {
        if (firstFailed_)
            moveFocus(firstFailed_);
        return;
    }

    ContactRecord r = stored();
    r.LogCall = txtEditCall->text();
    r.LogRstReceived = txtEditCk->text();
    r.LogRstSent = txtEditNum->text();
    const QString date = normalizedLogDate(txtEditDate->text());
    r.LogDate = date.isNull() ? txtEditDate->text() : date;
    const QString time = normalizedLogTime(txtEditTime->text());
    r.LogTime = time.isNull() ? txtEditTime->text() : time;
    r.LogMode = txtEditBnd->text();
    r.LogBand = Text1->text();
    takeVariantFields(r);

    const std::vector<int> dupes = editDuplicates(
        ContactLog::instance(), index_,
        {r.LogCall, r.LogBand, r.LogMode, r.LogCounty, r.LogCountySent, inState_});
    for (size_t i = 0; i < dupes.size(); ++i) {
        Label1->show();
        cmdDeleteDupe->show();
        prompt().beep();
    }
    if (!dupes.empty())
        return;
    Label1->hide();
    ContactLog::instance()[index_] = r;
    closeDialog();
}

void ContactEditDialog::cmdDeleteDupe_Click()
{
    closeDialog();
    runWindowDelete();
}

void ContactEditDialog::closeDialog()
{
    closing_ = true;
    hide();
}

} // namespace zq
