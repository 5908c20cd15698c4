#include "platform/ComPorts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zq;

namespace {
void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
} // namespace

TEST(ComPorts, MapsSerialAndParallelPorts)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("comports.TXT"),
              "# comment line\r\n3=/dev/pts/7\r\nbogus\r\nLPT&H378=/dev/parport3\n"
              "LPT956=/dev/parport9\n7=\n");
    setComPortsFolderOverride(dir.path());
    QTemporaryDir proc;
    QDir(proc.path()).mkpath("parport0");
    writeFile(proc.filePath("parport0/base-addr"), "53248\t53256\n");
    setParportProcRootOverride(proc.path());

    EXPECT_EQ(serialPortDevice(3), "/dev/pts/7");
    EXPECT_EQ(serialPortDevice(1), "/dev/ttyS0");
    EXPECT_EQ(serialPortDevice(7), "/dev/ttyS6"); // empty device: not named
    EXPECT_EQ(serialPortDevice(0), "");
    EXPECT_EQ(parallelPortDevice("888"), "/dev/parport3");   // 888 == &H378
    EXPECT_EQ(parallelPortDevice("&h3BC"), "/dev/parport9"); // 956 == &H3BC
    EXPECT_EQ(parallelPortDevice("&HD000"), "/dev/parport0"); // from base-addr
    EXPECT_EQ(parallelPortDevice("&H278"), "");
    EXPECT_EQ(parallelPortDevice("x378"), "");
    setComPortsFolderOverride({});
    setParportProcRootOverride({});
}
