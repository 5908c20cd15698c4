// Logging a contact in the in-state window: the exchange is the other
// station's state, province or country, plus its county when it is in the
// home state.  Also the state and province grid, the DX list and the
// duplicate lock of the call field.

#include "logwindow/Infrm.h"

#include "common/EntryBox.h"
#include "common/ScreenReader.h"
#include "common/SortedListBox.h"
#include "entry/Clocks.h"
#include "entry/ContestTotals.h"
#include "entry/EntryChecks.h"
#include "entry/EntryState.h"
#include "entry/Multipliers.h"
#include "entry/TextCompare.h"
#include "keying/KeyingState.h"
#include "logstore/ContactLog.h"
#include "logstore/StationSettings.h"
#include "logwindow/Form6.h"
#include "logstore/SectionTable.h"
#include "platform/Clock.h"
#include "platform/Prompt.h"

#include <QEvent>
#include <QListWidget>

namespace zq {

void Infrm::Mains()
{
    if (!checkPostContestFields())
        return;
    const StationSettings& st = StationSettings::instance();
    EntryState& es = EntryState::instance();
    // Only a home-state station has a county.
    if (!sameText(txtCntry->text(), st.HomeStateCode))
        txtSec->clear();
    logOnIfNeeded();
    CheckRequiredFields();
    es.InvalidSectionFlag = 0;
    if (txtCntry->text().size() == 2)
        CheckSection();
    if (isUnusableExchange(txtCntry->text())) {
        // One letter, or the lookup's "Not Found", is no state, province
        // or country to log.
        prompt().beep();
        lblDialog->setText(needCountryMessage());
        es.InvalidSectionFlag = 1;
        txtCntry->setFocus();
    }
    expandCountyAbbreviation();
    FinalDupeCheck();
    es.InvalidCountyFlag = 0;
    if (!txtSec->text().isEmpty())
        CheckCounty();

    ContactRecord justStored;
    const bool stored = storeCheckedContact([this, &justStored] {
        justStored = ContactLog::instance()[ContactLog::instance().ContactCount];
        if (!justStored.LogCounty.isEmpty())
            UpdateCountyLists();
        RefreshContactList();
        if (!Label3->isHidden() && justStored.LogSpc.size() > 2)
            UpdateDXList();
        if (justStored.LogSpc.size() == 2)
            MarkStateWorked();
    });
    if (stored)
        roverHandOff(justStored);
}

void Infrm::CheckSection()
{
    EntryState& es = EntryState::instance();
    es.InvalidSectionFlag = 1;
    if (SectionTable::instance().indexOf(txtCntry->text()) != 0) {
        es.InvalidSectionFlag = 0;
        if (Label19->text().isEmpty())
            Label19->setText(QStringLiteral("NA"));
        return;
    }
    prompt().beep();
    lblDialog->setText(invalidSectionMessage());
    txtCntry->setFocus();
}

void Infrm::ReleaseDupeLock()
{
    EntryState& es = EntryState::instance();
    holdFor(dupeLockRemaining(es.DuplicateSteadyTime, clock().steadyNow()));
    es.DuplicateFlag = 0;
}

void Infrm::afterCallKeyPress()
{
    if (EntryState::instance().DuplicateFlag == 1)
        ReleaseDupeLock();
}

void Infrm::afterRowCleared()
{
    lblStation(4)->setEnabled(false);
}

int Infrm::stateMultipliers() const
{
    return MultiplierMatrix::instance().MultiplierCellCount;
}

// ---------------------------------------------------------------------------
// State and province grid

void Infrm::paintGridLabel(int index, bool worked)
{
    if (ClickLabel* l = Label10(index)) {
        const StationSettings& st = StationSettings::instance();
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, Form6::colorFromStored(worked ? st.WorkedColor : st.RemainingColor));
        l->setPalette(p);
        // What the colour shows, read too.
        l->setAccessibleName(workedItemName(l->text(), worked));
    }
}

void Infrm::MarkStateWorked()
{
    const ContactLog& log = ContactLog::instance();
    const int row = markStateWorked(MultiplierMatrix::instance(), log[log.ContactCount].LogSpc,
                                    SectionTable::instance().SectionCode);
    if (row != 0)
        paintGridLabel(row, true);
}

void Infrm::RebuildStateMatrix()
{
    rebuildStateMatrix(MultiplierMatrix::instance(), SectionTable::instance().SectionCode);
}

void Infrm::RecolourStateGrid()
{
    MultiplierMatrix& m = MultiplierMatrix::instance();
    for (int i = 1; i <= SectionTable::EntryCount; ++i)
        if (rowWorked(m, i))
            paintGridLabel(i, true);
    recountCells(m);
}

void Infrm::RebuildDXList()
{
    fillSortedListBox(*List1, rebuildDxList());
    lblStation(5)->setText(dxCaption(List1->count()));
}

void Infrm::UpdateDXList()
{
    const ContactLog& log = ContactLog::instance();
    const QString& country = log[log.ContactCount].LogSpc;
    if (findListEntry(List1, country) >= 0)
        return;
    addSortedEntry(*List1, country);
    lblStation(5)->setText(dxCaption(List1->count()));
}

void Infrm::wireStateGrid()
{
    for (const auto& [index, label] : Label10) {
        const int i = index;
        connect(label, &ClickLabel::clicked, this, [this, i] { Label10_Click(i); });
        label->setMouseTracking(true);
        label->installEventFilter(this);
    }
    connect(List1, &QListWidget::itemClicked, this, [this] { List1_Click(); });
}

bool Infrm::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::MouseMove) {
        for (const auto& [index, label] : Label10) {
            if (label == watched) {
                Label10_MouseMove(index);
                break;
            }
        }
    }
    return LogWindow::eventFilter(watched, e);
}

void Infrm::Label10_Click(int index)
{
    txtCntry->setText(Label10(index)->text());
}

void Infrm::Label10_MouseMove(int index)
{
    const ContactLog& log = ContactLog::instance();
    const QString code = Label10(index)->text();
    int n = 0;
    for (int i = 1; i <= log.ContactCount; ++i)
        if (sameText(log[i].LogSpc, code))
            ++n;
    setDupeFontSize(8);
    lblDupe->setText(QStringLiteral("  ") + SectionTable::instance().SectionName[static_cast<size_t>(index)]
                     + QStringLiteral("    Total =") + QString::number(n));
}

void Infrm::List1_Click()
{
    if (QListWidgetItem* item = List1->currentItem()) {
        txtCntry->setText(item->text());
        txtCntry->setFocus();
    }
}

void Infrm::Label25_Change()
{
    KeyingState::instance().CwMacroCounty = Label25->text().toUpper();
}

} // namespace zq
