#include "startup/frmStationID.h"

#include "common/EntryBox.h"
#include "common/KeyCodes.h"
#include "common/NamedControls.h"
#include "common/OperatorChoice.h"
#include "common/ProgramEnd.h"
#include "common/ScreenReader.h"
#include "common/TwipsLayout.h"
#include "common/WindowFit.h"
#include "common/WindowRegistry.h"
#include "entry/TypeAhead.h"
#include "keying/CWFrm.h"
#include "keying/PhoneFrm.h"
#include "logstore/CountyTable.h"
#include "logstore/PositionTables.h"
#include "logstore/PrefFile.h"
#include "logstore/StationSettings.h"
#include "common/LogWindowLink.h"
#include "platform/Prompt.h"
#include "platform/QuotedText.h"
#include "startup/SharedPrefs.h"
#include "startup/UtcOffsetCheck.h"

#include <QCloseEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <iterator>

namespace zq {

namespace {

// Captions of the optState options, indexes 0..49.
const char* const kStateCodes[frmStationID::StateOptionCount] = {
    "AK", "AL", "AR", "AZ", "CA", "CO", "CT", "DE", "FL", "GA", "HI", "IA", "ID",
    "IL", "IN", "KS", "KY", "LA", "MA", "MD", "ME", "MI", "MN", "MO", "MS", "MT",
    "NC", "ND", "NE", "NH", "NJ", "NM", "NV", "NY", "OH", "OR", "PA", "RI", "SC",
    "SD", "TN", "TX", "UT", "VA", "VT", "WA", "WI", "WV", "WY", "ZQ"};

// The state QSO parties this program can log.
bool stateAvailable(const QString& code)
{
    return code == QLatin1String("ZQ");
}

struct FieldDesign {
    int index;
    const char* caption;
    double top;
    bool visible;
};

// Entry fields in tab order, each with its label.
const FieldDesign kFields[] = {
    {1, "Please Enter your Call Sign:", 240, true},
    {5, "Your State / Province:", 640, true},
    {8, "Your County:", 1040, true},
    {6, "Hours added for UTC:", 1440, true},
    {2, "Your Country:", 1840, true},
    {3, "Your Longitude:", 2240, true},
    {4, "Your Latitude:", 2640, true},
    {7, "Your Continent:", 3040, true},
    {9, "Your ARRL Section:", 3440, true},
    {10, "Your Name:", 3840, false},
    {11, "Your Category:", 4240, false},
    {12, "Your City:", 4640, false},
};

// A number as the set-up fields take it: decimal, optional minus, fitting
// a single-precision value.
bool fieldNumber(const QString& text, float* out = nullptr)
{
    float f = 0;
    if (!parseSingle(QuotedValue{text.trimmed(), true}, &f))
        return false;
    if (out)
        *out = f;
    return true;
}

void setBold(QWidget* w, bool bold)
{
    QFont f = w->font();
    f.setBold(bold);
    w->setFont(f);
}

} // namespace

frmStationID::frmStationID()
{
    setObjectName(QStringLiteral("frmStationID"));
    setWindowTitle(QStringLiteral(" Setup Information"));
    // A plain top-level widget: announced as what it is, not as a filler.
    readAsWindow(*this, WindowRole::Dialog);
    buildControls();
}

void frmStationID::buildControls()
{
    EntryBox* previous = nullptr;
    for (const FieldDesign& d : kFields) {
        QLabel* label = makeNamedLabel(this, QStringLiteral("Label%1").arg(d.index),
                                       QString::fromLatin1(d.caption), 240, d.top + 30, 2520, 255);
        label->setVisible(d.visible);
        Label[d.index] = label;

        EntryBox* box = makeNamedBox(this, QStringLiteral("Text%1").arg(d.index), QString(), 2880,
                                     d.top, 1800);
        box->setVisible(d.visible);
        Text[d.index] = box;
        if (previous)
            setTabOrder(previous, box);
        previous = box;
    }
    Text[6]->setTypedLimit(7);

    // Enter runs Done in every field but the country; then the field's filter.
    for (int i : {1, 5, 7, 9, 10, 11, 12}) {
        Text[i]->onKeyPress = [this](int& k) {
            doneOnEnter(k);
            Cap3(k);
        };
        Text[i]->setCapitals(true);
    }
    for (int i : {3, 4, 6}) {
        Text[i]->onKeyPress = [this](int& k) {
            doneOnEnter(k);
            NumBerr(k);
        };
        Text[i]->characterFilter = NumBerr;
    }
    Text[8]->onKeyPress = [this](int& k) { Text8_KeyPress(k); };
    Text[2]->onKeyPress = [this](int& k) { Text2_KeyPress(k); };
    Text[6]->installEventFilter(this);

    Frame1 = makeNamedFrame(this, QStringLiteral("Frame1"), QStringLiteral("Are you in Carvonia?"),
                            4740, 240, 2955, 720);
    Option1 = makeNamedOption(Frame1, QStringLiteral("Option1"), QStringLiteral("Yes"), 240, 330,
                              960);
    Option2 = makeNamedOption(Frame1, QStringLiteral("Option2"), QStringLiteral("No"), 1320, 330,
                              960);
    Frame2 = makeNamedFrame(this, QStringLiteral("Frame2"),
                            QStringLiteral("Are you operating as a Rover?"), 4740, 1080, 2955, 720);
    Option4 = makeNamedOption(Frame2, QStringLiteral("Option4"), QStringLiteral("Yes"), 240, 330,
                              960);
    Option3 = makeNamedOption(Frame2, QStringLiteral("Option3"), QStringLiteral("No"), 1320, 330,
                              960);
    Option3->setChecked(true);
    connect(Option1, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option1_Click();
    });
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option2_Click();
    });

    Frame3 = makeNamedFrame(this, QStringLiteral("Frame3"),
                            QStringLiteral("Please select the state QSO party:"), 240, 3960, 7260,
                            1800);
    for (int i = 0; i < StateOptionCount; ++i) {
        const QString code = QString::fromLatin1(kStateCodes[i]);
        auto* o = makeNamedOption(Frame3, QStringLiteral("optState%1").arg(i), code,
                                  160 + (i % 10) * 705, 300 + (i / 10) * 290, 630);
        o->setProperty("index", i);
        o->setEnabled(stateAvailable(code));
        onOperatorChoice(o, this, [this, i] { optState_Click(i); });
        optState[i] = o;
    }

    Command1 = new QPushButton(QStringLiteral("Done"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    placeControl(*Command1, 5520, 2640, 1320, 420);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

    resize(twipsToPixelsX(7740), twipsToPixelsY(6240));
}

void frmStationID::reportLoadFailure()
{
    prompt().message(QStringLiteral("Error opening file"), QStringLiteral("Error opeining file"),
                     MsgButtons::Ok);
}

// Each step stands on its own: a file that is missing or damaged leaves its
// own values at their defaults and the later steps still run.
void frmStationID::Form_Load()
{
    ResizeFormToScreen(*this);

    // A first run has no preferences yet: the defaults stand, silently.
    if (ReadPrefFile() == PrefReadResult::Failed)
        reportLoadFailure();

    CheckUTCOffset();

    if (LoadCountryTable() == TableLoad::Failed)
        reportLoadFailure();

    if (LoadStateTable() != TableLoad::Ok)
        reportLoadFailure();

    showStateChoice();

    const StationSettings& s = StationSettings::instance();
    setOptionValue(s.OutOfStateFlag != 0 ? *Option2 : *Option1, true);
    enableRoverChoice(s.OutOfStateFlag == 0);
    if (s.RoverFlag == 1)
        setOptionValue(*Option4, true);
    else
        setOptionValue(*Option3, true);

    // The keyers' settings: a missing file leaves their design values.
    if (LoadWaveSettings() == WaveSettingsLoad::Failed)
        reportLoadFailure();
    ReadCWSettings();

    Text[1]->setText(s.OwnCall);
    Text[5]->setText(s.OwnSpc);
    Text[6]->setText(bareNumber(s.UtcOffsetHours));
    Text[2]->setText(s.OwnCountry);
    Text[3]->setText(bareNumber(s.OwnLongitude));
    Text[4]->setText(bareNumber(s.OwnLatitude));
    Text[7]->setText(s.OwnContinent);
    Text[8]->setText(s.OwnCounty);
    Text[9]->setText(s.OwnArrlSection);
    Text[10]->setText(s.OwnName);
    Text[11]->setText(s.OwnCategory);
    Text[12]->setText(s.OwnCity);
}

void frmStationID::showStateChoice()
{
    const QString home = StationSettings::instance().HomeStateCode;
    for (QRadioButton* o : optState) {
        const bool chosen = o->text().compare(home, Qt::CaseInsensitive) == 0;
        setOptionValue(*o, chosen);
        setBold(o, chosen);
    }
}

void frmStationID::Cap3(int& keyAscii)
{
    if (keyAscii != vk::Tab && keyAscii >= 'a' && keyAscii <= 'z')
        keyAscii -= 'a' - 'A';
}

void frmStationID::NumBerr(int& keyAscii)
{
    if (keyAscii == vk::Back)
        return;
    if (keyAscii >= '-' && keyAscii <= '9')
        return;
    keyAscii = 0;
}

void frmStationID::doneOnEnter(int& keyAscii)
{
    if (keyAscii != vk::Return)
        return;
    keyAscii = 0;
    Command1_Click();
}

void frmStationID::Text8_KeyPress(int& keyAscii)
{
    doneOnEnter(keyAscii);
    EntryBox* box = Text[8];
    const QString text = box->text();
    const int caret = caretOf(*box);
    if (text.isEmpty() || caret == 0 || text.endsWith(QLatin1Char(' ')))
        UpperKey(keyAscii);
}

void frmStationID::Text2_KeyPress(int& keyAscii)
{
    // The country completes as typed; the text after the caret stays when
    // nothing is completed.
    const CountryTable& t = CountryTable::instance();
    const int row = TypeAheadComplete(*Text[2], keyAscii, t.CountryName, t.CountryCount,
                                      {false, false, false});
    if (row == 0)
        return;
    const auto i = static_cast<size_t>(row);
    Text[3]->setText(bareNumber(t.CountryLongitude[i]));
    Text[4]->setText(bareNumber(t.CountryLatitude[i]));
    Text[7]->setText(t.CountryContinent[i]);
}

void frmStationID::Text6_LostFocus()
{
    if (fieldNumber(Text[6]->text()))
        return;
    prompt().beep();
    QTimer::singleShot(0, Text[6], [box = Text[6]] { box->setFocus(Qt::OtherFocusReason); });
}

bool frmStationID::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Text[6] && event->type() == QEvent::FocusOut && !done_) {
        // Only a move to another control of the dialog counts as leaving.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            Text6_LostFocus();
    }
    return QWidget::eventFilter(watched, event);
}

void frmStationID::enableRoverChoice(bool enabled)
{
    Frame2->setEnabled(enabled);
    Option4->setEnabled(enabled);
    Option3->setEnabled(enabled);
}

void frmStationID::Option1_Click()
{
    enableRoverChoice(true);
}

void frmStationID::Option2_Click()
{
    setOptionValue(*Option4, false);
    setOptionValue(*Option3, true);
    enableRoverChoice(false);
}

void frmStationID::optState_Click(int index)
{
    for (QRadioButton* o : optState)
        setBold(o, false);
    setBold(optState[index], true);
}

void frmStationID::Command1_Click()
{
    if (done_)
        return;
    done_ = true;

    for (int i : {6, 3, 4}) {
        if (!fieldNumber(Text[i]->text()))
            Text[i]->setText(QStringLiteral("0"));
    }

    StationSettings& s = StationSettings::instance();
    s.HomeStateCode = QStringLiteral("ZQ");
    s.OutOfStateFlag = Option1->isChecked() ? 0 : 1;
    s.RoverFlag = Option4->isChecked() ? 1 : 0;

    s.OwnCall = Text[1]->text();
    s.OwnSpc = Text[5]->text();
    s.OwnCounty = Text[8]->text();
    fieldNumber(Text[6]->text(), &s.UtcOffsetHours);
    s.OwnCountry = Text[2]->text();
    fieldNumber(Text[3]->text(), &s.OwnLongitude);
    fieldNumber(Text[4]->text(), &s.OwnLatitude);
    s.OwnContinent = Text[7]->text();
    s.OwnArrlSection = Text[9]->text();
    s.OwnName = Text[10]->text();
    s.OwnCategory = Text[11]->text();
    s.OwnCity = Text[12]->text();

    WritePrefFile();

    const struct {
        const char* key;
        int box;
    } shared[] = {{"OWN_CALL", 1},      {"OWN_SPC", 5},       {"OWN_UTC", 6},
                  {"OWN_COUNTY", 8},    {"OWN_COUNTRY", 2},   {"OWN_LONGITUDE", 3},
                  {"OWN_LATITUDE", 4},  {"OWN_CONTINENT", 7}, {"OWN_ARRL_SECTION", 9}};
    const int last = static_cast<int>(std::size(shared)) - 1;
    for (int i = 0; i <= last; ++i) {
        QString key = QString::fromLatin1(shared[i].key);
        SetSharedPref(key, Text[shared[i].box]->text(), i == last ? 1 : 0);
    }

    ShowLogWindow();
    WindowRegistry::unload<frmStationID>();
}

// Closing the dialog without Done ends the program: no log window can open
// without a station, and nothing is written.
void frmStationID::closeEvent(QCloseEvent* e)
{
    e->accept();
    if (done_)
        return;
    done_ = true;
    endProgram();
}

} // namespace zq
