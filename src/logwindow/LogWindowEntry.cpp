// The contest loop of the log window, shared by both variants: the checks
// and duplicate searches of the logging step, storing a contact, the
// contact list, the county lists, the totals and rates, log-on and the
// clocks.  The decisions are made in src/entry; this file shows them.

#include "logwindow/LogWindow.h"

#include "common/EntryBox.h"
#include "common/SortedListBox.h"
#include "common/WindowRegistry.h"
#include "entry/Clocks.h"
#include "entry/ContactListRows.h"
#include "entry/ContactStore.h"
#include "entry/DupeChecks.h"
#include "entry/EntryChecks.h"
#include "entry/EntryState.h"
#include "entry/LogOnState.h"
#include "entry/LogTimes.h"
#include "entry/Multipliers.h"
#include "entry/Scoring.h"
#include "entry/TextCompare.h"
#include "keying/BlindFrm.h"
#include "keying/PhoneFrm.h"
#include "logstore/ContactLog.h"
#include "logstore/CountyTable.h"
#include "logstore/LogFileStore.h"
#include "logstore/PrefFile.h"
#include "logstore/StationSettings.h"
#include "platform/Clock.h"
#include "platform/Prompt.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

namespace zq {

namespace {

const QColor kStatusColour(0, 192, 192);
const QColor kRed(255, 0, 0);

void setBackground(QLabel* l, const QColor& c)
{
    l->setAutoFillBackground(true);
    QPalette p = l->palette();
    p.setColor(QPalette::Window, c);
    l->setPalette(p);
}

QColor buttonFace()
{
    return QApplication::palette().color(QPalette::Button);
}

} // namespace

// ---------------------------------------------------------------------------
// County lists

int LogWindow::findListEntry(const QListWidget* list, const QString& text)
{
    for (int i = 0; i < list->count(); ++i)
        if (sameText(list->item(i)->text(), text))
            return i;
    return -1;
}

void LogWindow::wireCountyLists()
{
    for (QListWidget* list : {List2, countiesToGoList()}) {
        connect(list, &QListWidget::itemClicked, this,
                [this](QListWidgetItem* item) { countyListClicked(item->text()); });
    }
}

void LogWindow::countyListClicked(const QString& county)
{
    txtSec->setText(county);
    if (variant() == Variant::InState) {
        txtCntry->setText(StationSettings::instance().HomeStateCode);
        txtSec->setFocus();
    } else {
        txtCall->setFocus();
    }
}

// ---------------------------------------------------------------------------
// Status colours

void LogWindow::setDialogRed(bool red)
{
    setBackground(lblDialog, red ? kRed : kStatusColour);
}

void LogWindow::setDupeColoured(bool coloured)
{
    setBackground(lblDupe, coloured ? kStatusColour : buttonFace());
}

void LogWindow::setDupeFontSize(double points)
{
    const double scaled = screenTwips(this).width() * points / 9600
        * StationSettings::instance().FormSizePercent / 100;
    if (scaled <= 0)
        return;
    QFont f = lblDupe->font();
    f.setPointSizeF(scaled);
    lblDupe->setFont(f);
}

// ---------------------------------------------------------------------------
// The checks of the logging step

void LogWindow::CheckRequiredFields()
{
    EntryState& es = EntryState::instance();
    es.MissingFieldFlag = 0;
    const EntryTexts row{txtCall->text(), txtRSTR->text(), txtCntry->text(), txtSec->text(),
                         txtRSTS->text()};
    for (const EntryFailure& f : requiredFieldFailures(row, variant() == Variant::InState,
                                                       StationSettings::instance().HomeStateCode)) {
        prompt().beep();
        lblDialog->setText(f.message);
        es.MissingFieldFlag = 1;
        switch (f.focus) {
        case EntryField::Sec: txtSec->setFocus(); break;
        case EntryField::RstR: txtRSTR->setFocus(); break;
        case EntryField::Call: txtCall->setFocus(); break;
        case EntryField::Cntry: txtCntry->setFocus(); break;
        default: break;
        }
    }
}

void LogWindow::CheckCounty()
{
    EntryState& es = EntryState::instance();
    es.InvalidCountyFlag = 1;
    const QString name = tableCountyName(txtSec->text());
    if (!name.isNull()) {
        // A completion keeps the case the operator typed ("WAKEman"); the
        // contact is stored with the table's spelling.
        if (txtSec->text() != name)
            txtSec->setText(name);
        es.InvalidCountyFlag = 0;
        return;
    }
    prompt().beep();
    lblDialog->setText(invalidCountyMessage(txtSec->text()));
    txtSec->setFocus();
}

void LogWindow::FinalDupeCheck()
{
    EntryState& es = EntryState::instance();
    const StationSettings& st = StationSettings::instance();
    const bool inState = variant() == Variant::InState;
    es.DuplicateFlag = 0;
    const FinalDupeResult r = findFinalDuplicate(
        {txtCall->text(), txtSec->text(), txtCntry->text()},
        {st.CurrentBand, st.CurrentMode, st.OwnCounty, st.HomeStateCode, inState});
    showFilledExchange(r.entry, r.countyFilled, r.spcFilled);
    reportFinalDuplicate(r);
}

void LogWindow::reportFinalDuplicate(const FinalDupeResult& r)
{
    if (r.duplicateOf == 0)
        return;
    EntryState& es = EntryState::instance();
    const StationSettings& st = StationSettings::instance();
    lblDialog->setText(r.message);
    setDialogRed(true);
    setDupeColoured(false);
    lblDupe->setText(QString());
    prompt().beep();
    BlindFrm& blind = DefaultInstance<BlindFrm>();
    blind.BlindKeyPhone(QStringLiteral("Dupe"));
    if (st.VoiceNavigationLevel != 0) {
        // The row is cleared once the spoken "Dupe" has ended (bounded).
        blind.waitForPromptEnd();
    }
    es.DuplicateFlag = 1;
    es.DuplicateTime = clock().now().local;
    es.DuplicateSteadyTime = clock().steadyNow();

    txtCall->setFocus();
    emptyEntryRow();
}

void LogWindow::showFilledExchange(const DupeEntry& entry, bool countyFilled, bool spcFilled)
{
    if (countyFilled) {
        txtSec->setText(entry.county);
        txtSec->selectAll();
    }
    if (spcFilled) {
        txtCntry->setText(entry.spc);
        txtCntry->selectAll();
    }
}

void LogWindow::DupCheck2()
{
    EntryState& es = EntryState::instance();
    const StationSettings& st = StationSettings::instance();
    const bool inState = variant() == Variant::InState;
    if (inState)
        es.DuplicateFlag = 0;
    const bool listPrevious = mnuListPrevious->isChecked();
    if (listPrevious)
        ListView1->rows().clear();
    const DupCheck2Result r = dupCheck2(
        {txtCall->text(), txtSec->text(), txtCntry->text()},
        {st.CurrentBand, st.CurrentMode, st.OwnCounty, st.HomeStateCode, inState}, listPrevious);
    for (int i : r.listedContacts)
        ListView1->rows().appendRow(contactRow(i, inState, st.RoverFlag == 1));
    showFilledExchange(r.entry, r.countyFilled, r.spcFilled);
    for (int b = 0; b < r.beeps; ++b)
        prompt().beep();
    if (r.beeps > 0) {
        lblDialog->setText(r.message);
        setDialogRed(true);
        setDupeColoured(false);
        if (inState)
            lblDupe->setText(QString());
    }
    // The scan ran the final check already; its duplicate is reported as
    // FinalDupeCheck reports one.
    if (r.finalCheckRan) {
        reportFinalDuplicate(r.finalCheck);
        if (r.finalCheck.duplicateOf != 0)
            startDuplicateRowKeys();
    }
}

void LogWindow::ShowPossibleDupes(int k)
{
    const StationSettings& st = StationSettings::instance();
    const bool inState = variant() == Variant::InState;
    setDialogRed(false);
    setDupeColoured(false);
    lblDupe->setText(QString());
    const PossibleDupesResult r = possibleDupes(
        txtCall->text(), k, {st.CurrentBand, st.CurrentMode, st.OwnCounty, st.HomeStateCode, inState},
        EntryState::instance().PartialDupeDisplayFlag == 1, LogOnState::instance().LoggedOnFlag == 1);
    lblDupe->setText(r.list);
    setDupeColoured(r.listColoured);
    if (r.beep)
        prompt().beep();
    if (r.setDialog)
        lblDialog->setText(r.dialog);
}

void LogWindow::cmdDup_Click()
{
    EntryState& es = EntryState::instance();
    setDupeColoured(false);
    if (es.PartialDupeDisplayFlag == 1) {
        es.PartialDupeDisplayFlag = 0;
        cmdDup->setText(QStringLiteral("Off"));
    } else {
        es.PartialDupeDisplayFlag = 1;
        cmdDup->setText(QStringLiteral("On"));
    }
    cmdDup->setAccessibleDescription(cmdDup->text());
    txtCall->setFocus();
}

// ---------------------------------------------------------------------------
// Pieces of Mains

void LogWindow::logOnIfNeeded()
{
    if (LogOnState::instance().LoggedOnFlag == 0)
        cmdLogOn_Click();
}

bool LogWindow::checkPostContestFields()
{
    if (txtPostConTime->isHidden())
        return true;
    const PostContestResult r = checkPostContest(txtPostConDate->text(), txtPostConTime->text());
    if (r.dateChanged)
        txtPostConDate->setText(r.date);
    if (r.timeChanged)
        txtPostConTime->setText(r.time);
    if (r.ok)
        return true;
    lblDialog->setText(r.message);
    prompt().beep();
    return false;
}

void LogWindow::expandCountyAbbreviation()
{
    QString copy = txtSec->text();
    const QString name = CountyNameFromAbbreviation(copy);
    if (!name.isEmpty())
        txtSec->setText(name);
}

bool LogWindow::checksPassed()
{
    const EntryState& es = EntryState::instance();
    return es.MissingFieldFlag == 0 && es.InvalidSectionFlag == 0 && es.InvalidCountyFlag == 0
        && es.DuplicateFlag == 0;
}

bool LogWindow::rowChecksPassed()
{
    const EntryState& es = EntryState::instance();
    return es.MissingFieldFlag == 0 && es.InvalidSectionFlag == 0 && es.InvalidCountyFlag == 0;
}

bool LogWindow::storeEnteredContact()
{
    const StationSettings& st = StationSettings::instance();
    NewContact c;
    c.call = txtCall->text();
    c.rstSent = txtRSTS->text();
    c.rstReceived = txtRSTR->text();
    c.county = txtSec->text();
    c.inState = variant() == Variant::InState;
    c.spc = txtCntry->text();
    c.countySent = st.OwnCounty;
    c.postContest = !txtPostConTime->isHidden();
    c.postContestDate = txtPostConDate->text();
    c.postContestTime = txtPostConTime->text();
    return storeAndReport(makeContactRecord(c));
}

bool LogWindow::storeAndReport(const ContactRecord& rec)
{
    if (!ContactLogHasRoom()) {
        lblDialog->setText(logFullMessage());
        return false;
    }
    switch (storeContact(rec, AppendLogFile)) {
    case StoreOutcome::Stored:
        return true;
    case StoreOutcome::LogFull:
        lblDialog->setText(logFullMessage());
        return false;
    case StoreOutcome::AppendFailed:
        lblDialog->setText(QStringLiteral("Not logged: log.txt could not be written!"));
        setDialogRed(true);
        return false;
    }
    return false;
}

void LogWindow::resetStatusAfterStore()
{
    lblDialog->setText(QString());
    setDialogRed(false);
    lblDupe->setText(QString());
    setDupeColoured(false);
}

void LogWindow::emptyEntryRow()
{
    for (EntryBox* box : {txtRSTS, txtCntry, txtCall, txtRSTR, txtSec})
        box->clear();
    for (QLabel* l : {Label19, Label22, Label23})
        l->clear();
    afterRowCleared();
}

void LogWindow::clearEnteredRow()
{
    emptyEntryRow();
    txtCall->setFocus();
}

// No event is processed from the Enter that logs a contact until the row
// is emptied and the step has ended: keys the operator types meanwhile,
// however long the write of log.txt takes, wait in the queue and go to the
// next contact in the order typed, and a second Enter never runs inside
// this one.
bool LogWindow::storeCheckedContact(const std::function<void()>& showStored)
{
    bool stored = false;
    bool storeFailed = false;
    if (checksPassed()) {
        if (storeEnteredContact()) {
            stored = true;
            resetStatusAfterStore();
            showStored();
            UpdateTotals();
        } else {
            storeFailed = true;
        }
    }
    // A duplicate clears the row too; a contact that could not be stored
    // stays in it.
    if (rowChecksPassed() && !storeFailed)
        clearEnteredRow();
    finishMains(storeFailed);
    return stored;
}

void LogWindow::finishMains(bool keepFrequency)
{
    lblDupe->setText(QString());
    setDupeColoured(false);
    UpdateRates();
    if (!keepFrequency)
        EntryState::instance().CurrentFrequencyText.clear();
}

// ---------------------------------------------------------------------------
// Contact list

bool LogWindow::listHoldsContactsUpTo(int last, int first) const
{
    const int rows = ListView1->rowCount();
    if (!listInOrder_ || rows != last - first + 1 || rows == 0)
        return false;
    return ListView1->text(0, 0).toInt() == last && ListView1->text(rows - 1, 0).toInt() == first;
}

void LogWindow::RefreshContactList()
{
    const int count = ContactLog::instance().ContactCount;
    const bool inState = variant() == Variant::InState;
    const bool rover = StationSettings::instance().RoverFlag == 1;
    const bool all = EntryState::instance().ListAllContactsFlag == 1;
    const int first = firstListedContact(count, all);
    // After one new contact the list usually holds the rows before it: then
    // only the newest row goes on top (and the oldest off in the last-20
    // mode).  Rows of the newest contact itself are always made afresh.
    const int firstBefore = firstListedContact(count - 1, all);
    if (count > 1 && listHoldsContactsUpTo(count - 1, firstBefore)) {
        for (int i = firstBefore; i < first; ++i)
            ListView1->rows().removeLastRow();
        ListView1->rows().prependRow(contactRow(count, inState, rover));
        listInOrder_ = true;
        return;
    }
    std::vector<QStringList> rows;
    rows.reserve(static_cast<size_t>(std::max(0, count - first + 1)));
    for (int i = count; i >= first; --i)
        rows.push_back(contactRow(i, inState, rover));
    ListView1->rows().setRows(std::move(rows));
    listInOrder_ = true;
}

void LogWindow::mnuListPrevious_Click()
{
    StationSettings& st = StationSettings::instance();
    st.ListPreviousFlag = 0;
    if (mnuListPrevious->isChecked()) {
        mnuListPrevious->setChecked(false);
    } else {
        mnuListPrevious->setChecked(true);
        st.ListPreviousFlag = 1;
    }
    WritePrefFile();
}

// ---------------------------------------------------------------------------
// Counties worked and to go

void LogWindow::RebuildCountyLists()
{
    CountyLists lists;
    lists.rebuild();
    QListWidget* toGo = countiesToGoList();
    fillSortedListBox(*toGo, lists.toGo);
    fillSortedListBox(*List2, lists.worked);
    const bool inState = variant() == Variant::InState;
    workedCountiesCaption()->setText(lists.workedCaption(inState));
    countiesToGoCaption()->setText(lists.toGoCaption(inState));
}

void LogWindow::UpdateCountyLists()
{
    const ContactLog& log = ContactLog::instance();
    const QString county = log[log.ContactCount].LogCounty;
    if (county.isEmpty())
        return;
    if (findListEntry(List2, county) < 0)
        addSortedEntry(*List2, county);
    QListWidget* toGo = countiesToGoList();
    const int row = findListEntry(toGo, county);
    if (row >= 0)
        delete toGo->takeItem(row);
    const bool inState = variant() == Variant::InState;
    workedCountiesCaption()->setText(CountyLists::workedCountiesText(List2->count(), inState));
    countiesToGoCaption()->setText(CountyLists::countiesToGoText(toGo->count(), inState));
}

// ---------------------------------------------------------------------------
// Totals, score and rates

void LogWindow::UpdateTotals()
{
    const TotalsText t = totalsText(ContestTotals::instance(), List2->count(), stateMultipliers(),
                                    variant() == Variant::InState);
    lblTotCon->setText(t.phone);
    cwTotalLabel()->setText(t.cw);
    Label27->setText(t.digital);
    lblTotSec->setText(t.multipliers);
    lblTotScore->setText(t.score);
}

void LogWindow::UpdateRates()
{
    const auto r = rateMeters(utcWallNow(StationSettings::instance().UtcOffsetHours));
    if (!r)
        return;
    lblAQSO60->setText(QString::number(r->perHour60));
    lblAQSO20->setText(QString::number(r->perHour20));
}

// ---------------------------------------------------------------------------
// Log on, clocks and operating time

void LogWindow::cmdLogOn_Click()
{
    LogOnState& s = LogOnState::instance();
    StationSettings& st = StationSettings::instance();
    if (s.LoggedOnFlag == 0) {
        s.LogOnTime = clock().now().local;
        s.LoggedOnFlag = 1;
        cmdLogOn->setText(QStringLiteral("&Log \"Time Off\""));
        lblDialog->setText(QStringLiteral(" "));
    } else {
        s.LoggedOnFlag = 0;
        cmdLogOn->setText(QStringLiteral("&Log \"Time On\""));
        st.AccumulatedOperatingSeconds = s.OperatingSeconds;
        lblDialog->setText(loggedOffMessage(clock().now().local, st.UtcOffsetHours));
        WritePrefFile();
    }
    txtCall->setFocus();
}

void LogWindow::Timer2_Timer()
{
    const StationSettings& st = StationSettings::instance();
    const QDateTime local = clock().now().local;
    lblutctime->setText(utcClockText(local, st.UtcOffsetHours));
    lblCurTime->setText(localClockText(local));
    Label16->setText(amPmText(local));
    LogOnState& s = LogOnState::instance();
    if (s.LoggedOnFlag == 1) {
        s.OperatingSeconds = static_cast<float>(
            operatingSeconds(st.AccumulatedOperatingSeconds, s.LogOnTime, local));
        lblttrack->setText(operatingTimeText(s.OperatingSeconds));
    }
}

} // namespace zq
