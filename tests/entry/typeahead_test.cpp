#include "entry/TypeAhead.h"

#include <QLineEdit>
#include <gtest/gtest.h>

namespace zq {
namespace {

const std::vector<QString> kNames = {
    QString(), // index 0 is not used
    QStringLiteral("Adams"),       QStringLiteral("Alder"),       QStringLiteral("Ashland"),
    QStringLiteral("Cedar Bluff"), QStringLiteral("Cedar Creek"), QStringLiteral("Crane Lake"),
};
constexpr int kCount = 6;

struct Case {
    const char* what;
    QString text;
    int caret;
    int key;
    TypeAheadRules rules;
    // expected
    bool completed;
    QString completedText;
    int selStart;
    int selLength;
    int key_after;
    bool clearFirst;
};

TEST(TypeAheadTest, CompletesFromTheLastMatchingNameInTheList)
{
    const TypeAheadRules county{true, true};
    const Case cases[] = {
        {"first letter upper-cased, last A name wins", "", 0, 'a', {}, true, "Ashland", 1, 6, 0, false},
        {"typed prefix continues over a proposed rest", "Ashland", 1, 'd', {}, true, "Adams", 2, 3, 0, false},
        {"of two names sharing a prefix the later one", "Ce", 2, 'd', {}, true, "Ced" "ar Creek", 3, 8, 0, false},
        {"typed part keeps its case", "ce", 2, 'D', {}, true, "ceDar Creek", 3, 8, 0, false},
        {"no hit: key goes in as typed", "Ad", 2, 'x', {}, false, "", 0, 0, 'x', false},
        {"a key at the start replaces the text", "Xyz", 0, 'c', {}, true, "Crane Lake", 1, 9, 0, false},
        {"a key at the start without a hit empties the field", "Xyz", 0, 'q', {}, false, "", 0, 0, 'Q', true},
        {"Space at the start keeps the text in entry fields", "Adams", 0, ' ', county, false, "", 0, 0, ' ', false},
        {"Space at the start empties elsewhere", "Adams", 0, ' ', {}, false, "", 0, 0, ' ', true},
        {"Space continues a two-word name", "Cedar Bluff", 5, ' ', county, true, "Cedar Creek", 6, 5, 0, false},
        {"capital after a space before a proposed rest", "Cedar Bluff", 6, 'c', county, true, "Cedar Creek", 7, 4, 0, false},
        {"without that rule the letter keeps its case", "Cedar Bluff", 6, 'c', {}, true, "Cedar creek", 7, 4, 0, false},
        {"no capital after a space at the end of the text", "Cedar ", 6, 'x', county, false, "", 0, 0, 'x', false},
        {"Backspace is no typed character", "Adams", 0, 8, {}, false, "", 0, 0, 8, false},
        {"a name exactly as typed is a hit with nothing selected", "Alde", 4, 'r', {}, true, "Alder", 5, 0, 0, false},
        {"a quote is dropped on an empty field", "", 0, '"', {}, false, "", 0, 0, 0, false},
        {"dialog rule: a key at the start keeps the text", "Xyz", 0, 'q', {false, false, false}, false, "", 0, 0, 'Q', false},
        {"dialog rule: a key at the start still completes", "Xyz", 0, 'c', {false, false, false}, true, "Crane Lake", 1, 9, 0, false},
        {"edit county: Backspace at the start empties", "Adams", 0, 8, TypeAheadRules::editCounty(), false, "", 0, 0, 8, true},
        {"edit county: Space at the start goes in before the name", "Adams", 0, ' ', TypeAheadRules::editCounty(), false, "", 0, 0, ' ', false},
        {"edit county: no key (Enter ran Done) changes nothing", "Adams", 0, 0, TypeAheadRules::editCounty(), false, "", 0, 0, 0, false},
        {"entry county: Backspace at the start deletes nothing more", "Adams", 0, 8, TypeAheadRules::entryCounty(), false, "", 0, 0, 8, false},
        {"edit country: Space at the start empties", "Adams", 0, ' ', TypeAheadRules::editCountry(), false, "", 0, 0, ' ', true},
        {"edit country: no capital after a space", "Cedar Bluff", 6, 'c', TypeAheadRules::editCountry(), true, "Cedar creek", 7, 4, 0, false},
        {"county change: Space at the start empties", "Adams", 0, ' ', TypeAheadRules::countyChange(), false, "", 0, 0, ' ', true},
        {"county change: capital after a space", "Cedar Bluff", 6, 'c', TypeAheadRules::countyChange(), true, "Cedar Creek", 7, 4, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TypeAheadResult r = TypeAheadComplete(c.text, c.caret, c.key, kNames, kCount, c.rules);
        EXPECT_EQ(r.completed, c.completed);
        EXPECT_EQ(r.key, c.key_after);
        EXPECT_EQ(r.clearFirst, c.clearFirst);
        if (c.completed) {
            EXPECT_EQ(r.text, c.completedText);
            EXPECT_EQ(r.selStart, c.selStart);
            EXPECT_EQ(r.selLength, c.selLength);
            EXPECT_EQ(kNames[static_cast<size_t>(r.row)].toUpper(), c.completedText.toUpper());
        }
    }
}

TEST(TypeAheadTest, SearchesOnlyTheLoadedRowsOfTheList)
{
    // Rows past the count are not names; a count past the list is bounded.
    EXPECT_FALSE(TypeAheadComplete("", 0, 'c', kNames, 3, {}).completed);
    EXPECT_EQ(TypeAheadComplete("", 0, 'c', kNames, 0, {}).key, 'C');
    EXPECT_EQ(TypeAheadComplete("", 0, 'c', kNames, 5000, {}).text, QStringLiteral("Crane Lake"));
    EXPECT_FALSE(TypeAheadComplete("", 0, 'a', {}, 10, {}).completed);
}

TEST(TypeAheadTest, EntryBoxShowsTheCompletionWithTheRestSelected)
{
    QLineEdit box;
    box.setText(QStringLiteral("Ashland"));
    box.setSelection(1, 6);
    int key = 'd';
    EXPECT_EQ(TypeAheadComplete(box, key, kNames, kCount), 1);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(box.text(), QStringLiteral("Adams"));
    EXPECT_EQ(box.selectionStart(), 2);
    EXPECT_EQ(box.selectedText(), QStringLiteral("ams"));
    EXPECT_EQ(box.cursorPosition(), 2);
    EXPECT_EQ(caretOf(box), 2);

    box.setText(QStringLiteral("Xyz"));
    box.setCursorPosition(0);
    key = 'q';
    EXPECT_EQ(TypeAheadComplete(box, key, kNames, kCount), 0);
    EXPECT_EQ(key, 'Q');
    EXPECT_TRUE(box.text().isEmpty());
}

} // namespace
} // namespace zq
