#pragma once
// Shared set-up of the rover, recall and post-contest tests: an active log
// window of either variant, contacts typed field by field, and the log
// line a contact should produce.

#include "logwindow/LogWindowFixture.h"

#include "common/EntryBox.h"

#include <QApplication>
#include <QTest>

namespace zq::test {

inline QByteArray logLine(const QString& call, const QString& rstSent, const QString& rstRec,
                          const QString& spc, const QString& county, const QString& countySent,
                          const QString& date, const QString& time, const QString& mode = "CW",
                          const QString& band = "20", const QString& freq = "")
{
    ContactRecord r;
    r.LogCall = call;
    r.LogRstSent = rstSent;
    r.LogRstReceived = rstRec;
    r.LogSpc = spc;
    r.LogCounty = county;
    r.LogCountySent = countySent;
    r.LogDate = date;
    r.LogTime = time;
    r.LogMode = mode;
    r.LogBand = band;
    r.LogFrequency = freq;
    return formatContactLine(r);
}

class EntryWindowTest : public LogWindowTest {
protected:
    void SetUp() override
    {
        LogWindowTest::SetUp();
        st.UtcOffsetHours = 5; // local 13:30:00 is 18:30:00 UTC
        st.HomeStateCode = QStringLiteral("ZQ");
    }

    LogWindow& open(uint8_t outOfState)
    {
        LogWindow& w = start(outOfState);
        QApplication::setActiveWindow(&w);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
        w.txtCall->setFocus();
        return w;
    }

    // The operator moves into the field, wipes what it holds and types.
    static void type(EntryBox* box, const QString& text)
    {
        box->setFocus();
        box->clear();
        QTest::keyClicks(box, text);
    }

    // Types one contact field by field; Enter in the RS(T) sent field.
    static void enterContact(LogWindow& w, const QString& call, const QString& rstR,
                             const QString& cntry, const QString& county, const QString& rstS)
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

    QByteArray logFile() const { return env.readWorkFile(QStringLiteral("log.txt")); }
};

} // namespace zq::test
