#include "entry/TextCompare.h"

namespace zq {

QString textKey(const QString& s)
{
    bool ascii = true;
    bool lower = false;
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if (u >= 0x80) {
            ascii = false;
            break;
        }
        if (u >= 'a' && u <= 'z')
            lower = true;
    }
    QString key = ascii ? s : s.toCaseFolded();
    if (!ascii || lower) {
        for (QChar& c : key) {
            const char16_t u = c.unicode();
            if (u >= 'a' && u <= 'z')
                c = QChar(u - ('a' - 'A'));
        }
    }
    return key;
}

} // namespace zq
