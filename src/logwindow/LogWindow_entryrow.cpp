// The entry row of the log window: what each typed key does in the call,
// report, exchange and county fields (moves, hand-overs to the field where
// a character belongs, completion of names), the call field's checks when
// it is changed, entered and left, and the country lookup of the in-state
// window with its bearing and distance.

#include "logwindow/Infrm.h"
#include "logwindow/LogWindow.h"

#include "common/EntryBox.h"
#include "common/KeyCodes.h"
#include "common/WindowRegistry.h"
#include "entry/CallChecks.h"
#include "entry/Clocks.h"
#include "entry/CountryLookup.h"
#include "entry/EntryState.h"
#include "entry/LogOnState.h"
#include "entry/TextCompare.h"
#include "entry/TypeAhead.h"
#include "keying/BlindFrm.h"
#include "keying/KeyingState.h"
#include "logstore/ContactLog.h"
#include "logstore/CountyTable.h"
#include "logstore/PositionTables.h"
#include "logstore/StationSettings.h"
#include "platform/Clock.h"
#include "platform/Prompt.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QTreeWidget>

namespace zq {

namespace {

// Focus changes that only follow the window's activation or a menu are not
// the operator moving between fields: no field handling runs for them.
class FocusReasons final : public QObject {
public:
    // Keeps the reason of the last change in `last`.
    FocusReasons(QObject* parent, Qt::FocusReason& last) : QObject(parent), last_(last) {}
    bool movedByOperator() const
    {
        return last_ != Qt::ActiveWindowFocusReason && last_ != Qt::PopupFocusReason;
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::FocusIn || e->type() == QEvent::FocusOut)
            last_ = static_cast<QFocusEvent*>(e)->reason();
        return false;
    }

private:
    Qt::FocusReason& last_;
};

KeyHandOver& handOver()
{
    return KeyHandOver::instance();
}

int pendingKey()
{
    return handOver().PendingKey.toInt();
}

void handKey(int key, uint8_t target)
{
    handOver().PendingKey = QString::number(key);
    handOver().KeyTarget = target;
}

// A handed key becomes the field's whole text, the caret after it.
void takeHandedKey(EntryBox* box, int key)
{
    if (key > 0)
        box->setText(QString(QChar(key)));
    box->setCursorPosition(static_cast<int>(box->text().size()));
    handOver().KeyTarget = 0;
}

void selectWhole(EntryBox* box)
{
    box->setSelection(0, static_cast<int>(box->text().size()));
}

void voicePrompt(const char* name, int level)
{
    if (StationSettings::instance().VoiceNavigationLevel >= level)
        DefaultInstance<BlindFrm>().BlindKeyPhone(QString::fromLatin1(name));
}

bool isDigitKey(int k)
{
    return k >= '0' && k <= '9';
}

void noDigit(int& k)
{
    if (isDigitKey(k))
        k = 0;
}

// The characters a field of the row takes, however they arrive: the
// window's keys drop both quote characters in every field, and `field`
// drops what the field's own key handling never lets in.
std::function<void(int&)> rowCharacters(void (*field)(int&))
{
    return [field](int& k) {
        if (k == '\'' || k == '"')
            k = 0;
        else if (field)
            field(k);
    };
}

} // namespace

// ---------------------------------------------------------------------------
// Wiring: every key hook and focus handler of the entry row is installed
// here, once.

void LogWindow::wireOperatorKeys()
{
    auto* reasons = new FocusReasons(this, entryFocusReason_);
    for (EntryBox* box : {txtCall, txtRSTR, txtCntry, txtSec, txtRSTS})
        box->installEventFilter(reasons);

    const std::pair<EntryBox*, void (LogWindow::*)(int&)> handlers[] = {
        {txtCall, &LogWindow::txtCall_KeyPress},   {txtRSTR, &LogWindow::txtRSTR_KeyPress},
        {txtCntry, &LogWindow::txtCntry_KeyPress}, {txtSec, &LogWindow::txtSec_KeyPress},
        {txtRSTS, &LogWindow::txtRSTS_KeyPress},
    };
    for (const auto& entry : handlers) {
        const auto handler = entry.second;
        entry.first->onKeyPress = [this, handler](int& k) {
            if (!keyOfEmptyOrDuplicateRow(k))
                (this->*handler)(k);
        };
    }

    // Pasted text meets the same refusals as typed keys: no blank in the
    // call, only digits in the reports, and in the in-state window no digit
    // in the exchange fields (typed there, digits go on to the report sent).
    const bool inState = variant() == Variant::InState;
    txtCall->characterFilter = rowCharacters(CallCharacter);
    txtCall->setCapitals(true); // as its key handler raises typed letters
    txtRSTR->characterFilter = rowCharacters(DigitKey);
    txtRSTS->characterFilter = rowCharacters(DigitKey);
    txtCntry->characterFilter = rowCharacters(inState ? noDigit : nullptr);
    // Two capitals for a code, mixed case for a name, as typed.
    txtCntry->setLetterCase(LetterCase::CodeThenName);
    txtSec->characterFilter = rowCharacters(inState ? noDigit : nullptr);
    // A blank typed first or last in the exchange fields moves on to the
    // next field; pasted, it is dropped.
    txtCntry->setEndBlanksDropped(true);
    txtSec->setEndBlanksDropped(true);

    auto byOperator = [reasons](auto handler) {
        return [reasons, handler] {
            if (reasons->movedByOperator())
                handler();
        };
    };
    connect(txtCall, &EntryBox::focusGained, this, byOperator([this] { txtCall_GotFocus(); }));
    connect(txtCall, &EntryBox::focusLost, this, byOperator([this] { txtCall_LostFocus(); }));
    connect(txtRSTR, &EntryBox::focusGained, this, byOperator([this] { txtRSTR_GotFocus(); }));
    connect(txtRSTS, &EntryBox::focusGained, this, byOperator([this] { txtRSTS_GotFocus(); }));
    connect(txtSec, &EntryBox::focusGained, this, byOperator([this] { txtSec_GotFocus(); }));
    connect(txtCntry, &EntryBox::focusGained, this, byOperator([this] { txtCntry_GotFocus(); }));

    connect(txtCall, &QLineEdit::textChanged, this, [this] { txtCall_Change(); });
    connect(txtRSTS, &QLineEdit::textChanged, this, [this] { txtRSTS_Change(); });
    connect(txtCntry, &QLineEdit::textChanged, this, [this] { txtCntry_Change(); });

    wirePostContestFields();
    installKeyPreview();
}

// ---------------------------------------------------------------------------
// Keys of the entry fields

bool LogWindow::entryRowEmpty() const
{
    for (const EntryBox* box : {txtCall, txtRSTR, txtCntry, txtSec, txtRSTS})
        if (!box->text().isEmpty())
            return false;
    return true;
}

void LogWindow::startDuplicateRowKeys()
{
    duplicateRowKeys_ = true;
    duplicateRowLastKey_ = {};
}

bool LogWindow::keyOfEmptyOrDuplicateRow(int& k)
{
    if (duplicateRowKeys_) {
        const auto now = clock().steadyNow();
        const bool begun = duplicateRowLastKey_ != std::chrono::steady_clock::time_point{};
        // Keys typed on come at once: the first while the duplicate lock
        // still runs, each later one without a pause.
        const bool typedOn = begun
            ? now - duplicateRowLastKey_ <= DuplicateRowPause
            : dupeLockRemaining(EntryState::instance().DuplicateSteadyTime, now).count() > 0;
        if (typedOn && entryRowEmpty()) {
            // The first key still waits for the end of the lock.
            afterCallKeyPress();
            duplicateRowLastKey_ = clock().steadyNow();
            if (k == vk::Return)
                duplicateRowKeys_ = false;
            k = 0;
            return true;
        }
        duplicateRowKeys_ = false;
    }
    // Enter on an emptied row (a second Enter after a contact): nothing to
    // check, so no message and no move out of the call field.
    if (k == vk::Return && entryRowEmpty()) {
        k = 0;
        return true;
    }
    return false;
}

void LogWindow::logKeyedContact()
{
    endDuplicateRowKeys();
    if (!txtCall->text().isEmpty())
        Mains();
}

bool LogWindow::logOnEnter(int& k)
{
    if (k != vk::Return)
        return false;
    k = 0;
    Mains();
    return true;
}

void LogWindow::txtCall_KeyPress(int& k)
{
    const bool outOfState = variant() == Variant::OutOfState;
    const bool loggedOn = LogOnState::instance().LoggedOnFlag == 1;
    const QString call = txtCall->text();

    setDupeFontSize(9);

    if (call.size() < 2 && !(outOfState && k == vk::Return)) {
        txtCntry->clear();
        Label19->clear();
        Label22->clear();
        Label23->clear();
    }
    if (k == '"')
        k = 0;

    // A digit after a complete call starts the report received.
    if (digitTypesThrough(call, caretOf(*txtCall), k)) {
        handKey(k, 4);
        txtRSTR->setFocus();
        if (txtCall->text().isEmpty()) {
            // Leaving the call field found a duplicate and cleared the row:
            // the digit belongs to no contact, and the duplicate lock waits
            // for the next key as after any other duplicate.
            handOver().KeyTarget = 0;
            k = 0;
            return;
        }
        int handed = k;
        txtRSTR_KeyPress(handed);
        k = 0;
    }

    if (call.size() < 3 && loggedOn && !(outOfState && k == vk::Return))
        lblDialog->setText(QStringLiteral(" "));
    if (!loggedOn) {
        lblDialog->setText(QStringLiteral("Click Log \"Time On\"!"));
        prompt().beep();
    }
    if (logOnEnter(k))
        return;
    if (k == vk::Space) {
        k = 0;
        txtRSTR->setFocus();
        return;
    }
    UpperKey(k);
    ShowPossibleDupes(k);
    // The in-state duplicate lock holds the character until it is released.
    afterCallKeyPress();
}

void LogWindow::txtRSTR_KeyPress(int& k)
{
    const bool inState = variant() == Variant::InState;
    if (k > '9') {
        // A letter starts the exchange in the next field.
        handKey(k, 3);
        if (inState) {
            UpperKey(k);
            txtCntry_KeyPress(k);
        } else {
            txtSec_KeyPress(k);
        }
        k = vk::Space;
    }
    if (handOver().KeyTarget == 4)
        k = pendingKey();
    if (logOnEnter(k))
        return;
    if (k == vk::Space)
        (inState ? txtCntry : txtSec)->setFocus();
    DigitKey(k);
    if (handOver().KeyTarget == 4)
        takeHandedKey(txtRSTR, k);
}

void LogWindow::txtSec_KeyPress(int& k)
{
    const bool inState = variant() == Variant::InState;
    if (k == '"') {
        k = 0;
        return;
    }
    if (inState && isDigitKey(k)) {
        // A digit is the report sent.
        handKey(k, 1);
        int handed = k;
        txtRSTS_KeyPress(handed);
        k = vk::Space;
    }
    if (!inState && handOver().KeyTarget == 3)
        k = pendingKey();
    if (logOnEnter(k))
        return;
    if (k == vk::Space) {
        // A Space before a space of the proposed name is typed (two-word
        // names); any other accepts the field and moves on.
        const QString text = txtSec->text();
        const int caret = caretOf(*txtSec);
        if (caret >= text.size() || text.at(caret) != u' ') {
            k = 0;
            txtRSTS->setFocus();
            return;
        }
    }
    const CountyTable& counties = CountyTable::instance();
    if (TypeAheadComplete(*txtSec, k, counties.CountyName, counties.count(),
                          TypeAheadRules::entryCounty()) != 0)
        handOver().KeyTarget = 0;
    if (!inState && handOver().KeyTarget == 3)
        takeHandedKey(txtSec, k);
}

void LogWindow::txtCntry_KeyPress(int& k)
{
    KeyHandOver& ho = handOver();
    if (k == '"') {
        k = 0;
        return;
    }
    if (logOnEnter(k))
        return;
    if (k == vk::Space && caretOf(*txtCntry) == 0 && ho.KeyTarget == 0) {
        k = 0;
        txtSec->setFocus();
        return;
    }
    if (isDigitKey(k)) {
        handKey(k, 4);
        int handed = k;
        txtSec_KeyPress(handed);
        k = 0;
        txtSec->setFocus();
        return;
    }
    if (ho.KeyTarget == 3)
        takeHandedKey(txtCntry, k);

    // Two capitals for a state or province code, mixed case from the third
    // character on for a country name, completed from the country table.
    const int caret = caretOf(*txtCntry);
    if (k != vk::Space && caret == 0)
        txtCntry->clear();
    if (txtCntry->text().isEmpty() || caret < 2)
        UpperKey(k);
    if (k != vk::Space && caret == 2) {
        const QString t = txtCntry->text();
        txtCntry->setText(t.left(1) + t.mid(1, 1).toLower());
        txtCntry->setCursorPosition(2);
    }
    if (txtCntry->text().size() > 1) {
        const CountryTable& countries = CountryTable::instance();
        const int row = TypeAheadComplete(*txtCntry, k, countries.CountryName,
                                          countries.CountryCount, {true, false});
        if (row > 0) {
            const auto r = static_cast<size_t>(row);
            Label19->setText(countries.CountryContinent[r]);
            ShowBearingDistance(countries.CountryLatitude[r], countries.CountryLongitude[r]);
        }
        if (k == vk::Space) {
            k = 0;
            txtSec->setFocus();
        }
    }
}

void LogWindow::txtRSTS_KeyPress(int& k)
{
    if (handOver().KeyTarget == 1)
        k = pendingKey();
    if (logOnEnter(k))
        return;
    if (k == vk::Space) {
        // On to the next field once this key is done.
        QCoreApplication::postEvent(txtRSTS,
                                    new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
    }
    DigitKey(k);
    if (handOver().KeyTarget == 1)
        takeHandedKey(txtRSTS, k);
}

// ---------------------------------------------------------------------------
// Changes and focus

void LogWindow::txtCall_Change()
{
    KeyingState::instance().CwMacroCall = txtCall->text();
    LookupCallCountry();
}

void LogWindow::txtRSTS_Change()
{
    KeyingState::instance().CwMacroRst = txtRSTS->text();
}

void LogWindow::txtCall_GotFocus()
{
    cmdEdit->hide();
    cmdDelete->hide();
    if (txtCall->text().isEmpty()) {
        txtRSTS->clear();
        txtRSTR->clear();
    }
    voicePrompt("Call", 1);
    const int rows = ListView1->rowCount();
    if (txtCall->text().isEmpty() && rows < ContactLog::instance().ContactCount && rows < 18)
        RefreshContactList();
}

void LogWindow::txtCall_LostFocus()
{
    if (txtCall->text().isEmpty())
        return;
    DupCheck2();
    // A duplicate found on the way has cleared the row: no defaults then.
    if (txtCall->text().isEmpty())
        return;
    const QString report = defaultReport(StationSettings::instance().CurrentMode);
    for (EntryBox* box : {txtRSTR, txtRSTS}) {
        if (box->text().isEmpty()) {
            box->setText(report);
            selectWhole(box);
        }
    }
    if (variant() == Variant::InState && txtCntry->text().isEmpty()) {
        const QString province = canadianProvince(txtCall->text());
        if (!province.isEmpty()) {
            txtCntry->setText(province);
            selectWhole(txtCntry);
        }
    }
}

void LogWindow::txtRSTR_GotFocus()
{
    voicePrompt("SerNum", 2);
}

void LogWindow::txtRSTS_GotFocus()
{
    voicePrompt("RstSnt", 2);
}

void LogWindow::txtSec_GotFocus()
{
    voicePrompt("County", 2);
}

void Infrm::txtSec_GotFocus()
{
    // Only a home-state station has a county: the focus passes on in the
    // direction it came, forward to the report sent or back to the state.
    if (!sameText(txtCntry->text(), StationSettings::instance().HomeStateCode)) {
        if (focusCameBackwards())
            txtCntry->setFocus(Qt::BacktabFocusReason);
        else
            txtRSTS->setFocus();
        lblStation(4)->setEnabled(false);
    } else {
        lblStation(4)->setEnabled(true);
    }
    LogWindow::txtSec_GotFocus();
}

void Infrm::txtCntry_GotFocus()
{
    voicePrompt("SPC", 2);
    if (callHasDistrictFive(txtCall->text()) && txtCntry->text().isEmpty()) {
        txtCntry->setText(StationSettings::instance().HomeStateCode);
        selectWhole(txtCntry);
    }
}

// ---------------------------------------------------------------------------
// State, province or country

namespace {

bool namesNoNewCountry(const QString& text)
{
    for (const char* name : {"Not Found", "Hawaii", "Alaska", "Canada", "USA"})
        if (sameText(text, QString::fromLatin1(name)))
            return true;
    return false;
}

} // namespace

void LogWindow::showStatePosition(const QString& text)
{
    const StateTable& states = StateTable::instance();
    if (const int i = stateIndex(text, states)) {
        Label19->setText(QStringLiteral("NA"));
        const auto n = static_cast<size_t>(i);
        ShowBearingDistance(states.StateLatitude[n], states.StateLongitude[n]);
    }
}

void LogWindow::txtCntry_Change()
{
    showStatePosition(txtCntry->text());
    // This window names no countries: the "New" mark stays hidden.
    Label3->hide();
}

void Infrm::txtCntry_Change()
{
    const QString text = txtCntry->text();
    lblStation(4)->setEnabled(sameText(text, StationSettings::instance().HomeStateCode));
    showStatePosition(text);
    Label3->setVisible(text.size() > 2 && !namesNoNewCountry(text) && findListEntry(List1, text) < 0);
}

void Infrm::LookupCallCountry()
{
    using Kind = CountryLookupResult::Kind;
    const CountryLookupResult r = lookupCallCountry(txtCall->text(), CountryTable::instance());
    switch (r.kind) {
    case Kind::NoCall:
        break;
    case Kind::Found:
        txtCntry->setText(r.fieldText);
        Label19->setText(r.continent);
        if (r.hasPosition) {
            ShowBearingDistance(r.latitude, r.longitude);
        } else {
            Label22->clear();
            Label23->clear();
        }
        break;
    case Kind::HomeArea:
    case Kind::NotFound:
        if (r.kind == Kind::NotFound)
            txtCntry->setText(r.fieldText);
        Label22->clear();
        Label23->clear();
        Label19->setText(r.continent);
        break;
    }
    if (r.kind != Kind::NoCall)
        selectWhole(txtCntry);
    if (txtCntry->text() == QLatin1String("Not Found")) {
        Label22->clear();
        Label23->clear();
        Label19->clear();
    }
}

void LogWindow::ShowBearingDistance(float latitude, float longitude)
{
    const StationSettings& st = StationSettings::instance();
    const BearingDistance bd =
        bearingDistance(st.OwnLatitude, st.OwnLongitude, latitude, longitude);
    Label22->setText(bd.bearing);
    Label23->setText(bd.distance);
}

// ---------------------------------------------------------------------------
// Clearing the row

void LogWindow::ClearEntry()
{
    endDuplicateRowKeys();
    emptyEntryRow();
    setDupeColoured(false);
    setDialogRed(false);
    lblDupe->clear();
    lblDialog->clear();
    txtCall->setFocus();
}

void LogWindow::mnuClear_Click()
{
    ClearEntry();
}

} // namespace zq
