// Every window of the program at the screen sizes operators use, each with
// its fitted fonts: every caption, value and button shows whole, no two
// visible controls overlap, every control lies inside its window, and the
// window's frame, title bar included, lies inside the screen's available
// area, and the window and every control that takes the focus have a short
// accessible name (a caption) for screen readers.  The log windows and the set-up dialog are also walked at the design
// size, with the values of a full log.  One test per screen size.

#include "support/LogWindowTestSupport.h"

#include "common/Form1.h"
#include "common/ModalShow.h"
#include "common/NamedControls.h"
#include "common/WindowFit.h"
#include "keying/BlindFrm.h"
#include "keying/CWFrm.h"
#include "keying/PhoneFrm.h"
#include "keying/frmCodePractice.h"
#include "keying/frmWinKey.h"
#include "logstore/ArchiveRestore.h"
#include "logwindow/Form5.h"
#include "logwindow/Form6.h"
#include "output/CountyMapZQ.h"
#include "output/GraphQSO.h"
#include "output/ZQCabrilloIn.h"
#include "output/ZQEditInfrm.h"
#include "output/ZQEditOut.h"
#include "output/frmCountyChange.h"
#include "output/frmCountyChangeRover.h"
#include "output/frmCountyList.h"
#include "platform/Prompt.h"
#include "platform/QuotedText.h"
#include "rig/RigControlfrm.h"
#include "rig/frmBandPlan.h"
#include "rig/frmFrequencyTest.h"
#include "rig/frmRigTune.h"
#include "spots/BandMapWindow.h"
#include "spots/PacketSpotfrm.h"
#include "startup/StationSetupEntry.h"
#include "startup/frmBrelvoxLogo.h"
#include "startup/frmSplash.h"
#include "startup/frmStationID.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QHash>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTableView>
#include <QTextEdit>
#include <QTimer>
#include <QTreeView>

#include <iostream>

using namespace zq;
using namespace zq::test;

namespace {

QString nameOf(const QWidget* w)
{
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
}

// The controls of a window whose text is cut, with the widths.
QStringList clippedCaptions(QWidget& window)
{
    QStringList out;
    auto check = [&](QWidget* w, const QString& text, int room) {
        // Hidden buttons too: what a window shows on demand must fit as
        // well.  (Hidden labels may hold a placeholder.)
        if (text.trimmed().isEmpty() || (qobject_cast<QLabel*>(w) && !w->isVisibleTo(&window)))
            return;
        const int need = QFontMetrics(w->font()).horizontalAdvance(text);
        if (need > room)
            out << QStringLiteral("%1 \"%2\": %3 px in %4").arg(w->objectName(), text).arg(need).arg(room);
    };
    for (QLabel* l : window.findChildren<QLabel*>()) {
        if (!l->pixmap().isNull())
            continue;
        if (!l->wordWrap()) {
            check(l, l->text(), l->contentsRect().width() - 2 * l->margin());
        } else if (!l->text().trimmed().isEmpty() && l->isVisibleTo(&window)) {
            // A wrapping label shows its text whole when every line fits.
            const int need = l->heightForWidth(l->width());
            if (need > l->height())
                out << QStringLiteral("%1 \"%2\": %3 px high in %4")
                           .arg(l->objectName(), l->text()).arg(need).arg(l->height());
        }
    }
    for (QAbstractButton* b : window.findChildren<QAbstractButton*>()) {
        int room = b->width();
        if (qobject_cast<QPushButton*>(b)) {
            // Inside the bevel, as the style draws the caption.
            QStyleOptionButton opt;
            opt.initFrom(b);
            room = b->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, b).width();
        }
        if (qobject_cast<QCheckBox*>(b) || qobject_cast<QRadioButton*>(b))
            room -= b->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, b)
                + b->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, b);
        else if (!qobject_cast<QPushButton*>(b))
            continue;
        QString text = b->text();
        text.remove(QLatin1Char('&'));
        if (b->property("wordWrap").toBool() && !text.trimmed().isEmpty()) {
            // A wrapping caption shows whole when its lines fit the button.
            QStyleOptionButton opt;
            opt.initFrom(b);
            const QRect inside = b->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, b);
            const QRect need = QFontMetrics(b->font()).boundingRect(inside, Qt::AlignCenter | Qt::TextWordWrap, text);
            if (!inside.contains(need))
                out << QStringLiteral("%1 \"%2\": %3 x %4 px in %5 x %6")
                           .arg(nameOf(b), text).arg(need.width()).arg(need.height())
                           .arg(inside.width()).arg(inside.height());
            continue;
        }
        check(b, text, room - (b->icon().isNull() ? 0 : b->iconSize().width() + 4));
    }
    // Values in text boxes and combo boxes, and the captions of frames.
    for (QLineEdit* e : window.findChildren<QLineEdit*>()) {
        if (qobject_cast<QComboBox*>(e->parentWidget()) || qobject_cast<QAbstractSpinBox*>(e->parentWidget()))
            continue;
        const int frame = e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, e) : 0;
        const QMargins m = e->textMargins();
        check(e, e->text(), e->contentsRect().width() - 2 * frame - 4 - m.left() - m.right());
    }
    for (QComboBox* c : window.findChildren<QComboBox*>()) {
        QStyleOptionComboBox opt;
        opt.initFrom(c);
        opt.editable = c->isEditable();
        opt.frame = c->hasFrame();
        const QRect field = c->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, c);
        check(c, c->currentText(), field.width() - 4);
    }
    for (QGroupBox* g : window.findChildren<QGroupBox*>())
        check(g, g->title(), g->width() - 16);

    // The columns of the lists: header and every row.
    for (QAbstractItemView* list : window.findChildren<QAbstractItemView*>()) {
        QHeaderView* header = nullptr;
        if (auto* tree = qobject_cast<QTreeView*>(list))
            header = tree->header();
        else if (auto* table = qobject_cast<QTableView*>(list))
            header = table->horizontalHeader();
        if (!header || !list->isVisibleTo(&window))
            continue;
        const QAbstractItemModel* m = list->model();
        const QFontMetrics fm(list->font());
        const int pad = 2 * list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 2;
        for (int c = 0; c < m->columnCount(); ++c) {
            if (header->isSectionHidden(c))
                continue;
            const int room = header->sectionSize(c) - pad;
            QString widest = m->headerData(c, Qt::Horizontal).toString();
            int need = QFontMetrics(header->font()).horizontalAdvance(widest);
            for (int r = 0; r < m->rowCount(); ++r) {
                const QString t = m->index(r, c).data().toString();
                if (fm.horizontalAdvance(t) > need) {
                    need = fm.horizontalAdvance(t);
                    widest = t;
                }
            }
            if (need > room)
                out << QStringLiteral("%1 column %2 \"%3\": %4 px in %5")
                           .arg(list->objectName()).arg(c).arg(widest).arg(need).arg(room);
        }
    }
    return out;
}

// Where a control shows something: a label without frame or background
// only where its text is; everything else over its whole rectangle.
QRect shownRect(const QWidget& w)
{
    const auto* l = qobject_cast<const QLabel*>(&w);
    if (!l || !l->pixmap().isNull() || l->frameShape() != QFrame::NoFrame || l->autoFillBackground())
        return w.geometry();
    if (l->text().trimmed().isEmpty())
        return {};
    const QRect inside = l->contentsRect().adjusted(l->margin(), l->margin(), -l->margin(), -l->margin());
    const int flags = int(l->alignment()) | (l->wordWrap() ? int(Qt::TextWordWrap) : 0);
    const QRect text = QFontMetrics(l->font()).boundingRect(inside, flags, l->text());
    return text.intersected(l->rect()).translated(l->pos());
}

bool drawn(const QWidget& w)
{
    return qobject_cast<const LineControl*>(&w) != nullptr;
}

// Visible controls of the window that overlap a sibling, or that reach out
// of their container.  `drawing` names the controls that are parts of a
// picture the window draws (strips, bars, hot spots): they may overlap one
// another, but not the window's captions and buttons.
QStringList misplacedControls(QWidget& window, const std::function<bool(const QWidget&)>& drawing)
{
    QStringList out;
    QList<QWidget*> shown;
    for (QWidget* c : formControls(window)) {
        if (c->isVisibleTo(&window) && !drawn(*c) && c->width() > 0 && c->height() > 0)
            shown << c;
    }
    for (QWidget* c : shown) {
        const QRect room = c->parentWidget()->rect();
        if (!room.contains(c->geometry()))
            out << QStringLiteral("%1 outside its container: %2,%3 %4 x %5 in %6 x %7")
                       .arg(nameOf(c)).arg(c->x()).arg(c->y()).arg(c->width()).arg(c->height())
                       .arg(room.width()).arg(room.height());
    }
    for (int i = 0; i < shown.size(); ++i) {
        for (int j = i + 1; j < shown.size(); ++j) {
            QWidget* a = shown[i];
            QWidget* b = shown[j];
            if (a->parentWidget() != b->parentWidget() || (drawing(*a) && drawing(*b)))
                continue;
            // A label's text keeps clear of its neighbours: text that
            // touches a button or box reads as running into it.
            const auto text = [](const QWidget& w) {
                return qobject_cast<const QLabel*>(&w) && shownRect(w) != w.geometry();
            };
            QRect ra = shownRect(*a), rb = shownRect(*b);
            if (text(*a) && !text(*b))
                ra.adjust(-2, 0, 2, 0);
            else if (text(*b) && !text(*a))
                rb.adjust(-2, 0, 2, 0);
            const QRect both = ra.intersected(rb);
            if (both.width() > 0 && both.height() > 0)
                out << QStringLiteral("%1 and %2 overlap by %3 x %4")
                           .arg(nameOf(a), nameOf(b)).arg(both.width()).arg(both.height());
        }
    }
    return out;
}

// The window's frame, with the frame margins a window manager adds, lies
// inside the available area.
QStringList frameOutside(QWidget& window)
{
    const QRect frame = framePixels(window);
    const QRect area = availablePixels(&window);
    if (area.contains(frame))
        return {};
    return {QStringLiteral("frame %1,%2 %3 x %4 outside the available area %5,%6 %7 x %8")
                .arg(frame.x()).arg(frame.y()).arg(frame.width()).arg(frame.height())
                .arg(area.x()).arg(area.y()).arg(area.width()).arg(area.height())};
}

// The controls in view that take the focus (boxes, lists, panes, tables,
// buttons, option buttons, check boxes) are each read by a short name: a
// caption of a few words, at most LongestControlName characters, not an
// instruction; a command button is not read by a bare letter or a state
// ("On") that leaves unsaid what it does.  The window is read as a window or a dialog, by
// its title (or a name of its own).
// The line edit inside a combo or spin box is read as part of its box.
// Two controls side by side (of one parent: options of one frame, the
// buttons of one window) are never read by the same name.
const QStringList StateWords{QStringLiteral("On"), QStringLiteral("Off")};

QStringList unnamedControls(QWidget& window)
{
    QStringList out;
    QHash<std::pair<const QWidget*, QString>, QString> readAs; // parent and name -> the control
    auto check = [&](QWidget* w) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
        const QString name = face ? face->text(QAccessible::Name).trimmed() : QString();
        // ZQ_WALK_NAMES=1 lists every control with the name it is read by.
        if (!qEnvironmentVariableIsEmpty("ZQ_WALK_NAMES"))
            std::cout << nameOf(&window).toStdString() << '.' << nameOf(w).toStdString() << " = \""
                      << name.toStdString() << "\"\n";
        if (name.isEmpty())
            out << QStringLiteral("%1 has no accessible name").arg(nameOf(w));
        else if (w != &window && name.size() > LongestControlName)
            out << QStringLiteral("%1 is read by a long name: \"%2\"").arg(nameOf(w), name);
        else if (qobject_cast<QPushButton*>(w) && ((name.size() == 1 && name[0].isLetter())
                                                   || StateWords.contains(name, Qt::CaseInsensitive)))
            out << QStringLiteral("%1 is read by \"%2\", not by what it does").arg(nameOf(w), name);
        if (w == &window && face && face->role() != QAccessible::Window && face->role() != QAccessible::Dialog)
            out << QStringLiteral("the window is read with the role %1, not as a window or a dialog")
                       .arg(int(face->role()));
        if (w == &window || name.isEmpty())
            return;
        const std::pair<const QWidget*, QString> key{w->parentWidget(), name.toCaseFolded()};
        if (readAs.contains(key))
            out << QStringLiteral("%1 and %2 are both read as \"%3\"").arg(readAs[key], nameOf(w), name);
        else
            readAs.insert(key, nameOf(w));
    };
    check(&window);
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (w->isWindow() || !w->isVisibleTo(&window) || w->focusPolicy() == Qt::NoFocus)
            continue;
        if (qobject_cast<QComboBox*>(w->parentWidget()) || qobject_cast<QAbstractSpinBox*>(w->parentWidget()))
            continue;
        check(w);
    }
    return out;
}

QStringList walkFaults(QWidget& window, const std::function<bool(const QWidget&)>& drawing = {})
{
    const auto noDrawing = [](const QWidget&) { return false; };
    // ZQ_WALK_SHOTS=<folder> keeps a picture of every window walked, to look at.
    if (!qgetenv("ZQ_WALK_SHOTS").isEmpty())
        window.grab().save(QString::fromLocal8Bit(qgetenv("ZQ_WALK_SHOTS")) + QLatin1Char('/') + nameOf(&window)
                           + QStringLiteral(".png"));
    QStringList out = clippedCaptions(window) + misplacedControls(window, drawing ? drawing : noDrawing)
        + frameOutside(window) + unnamedControls(window);
    for (QString& line : out)
        line.prepend(nameOf(&window) + QStringLiteral(": "));
    return out;
}

// Shows a window not shown before and walks it.  Its frame is checked
// first: until a window is shown, the frame assumed for it is the window
// manager's frame that the test gives, title bar included.
QStringList showAndWalk(QWidget& window, const std::function<bool(const QWidget&)>& drawing = {})
{
    QStringList frame = frameOutside(window);
    for (QString& line : frame)
        line.prepend(nameOf(&window) + QStringLiteral(": "));
    window.show();
    QCoreApplication::processEvents();
    return frame + walkFaults(window, drawing);
}

// A full log: every contact CW on 20 m from the counties of the table, the
// in-state ones from every state code, so every count and the score reach
// their largest widths.
QByteArray fullLog(const QStringList& counties, const QStringList& states)
{
    QByteArray data;
    for (int i = 1; i <= ContactLog::Capacity; ++i) {
        ContactRecord r = contact(QStringLiteral("K%1AB").arg(i), counties[i % counties.size()],
                                  QStringLiteral("CW"));
        r.LogSpc = states[i % states.size()];
        r.LogCountySent = QStringLiteral("Alderbrook"); // the own county of the tests
        r.LogTime = QStringLiteral("23:59:59");
        r.LogDate = QStringLiteral("2026/12/31");
        data += formatContactLine(r);
    }
    return data;
}

struct ScreenSize {
    const char* name;
    double width, height; // twips
};

void PrintTo(const ScreenSize& s, std::ostream* os)
{
    *os << s.name;
}

// The screens operators use; the log windows and the set-up dialog also at
// the design screen.
const ScreenSize Design{"Design640x480", 9600, 7200};
const ScreenSize Screens[] = {
    {"Screen1024x768", 15360, 11520},
    {"Screen1366x768", 20490, 11520},
    {"Screen1600x1200", 24000, 18000},
    {"Screen1920x1080", 28800, 16200},
};

// The frame a window manager puts around a window: borders and a title bar.
const QMargins Frame(4, 24, 4, 4);

class WindowWalkTest : public LogWindowTest, public ::testing::WithParamInterface<ScreenSize> {
protected:
    void SetUp() override
    {
        LogWindowTest::SetUp();
        setFrameMarginsForTesting(Frame);
    }
    void TearDown() override
    {
        setModalShowHandlerForTesting(nullptr);
        setScreenTwipsForTesting(0, 0);
        setFrameMarginsForTesting({}, false);
    }

    void useScreen() { setScreenTwipsForTesting(GetParam().width, GetParam().height); }

    // Loads the window, shows it, walks it and unloads it.
    template <class W>
    QStringList walk(const std::function<bool(const QWidget&)>& drawing = {})
    {
        QStringList faults = showAndWalk(DefaultInstance<W>(), drawing);
        WindowRegistry::unload<W>();
        return faults;
    }

    // Walks the window a command of `from` shows modally.
    QStringList walkModal(QAction* command)
    {
        QStringList faults;
        bool shown = false;
        setModalShowHandlerForTesting([&](QWidget& d) {
            shown = true;
            faults << showAndWalk(d);
            d.hide();
        });
        command->trigger();
        setModalShowHandlerForTesting(nullptr);
        EXPECT_TRUE(shown) << command->objectName().toStdString();
        return faults;
    }
};

// The controls that make up a picture: they overlap by design.
bool countyMapPart(const QWidget& w)
{
    return w.objectName().startsWith(QLatin1String("lblCounty")) || w.objectName() == QLatin1String("Picture1");
}

bool spectrumPart(const QWidget& w)
{
    return !qobject_cast<const QAbstractButton*>(&w);
}

bool privilegesPart(const QWidget& w)
{
    const QString n = w.objectName();
    return n.startsWith(QLatin1String("blbl")) || n.startsWith(QLatin1String("priv"))
        || n.startsWith(QLatin1String("bnlb"));
}

} // namespace

TEST_P(WindowWalkTest, BothLogWindowsWithAFullLogAndTheSetUpDialog)
{
    for (uint8_t outOfState : {uint8_t(1), uint8_t(0)}) {
        SCOPED_TRACE(outOfState ? "out-of-state" : "in-state");
        freshRun();
        useScreen();
        QStringList counties;
        for (const QString& line : splitLines(env.readWorkFile("county2.txt")))
            counties << parseQuotedLine(line)->at(0).text.mid(2);
        env.writeWorkFile("log.txt", fullLog(counties, {"NY", "TX", "ON", "ZQ", "CA", "Canada"}));
        env.prompt().answerMessage(MsgAnswer::Yes);
        LogWindow& w = start(outOfState);
        ASSERT_EQ(ContactLog::instance().ContactCount, ContactLog::Capacity);
        QStringList faults = walkFaults(w);
        // The longest status line: the last contact called again.
        QApplication::setActiveWindow(&w);
        w.cmdLogOn->click();
        w.txtCall->setFocus();
        QTest::keyClicks(w.txtCall, QStringLiteral("k11000ab"));
        QTest::keyClick(w.txtCall, Qt::Key_Tab);
        EXPECT_TRUE(w.lblDialog->text().endsWith(QLatin1String(" 11000")))
            << w.lblDialog->text().toStdString();
        faults << clippedCaptions(w);
        // The spot list, once the spot area shows it, is read by a name too.
        PacketSpotfrm& spotting = DefaultInstance<PacketSpotfrm>();
        spotting.List1->setCurrentItem(
            spotting.List1->findItems(QStringLiteral("TNC"), Qt::MatchExactly).value(0));
        spotting.OptList->setChecked(true);
        DefaultInstance<Form1>().PacketResize();
        EXPECT_TRUE(w.txtDX->isVisible());
        faults << unnamedControls(w);
        WindowRegistry::unload<PacketSpotfrm>();
        faults.removeDuplicates();
        EXPECT_TRUE(faults.isEmpty()) << faults.join('\n').toStdString();
    }

    freshRun();
    useScreen();
    ShowStationSetup();
    const QStringList faults = walkFaults(DefaultInstance<frmStationID>());
    EXPECT_TRUE(faults.isEmpty()) << faults.join('\n').toStdString();
    WindowRegistry::unload<frmStationID>();
}

// The tool windows and dialogs, at the screens operators use.
class ToolWindowWalkTest : public WindowWalkTest {};

TEST_P(ToolWindowWalkTest, EveryOtherWindow)
{
    QStringList faults;

    // The start-up window, fitted as it loads; its logo closes at once, as
    // its timer would close it.
    useScreen();
    QTimer::singleShot(0, [] {
        if (auto* logo = WindowRegistry::existing<frmBrelvoxLogo>())
            logo->Timer1_Timer();
    });
    DefaultInstance<frmSplash>().Form_Load();
    faults << walk<frmSplash>();

    // The out-of-state log window and what it opens; the privileges window
    // draws the band plan.
    env.seedDataFile(QStringLiteral("BandPlan.txt"));
    writeLog();
    LogWindow& out = start(1);
    clickContactRow(out.ListView1, 2);
    {
        bool shown = false;
        setModalShowHandlerForTesting([&](QWidget& d) {
            shown = true;
            faults << showAndWalk(d);
        });
        out.cmdEdit->click();
        setModalShowHandlerForTesting(nullptr);
        EXPECT_TRUE(shown) << "edit dialog";
    }
    faults << walkModal(out.mnuWriteSumm);
    faults << walk<frmCountyList>() << walk<GraphQSO>() << walk<CountyMapZQ>(countyMapPart);
    faults << walk<CWFrm>() << walk<frmWinKey>() << walk<PhoneFrm>() << walk<BlindFrm>()
           << walk<frmCodePractice>();
    faults << walk<RigControlfrm>() << walk<frmRigTune>() << walk<frmBandPlan>(privilegesPart)
           << walk<frmFrequencyTest>();
    faults << walk<PacketSpotfrm>() << walk<SpectrumMap>(spectrumPart);
    faults << walk<Form5>() << walk<Form6>();

    // The in-state rover's log window, its edit dialog and county changes.
    freshRun();
    useScreen();
    st.RoverFlag = 1;
    writeLog();
    auto& in = static_cast<Infrm&>(start(0));
    clickContactRow(in.ListView1, 2);
    {
        bool shown = false;
        setModalShowHandlerForTesting([&](QWidget& d) {
            shown = true;
            faults << showAndWalk(d);
        });
        in.cmdEdit->click();
        setModalShowHandlerForTesting(nullptr);
        EXPECT_TRUE(shown) << "in-state edit dialog";
    }
    faults << walkModal(in.mnuChangeCounty);
    faults << walk<frmCountyChangeRover>();

    faults.removeDuplicates();
    EXPECT_TRUE(faults.isEmpty()) << faults.size() << " faults:\n" << faults.join('\n').toStdString();
}

// The prompt layer's input boxes, with the longest question the program
// asks: the prompt wraps, so the box lies inside the available area.
TEST_P(ToolWindowWalkTest, InputBoxes)
{
    useScreen();
    fitPromptDialogsToScreen();
    writeLog();
    LogWindow& out = start(1);
    const QString longest = QStringLiteral(
        "Please enter the power value that you would like to record.  This is an optional value "
        "that will be included in each QSO record and displayed in Logvane's power output column.");
    auto box = QtPrompt::inputDialog(&out, longest,
                                     QStringLiteral("Please enter your transmitter output power."),
                                     QStringLiteral("100"));
    box->setObjectName(QStringLiteral("inputBox"));
    const QStringList faults = showAndWalk(*box);
    EXPECT_TRUE(faults.isEmpty()) << faults.join('\n').toStdString();
    setDialogRoom(nullptr);
}

namespace {
std::string screenName(const ::testing::TestParamInfo<ScreenSize>& i)
{
    return i.param.name;
}
} // namespace

INSTANTIATE_TEST_SUITE_P(Screens, WindowWalkTest,
                         ::testing::Values(Design, Screens[0], Screens[1], Screens[2], Screens[3]),
                         screenName);
INSTANTIATE_TEST_SUITE_P(Screens, ToolWindowWalkTest, ::testing::ValuesIn(Screens), screenName);
