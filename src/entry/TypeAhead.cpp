#include "entry/TypeAhead.h"

#include "logstore/CountyTable.h"

#include <QLineEdit>

#include <algorithm>

namespace zq {

namespace {
constexpr int vkBackspace = 8;
}

TypeAheadResult TypeAheadComplete(const QString& text, int caret, int key,
                                  const std::vector<QString>& names, int count,
                                  TypeAheadRules rules)
{
    TypeAheadResult r;
    r.key = key;
    QString t = text;
    const int s = std::clamp(caret, 0, static_cast<int>(t.size()));
    if (key == vkBackspace && s == 0 && rules.backspaceAtStartEmpties) {
        r.clearFirst = !t.isEmpty();
        return r;
    }
    if (key < 32 || key > 0xFFFF)
        return r;

    if (s == 0 && rules.startReplacesText && !(rules.spaceKeepsText && key == ' ')) {
        r.clearFirst = !t.isEmpty();
        t.clear();
    }
    if (s == 0)
        UpperKey(r.key);
    if (rules.capitalAfterSpace && s > 0 && s < t.size() && t.at(s - 1) == u' ')
        UpperKey(r.key);
    if (r.key == 0)
        return r;

    const QString typed = t.left(s) + QChar(r.key);
    const int last = std::min(count, static_cast<int>(names.size()) - 1);
    for (int i = last; i >= 1; --i) {
        const QString& name = names[static_cast<size_t>(i)];
        if (name.size() < typed.size() || !name.startsWith(typed, Qt::CaseInsensitive))
            continue;
        r.completed = true;
        r.row = i;
        r.text = typed + name.mid(typed.size());
        r.selStart = static_cast<int>(typed.size());
        r.selLength = static_cast<int>(name.size() - typed.size());
        r.key = 0;
        r.clearFirst = false;
        return r;
    }
    return r;
}

int caretOf(const QLineEdit& box)
{
    return box.hasSelectedText() ? box.selectionStart() : box.cursorPosition();
}

int TypeAheadComplete(QLineEdit& box, int& keyAscii, const std::vector<QString>& names,
                      int count, TypeAheadRules rules)
{
    const TypeAheadResult r =
        TypeAheadComplete(box.text(), caretOf(box), keyAscii, names, count, rules);
    keyAscii = r.key;
    if (r.completed) {
        box.setText(r.text);
        // Selected from the end back, so the cursor stands after the typed
        // part (with nothing to select it is simply put there).
        box.setSelection(r.selStart + r.selLength, -r.selLength);
        return r.row;
    }
    if (r.clearFirst)
        box.clear();
    return 0;
}

} // namespace zq
