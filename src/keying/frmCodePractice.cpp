#include "keying/frmCodePractice.h"

#include "common/EntryBox.h"
#include "common/NamedControls.h"
#include "common/ProgramEnd.h"
#include "common/TwipsLayout.h"
#include "common/WindowFit.h"
#include "common/WindowRegistry.h"
#include "keying/CWFrm.h"
#include "keying/CodePractice.h"
#include "keying/KeyingState.h"
#include "keying/frmWinKey.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTextCursor>

namespace zq {

namespace {

// The practice text areas: white Courier New on dark blue; letters typed
// into the text to send become capitals.  Tab moves the focus on, as in
// every other control, rather than typing a tab.
class PracticeTextArea final : public QPlainTextEdit {
public:
    PracticeTextArea(QWidget* parent, bool upperCaseTyping)
        : QPlainTextEdit(parent), upper_(upperCaseTyping)
    {
        setTabChangesFocus(true);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        QPalette p = palette();
        p.setColor(QPalette::Base, QColor(0, 0, 128));
        p.setColor(QPalette::Text, Qt::white);
        setPalette(p);
        QFont f(QStringLiteral("Courier New"));
        f.setStyleHint(QFont::Monospace);
        f.setPointSizeF(11.25);
        setFont(f);
    }

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        const QString t = e->text();
        if (upper_ && t.size() == 1 && t.at(0) >= u'a' && t.at(0) <= u'z'
            && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            insertPlainText(t.toUpper());
            e->accept();
            return;
        }
        QPlainTextEdit::keyPressEvent(e);
    }

private:
    bool upper_;
};

void placeCaret(QPlainTextEdit* box, int position)
{
    QTextCursor c = box->textCursor();
    c.setPosition(std::clamp(position, 0, static_cast<int>(box->toPlainText().size())));
    box->setTextCursor(c);
}

CWFrm& cwKeyer()
{
    return DefaultInstance<CWFrm>();
}

} // namespace

frmCodePractice::frmCodePractice()
{
    setObjectName(QStringLiteral("frmCodePractice"));
    setWindowTitle(QStringLiteral("On the Air Code Practice"));
    resize(twipsToPixelsX(8400), twipsToPixelsY(6600));

    // Text5 first: it has the focus when the window opens.
    makeNamedLabel(this, QStringLiteral("Label9"),
                   QStringLiteral("Type characters here to send text from keyboard:"), 240, 180,
                   4200, 255);
    Text5 = makeNamedBox(this, QStringLiteral("Text5"), QString(), 4500, 150, 360);
    QLabel* help = makeNamedLabel(
        this, QStringLiteral("Label1"),
        QStringLiteral("You can transmit morse code practice using randomly generated characters, "
                       "copying and pasting text or typing text into the \"Text to Send\" text "
                       "box.  Click Send to send the characters. "),
        240, 540, 7900, 500);
    help->setWordWrap(true);
    setFontSize(*help, fontSize(*help) * 0.85); // a smaller print, to fit its two lines

    makeNamedLabel(this, QStringLiteral("Label4"), QStringLiteral("Generate"), 240, 1170, 840, 255);
    Text3 = makeNamedBox(this, QStringLiteral("Text3"), QStringLiteral("10"), 1080, 1140, 600);
    makeNamedLabel(this, QStringLiteral("Label5"), QStringLiteral("groups of"), 1740, 1170, 900,
                   255);
    Text4 = makeNamedBox(this, QStringLiteral("Text4"), QStringLiteral("5"), 2640, 1140, 600);
    makeNamedLabel(this, QStringLiteral("Label6"), QStringLiteral("characters each."), 3300, 1170,
                   1600, 255);
    Frame1 = makeNamedFrame(this, QStringLiteral("Frame1"), QStringLiteral("Include:"), 5040, 1020,
                            3100, 600);
    Option1 = makeNamedOption(Frame1, QStringLiteral("Option1"), QStringLiteral("Letters Only"), 120,
                              240, 1600);
    Option2 = makeNamedOption(Frame1, QStringLiteral("Option2"), QStringLiteral("All"), 1900, 240,
                              1000);
    Option2->setChecked(true);

    Command2 = makeNamedButton(this, QStringLiteral("Command2"),
                               QStringLiteral("&Generate Random Characters"), 240, 1740, 2900);
    Command1 = makeNamedButton(this, QStringLiteral("Command1"),
                               QStringLiteral("&Paste from Clipboard"), 3300, 1740, 2300);
    makeNamedLabel(this, QStringLiteral("Label2"), QStringLiteral(" Text to Send"), 240, 2280, 2000,
                   255);
    Command6 = makeNamedButton(this, QStringLiteral("Command6"), QStringLiteral("&Clear"), 6960,
                               2220, 1180, 330);
    Text1 = new PracticeTextArea(this, true);
    Text1->setObjectName(QStringLiteral("Text1"));
    placeControl(*Text1, 240, 2580, 7900, 1300);
    makeNamedLabel(this, QStringLiteral("Label3"), QStringLiteral(" Text Sent"), 240, 3990, 2000,
                   255);
    Command5 = makeNamedButton(this, QStringLiteral("Command5"), QStringLiteral("Cl&ear"), 6960,
                               3930, 1180, 330);
    Text2 = new PracticeTextArea(this, false);
    Text2->setObjectName(QStringLiteral("Text2"));
    placeControl(*Text2, 240, 4290, 7900, 1300);
    // Two Clear buttons: each is read with the text it clears.
    Command6->setAccessibleName(QStringLiteral("Clear Text to Send"));
    Command5->setAccessibleName(QStringLiteral("Clear Text Sent"));

    Command3 = makeNamedButton(this, QStringLiteral("Command3"), QStringLiteral("&Send"), 240, 5760,
                               1200);
    Command4 = makeNamedButton(this, QStringLiteral("Command4"), QStringLiteral("S&top"), 1560, 5760,
                               1200);
    Command7 = makeNamedButton(this, QStringLiteral("Command7"), QStringLiteral("&Faster"), 3300,
                               5760, 1100);
    Command8 = makeNamedButton(this, QStringLiteral("Command8"), QStringLiteral("S&lower"), 4500,
                               5760, 1100);
    Label8 = makeNamedLabel(this, QStringLiteral("Label8"), QStringLiteral("13"), 5820, 5820, 600,
                            255);
    QFont bold = Label8->font();
    bold.setBold(true);
    Label8->setFont(bold);
    makeNamedLabel(this, QStringLiteral("Label7"), QStringLiteral("WPM"), 6420, 5820, 600, 255);

    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    connect(Command7, &QPushButton::clicked, this, [this] { Command7_Click(); });
    connect(Command8, &QPushButton::clicked, this, [this] { Command8_Click(); });
    Text5->onKeyPress = [this](int& k) { Text5_KeyPress(k); };
    // Typed keys are keyed, never kept: the box takes no pasted text either.
    Text5->characterFilter = [](int& k) { k = 0; };

    setTabOrder(Text5, Text3);
    setTabOrder(Text3, Text4);
    setTabOrder(Text4, Option1);
    setTabOrder(Option1, Option2);
    setTabOrder(Option2, Command2);
    setTabOrder(Command2, Command1);
    setTabOrder(Command1, Command6);
    setTabOrder(Command6, Text1);
    setTabOrder(Text1, Command5);
    setTabOrder(Command5, Text2);
    setTabOrder(Text2, Command3);
    setTabOrder(Command3, Command4);
    setTabOrder(Command4, Command7);
    setTabOrder(Command7, Command8);
    Text5->setFocus();
}

void frmCodePractice::Form_Load()
{
    // Fitted to the desktop work area and centred there; control fonts
    // follow the whole screen's width.
    FitWindow(*this, FitParameters::toWorkAreaCentred(FitParameters::ControlRatios::OuterAfterOverBefore,
                                                      FitParameters::ControlFont::ScreenWidthCapped));
    Label8->setText(cwKeyer().Text[11]->text());
    PracticeAlphabet = practiceAlphabet();
}

// ---------------------------------------------------------------------------
// The text to send

void frmCodePractice::Command2_Click()
{
    QString shown;
    const double groups = practiceBoxValue(Text3->text(), 10, MaxPracticeGroups, &shown);
    if (shown != Text3->text())
        Text3->setText(shown);
    const double size = practiceBoxValue(Text4->text(), 5, MaxPracticeGroupSize, &shown);
    if (shown != Text4->text())
        Text4->setText(shown);
    QRandomGenerator rng(static_cast<quint32>(QDateTime::currentMSecsSinceEpoch()));
    const int n = Option1->isChecked() ? PracticeLettersOnly : PracticeAll;
    Text1->setPlainText(generatePracticeGroups(groups, size, n, [&rng] {
        return rng.generateDouble();
    }));
}

void frmCodePractice::Command1_Click()
{
    Text1->setPlainText(QGuiApplication::clipboard()->text());
}

void frmCodePractice::Command6_Click()
{
    Text1->clear();
}

void frmCodePractice::Command5_Click()
{
    Text2->clear();
}

// ---------------------------------------------------------------------------
// Sending

void frmCodePractice::appendSent(QChar c)
{
    QTextCursor end = Text2->textCursor();
    end.movePosition(QTextCursor::End);
    end.insertText(c == u'\r' ? QStringLiteral("\n") : QString(c));
}

bool frmCodePractice::waitForWinKeyer(const QPointer<frmCodePractice>& self)
{
    if (KeyingState::instance().CwKeyingMethod != 5)
        return true;
    frmWinKey* wk = WindowRegistry::existing<frmWinKey>();
    while (self && wk && wk->transmitting() && !programEnded()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        wk = WindowRegistry::existing<frmWinKey>();
    }
    return !self.isNull();
}

void frmCodePractice::Command3_Click()
{
    KeyingState& ks = KeyingState::instance();
    QPointer<frmCodePractice> self(this);
    PracticeText = Text1->toPlainText();
    Text1->setFocus();
    for (int i = 1; i <= PracticeText.size(); ++i) {
        // Edits made during the pass count from the next character.
        PracticeText = Text1->toPlainText();
        ks.CwSendBuffer = i <= PracticeText.size() ? QString(PracticeText.at(i - 1)) : QString();
        if (ks.CwSendingBusy == 0) {
            cwKeyer().LoopThroughCWBuffer();
            if (!self)
                return;
            // The WinKeyer is fed from the event loop: the character is
            // handed over before the buffer is replaced by the next one.
            if (!waitForWinKeyer(self))
                return;
            // The key line cannot be had (the keyer has said so, once): the
            // pass ends, and the character is not shown as sent.
            if (cwKeyer().LastSendFailed()) {
                PracticeText.clear();
                ks.CwSendBuffer.clear();
                return;
            }
        }
        // Stop or a close request emptied the working copy meanwhile: the
        // character is not shown as sent.
        if (i <= PracticeText.size())
            appendSent(PracticeText.at(i - 1));
        const int sent = static_cast<int>(Text2->toPlainText().size());
        if (sent > 0)
            placeCaret(Text2, sent - 1);
        placeCaret(Text1, i);
        QCoreApplication::processEvents();
        if (!self || programEnded())
            return;
    }
}

void frmCodePractice::Command4_Click()
{
    PracticeText.clear();
    KeyingState::instance().CwSendBuffer.clear();
}

void frmCodePractice::Text5_KeyPress(int& KeyAscii)
{
    KeyingState& ks = KeyingState::instance();
    if (KeyAscii >= 'a' && KeyAscii <= 'z')
        KeyAscii -= 32;
    const int key = KeyAscii;
    KeyAscii = 0; // the box stays empty
    if (key == 8) {
        if (!ks.CwSendBuffer.isEmpty())
            ks.CwSendBuffer.chop(1);
        QString sent = Text2->toPlainText();
        if (!sent.isEmpty()) {
            sent.chop(1);
            Text2->setPlainText(sent);
        }
        return;
    }
    const QChar c(key);
    appendSent(c);
    ks.CwSendBuffer += c;
    if (ks.CwSendingBusy == 0)
        cwKeyer().LoopThroughCWBuffer();
}

void frmCodePractice::Command7_Click()
{
    cwKeyer().UpDown1_UpClick();
    Label8->setText(cwKeyer().Text[11]->text());
}

void frmCodePractice::Command8_Click()
{
    cwKeyer().UpDown1_DownClick();
    Label8->setText(cwKeyer().Text[11]->text());
}

bool frmCodePractice::closeRefused()
{
    KeyingState& ks = KeyingState::instance();
    ks.CwSendBuffer.clear();
    PracticeText.clear();
    // While characters are keyed a close waits for the sending to stop; the
    // end of the program does not wait.
    return ks.CwSendingBusy == 1 && !programEnded();
}

void frmCodePractice::closeEvent(QCloseEvent* e)
{
    if (closeRefused()) {
        e->ignore();
        return;
    }
    QDialog::closeEvent(e);
}

void frmCodePractice::reject()
{
    if (!closeRefused())
        QDialog::reject();
}

} // namespace zq
