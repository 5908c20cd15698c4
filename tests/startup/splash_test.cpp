// The start-up dialog and the logo dialog, run for real offscreen.

#include "platform/Folders.h"
#include "common/ProgramEnd.h"
#include "common/TwipsLayout.h"
#include "common/WindowRegistry.h"
#include "startup/SharedPrefs.h"
#include "startup/frmBrelvoxLogo.h"
#include "startup/frmSplash.h"
#include "support/TestEnv.h"

#if __has_include("startup/frmStationID.h")
#include "startup/frmStationID.h"
#define ZQ_HAVE_STATION_SETUP 1
#endif

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace zq;

namespace {

// Ends the modal logo dialog from inside its own event loop, as its timer
// would.
void closeLogoWhenShown()
{
    QTimer::singleShot(0, [] {
        if (auto* logo = WindowRegistry::existing<frmBrelvoxLogo>())
            logo->Timer1_Timer();
    });
}

class SplashTest : public ::testing::Test {
protected:
    test::TestEnv env;
    QString company;

    void SetUp() override
    {
        setScreenTwipsForTesting(9600, 7200);
        SharedPrefs::instance() = SharedPrefs{};
        company = env.documentsDir() + "/Brelvox Software";
        QDir(company).removeRecursively();
        Folders::instance() = Folders{};
    }
    void TearDown() override { setScreenTwipsForTesting(0, 0); }
};

} // namespace

TEST_F(SplashTest, LoadingRecordsFoldersAndContinueGoesOn)
{
    frmSplash& splash = DefaultInstance<frmSplash>();
    closeLogoWhenShown();
    splash.Form_Load();
    // Fitted to a design-sized screen: centred, 170 twips high.
    const TwipsRect r = formTwips(splash);
    EXPECT_NEAR(r.Top, (7200 - r.Height) / 2 - 170, twipsPerPixelY() + 0.01);
    splash.show();

    const Folders& f = Folders::instance();
    EXPECT_EQ(f.WorkingDirectory, QDir::currentPath());
    EXPECT_EQ(f.WorkingDrive, QStringLiteral("/"));
    EXPECT_EQ(f.UserDirectory, company + "/Carvonia");
    EXPECT_EQ(f.SharedDirectory, company + "/Shared");
    EXPECT_TRUE(QFileInfo(company + "/Carvonia/BACKUP").isDir());
    EXPECT_TRUE(QFileInfo(company + "/Shared").isDir());
    EXPECT_EQ(SharedPrefs::instance().SharedPrefsPath, company + "/Shared/SharedUserPreferences.xml");
    EXPECT_FALSE(WindowRegistry::isLoaded<frmBrelvoxLogo>());

    EXPECT_EQ(splash.Label1->text(), "Carvonia State");
    EXPECT_EQ(splash.Label2->text(), "QSO Party Log");
    EXPECT_EQ(splash.Label3->text(), "Brelvox's");
    EXPECT_EQ(splash.lblVersion1->text(), "2.1");
    EXPECT_EQ(splash.Command1->text(), "Continue");
    QTest::mouseClick(splash.Command1, Qt::LeftButton);
    EXPECT_FALSE(programEnded());
    EXPECT_EQ(f.ProgramVersion, "2.1");
    EXPECT_FALSE(WindowRegistry::isLoaded<frmSplash>());
#ifdef ZQ_HAVE_STATION_SETUP
    ASSERT_TRUE(WindowRegistry::isLoaded<frmStationID>());
    EXPECT_TRUE(WindowRegistry::existing<frmStationID>()->isVisible());
#endif
}

TEST_F(SplashTest, ClosingWithoutContinueWritesNothing)
{
    frmSplash& splash = DefaultInstance<frmSplash>();
    closeLogoWhenShown();
    splash.Form_Load();
    splash.show();
    EXPECT_FALSE(programEnded());
    splash.close();
    EXPECT_TRUE(programEnded());
    EXPECT_FALSE(WindowRegistry::isLoaded<frmSplash>());
    EXPECT_TRUE(Folders::instance().ProgramVersion.isEmpty());
    EXPECT_FALSE(QFile::exists(company + "/Shared/SharedUserPreferences.xml"));
#ifdef ZQ_HAVE_STATION_SETUP
    EXPECT_FALSE(WindowRegistry::isLoaded<frmStationID>());
#endif
}

TEST_F(SplashTest, LogoShowsSecondPictureThenClosesByItsTimer)
{
    frmBrelvoxLogo& logo = DefaultInstance<frmBrelvoxLogo>();
    EXPECT_EQ(logo.windowTitle(), "Form3");
    EXPECT_TRUE(logo.Timer1->isActive());
    EXPECT_EQ(logo.Timer1->interval(), 1900);
    EXPECT_TRUE(logo.Timer2->isActive());
    EXPECT_EQ(logo.Timer2->interval(), 1100);
    EXPECT_TRUE(logo.Image2->isHidden());
    logo.Timer2_Timer();
    EXPECT_FALSE(logo.Image2->isHidden());

    // Shown modally, it ends by itself.
    logo.exec();
    EXPECT_FALSE(WindowRegistry::isLoaded<frmBrelvoxLogo>());
}

TEST_F(SplashTest, UserSplashPictureReplacesTheLogoAndAClickCloses)
{
    QDir().mkpath(company + "/Shared");
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(company + "/Shared/splash.jpg", "JPG"));

    frmBrelvoxLogo& logo = DefaultInstance<frmBrelvoxLogo>();
    EXPECT_EQ(logo.Timer1->interval(), 2700);
    EXPECT_TRUE(logo.Timer1->isActive());
    EXPECT_FALSE(logo.Timer2->isActive());
    const QImage shown = logo.Image1->pixmap().toImage();
    EXPECT_GT(qRed(shown.pixel(shown.width() / 2, shown.height() / 2)), 200);

    logo.show();
    QTest::mouseClick(logo.Image1, Qt::LeftButton);
    EXPECT_FALSE(WindowRegistry::isLoaded<frmBrelvoxLogo>());
}

TEST_F(SplashTest, SplashFileThatIsNoPictureKeepsTheLogo)
{
    QDir().mkpath(company + "/Shared");
    QFile junk(company + "/Shared/splash.jpg");
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a picture");
    junk.close();

    frmBrelvoxLogo& logo = DefaultInstance<frmBrelvoxLogo>();
    EXPECT_EQ(logo.Timer1->interval(), 1900);
    EXPECT_TRUE(logo.Timer2->isActive());
    EXPECT_TRUE(env.prompt().messageTexts().isEmpty());
}
