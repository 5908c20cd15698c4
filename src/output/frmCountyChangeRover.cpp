#include "output/frmCountyChangeRover.h"

#include "common/EntryBox.h"
#include "common/KeyCodes.h"
#include "common/NamedControls.h"
#include "common/SortedListBox.h"
#include "common/TwipsLayout.h"
#include "common/WindowRegistry.h"
#include "entry/EntryChecks.h"
#include "logstore/StationSettings.h"
#include "output/frmCountyChange.h"
#include "platform/Prompt.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace zq {

frmCountyChangeRover::frmCountyChangeRover()
{
    setObjectName(QStringLiteral("frmCountyChangeRover"));
    setWindowTitle(QStringLiteral("County Change for Rovers"));
    setModal(true);
    resize(twipsToPixelsX(3615, this), twipsToPixelsY(3120, this));

    auto label = [this](const char* name, const QString& text, double left, double top,
                        double width, double height) {
        QLabel* l = makeNamedLabel(this, QLatin1String(name), text, left, top, width, height);
        l->setWordWrap(true);
        return l;
    };
    Label1 = label("Label1",
                   QStringLiteral("Please enter your current counties.  Click on listed counties to remove."),
                   480, 120, 2775, 495);
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    makeSortedListBox(*List1);
    placeControl(*List1, 480, 720, 2775, 840);
    Text1 = makeNamedBox(this, QStringLiteral("Text1"), QString(), 480, 1680, 1575);
    Label2 = label("Label2", QStringLiteral("   Invalid!"), 2520, 1680, 735, 255);
    Label2->hide();
    Label3 = label("Label3", QStringLiteral("Type the county and the press enter to add to the list."),
                   480, 2040, 2895, 495);
    Command1 = new QPushButton(QStringLiteral("&Done"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAutoDefault(false);
    placeControl(*Command1, 1200, 2640, 1215, 375);
    setTabOrder(Text1, Command1);
    setTabOrder(Command1, List1);

    Text1->onKeyPress = [this](int& k) {
        if (k != vk::Return)
            return;
        k = 0;
        ValidateRoverCounty();
        if (Label2->isHidden())
            AddRoverCounty();
    };
    connect(List1, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { List1_Click(List1->row(item)); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

    Text1->setText(StationSettings::instance().OwnCounty);
}

void frmCountyChangeRover::ValidateRoverCounty()
{
    Label2->hide();
    if (isTableCounty(Text1->text()))
        return;
    prompt().beep();
    Label2->show();
    Text1->setFocus();
}

void frmCountyChangeRover::AddRoverCounty()
{
    addSortedEntry(*List1, Text1->text());
    Text1->clear();
}

void frmCountyChangeRover::List1_Click(int row)
{
    delete List1->takeItem(row);
    Command1->setFocus();
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
