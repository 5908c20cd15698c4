// The help viewer: the help file's text, read afresh at every opening.

#include "support/LogWindowTestSupport.h"

#include "platform/Folders.h"
#include "common/ModalShow.h"
#include "common/WindowRegistry.h"
#include "logwindow/Form5.h"
#include "support/TestEnv.h"

#include <QCoreApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace zq;
using namespace zq::test;

namespace {

Form5& openViewer()
{
    return DefaultInstance<Form5>();
}

void closeViewer()
{
    WindowRegistry::unload<Form5>();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

TEST(HelpViewer, ShowsTheWholeFileReadOnlyAndRereadsItAtEveryOpening)
{
    TestEnv env;
    // Found whatever the letter case of its name.
    env.writeWorkFile(QStringLiteral("readsqso.TXT"), "First line\r\n\r\n  Indented \"quoted\"\r\nLast");
    QDir::setCurrent(env.documentsDir()); // the viewer works from the program folder

    Form5& f = openViewer();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Help Page"));
    EXPECT_EQ(f.Text1, f.findChild<QPlainTextEdit*>(QStringLiteral("Text1")));
    EXPECT_EQ(f.Text1->toPlainText(), QStringLiteral("First line\n\n  Indented \"quoted\"\nLast"));
    EXPECT_TRUE(f.Text1->isReadOnly());
    EXPECT_EQ(f.Text1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_TRUE(env.prompt().messageTexts().isEmpty());

    f.show();
    f.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    EXPECT_FALSE(f.isVisible());
    closeViewer();

    env.writeWorkFile(QStringLiteral("readsqso.TXT"), "Changed while running");
    EXPECT_EQ(openViewer().Text1->toPlainText(), QStringLiteral("Changed while running"));
}

TEST(HelpViewer, MissingFileOpensEmptyWithAClearMessage)
{
    TestEnv env;
    Form5& f = openViewer();
    EXPECT_TRUE(f.Text1->toPlainText().isEmpty());
    ASSERT_EQ(env.prompt().messageTexts().size(), 1);
    EXPECT_TRUE(env.prompt().messageTexts().first().contains(QStringLiteral("ReadSQSO.txt")));
    EXPECT_EQ(env.prompt().messageTitles().first(), QStringLiteral("Help Page"));

    // The close box closes it like "Close".
    f.show();
    f.close();
    EXPECT_FALSE(f.isVisible());
}

TEST(HelpViewer, ShippedHelpTextCoversTheCommandsAndKeys)
{
    TestEnv env;
    env.seedDataFile(QStringLiteral("ReadSQSO.txt"));
    const QByteArray raw = env.readWorkFile(QStringLiteral("ReadSQSO.txt"));
    ASSERT_FALSE(raw.isEmpty());
    EXPECT_EQ(raw.count("\r\n"), raw.count('\n')) << "every line ends in CR LF";

    const QString text = openViewer().Text1->toPlainText();
    const int lines = static_cast<int>(text.count(QLatin1Char('\n')));
    EXPECT_GE(lines, 150);
    EXPECT_LE(lines, 330);
    const char* const mustName[] = {
        "Ctrl+B", "Ctrl+C", "Ctrl+D", "Ctrl+F", "Ctrl+G", "Ctrl+P", "Ctrl+R", "Ctrl+S", "F12",
        "Esc", "New", "Archive Current Log", "Restore from Archive or Backup",
        "Write Submission File", "Export ADIF File", "Copy Listed Items to Clipboard", "Exit",
        "Form Size", "Colors", "Taskbar", "CW Setup", "Voice Setup", "Rig Interface",
        "Post Contest Mode", "List Previous Contacts", "Recall", "Change County",
        "Possible Duplicates", "Log \"Time On\"", "Documents/Brelvox Software/Carvonia",
        "abbreviation", "Cabrillo"};
    for (const char* s : mustName)
        EXPECT_TRUE(text.contains(QLatin1String(s), Qt::CaseInsensitive)) << s;
}

TEST_F(LogWindowTest, HelpShowsTheViewerModallyAndUnloadsIt)
{
    LogWindow& w = start(1);
    env.writeWorkFile(QStringLiteral("ReadSQSO.txt"), "Help text");
    QString seen;
    setModalShowHandlerForTesting([&](QWidget& window) {
        auto& f = dynamic_cast<Form5&>(window);
        seen = f.Text1->toPlainText();
        f.Command1->click();
    });
    find(w, "mnuHelp")->trigger();
    EXPECT_EQ(seen, QStringLiteral("Help text"));
    EXPECT_FALSE(WindowRegistry::isLoaded<Form5>());
}

// The file's lines are broken at a fixed width; the viewer joins the lines
// of each paragraph so that only its box wraps them, while headings, rules
// and the items of lists and tables keep their own lines.
TEST(HelpViewer, JoinsTheLinesOfEachParagraph)
{
    struct Case {
        const char* name;
        const char* file;
        const char* shown;
    };
    const Case cases[] = {
        {"paragraph", "One two\nthree four\nfive.\n\nNext one\nends.",
         "One two three four five.\n\nNext one ends."},
        {"heading and rule", "1. TITLE\n--------\n\nText here\nand here.",
         "1. TITLE\n--------\n\nText here and here."},
        {"list items with hanging lines", "Exchange:\n  - first item\n    goes on\n  - second",
         "Exchange:\n  - first item goes on\n  - second"},
        {"table rows with dot leaders",
         "  Name ....... the first\n               and more\n  Other ...... x",
         "  Name ....... the first and more\n  Other ...... x"},
        {"unindented dotted rows", "Map ........ the map;\n             filled in.\nClear ...... empties.",
         "Map ........ the map; filled in.\nClear ...... empties."},
        {"heading line before an indented list", "File\n  New ..... starts\nOptions",
         "File\n  New ..... starts\nOptions"},
        {"prose with an ellipsis", "or \"... is not a\nvalid\" county", "or \"... is not a valid\" county"},
        {"blank lines and trailing blanks kept apart", "a  \nb\n\n\nc", "a b\n\n\nc"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(joinHelpLines(QString::fromLatin1(c.file)), QLatin1String(c.shown)) << c.name;
}

TEST(HelpViewer, ShippedHelpShowsParagraphsWhole)
{
    TestEnv env;
    env.seedDataFile(QStringLiteral("ReadSQSO.txt"));
    Form5& f = openViewer();
    f.show();
    const QStringList blocks = f.Text1->toPlainText().split(QLatin1Char('\n'));
    EXPECT_TRUE(blocks.contains(QStringLiteral(
        "This program logs the ZQ State QSO Party of Carvonia.  It checks every contact for "
        "duplicates, counts points and multipliers, keeps the claimed score and writes the "
        "Cabrillo file that you submit after the contest.")));
    EXPECT_TRUE(blocks.contains(QStringLiteral("1. SETTING UP THE STATION")));
    EXPECT_TRUE(blocks.contains(QStringLiteral("-------------------------")));
    EXPECT_TRUE(blocks.contains(QStringLiteral(
        "  County ................. your county (in-state stations: your Carvonia county).")));
    EXPECT_TRUE(blocks.contains(QStringLiteral("  Ctrl+B   band map (HF Spectrum Map)")));
    EXPECT_TRUE(blocks.contains(QStringLiteral("Clear ............................ empties the entry row.")));
    closeViewer();
}
