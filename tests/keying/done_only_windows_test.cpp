// The keyer windows are left through their Done only: no close control,
// and neither Esc (from a button or a box) nor a close request hides them, so their settings are never left unwritten.  Code
// practice keeps its close control.

#include "platform/Folders.h"
#include "common/EntryBox.h"
#include "common/WindowRegistry.h"
#include "keying/BlindFrm.h"
#include "keying/CWFrm.h"
#include "keying/PhoneFrm.h"
#include "keying/frmCodePractice.h"
#include "keying/frmWinKey.h"
#include "support/FakeWaveBackend.h"
#include "support/TestEnv.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

using namespace zq;
using namespace zq::test;

namespace {

class DoneOnlyKeyerTest : public ::testing::Test {
protected:
    TestEnv env;
    FakeWaveBackend::Install sound;

    void TearDown() override
    {
        WindowRegistry::unloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

};

bool hasCloseControl(const QWidget& w)
{
    const Qt::WindowFlags f = w.windowFlags();
    return !(f & Qt::CustomizeWindowHint) || (f & Qt::WindowCloseButtonHint);
}

} // namespace

TEST_F(DoneOnlyKeyerTest, EscAndCloseLeaveTheWindowShownAndItsSettingsUnwritten)
{
    struct Case {
        const char* name;
        std::function<QDialog&()> window;
        QString settingsFile; // what Done writes
    };
    const QString user = Folders::instance().UserDirectory;
    const Case cases[] = {
        {"CW keyer", []() -> QDialog& { return DefaultInstance<CWFrm>(); }, env.workPath("CW.txt")},
        {"voice keyer", []() -> QDialog& { return DefaultInstance<PhoneFrm>(); },
         env.workPath("wave2.txt")},
        {"voice navigation", []() -> QDialog& { return DefaultInstance<BlindFrm>(); },
         env.workPath("QSOpref.txt")},
        {"WinKeyer", []() -> QDialog& { return DefaultInstance<frmWinKey>(); },
         user + QStringLiteral("/WK.txt")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDialog& w = c.window();
        EXPECT_FALSE(hasCloseControl(w));
        showActive(w);

        // The focus on a button, then in a box (which passes Esc on to
        // the window): Esc leaves the window shown.
        auto* button = w.findChild<QPushButton*>();
        ASSERT_NE(button, nullptr);
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Escape);
        QTest::keyClick(&w, Qt::Key_Escape);
        EXPECT_TRUE(w.isVisible());
        if (auto* box = w.findChild<EntryBox*>()) {
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Escape);
            EXPECT_TRUE(w.isVisible());
        }

        // The window manager's close request (and close()) is refused.
        EXPECT_FALSE(w.close());
        EXPECT_TRUE(w.isVisible());
        EXPECT_FALSE(QFile::exists(c.settingsFile));
        WindowRegistry::unloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(DoneOnlyKeyerTest, CodePracticeKeepsItsCloseControl)
{
    frmCodePractice& cp = DefaultInstance<frmCodePractice>();
    EXPECT_TRUE(hasCloseControl(cp));
    showActive(cp);
    EXPECT_TRUE(cp.close());
    EXPECT_FALSE(cp.isVisible());
}
