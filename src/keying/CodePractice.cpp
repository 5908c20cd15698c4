#include "keying/CodePractice.h"

#include "keying/MorseCode.h"

#include <algorithm>
#include <cmath>

namespace zq {

QStringList practiceAlphabet()
{
    QStringList a{QString()};
    for (char c = 'A'; c <= 'Z'; ++c)
        a << QString(QChar(c));
    for (char c = '0'; c <= '9'; ++c)
        a << QString(QChar(c));
    for (const char* s : {".", ",", "?", "/", "-"})
        a << QString::fromLatin1(s);
    return a;
}

double practiceBoxValue(const QString& text, double fallback, double cap, QString* boxText)
{
    *boxText = text;
    const auto n = boxNumber(text);
    if (!n || !std::isfinite(*n)) {
        *boxText = QString::number(fallback);
        return fallback;
    }
    if (*n > cap) {
        *boxText = QString::number(cap);
        return cap;
    }
    return *n;
}

QString generatePracticeGroups(double groups, double size, int n,
                               const std::function<double()>& random01)
{
    static const QStringList alphabet = practiceAlphabet();
    n = std::clamp(n, 1, PracticeAll);
    QString out;
    for (int g = 1; g <= groups; ++g) {
        for (int c = 1; c <= size; ++c) {
            const int k = std::clamp(static_cast<int>(n * random01()) + 1, 1, n);
            out += alphabet.at(k);
        }
        out += QLatin1Char(' ');
    }
    return out;
}

} // namespace zq
