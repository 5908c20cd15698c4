#include "platform/QuotedText.h"
#include "platform/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zq;

TEST(QuotedText, ParsesLinesLikeTheSettingsReader)
{
    struct Case {
        const char* line;
        QStringList texts;
        QList<bool> quoted;
    };
    const Case cases[] = {
        {R"("W1AW","59",0,"")", {"W1AW", "59", "0", ""}, {true, true, false, true}},
        {R"(  "a b" , 12.5 ,-3)", {"a b", "12.5", "-3"}, {true, false, false}},
        {R"("x"  ,"y" )", {"x", "y"}, {true, true}},
        {"", {""}, {false}},
        {"a,,b,", {"a", "", "b", ""}, {false, false, false, false}},
        {R"("has,comma",1)", {"has,comma", "1"}, {true, false}},
    };
    for (const auto& c : cases) {
        auto v = parseQuotedLine(QString::fromUtf8(c.line));
        ASSERT_TRUE(v.has_value()) << c.line;
        ASSERT_EQ(v->size(), c.texts.size()) << c.line;
        for (int i = 0; i < c.texts.size(); ++i) {
            EXPECT_EQ((*v)[i].text, c.texts[i]) << c.line;
            EXPECT_EQ((*v)[i].quoted, c.quoted[i]) << c.line;
        }
    }
    EXPECT_FALSE(parseQuotedLine(u"\"open,1").has_value());
    // Text after a closing quote would be lost on the next rewrite: the
    // line cannot be read.
    EXPECT_FALSE(parseQuotedLine(uR"("W5"DEF","599")").has_value());
    EXPECT_FALSE(parseQuotedLine(uR"("a" x)").has_value());
}

TEST(QuotedText, LineReaderRefusesTextAfterAClosingQuoteAndSaysWhy)
{
    const QByteArray content = "\"W1AW\",1\r\n\"W5\"DEF\",\"599\"\r\n";
    QuotedLineReader r(content);
    QList<QuotedValue> v;
    bool ok = false;
    ASSERT_TRUE(r.next(&v, &ok));
    EXPECT_TRUE(ok);
    ASSERT_TRUE(r.next(&v, &ok));
    EXPECT_FALSE(ok);
    EXPECT_EQ(r.lineNumber(), 2);
    EXPECT_TRUE(r.fault().contains("closing quote")) << r.fault().toStdString();
}

TEST(QuotedText, EncodingAndByteOrderMarkInEveryReader)
{
    struct Case {
        const char* name;
        QByteArray content;
        QString first;
        QString second;
    };
    const Case cases[] = {
        {"Latin-1 read as Latin-1", "\"M\xFCnster\",\"x\"\r\n", QString::fromUtf8("M\u00fcnster"), "x"},
        {"UTF-8", "\"M\xC3\xBCnster\",\"x\"\r\n", QString::fromUtf8("M\u00fcnster"), "x"},
        {"leading byte-order mark skipped", "\xEF\xBB\xBF\"W1AW\",\"x\"\r\n", "W1AW", "x"},
        {"byte-order mark with Latin-1 after it", "\xEF\xBB\xBF\"M\xFCn\",\"x\"\r\n",
         QString::fromUtf8("M\u00fcn"), "x"},
        {"U+FEFF inside a value kept", "\"W1AW\",\"\xEF\xBB\xBFx\"\r\n", "W1AW",
         QString(QChar(0xFEFF)) + "x"},
        {"two U+FEFF at the start of a value both kept",
         "\"W1AW\",\"\xEF\xBB\xBF\xEF\xBB\xBFx\"\r\n", "W1AW",
         QString(QChar(0xFEFF)) + QChar(0xFEFF) + "x"},
        {"the file's mark, then U+FEFF starting a bare value",
         "\xEF\xBB\xBF\xEF\xBB\xBFW1AW,\"x\"\r\n", QString(QChar(0xFEFF)) + "W1AW", "x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QuotedLineReader r(c.content);
        QList<QuotedValue> v;
        bool ok = false;
        ASSERT_TRUE(r.next(&v, &ok));
        ASSERT_TRUE(ok);
        ASSERT_EQ(v.size(), 2);
        EXPECT_EQ(v[0].text, c.first);
        EXPECT_EQ(v[1].text, c.second);

        const QStringList lines = splitLines(c.content);
        ASSERT_EQ(lines.size(), 1);
        auto parsed = parseQuotedLine(lines[0]);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ((*parsed)[0].text, c.first);
        EXPECT_EQ((*parsed)[1].text, c.second);

        QuotedValueStream stream(c.content);
        QString t;
        EXPECT_TRUE(stream.nextText(&t));
        EXPECT_EQ(t, c.first);
    }
}

TEST(QuotedText, OversizedFileIsRefusedUnread)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("big.txt");
    ASSERT_TRUE(writeFileAtomically(path, QByteArray(1001, 'x')));
    QString why;
    EXPECT_FALSE(readWholeFile(path, &why, 1000).has_value());
    EXPECT_TRUE(why.contains("1000")) << why.toStdString();
    auto whole = readWholeFile(path, &why, 1001);
    ASSERT_TRUE(whole.has_value());
    EXPECT_EQ(whole->size(), 1001);

    // Under the default bound of megabytes the file costs a buffer of its
    // own size: every table and settings read goes through here.
    for (const qsizetype size : {qsizetype(0), qsizetype(1001), qsizetype(300000)}) {
        ASSERT_TRUE(writeFileAtomically(path, QByteArray(size, 'y')));
        whole = readWholeFile(path, &why);
        ASSERT_TRUE(whole.has_value()) << size;
        EXPECT_EQ(*whole, QByteArray(size, 'y'));
        EXPECT_LE(whole->capacity(), 2 * size + 64) << size;
    }
}

TEST(QuotedText, NumbersAreStrictDecimals)
{
    struct Case {
        const char* text;
        bool quoted;
        bool ok;
        double value;
    };
    const Case cases[] = {
        {"-12.25", false, true, -12.25}, {".5", false, true, 0.5}, {"6", false, true, 6},
        {"5.", false, true, 5},          {"", false, true, 0},     {"", true, false, 0},
        {"-", false, false, 0},          {".", false, false, 0},   {"1e5", false, false, 0},
        {"abc", false, false, 0},        {"1.2.3", false, false, 0}, {"nan", false, false, 0},
    };
    for (const auto& c : cases) {
        double v = -99;
        EXPECT_EQ(parseNumber({QString::fromUtf8(c.text), c.quoted}, &v), c.ok) << c.text;
        if (c.ok)
            EXPECT_DOUBLE_EQ(v, c.value) << c.text;
    }
}

TEST(QuotedText, WritesQuotedAndBareValues)
{
    EXPECT_EQ(quotedText("K\"1\r\nAB"), "\"K1AB\"");
    EXPECT_EQ(quotedText(""), "\"\"");
    EXPECT_EQ(bareNumber(0.0), "0");
    EXPECT_EQ(bareNumber(-0.0), "0");
    EXPECT_EQ(bareNumber(5.5f), "5.5");
    EXPECT_EQ(bareNumber(-12.25f), "-12.25");
    EXPECT_EQ(bareNumber(6.0f), "6");
    EXPECT_EQ(bareNumber(-0.1f), "-0.1");
    EXPECT_EQ(bareNumber(100000000.0f), "100000000");
    EXPECT_EQ(recordLine({"\"a\"", "0"}), QByteArray("\"a\",0\r\n"));
}

TEST(QuotedText, EveryReaderDropsTheSameTrailingBlankLines)
{
    // A trailing line of white space of any kind is not a line, in the
    // line reader as in splitLines; white space elsewhere is kept.
    struct Case {
        const char* name;
        QByteArray content;
        int lines;
    };
    const Case cases[] = {
        {"blanks and tabs", "\"a\"\r\n  \t\r\n", 1},
        {"a Latin-1 no-break space alone", "\"a\"\r\n\xA0", 1},
        {"a Latin-1 no-break space and CR LF", "\"a\"\r\n\xA0\r\n\r\n", 1},
        {"a UTF-8 no-break space", "\"a\"\r\n\xC2\xA0\r\n", 1},
        {"vertical tab and form feed", "\"a\"\n\v\f\n", 1},
        {"a blank line between records stays", "\"a\"\r\n\xA0\r\n\"b\"\r\n", 3},
        {"only white space", "\xA0\r\n \r\n", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(splitLines(c.content).size(), c.lines);
        QuotedLineReader r(c.content);
        QList<QuotedValue> v;
        bool ok = false;
        int n = 0;
        while (r.next(&v, &ok)) {
            EXPECT_TRUE(ok);
            ++n;
        }
        EXPECT_EQ(n, c.lines);
    }
}

TEST(QuotedText, StreamReadsAcrossLinesAndAcceptsLfAndTrailingBlankLines)
{
    QuotedValueStream s("\"one\"\n2,3\r\n\n\n");
    QString t;
    double n = 0;
    EXPECT_TRUE(s.nextText(&t));
    EXPECT_EQ(t, "one");
    EXPECT_TRUE(s.nextNumber(&n));
    EXPECT_EQ(n, 2);
    EXPECT_TRUE(s.nextNumber(&n));
    EXPECT_EQ(n, 3);
    EXPECT_TRUE(s.atEnd());
    EXPECT_FALSE(s.nextText(&t));
}

TEST(SafeFile, FailedWritesLeaveTheOldFileWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("log.txt");
    ASSERT_TRUE(writeFileAtomically(path, "old\r\n"));
    setWriteFaultForTesting([](const QString&) { return true; });
    QString error;
    EXPECT_FALSE(writeFileAtomically(path, "new\r\n", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(appendAndSync(path, "more\r\n", &error));
    setWriteFaultForTesting(nullptr);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("old\r\n"));
    EXPECT_EQ(dir.path(), QFileInfo(path).path()); // no temporary left beside it
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

TEST(SafeFile, AppendIntoADirectoryFailsWithAReason)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("log.txt");
    QString error;
    EXPECT_FALSE(appendAndSync(dir.filePath("log.txt"), "x\r\n", &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(SafeFile, BackupNameNeverReplacesADifferentFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("202609121830.log");
    EXPECT_EQ(uniqueBackupPath(path, "a"), path);
    ASSERT_TRUE(writeFileAtomically(path, "a"));
    EXPECT_EQ(uniqueBackupPath(path, "a"), path); // same bytes: same backup
    EXPECT_EQ(uniqueBackupPath(path, "b"), dir.filePath("202609121830-2.log"));
    ASSERT_TRUE(writeFileAtomically(dir.filePath("202609121830-2.log"), "b"));
    EXPECT_EQ(uniqueBackupPath(path, "c"), dir.filePath("202609121830-3.log"));
}
