// The folders of src/ are floors: platform, then common, logstore and entry,
// then the tool windows (keying, rig, spots, startup, output), then the log
// window, then the program.  A file includes only its own floor and those
// below it; the log window is reached from below through Form1 and
// ActiveLogWindow (common/LogWindowLink.h).  Each contact edit dialog
// alone includes the log window variant it edits for.

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {

const std::map<QString, int> kFloor = {
    {"platform", 0}, {"common", 1}, {"logstore", 2}, {"entry", 3},  {"keying", 4}, {"rig", 4},
    {"spots", 4},    {"startup", 4}, {"output", 4},  {"logwindow", 5}, {"app", 6},
};

// "file -> included header" pairs that may climb.
const std::set<std::pair<QString, QString>> kAllowed = {
    {"output/ZQEditOut.cpp", "logwindow/Outfrm.h"},
    {"output/ZQEditInfrm.cpp", "logwindow/Infrm.h"},
};

} // namespace

TEST(Floors, NoFileOfSrcIncludesAFloorAboveItsOwn)
{
    const QString src = QStringLiteral(ZQ_SOURCE_DIR "/src/");
    const QRegularExpression include(QStringLiteral(R"re(^\s*#\s*include\s*"([^"/]+)/([^"]+)")re"));
    QStringList climbs;
    int files = 0;
    QDirIterator it(src, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString rel = path.mid(src.size());
        const QString folder = rel.section(u'/', 0, 0);
        ASSERT_TRUE(kFloor.count(folder)) << "a folder without a floor: " << folder.toStdString();
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << rel.toStdString();
        ++files;
        int line = 0;
        while (!f.atEnd()) {
            ++line;
            const QRegularExpressionMatch m = include.match(QString::fromUtf8(f.readLine()));
            if (!m.hasMatch())
                continue;
            const QString target = m.captured(1);
            const auto floor = kFloor.find(target);
            if (floor == kFloor.end())
                continue; // not a folder of src/
            if (floor->second <= kFloor.at(folder) || target == folder)
                continue;
            const QString header = target + u'/' + m.captured(2);
            if (kAllowed.count({rel, header}))
                continue;
            climbs << QStringLiteral("%1:%2 includes %3").arg(rel).arg(line).arg(header);
        }
    }
    EXPECT_GT(files, 100);
    EXPECT_TRUE(climbs.isEmpty()) << climbs.join(u'\n').toStdString();
}
