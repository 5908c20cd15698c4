#pragma once
// Shared set-up of the log window tests: a working folder with the county
// table, station settings for either variant, a small log and helpers to
// start the window through the program's own path.

#include "common/Folders.h"
#include "common/TwipsLayout.h"
#include "common/WindowRegistry.h"
#include "logstore/ContactLog.h"
#include "logstore/LogFileStore.h"
#include "logstore/PrefFile.h"
#include "logstore/StationSettings.h"
#include "logwindow/Infrm.h"
#include "logwindow/LogWindowFactory.h"
#include "logwindow/Outfrm.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QDir>
#include <QStringList>
#include <gtest/gtest.h>

namespace zq::test {

inline ContactRecord contact(const QString& call, const QString& county, const QString& mode,
                             const QString& band = QStringLiteral("20"))
{
    ContactRecord r;
    r.LogCall = call;
    r.LogRstSent = QStringLiteral("59");
    r.LogRstReceived = QStringLiteral("59");
    r.LogCounty = county;
    r.LogDate = QStringLiteral("2026/09/12");
    r.LogTime = QStringLiteral("18:00:00");
    r.LogMode = mode;
    r.LogBand = band;
    return r;
}

class LogWindowTest : public ::testing::Test {
protected:
    TestEnv env;
    StationSettings& st = StationSettings::instance();

    void SetUp() override
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

    // A second run in the same folders: program state and windows reset.
    void freshRun()
    {
        const Folders folders = Folders::instance();
        resetProgramState();
        Folders::instance() = folders;
        SetUp();
    }

    // Five contacts: 2 PH (one "ph"), 1 CW, 2 digital (empty and "SSB").
    void writeLog()
    {
        QByteArray data;
        for (const auto& r : {contact("W1AW", "Alderbrook", "PH"), contact("K2AB", "Ashcombe", "ph"),
                              contact("N3CD", "Alderbrook", "CW"), contact("W4EF", "Ashcombe", ""),
                              contact("K5GH", "Alderbrook", "SSB")})
            data += formatContactLine(r);
        env.writeWorkFile(QStringLiteral("log.txt"), data);
    }

    LogWindow& start(uint8_t outOfState)
    {
        st.OutOfStateFlag = outOfState;
        ShowLogWindow();
        if (outOfState == 1)
            return DefaultInstance<Outfrm>();
        return DefaultInstance<Infrm>();
    }

    // The settings as QSOpref.txt holds them now.
    StationSettings savedSettings()
    {
        const StationSettings current = st;
        st = StationSettings{};
        ReadPrefFile();
        StationSettings saved = st;
        st = current;
        return saved;
    }

    QStringList backups() const
    {
        return QDir(env.documentsDir() + QStringLiteral("/Brelvox Software/Carvonia/BACKUP"))
            .entryList(QDir::Files);
    }

    template <class T = QAction>
    static T* find(QWidget& w, const char* name)
    {
        return w.findChild<T*>(QLatin1String(name));
    }
};

} // namespace zq::test
