// SharedUserPreferences.xml: loaded text, keys replaced in place or added,
// written byte for byte; damaged files and failed writes.

#include "platform/QuotedText.h"
#include "platform/SafeFile.h"
#include "startup/SharedPrefs.h"
#include "support/TestEnv.h"

#include <QFile>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <optional>

using namespace zq;

namespace {

const QByteArray Decl = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>";

struct Set {
    const char* key;
    const char* value;
    uint8_t save;
};

struct Case {
    const char* name;
    std::optional<QByteArray> before; // file at start-up; none: no file
    std::vector<Set> sets;
    QByteArray after;
};

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const std::vector<Set> StationKeys = {
    {"OWN_CALL", "K0ZQ", 0},      {"OWN_SPC", "ZQ", 0},          {"OWN_UTC", "5", 0},
    {"OWN_COUNTY", "Ashford", 0}, {"OWN_COUNTRY", "USA", 0},     {"OWN_LONGITUDE", "93.5", 0},
    {"OWN_LATITUDE", "41.2", 0},  {"OWN_CONTINENT", "NA", 0},    {"OWN_ARRL_SECTION", "ZQ", 1},
};

} // namespace

TEST(SharedPrefs, WritesTheFileByteForByte)
{
    const QByteArray nine = Decl + "\r\n<OWN_CALL>K0ZQ</OWN_CALL>\r\n<OWN_SPC>ZQ</OWN_SPC>\r\n"
                                   "<OWN_UTC>5</OWN_UTC>\r\n<OWN_COUNTY>Ashford</OWN_COUNTY>\r\n"
                                   "<OWN_COUNTRY>USA</OWN_COUNTRY>\r\n<OWN_LONGITUDE>93.5</OWN_LONGITUDE>\r\n"
                                   "<OWN_LATITUDE>41.2</OWN_LATITUDE>\r\n<OWN_CONTINENT>NA</OWN_CONTINENT>\r\n"
                                   "<OWN_ARRL_SECTION>ZQ</OWN_ARRL_SECTION>\r\n";
    const Case cases[] = {
        {"no file, then the nine station keys", std::nullopt, StationKeys, nine},
        {"earlier file: own keys in their places, others kept",
         Decl + "\r\n<OTHER_PROGRAM>keep me</OTHER_PROGRAM>\r\n<OWN_CALL>W9OLD</OWN_CALL>\r\n"
                "<OWN_ARRL_SECTION>IL</OWN_ARRL_SECTION>\r\n<LAST>x</LAST>\r\n",
         {{"OWN_CALL", "K0ZQ", 0}, {"OWN_ARRL_SECTION", "ZQ", 1}},
         Decl + "\r\n<OTHER_PROGRAM>keep me</OTHER_PROGRAM>\r\n<OWN_CALL>K0ZQ</OWN_CALL>\r\n"
                "<OWN_ARRL_SECTION>ZQ</OWN_ARRL_SECTION>\r\n<LAST>x</LAST>\r\n"},
        {"empty value; markup characters escaped", std::nullopt,
         {{"OWN_CALL", "", 0}, {"OWN_COUNTY", "Smith & <Sons>", 1}},
         Decl + "\r\n<OWN_CALL></OWN_CALL>\r\n<OWN_COUNTY>Smith &amp; &lt;Sons&gt;</OWN_COUNTY>\r\n"},
        {"Latin-1 file written back byte for byte",
         Decl + "\r\n<OWN_CITY>M\xFCnster</OWN_CITY>\r\n", {{"OWN_CALL", "K0ZQ", 1}},
         Decl + "\r\n<OWN_CITY>M\xFCnster</OWN_CITY>\r\n<OWN_CALL>K0ZQ</OWN_CALL>\r\n"},
        {"Latin-1 file and a value beyond Latin-1: all characters kept as UTF-8",
         Decl + "\r\n<OWN_CITY>M\xFCnster</OWN_CITY>\r\n", {{"OWN_NAME", "\xC5\x81ukasz", 1}},
         Decl + "\r\n<OWN_CITY>M\xC3\xBCnster</OWN_CITY>\r\n<OWN_NAME>\xC5\x81ukasz</OWN_NAME>\r\n"},
        {"UTF-8 file kept", Decl + "\r\n<OWN_CITY>M\xC3\xBCnster</OWN_CITY>\r\n",
         {{"OWN_CALL", "K0ZQ", 1}},
         Decl + "\r\n<OWN_CITY>M\xC3\xBCnster</OWN_CITY>\r\n<OWN_CALL>K0ZQ</OWN_CALL>\r\n"},
        {"mixed-case key: upper-cased, a lower-case element is another key",
         Decl + "\r\n<own_address_line1>old</own_address_line1>\r\n",
         {{"OWN_ADDRESS_Line1", "1 Main St", 1}},
         Decl + "\r\n<own_address_line1>old</own_address_line1>\r\n"
                "<OWN_ADDRESS_LINE1>1 Main St</OWN_ADDRESS_LINE1>\r\n"},
        {"unsaved keys stay in memory", std::nullopt, {{"OWN_EMAIL", "a@b", 0}}, QByteArray()},
        // Damaged files.
        {"empty file starts afresh", QByteArray(), {{"OWN_CALL", "K0ZQ", 1}},
         Decl + "\r\n<OWN_CALL>K0ZQ</OWN_CALL>\r\n"},
        {"one-character file starts afresh", QByteArray("x"), {{"OWN_CALL", "K0ZQ", 1}},
         Decl + "\r\n<OWN_CALL>K0ZQ</OWN_CALL>\r\n"},
        {"no final line end keeps the last character", Decl + "\r\n<OTHER>y</OTHER>",
         {{"OWN_CALL", "K0ZQ", 1}}, Decl + "\r\n<OTHER>y</OTHER>\r\n<OWN_CALL>K0ZQ</OWN_CALL>\r\n"},
        {"opening tag without closing tag: its line is replaced",
         Decl + "\r\n<OWN_CALL>W9OLD trailing\r\n<OTHER>y</OTHER>\r\n", {{"OWN_CALL", "K0ZQ", 1}},
         Decl + "\r\n<OWN_CALL>K0ZQ</OWN_CALL>\r\n<OTHER>y</OTHER>\r\n"},
        {"opening tag without closing tag on the last line", Decl + "\r\n<OWN_CALL>W9\r\n",
         {{"OWN_CALL", "K0ZQ", 1}}, Decl + "\r\n<OWN_CALL>K0ZQ</OWN_CALL>\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TestEnv env;
        SharedPrefs::instance() = SharedPrefs{};
        const QString path = env.documentsDir() + "/SharedUserPreferences.xml";
        if (c.before) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(*c.before);
        }
        LoadSharedPrefs(path);
        for (const Set& s : c.sets) {
            QString key = QString::fromLatin1(s.key);
            EXPECT_TRUE(SetSharedPref(key, QString::fromUtf8(s.value), s.save));
            EXPECT_EQ(key, key.toUpper());
        }
        if (c.after.isEmpty())
            EXPECT_FALSE(QFile::exists(path));
        else
            EXPECT_EQ(readFile(path), c.after);
        EXPECT_TRUE(env.prompt().messageTexts().isEmpty());
    }
}

TEST(SharedPrefs, FailedWriteIsReportedAndKeepsTheOldFile)
{
    test::TestEnv env;
    SharedPrefs::instance() = SharedPrefs{};
    const QString path = env.documentsDir() + "/SharedUserPreferences.xml";
    const QByteArray old = Decl + "\r\n<OWN_CALL>W9OLD</OWN_CALL>\r\n";
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(old);
    }
    LoadSharedPrefs(path);
    setWriteFaultForTesting([](const QString&) { return true; });
    QString key = "OWN_CALL";
    EXPECT_FALSE(SetSharedPref(key, "K0ZQ", 1));
    setWriteFaultForTesting(nullptr);

    EXPECT_EQ(env.prompt().messageTitles(), QStringList{"File Error"});
    EXPECT_TRUE(env.prompt().messageTexts().first().contains(path));
    EXPECT_EQ(readFile(path), old);
    // The text in memory holds the change; the next save writes it.
    EXPECT_TRUE(SaveSharedPrefs(path));
    EXPECT_EQ(readFile(path), Decl + "\r\n<OWN_CALL>K0ZQ</OWN_CALL>\r\n");
}

TEST(SharedPrefs, EscapedValuesReadBackAsXmlAndOversizedFilesAreNotKept)
{
    test::TestEnv env;
    SharedPrefs::instance() = SharedPrefs{};
    const QString path = env.documentsDir() + "/SharedUserPreferences.xml";
    LoadSharedPrefs(path);
    QString key = "OWN_NAME";
    ASSERT_TRUE(SetSharedPref(key, "Smith & <Sons> \"Ltd\"", 1));
    const QByteArray written = readFile(path);
    const qsizetype from = written.indexOf("<OWN_NAME>");
    ASSERT_GE(from, 0);
    QXmlStreamReader xml(written.mid(from));
    ASSERT_TRUE(xml.readNextStartElement());
    EXPECT_EQ(xml.name(), QStringLiteral("OWN_NAME"));
    EXPECT_EQ(xml.readElementText(), "Smith & <Sons> \"Ltd\"");
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();

    // A file far larger than any settings file is not read and kept whole
    // in memory: the text starts afresh.
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Decl + "\r\n<BIG>" + QByteArray(int(kMaxSettingsFileBytes), 'x') + "</BIG>\r\n");
    }
    LoadSharedPrefs(path);
    EXPECT_EQ(SharedPrefs::instance().SharedPrefsText, QString::fromLatin1(Decl));
}
