#include "output/CountyChangeShared.h"

#include "common/EntryBox.h"
#include "common/ScreenReader.h"
#include "common/WindowFit.h"
#include "entry/EntryChecks.h"
#include "entry/EntryState.h"
#include "entry/TypeAhead.h"
#include "logstore/CountyTable.h"
#include "platform/Prompt.h"

#include <QFont>
#include <QLabel>
#include <memory>

namespace zq {

void fitCountyChangeDialog(QWidget& dialog)
{
    FitParameters p;
    p.placement = FitParameters::Placement::Centred;
    p.controlFont = FitParameters::ControlFont::WidthRatioCapped;
    p.windowFont = FitParameters::WindowFont::SameAsControls;
    p.onError = FitParameters::OnError::Silent;
    FitWindow(dialog, p);
}

void countyFieldKey(EntryBox& box, int& keyAscii)
{
    const CountyTable& t = CountyTable::instance();
    TypeAheadComplete(box, keyAscii, t.CountyName, t.count(), TypeAheadRules::countyChange());
}

void selectFromCaretOnFocus(EntryBox& box)
{
    auto caret = std::make_shared<int>(-1); // -1: not yet entered
    QObject::connect(&box, &EntryBox::focusLost, &box, [&box, caret] { *caret = caretOf(box); });
    QObject::connect(&box, &EntryBox::focusGained, &box, [&box, caret] {
        const int length = static_cast<int>(box.text().size());
        const int from = *caret < 0 ? 0 : std::min(*caret, length);
        box.setSelection(from, length - from);
    });
}

bool ownCountyChecked(const EntryBox& box, QLabel& invalidLabel)
{
    invalidLabel.hide();
    EntryState& es = EntryState::instance();
    es.InvalidCountyFlag = 1;
    if (isTableCounty(box.text().trimmed())) {
        es.InvalidCountyFlag = 0;
        return true;
    }
    prompt().beep();
    invalidLabel.show();
    return false;
}

void styleInvalidLabel(QLabel& label, QWidget& field)
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(8.25);
    label.setFont(f);
    label.hide();
    tieMessageToBox(label, field);
}

} // namespace zq
