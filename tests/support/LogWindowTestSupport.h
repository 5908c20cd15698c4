#pragma once
// Shared set-up of the tests that open a log window: a working folder with
// the county table, station settings for either variant, a small log, the
// window started through the program's own path and made active, and
// contacts typed into the entry row field by field.

#include "common/EntryBox.h"
#include "platform/Folders.h"
#include "common/TwipsLayout.h"
#include "common/WindowRegistry.h"
#include "logstore/ContactLog.h"
#include "logstore/LogFileStore.h"
#include "logstore/PrefFile.h"
#include "logstore/StationSettings.h"
#include "logwindow/Infrm.h"
#include "common/LogWindowLink.h"
#include "logwindow/Outfrm.h"
#include "support/TestContacts.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QStringList>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace zq::test {

// A 59/59 contact of 2026/09/12 18:00:00 (the small logs of the window tests).
ContactRecord contact(const QString& call, const QString& county, const QString& mode,
                      const QString& band = QStringLiteral("20"));

// The texts of a list box's entries, top to bottom.
QStringList listEntries(const QListWidget* list);
// The cells of row r of a list view (empty past its last row).
QStringList listRow(const QTreeWidget* list, int r);
QStringList listRow(const ContactListView* list, int r);
// Scrolls to the contact list row of contact `rec` and clicks it.
void clickContactRow(ContactListView* list, int rec, Qt::MouseButton button = Qt::LeftButton);

class LogWindowTest : public ::testing::Test {
protected:
    TestEnv env;
    StationSettings& st = StationSettings::instance();

    void SetUp() override;

    // A second run in the same folders: program state and windows reset.
    void freshRun();

    // Five contacts: 2 PH (one "ph"), 1 CW, 2 digital (empty and "SSB").
    void writeLog();

    // Starts the log window of the variant through the program's own path.
    LogWindow& start(uint8_t outOfState);
    // Starts it and makes it the active window; the focus is where the
    // window put it.
    LogWindow& open(uint8_t outOfState);

    // The settings as QSOpref.txt holds them now.
    StationSettings savedSettings();

    QStringList backups() const;
    QByteArray logFile() const;

    template <class T = QAction>
    static T* find(QWidget& w, const char* name)
    {
        return w.findChild<T*>(QLatin1String(name));
    }
};

// The entry row tests: UTC offset 5 h (local 13:30:00 is 18:30:00 UTC) and
// the home state ZQ; the window opens with the focus in the call field.
class EntryWindowTest : public LogWindowTest {
protected:
    void SetUp() override;

    LogWindow& open(uint8_t outOfState);

    // The operator moves into the field, wipes what it holds and types.
    static void type(EntryBox* box, const QString& text);

    // Types one contact field by field (the state/province/country in the
    // in-state window only, the county when given); Enter in the RS(T)
    // sent field.
    static void enterContact(LogWindow& w, const QString& call, const QString& rstR,
                             const QString& cntry, const QString& county, const QString& rstS);
};

} // namespace zq::test
