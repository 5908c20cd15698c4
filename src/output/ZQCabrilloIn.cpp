#include "output/ZQCabrilloIn.h"

#include "common/EntryBox.h"
#include "platform/Folders.h"
#include "common/Form1.h"
#include "common/LogWindowLink.h"
#include "common/NamedControls.h"
#include "common/TwipsLayout.h"
#include "common/WindowFit.h"
#include "logstore/ContactLog.h"
#include "logstore/StationSettings.h"
#include "common/CommonDialog.h"
#include "platform/Prompt.h"
#include "platform/SafeFile.h"
#include "platform/SettingsStore.h"
#include "startup/SharedPrefs.h"
#include "platform/UserFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace zq {

namespace {

const QString kFailureTitle = QStringLiteral("Unable to write file.");

// The remembered boxes: settings key and shared preferences key as passed.
struct RememberedBox {
    const char* settingsKey;
    const char* sharedKey;
};
const RememberedBox kRemembered[4] = {
    {"UserAddressName", "OWN_ADDRESS_NAME"},
    {"UserAddressLine1", "OWN_ADDRESS_Line1"},
    {"UserAddressLine2", "OWN_ADDRESS_Line2"},
    {"UserEMail", "OWN_EMAIL"},
};

void reportFailure(const QString& text)
{
    Folders::makeWorkingFolderCurrent();
    prompt().beep();
    prompt().message(text, kFailureTitle, MsgButtons::Ok);
}

QLabel* makeCaption(QWidget* parent, const char* name, const char* caption, double left,
                    double top, double width, double height)
{
    QLabel* label = makeNamedLabel(parent, QLatin1String(name), QString::fromLatin1(caption), left,
                                   top, width, height);
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(9.75);
    label->setFont(f);
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption, double left,
                        double top, double width, double height)
{
    auto* b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    placeControl(*b, left, top, width, height);
    return b;
}

} // namespace

ZQCabrilloIn::ZQCabrilloIn()
{
    setObjectName(QStringLiteral("ZQCabrilloIn"));
    setWindowTitle(QStringLiteral("Summary Sheet Information"));
    buildControls();
}

void ZQCabrilloIn::buildControls()
{
    Line[0] = new LineControl(this, 45, 120, 9120, 120);
    Line[1] = new LineControl(this, 9120, 120, 9120, 3120);
    Line[2] = new LineControl(this, 9120, 3120, 45, 3120);
    Line[3] = new LineControl(this, 45, 3120, 45, 120);
    for (size_t i = 0; i < Line.size(); ++i)
        Line[i]->setObjectName(QStringLiteral("Line%1").arg(i + 1));

    Frame3 = makeNamedFrame(this, QStringLiteral("Frame3"), QStringLiteral("Location"), 120, 240,
                            1455, 855);
    Option12 = makeNamedOption(Frame3, QStringLiteral("Option12"), QStringLiteral("Carvonia"), 120,
                               240, 1215, 195);
    Option11 = makeNamedOption(Frame3, QStringLiteral("Option11"), QStringLiteral("World"), 120,
                               540, 1095, 195);
    Frame1 = makeNamedFrame(this, QStringLiteral("Frame1"), QStringLiteral("Category"), 1800, 240,
                            4095, 855);
    Option6 = makeNamedOption(Frame1, QStringLiteral("Option6"), QStringLiteral("Single Op"), 120,
                              240, 1320, 195);
    Option5 = makeNamedOption(Frame1, QStringLiteral("Option5"), QStringLiteral("Multi One"), 1440,
                              240, 1200, 195);
    Option9 = makeNamedOption(Frame1, QStringLiteral("Option9"), QStringLiteral("Multi Multi"),
                              2640, 240, 1215, 195);
    Option2 = makeNamedOption(Frame1, QStringLiteral("Option2"), QStringLiteral("Rover"), 120, 540,
                              975, 195);
    Option8 = makeNamedOption(Frame1, QStringLiteral("Option8"), QStringLiteral("QRP"), 1440, 540,
                              735, 195);
    Frame2 = makeNamedFrame(this, QStringLiteral("Frame2"), QStringLiteral("Power (Single Op Only)"),
                            6120, 240, 2415, 855);
    Option4 = makeNamedOption(Frame2, QStringLiteral("Option4"), QStringLiteral("High"), 120, 360,
                              820, 195);
    Option3 = makeNamedOption(Frame2, QStringLiteral("Option3"), QStringLiteral("Low (100W)"), 960,
                              360, 1335, 195);
    Option12->setChecked(true);
    Option6->setChecked(true);
    Option3->setChecked(true);

    Label6 = makeCaption(this, "Label6", "Your Name:", 240, 1320, 1095, 255);
    Text5 = makeNamedBox(this, QStringLiteral("Text5"), QString(), 1800, 1320, 2175, 285);
    Label9 = makeCaption(this, "Label9", "Address Line 1:", 240, 1680, 1455, 255);
    Text6 = makeNamedBox(this, QStringLiteral("Text6"), QString(), 1800, 1680, 2175, 285);
    Label8 = makeCaption(this, "Label8", "Address Line 2:", 240, 2040, 1455, 255);
    Text7 = makeNamedBox(this, QStringLiteral("Text7"), QString(), 1800, 2040, 2175, 285);
    Label7 = makeCaption(this, "Label7", "Email Address:", 240, 2400, 1335, 255);
    Text8 = makeNamedBox(this, QStringLiteral("Text8"), QString(), 1800, 2400, 1455, 285);
    Label1 = makeCaption(this, "Label1", "If Multi Op, list all calls:", 4320, 1200, 2415, 255);
    Text1 = makeNamedBox(this, QStringLiteral("Text1"), QString(), 6840, 1200, 2175, 285);
    Text1->onKeyPress = [](int& k) { Text1_KeyPress(k); };
    Text1->setCapitals(true);
    Label12 = makeCaption(this, "Label12",
                          "Soapbox (Add any comments you would like to make about the contest):",
                          4320, 1560, 4575, 495);
    Label12->setWordWrap(true);
    Text11 = makeNamedBox(this, QStringLiteral("Text11"), QString(), 4320, 2160, 4695, 285);
    // The submission file quotes nothing: its lines carry a double quote as
    // typed.
    for (EntryBox* box : {Text5, Text6, Text7, Text8, Text1, Text11})
        box->setQuotesAllowed(true);

    Command4 = makeButton(this, "Command4", "Write Cabrillo File", 4440, 2640, 3615, 375);
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    Command3 = makeButton(this, "Command3", "Done", 8280, 2640, 735, 375);
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });

    QWidget* const order[] = {Option12, Option11, Option6, Option5, Option2, Option8,
                              Option9,  Option4,  Option3, Text5,   Text6,   Text7,
                              Text8,    Text1,    Text11,  Command4, Command3};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);

    resize(twipsToPixelsX(9225, this), twipsToPixelsY(3210, this));
}

void ZQCabrilloIn::Form_Load()
{
    ResizeFormToScreen(*this);
    EntryBox* boxes[4] = {Text5, Text6, Text7, Text8};
    for (size_t i = 0; i < std::size(boxes); ++i)
        boxes[i]->setText(oneLineText(GetSetting(QLatin1String(kRemembered[i].settingsKey))));
}

CabrilloLocation ZQCabrilloIn::location() const
{
    if (Option12->isChecked())
        return CabrilloLocation::Carvonia;
    if (Option11->isChecked())
        return CabrilloLocation::World;
    return CabrilloLocation::None;
}

CabrilloCategory ZQCabrilloIn::category() const
{
    if (Option6->isChecked())
        return CabrilloCategory::SingleOp;
    if (Option5->isChecked())
        return CabrilloCategory::MultiOne;
    if (Option9->isChecked())
        return CabrilloCategory::MultiMulti;
    if (Option2->isChecked())
        return CabrilloCategory::Rover;
    if (Option8->isChecked())
        return CabrilloCategory::Qrp;
    return CabrilloCategory::None;
}

CabrilloPower ZQCabrilloIn::power() const
{
    if (Option4->isChecked())
        return CabrilloPower::High;
    if (Option3->isChecked())
        return CabrilloPower::Low;
    return CabrilloPower::None;
}

void ZQCabrilloIn::Text1_KeyPress(int& keyAscii)
{
    // a-z become capitals; every other key, the double quote included,
    // passes unchanged.
    if (keyAscii >= 'a' && keyAscii <= 'z')
        keyAscii -= 'a' - 'A';
}

void ZQCabrilloIn::Command4_Click()
{
    Folders::makeWorkingFolderCurrent();
    StationSettings& st = StationSettings::instance();
    st.OwnCall = trimBlanks(st.OwnCall);
    const Folders& folders = Folders::instance();

    ActiveLogWindow& window = Form1::logWindow();
    CommonDialog& dialog = window.fileDialog();
    dialog.InitDir = folders.UserDirectory;
    dialog.FileName =
        folders.UserDirectory + QLatin1Char('/') + CallFileStem(st.OwnCall) + QStringLiteral(".log");
    dialog.Filter = QStringLiteral("LOG Files (*.log) | *.log");
    dialog.Flags = CommonDialog::OverwritePrompt;
    dialog.FilterIndex = 1;
    const bool chosen = dialog.ShowSave();
    Folders::makeWorkingFolderCurrent();
    if (!chosen)
        return; // cancelled or refused: nothing written, nothing remembered

    const QString target = QFileInfo(dialog.FileName).absoluteFilePath();
    const QString shown = QDir::toNativeSeparators(target);

    CabrilloHeader header;
    header.programVersion = folders.ProgramVersion;
    header.ownCall = st.OwnCall;
    header.ownArrlSection = st.OwnArrlSection;
    header.homeStateCode = st.HomeStateCode;
    header.category = cabrilloCategory(location(), category(), power());
    header.operators = Text1->text();
    header.claimedScore = cabrilloScoreText(window.totalScoreLabel().text());
    header.name = Text5->text();
    header.addressLine1 = Text6->text();
    header.addressLine2 = Text7->text();
    header.email = Text8->text();
    header.soapbox = Text11->text();
    const CabrilloStation station{st.OwnCall, st.OwnSpc, st.OutOfStateFlag == 1};
    const ContactLog& log = ContactLog::instance();

    QString reason;
    if (!writeFileAtomically(target, formatCabrillo(header, station, log, log.ContactCount),
                             &reason)) {
        reportFailure(shown + QStringLiteral(": ") + reason);
        return;
    }
    Folders::makeWorkingFolderCurrent();

    prompt().message(QStringLiteral("The file was successfully written to the directory:\n\n")
                         + shown
                         + QStringLiteral(".\n\nAttach this file to an e-mail addressed for contest "
                                          "submission.  If you wish to print this file, you can "
                                          "open it with Notepad or Wordpad to print."),
                     QStringLiteral("File Written Successfully."), MsgButtons::Ok);
    prompt().message(QStringLiteral("Thanks for using this program.  I hope that you enjoyed it!  "
                                    "If so, please tell a friend!"),
                     QStringLiteral("  Thanks!"), MsgButtons::Ok);
    Command3->setFocus();
    rememberAddress();
}

void ZQCabrilloIn::rememberAddress()
{
    const QString values[4] = {trimBlanks(Text5->text()), trimBlanks(Text6->text()),
                               trimBlanks(Text7->text()), trimBlanks(Text8->text())};
    for (size_t i = 0; i < std::size(values); ++i)
        SaveSetting(QLatin1String(kRemembered[i].settingsKey), values[i]);
    for (size_t i = 0; i < std::size(values); ++i) {
        QString key = QLatin1String(kRemembered[i].sharedKey);
        SetSharedPref(key, values[i], i + 1 == std::size(values) ? 1 : 0);
    }
}

void ZQCabrilloIn::Command3_Click()
{
    hide();
}

} // namespace zq
