// The Done check of the edit dialogs: what they accept, how they store it,
// and that a rejected field leaves the contact as it was.

#include "common/EntryBox.h"
#include "common/WindowRegistry.h"
#include "logstore/ContactLog.h"
#include "logstore/CountyTable.h"
#include "logstore/StationSettings.h"
#include "logwindow/ArchiveRestore.h"
#include "logwindow/SectionTable.h"
#include "output/ZQEditInfrm.h"
#include "output/ZQEditOut.h"
#include "support/TestContacts.h"
#include "support/TestEnv.h"

#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace zq;
using namespace zq::test;

namespace {

class EditDialogTest : public ::testing::Test {
protected:
    TestEnv env;
    ContactRecord original;

    void SetUp() override
    {
        env.seedDataFile(QStringLiteral("county2.txt"));
        ASSERT_TRUE(LoadCountyTable());
        SectionTable::instance().build();
        original = contactRecord("W1AW", "59", "57", "ZQ", "Ashcombe", "Alderbrook", "2026/09/12",
                                 "18:00:00", "PH", "20", "14.250");
        original.LogField19 = QStringLiteral("spare");
        ContactLog::instance()[1] = contactOther();
        ContactLog::instance()[2] = original;
        ContactLog::instance().ContactCount = 2;
        ContactListState::instance().EditRecordNumber = 2;
    }

    static ContactRecord contactOther()
    {
        ContactRecord r;
        r.LogCall = QStringLiteral("K1ZZ");
        return r;
    }

    static EntryBox* field(QWidget& d, const char* name)
    {
        return d.findChild<EntryBox*>(QLatin1String(name));
    }
};

} // namespace

TEST_F(EditDialogTest, DoneChecksTheFieldsAndStoresThemInPlace)
{
    struct Case {
        const char* field;
        const char* typed;
        bool accepted;
        const char* stored; // the field's value in the contact afterwards
    };
    const Case cases[] = {
        {"txtCall", "w9zz", true, "W9ZZ"},
        {"txtCall", "  ", false, nullptr},
        {"txtCounty", "aldb", true, "Alderbrook"},   // abbreviation
        {"txtCounty", "alderbrook", true, "Alderbrook"},
        {"txtCounty", "Nowhere", false, nullptr},
        {"txtCounty", "", false, nullptr},           // a home-state station has a county
        {"txtSPC", "il", true, "IL"},                // two letters: a section code
        {"txtSPC", "xx", false, nullptr},
        {"txtSPC", "Germany", true, "Germany"},      // a country
        {"txtCountySent", "ashc", true, "Ashcombe"},
        {"txtCountySent", "Nowhere", false, nullptr},
        {"txtDate", "2026/02/30", false, nullptr},
        {"txtTime", "18:05", true, "18:05"},         // post-contest form
        {"txtTime", "25:00:00", false, nullptr},
        {"txtMode", "cw", true, "CW"},
    };
    auto valueOf = [](const ContactRecord& r, const QString& f) {
        if (f == "txtCall") return r.LogCall;
        if (f == "txtCounty") return r.LogCounty;
        if (f == "txtSPC") return r.LogSpc;
        if (f == "txtCountySent") return r.LogCountySent;
        if (f == "txtDate") return r.LogDate;
        if (f == "txtTime") return r.LogTime;
        return r.LogMode;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " = " + c.typed);
        ContactLog::instance()[2] = original;
        auto& d = DefaultInstance<ZQEditInfrm>();
        d.show();
        field(d, c.field)->setText(QString::fromLatin1(c.typed));
        d.cmdDone->click();
        const ContactRecord& now = ContactLog::instance()[2];
        EXPECT_EQ(d.isHidden(), c.accepted);
        EXPECT_EQ(d.lblInvalid->isHidden(), c.accepted);
        if (c.accepted) {
            EXPECT_EQ(valueOf(now, QLatin1String(c.field)), QString::fromLatin1(c.stored));
            // Fields without a control are carried through.
            EXPECT_EQ(now.LogField19, original.LogField19);
            EXPECT_EQ(now.LogFrequency, original.LogFrequency);
        } else {
            EXPECT_EQ(now, original);
        }
        EXPECT_EQ(ContactLog::instance()[1], contactOther());
        WindowRegistry::unload<ZQEditInfrm>();
    }
}

TEST_F(EditDialogTest, OutOfStateDialogFillsFromTheChosenContact)
{
    auto& d = DefaultInstance<ZQEditOut>();
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Edit Contact Entry"));
    EXPECT_EQ(d.contactIndex(), 2);
    EXPECT_EQ(field(d, "txtCall")->text(), QStringLiteral("W1AW"));
    EXPECT_EQ(field(d, "txtRSTR")->text(), QStringLiteral("57"));
    EXPECT_EQ(field(d, "txtCounty")->text(), QStringLiteral("Ashcombe"));
    EXPECT_EQ(field(d, "txtSPC"), nullptr);
    // Out of state the county is always required.
    field(d, "txtCounty")->clear();
    d.cmdDone->click();
    EXPECT_FALSE(d.lblInvalid->isHidden());
    EXPECT_EQ(ContactLog::instance()[2], original);
    WindowRegistry::unload<ZQEditOut>();

    // A number that names no contact edits nothing.
    ContactListState::instance().EditRecordNumber = 3;
    auto& none = DefaultInstance<ZQEditOut>();
    EXPECT_EQ(none.contactIndex(), 0);
    none.cmdDone->click();
    EXPECT_EQ(ContactLog::instance()[3], ContactRecord{});
}
