#include "output/frmCountyChangeRover.h"

#include "common/DoneOnly.h"
#include "common/EntryBox.h"
#include "common/KeyCodes.h"
#include "common/NamedControls.h"
#include "common/SortedListBox.h"
#include "common/TwipsLayout.h"
#include "common/WindowRegistry.h"
#include "entry/EntryChecks.h"
#include "entry/TextCompare.h"
#include "logstore/StationSettings.h"
#include "output/CountyChangeShared.h"
#include "output/frmCountyChange.h"
#include "platform/Prompt.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>

namespace zq {

frmCountyChangeRover::frmCountyChangeRover()
{
    setObjectName(QStringLiteral("frmCountyChangeRover"));
    setWindowTitle(QStringLiteral("County Change for Rovers"));
    setModal(true);
    makeDoneOnly(*this);
    resize(twipsToPixelsX(3615, this), twipsToPixelsY(3120, this));

    auto label = [this](const char* name, const QString& text, double left, double top,
                        double width, double height) {
        QLabel* l = makeNamedLabel(this, QLatin1String(name), text, left, top, width, height);
        l->setWordWrap(true);
        return l;
    };
    Label1 = label("Label1",
                   QStringLiteral("Please enter your current counties.  Click on listed counties to remove."),
                   240, 120, 3255, 585); // wider and taller than designed: two lines
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    makeSortedListBox(*List1);
    placeControl(*List1, 480, 720, 2775, 840);
    Text1 = makeNamedBox(this, QStringLiteral("Text1"), QString(), 480, 1680, 1575);
    Label2 = label("Label2", QStringLiteral("   Invalid!"), 2520, 1680, 735, 255);
    styleInvalidLabel(*Label2, *Text1);
    Label3 = label("Label3", QStringLiteral("Type the county and the press enter to add to the list."),
                   480, 2040, 2895, 495);
    Command1 = new QPushButton(QStringLiteral("&Done"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAutoDefault(false);
    placeControl(*Command1, 1200, 2640, 1215, 375);
    // The prompt and the hint are sentences: the list and the box are named
    // by what they hold, the hint read as the box's description.
    List1->setAccessibleName(QStringLiteral("Rover counties"));
    Text1->setAccessibleName(QStringLiteral("County to add"));
    Text1->setAccessibleDescription(Label3->text());
    setTabOrder(Text1, Command1);
    setTabOrder(Command1, List1);

    Text1->onKeyPress = [this](int& k) { Text1_KeyPress(k); };
    selectFromCaretOnFocus(*Text1);
    // Only the operator's click or arrow key picks an entry; the focus
    // arriving in the list picks none.
    connect(List1, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { List1_Click(List1->row(item)); });
    List1->installEventFilter(this);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
}

void frmCountyChangeRover::Form_Load()
{
    fitCountyChangeDialog(*this);
    Text1->setText(StationSettings::instance().OwnCounty);
    Text1->setFocus();
}

void frmCountyChangeRover::Text1_KeyPress(int& k)
{
    if (k == '"')
        k = 0;
    if (k == vk::Return) {
        k = 0;
        ValidateRoverCounty();
        if (Label2->isHidden())
            AddRoverCounty();
        return;
    }
    countyFieldKey(*Text1, k);
}

void frmCountyChangeRover::ValidateRoverCounty()
{
    if (!ownCountyChecked(*Text1, *Label2))
        Text1->setFocus();
}

void frmCountyChangeRover::AddRoverCounty()
{
    const QString county = tableCountyName(Text1->text().trimmed());
    for (int i = 0; i < List1->count(); ++i) {
        if (sameText(List1->item(i)->text(), county)) {
            // Listed already: a second entry would log every contact twice.
            prompt().beep();
            return;
        }
    }
    addSortedEntry(*List1, county);
    Text1->clear();
}

void frmCountyChangeRover::List1_Click(int row)
{
    if (row < 0 || row >= List1->count())
        return;
    delete List1->takeItem(row);
    Command1->setFocus();
}

int frmCountyChangeRover::rowForKey(int key) const
{
    const int count = List1->count();
    if (count == 0)
        return -1;
    const int current = List1->currentRow();
    switch (key) {
    case Qt::Key_Down:
        return current < 0 ? 0 : std::min(current + 1, count - 1);
    case Qt::Key_Up:
        return current < 0 ? 0 : std::max(current - 1, 0);
    case Qt::Key_Home:
    case Qt::Key_PageUp:
        return 0;
    case Qt::Key_End:
    case Qt::Key_PageDown:
        return count - 1;
    default:
        return -1;
    }
}

bool frmCountyChangeRover::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == List1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const int row = rowForKey(key->key());
        if (row >= 0) {
            List1_Click(row);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmCountyChangeRover::Command1_Click()
{
    if (List1->count() > 0) {
        if (frmCountyChange* change = WindowRegistry::existing<frmCountyChange>())
            change->Text1->setText(List1->item(0)->text());
    }
    hide();
}

} // namespace zq
