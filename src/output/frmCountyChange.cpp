#include "output/frmCountyChange.h"

#include "common/EntryBox.h"
#include "common/KeyCodes.h"
#include "common/ModalShow.h"
#include "common/NamedControls.h"
#include "common/TwipsLayout.h"
#include "common/WindowRegistry.h"
#include "logstore/PrefFile.h"
#include "logstore/StationSettings.h"
#include "output/frmCountyChangeRover.h"

#include <QLabel>
#include <QPushButton>

namespace zq {

frmCountyChange::frmCountyChange()
{
    setObjectName(QStringLiteral("frmCountyChange"));
    setWindowTitle(QStringLiteral("County Change"));
    setModal(true);
    resize(twipsToPixelsX(3210, this), twipsToPixelsY(2040, this));

    Label1 = makeNamedLabel(this, QStringLiteral("Label1"),
                            QStringLiteral("Please enter your current county:"), 120, 120, 3375, 255);
    Text1 = makeNamedBox(this, QStringLiteral("Text1"), QString(), 720, 600, 1575);
    Label2 = makeNamedLabel(this, QStringLiteral("Label2"), QStringLiteral("   Invalid!"), 2400, 600,
                            735, 255);
    Label2->hide();
    cmdMultipleCounties =
        new QPushButton(QStringLiteral("&Rovers on County Lines Click to Add Multiple Counties"), this);
    cmdMultipleCounties->setObjectName(QStringLiteral("cmdMultipleCounties"));
    placeControl(*cmdMultipleCounties, 240, 960, 2775, 495);
    Command1 = new QPushButton(QStringLiteral("Done"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    placeControl(*Command1, 960, 1560, 1215, 375);
    for (QPushButton* b : {cmdMultipleCounties, Command1})
        b->setAutoDefault(false);
    setTabOrder(Text1, Command1);
    setTabOrder(Command1, cmdMultipleCounties);

    Text1->onKeyPress = [this](int& k) {
        if (k == vk::Return) {
            k = 0;
            Command1_Click();
        }
    };
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(cmdMultipleCounties, &QPushButton::clicked, this, [this] { cmdMultipleCounties_Click(); });

    Text1->setText(StationSettings::instance().OwnCounty);
}

void frmCountyChange::Command1_Click()
{
    StationSettings::instance().OwnCounty = Text1->text();
    WritePrefFile();
    hide();
}

void frmCountyChange::cmdMultipleCounties_Click()
{
    showModal(DefaultInstance<frmCountyChangeRover>());
    Command1_Click();
}

} // namespace zq
