#include "logstore/AdifExport.h"
#include "platform/QuotedText.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace zq;

namespace {
QByteArray shippedFile(const char* name)
{
    auto content = readWholeFile(QStringLiteral(ZQ_SOURCE_DIR "/data/") + QString::fromLatin1(name));
    EXPECT_TRUE(content.has_value()) << name << " is not shipped in data/";
    return content.value_or(QByteArray());
}
} // namespace

TEST(ExportData, CountryCodeTableCoversEveryPrefixCountry)
{
    const QByteArray adifContent = shippedFile("ADIFCnt.txt");
    QString error;
    const auto table = parseAdifCountryTable(adifContent, &error);
    ASSERT_TRUE(table.has_value()) << error.toStdString();
    EXPECT_LE(table->rows.size(), AdifCountryTable::Capacity);
    EXPECT_FALSE(table->rows.isEmpty());

    // One row per CR LF line, each exactly `"Name",number`.
    const QList<QByteArray> lines = adifContent.split('\n');
    EXPECT_TRUE(lines.last().isEmpty()) << "last row must end with CR LF";
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const QByteArray& l = lines[i];
        EXPECT_TRUE(l.endsWith('\r')) << "row " << i + 1;
        const QList<QByteArray> parts = l.chopped(l.endsWith('\r') ? 1 : 0).split(',');
        ASSERT_EQ(parts.size(), 2) << "row " << i + 1 << ": " << l.toStdString();
        EXPECT_TRUE(parts[0].startsWith('"') && parts[0].endsWith('"') && parts[0].size() > 2)
            << l.toStdString();
        bool ok = false;
        EXPECT_GT(parts[1].toInt(&ok), 0) << l.toStdString();
        EXPECT_TRUE(ok) << l.toStdString();
    }

    // Each country name once.
    QSet<QString> names;
    for (const auto& row : table->rows) {
        EXPECT_FALSE(names.contains(row.name)) << row.name.toStdString() << " twice";
        names.insert(row.name);
    }

    EXPECT_EQ(table->dxccOf(QStringLiteral("USA")), 291);
    EXPECT_EQ(table->dxccOf(QStringLiteral("Canada")), 1);
    EXPECT_EQ(table->dxccOf(QStringLiteral("Alaska")), 6);
    EXPECT_EQ(table->dxccOf(QStringLiteral("Hawaii")), 110);

    // Every country name of the prefix table (value 2 of its 8 per row).
    QuotedValueStream prefixes(shippedFile("arrlpre2.txt"));
    int row = 0;
    QStringList missing;
    while (!prefixes.atEnd()) {
        ++row;
        QuotedValue v[8];
        for (auto& value : v)
            ASSERT_TRUE(prefixes.next(&value)) << "arrlpre2.txt row " << row << " ends early";
        if (!names.contains(v[1].text) && !missing.contains(v[1].text))
            missing << v[1].text;
    }
    EXPECT_GT(row, 0);
    EXPECT_TRUE(missing.isEmpty()) << "no DXCC number for: "
                                   << missing.join(QStringLiteral(", ")).toStdString();
}
