// A window unloaded while one of its questions is up (a screen reader's
// press on Done, a link that drops, a timer of its own): the question is
// closed as its close would close it, the handler that asked returns into a
// window that is still there, and the window goes once control is back in
// the outermost loop.  Real message boxes, offscreen.

#include "common/EntryBox.h"
#include "common/ModalShow.h"
#include "common/WindowRegistry.h"
#include "keying/CWFrm.h"
#include "keying/KeyingState.h"
#include "keying/frmWinKey.h"
#include "platform/InnerLoop.h"
#include "platform/Prompt.h"
#include "support/TestEnv.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace zq;
using namespace zq::test;

namespace {

class UnloadUnderQuestion : public ::testing::Test {
protected:
    TestEnv env;
    std::unique_ptr<Prompt> scripted;

    void SetUp() override { scripted = setPrompt(std::make_unique<QtPrompt>()); }
    void TearDown() override { setPrompt(std::move(scripted)); }

    QString asked; // the title of the question that came up

    // Runs `act` once, from the event loop, as soon as a message box is up.
    void onceAQuestionIsUp(std::function<void(QMessageBox&)> act)
    {
        auto* poll = new QTimer(qApp);
        QObject::connect(poll, &QTimer::timeout, poll, [this, poll, act] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            poll->stop();
            poll->deleteLater();
            asked = box->windowTitle();
            act(*box);
        });
        poll->start(10);
    }

    static void press(QWidget* button)
    {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(button);
        ASSERT_TRUE(face && face->actionInterface());
        face->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    }
};

TEST_F(UnloadUnderQuestion, TheQuestionClosesFirstAndTheWindowGoesFromTheOutermostLoop)
{
    struct Case {
        const char* name;
        const char* question;
        std::function<QWidget*()> raiseQuestion; // returns the window asking
    };
    const Case cases[] = {
        {"WinKeyer open on port 0, Done pressed by a screen reader, the window unloaded",
         "Unable to establish connection with Winkey.",
         [this] {
             frmWinKey& wk = DefaultInstance<frmWinKey>();
             showActive(wk);
             wk.txtWKComPort->setText(QStringLiteral("0"));
             KeyingState::instance().WinKeyerPort = 0;
             onceAQuestionIsUp([&wk](QMessageBox&) {
                 press(wk.cmdDone);
                 QTimer::singleShot(150, qApp, [] { WindowRegistry::unload<frmWinKey>(); });
             });
             wk.cmdOpenWinkey_Click();
             return &wk;
         }},
        {"CW message on an unusable port, the CW window unloaded", "Invalid port.",
         [this] {
             env.writeWorkFile(QStringLiteral("ComPorts.txt"), "9=/dev/zq-no-such-port\n");
             CWFrm& cw = DefaultInstance<CWFrm>();
             showActive(cw);
             cw.Text[10]->setText(QStringLiteral("9"));
             cw.Text[2]->setText(QStringLiteral("TEST"));
             cw.Option1->click();
             onceAQuestionIsUp([](QMessageBox&) { WindowRegistry::unload<CWFrm>(); });
             int f2 = 113;
             cw.FKeyCW(f2);
             return &cw;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        asked.clear();
        QPointer<QWidget> window = c.raiseQuestion();
        // The handler has returned; the window goes from the event loop.
        EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, 5000));
        EXPECT_EQ(asked, c.question);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_EQ(InnerLoop::depth(), 0);
    }
}

} // namespace
