// Every caption and value of the log windows and the set-up dialog shows
// whole: the width of each label's and button's text in its own font fits
// the control, at the design size and at fitted sizes, with the values of
// a full log.

#include "support/LogWindowTestSupport.h"

#include "platform/QuotedText.h"
#include "startup/StationSetupEntry.h"
#include "startup/frmStationID.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTableView>
#include <QTreeView>

using namespace zq;
using namespace zq::test;

namespace {

// The controls of a window whose text is cut, with the widths.
QStringList clippedCaptions(QWidget& window)
{
    QStringList out;
    auto check = [&](QWidget* w, const QString& text, int room) {
        if (text.trimmed().isEmpty() || !w->isVisibleTo(&window))
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
        if (qobject_cast<QCheckBox*>(b) || qobject_cast<QRadioButton*>(b))
            room -= b->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, b)
                + b->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, b);
        else if (!qobject_cast<QPushButton*>(b))
            continue;
        QString text = b->text();
        text.remove(QLatin1Char('&'));
        check(b, text, room - (b->icon().isNull() ? 0 : b->iconSize().width() + 4));
    }
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

const ScreenSize Screens[] = {
    {"design 9600 x 7200", 9600, 7200},
    {"1024 x 768", 15360, 11520},
    {"1600 x 1200", 24000, 18000},
    {"1920 x 1080", 28800, 16200},
};

class CaptionFitTest : public LogWindowTest {
protected:
    void TearDown() override { setScreenTwipsForTesting(0, 0); }
};

} // namespace

TEST_F(CaptionFitTest, EveryCaptionOfBothLogWindowsShowsWhole)
{
    for (uint8_t outOfState : {uint8_t(1), uint8_t(0)}) {
        for (const ScreenSize& s : Screens) {
            SCOPED_TRACE(std::string(outOfState ? "out-of-state " : "in-state ") + s.name);
            freshRun();
            setScreenTwipsForTesting(s.width, s.height);
            QStringList counties;
            for (const QString& line : splitLines(env.readWorkFile("county2.txt")))
                counties << parseQuotedLine(line)->at(0).text.mid(2);
            env.writeWorkFile("log.txt", fullLog(counties, {"NY", "TX", "ON", "ZQ", "CA", "Canada"}));
            env.prompt().answerMessage(MsgAnswer::Yes);
            LogWindow& w = start(outOfState);
            ASSERT_EQ(ContactLog::instance().ContactCount, ContactLog::Capacity);
            QStringList clipped = clippedCaptions(w);
            // The longest status line: the last contact called again.
            QApplication::setActiveWindow(&w);
            w.cmdLogOn->click();
            w.txtCall->setFocus();
            QTest::keyClicks(w.txtCall, QStringLiteral("k11000ab"));
            QTest::keyClick(w.txtCall, Qt::Key_Tab);
            EXPECT_TRUE(w.lblDialog->text().endsWith(QLatin1String(" 11000")))
                << w.lblDialog->text().toStdString();
            clipped << clippedCaptions(w);
            EXPECT_TRUE(clipped.isEmpty()) << clipped.join('\n').toStdString();
        }
    }
}

TEST_F(CaptionFitTest, EveryCaptionOfTheSetUpDialogShowsWhole)
{
    for (const ScreenSize& s : Screens) {
        SCOPED_TRACE(s.name);
        freshRun();
        setScreenTwipsForTesting(s.width, s.height);
        ShowStationSetup();
        frmStationID& d = DefaultInstance<frmStationID>();
        const QStringList clipped = clippedCaptions(d);
        EXPECT_TRUE(clipped.isEmpty()) << clipped.join('\n').toStdString();
        WindowRegistry::unload<frmStationID>();
    }
}
