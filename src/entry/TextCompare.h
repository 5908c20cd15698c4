#pragma once
// Text comparisons of the entry row and the log: calls, bands, modes,
// counties and state codes compare without regard to case.

#include <QString>
#include <cstddef>
#include <cstdint>

namespace zq {

inline bool sameText(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

inline bool startsWithText(const QString& text, const QString& prefix)
{
    return text.startsWith(prefix, Qt::CaseInsensitive);
}

// The key under which texts that compare equal without regard to case
// meet: the text case-folded with its ASCII letters in upper case.  A text
// that is already such a key (a call or a code typed in capitals) is shared,
// not copied.
QString textKey(const QString& s);

// A hash for keys of std::unordered_map / set: FNV-1a over the UTF-16
// units.  Calls, codes and names are short, and this is several times
// cheaper than the general string hash.
struct TextKeyHash {
    size_t operator()(const QString& s) const noexcept
    {
        uint64_t h = 1469598103934665603ull;
        for (QChar c : s)
            h = (h ^ c.unicode()) * 1099511628211ull;
        return static_cast<size_t>(h);
    }
};

} // namespace zq
