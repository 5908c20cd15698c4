// The user's folders under the documents folder and the call file stem.

#include "platform/UserFolders.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace zq;

TEST(UserFolders, GetUserDirectoryMakesTheCompanyAndProgramFolders)
{
    test::TestEnv env;
    QDir(env.documentsDir() + "/Brelvox Software").removeRecursively();
    const QString company = env.documentsDir() + "/Brelvox Software";

    QString result;
    GetUserDirectory(result, "\\Brelvox Software", "\\Carvonia");
    EXPECT_EQ(result, company);
    EXPECT_TRUE(QFileInfo(company + "/Carvonia").isDir());
    GetUserDirectory(result, "\\Brelvox Software", "\\Shared");
    EXPECT_TRUE(QFileInfo(company + "/Shared").isDir());

    // Later starts leave what is there alone.
    QFile marker(company + "/Carvonia/keep.txt");
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();
    GetUserDirectory(result, "\\Brelvox Software", "\\Carvonia");
    EXPECT_TRUE(marker.exists());
    EXPECT_TRUE(env.prompt().messageTexts().isEmpty());
}

TEST(UserFolders, MakeDirectoryReportsFailuresOnlyWhenAsked)
{
    test::TestEnv env;
    const QString base = env.documentsDir();

    EXPECT_FALSE(MakeDirectory("", 0));
    EXPECT_EQ(env.prompt().messageTexts(), QStringList{"Invalid Path"});
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{"Unable to Create Directory"});
    env.prompt().clear();

    // Only the last level is made.
    EXPECT_FALSE(MakeDirectory(base + "/missing/child", 0));
    EXPECT_FALSE(QFileInfo(base + "/missing").exists());
    EXPECT_TRUE(env.prompt().messageTexts().isEmpty());

    // A file standing where the folder should be.
    QFile blocker(base + "/BACKUP2");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(MakeDirectory(base + "/BACKUP2", 1));
    ASSERT_EQ(env.prompt().messageTitles(), QStringList{"Unable to create directory."});
    EXPECT_TRUE(env.prompt().messageTexts().first().endsWith("  " + base + "/BACKUP2"));

    EXPECT_TRUE(MakeDirectory(base + "/New", 1));
    EXPECT_TRUE(MakeDirectory(base + "/New", 1)); // already there
    EXPECT_TRUE(QFileInfo(base + "/New").isDir());
}

TEST(UserFolders, CallFileStem)
{
    const struct {
        const char* call;
        const char* stem;
    } cases[] = {
        {"K0ZQ", "K0ZQ"},     {"W1ABC/P", "W1ABC"}, {"w1abc", "YourCall"}, {"", "YourCall"},
        {"KB9zz", "KB9"},     {"9A1A-2", "9A1A"},   {"/K0ZQ", "YourCall"}, {"N0 ZQ", "N0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CallFileStem(QString::fromLatin1(c.call)), QString::fromLatin1(c.stem)) << c.call;
}
