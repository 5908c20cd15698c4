#pragma once
// Code practice text: random groups drawn from the practice alphabet, and
// the reading of the group count and size boxes.

#include <QString>
#include <QStringList>
#include <functional>

namespace zq {

// Entries 1..41: "A".."Z" (1..26), "0".."9" (27..36), ".", ",", "?", "/",
// "-" (37..41).  Entry 0 is empty and never drawn.
QStringList practiceAlphabet();
constexpr int PracticeLettersOnly = 26;
constexpr int PracticeAll = 41;

// The largest group count and group size generated.
constexpr double MaxPracticeGroups = 1000;
constexpr double MaxPracticeGroupSize = 100;

// A group count or size box read as a number: a text that is not a number
// gives `fallback`, a number above `cap` gives `cap`; *boxText is set to
// the text the box then shows (unchanged for a number within the cap).
double practiceBoxValue(const QString& text, double fallback, double cap, QString* boxText);

// `groups` groups of `size` characters drawn from alphabet entries 1..n
// (random01() gives a draw from [0, 1)), each group followed by one blank.
// Counted as "g <= groups", so 2.5 groups give two; zero or fewer groups
// give "", a size of zero or less gives groups that are single blanks.
QString generatePracticeGroups(double groups, double size, int n,
                               const std::function<double()>& random01);

} // namespace zq
