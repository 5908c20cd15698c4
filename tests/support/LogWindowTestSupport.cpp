#include "support/LogWindowTestSupport.h"

namespace zq::test {

ContactRecord contact(const QString& call, const QString& county, const QString& mode,
                      const QString& band)
{
    return contactRecord(call, QStringLiteral("59"), QStringLiteral("59"), QString(), county,
                         QString(), QStringLiteral("2026/09/12"), QStringLiteral("18:00:00"), mode,
                         band);
}

QStringList listEntries(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

QStringList listRow(const QTreeWidget* list, int r)
{
    QStringList out;
    const QTreeWidgetItem* item = list->topLevelItem(r);
    for (int c = 0; item && c < list->columnCount(); ++c)
        out << item->text(c);
    return out;
}

QStringList listRow(const ContactListView* list, int r)
{
    QStringList out;
    for (int c = 0; r < list->rowCount() && c < list->columnCount(); ++c)
        out << list->text(r, c);
    return out;
}

void clickContactRow(ContactListView* list, int rec, Qt::MouseButton button)
{
    for (int r = 0; r < list->rowCount(); ++r) {
        if (list->text(r, 0) == QString::number(rec)) {
            QTest::mouseClick(list->viewport(), button, {}, list->rowRect(r).center());
            return;
        }
    }
    ADD_FAILURE() << "no row of contact " << rec;
}

// ---------------------------------------------------------------------------

void LogWindowTest::SetUp()
{
    env.seedDataFile(QStringLiteral("county2.txt"));
    st.OwnCall = QStringLiteral("K9XYZ");
    st.OwnSpc = QStringLiteral("IL");
    st.OwnCountry = QStringLiteral("United States");
    st.OwnCounty = QStringLiteral("Alderbrook");
    st.CurrentBand = QStringLiteral("20");
    st.CurrentMode = QStringLiteral("CW");
    st.FormSizePercent = 100;
}

void LogWindowTest::freshRun()
{
    const Folders folders = Folders::instance();
    resetProgramState();
    Folders::instance() = folders;
    SetUp();
}

void LogWindowTest::writeLog()
{
    QByteArray data;
    for (const auto& r : {contact("W1AW", "Alderbrook", "PH"), contact("K2AB", "Ashcombe", "ph"),
                          contact("N3CD", "Alderbrook", "CW"), contact("W4EF", "Ashcombe", ""),
                          contact("K5GH", "Alderbrook", "SSB")})
        data += formatContactLine(r);
    env.writeWorkFile(QStringLiteral("log.txt"), data);
}

LogWindow& LogWindowTest::start(uint8_t outOfState)
{
    st.OutOfStateFlag = outOfState;
    ShowLogWindow();
    if (outOfState == 1)
        return DefaultInstance<Outfrm>();
    return DefaultInstance<Infrm>();
}

LogWindow& LogWindowTest::open(uint8_t outOfState)
{
    LogWindow& w = start(outOfState);
    QApplication::setActiveWindow(&w);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
    return w;
}

StationSettings LogWindowTest::savedSettings()
{
    const StationSettings current = st;
    st = StationSettings{};
    ReadPrefFile();
    StationSettings saved = st;
    st = current;
    return saved;
}

QStringList LogWindowTest::backups() const
{
    return QDir(env.documentsDir() + QStringLiteral("/Brelvox Software/Carvonia/BACKUP"))
        .entryList(QDir::Files);
}

QByteArray LogWindowTest::logFile() const
{
    return env.readWorkFile(QStringLiteral("log.txt"));
}

// ---------------------------------------------------------------------------

void EntryWindowTest::SetUp()
{
    LogWindowTest::SetUp();
    st.UtcOffsetHours = 5; // local 13:30:00 is 18:30:00 UTC
    st.HomeStateCode = QStringLiteral("ZQ");
}

LogWindow& EntryWindowTest::open(uint8_t outOfState)
{
    LogWindow& w = LogWindowTest::open(outOfState);
    w.txtCall->setFocus();
    return w;
}

void EntryWindowTest::type(EntryBox* box, const QString& text)
{
    box->setFocus();
    box->clear();
    QTest::keyClicks(box, text);
}

void EntryWindowTest::enterContact(LogWindow& w, const QString& call, const QString& rstR,
                                   const QString& cntry, const QString& county,
                                   const QString& rstS)
{
    type(w.txtCall, call);
    type(w.txtRSTR, rstR);
    if (w.variant() == LogWindow::Variant::InState)
        type(w.txtCntry, cntry);
    if (!county.isEmpty())
        type(w.txtSec, county);
    type(w.txtRSTS, rstS);
    QTest::keyClick(w.txtRSTS, Qt::Key_Return);
}

} // namespace zq::test
