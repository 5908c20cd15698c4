#include "logwindow/Outfrm.h"

#include "common/EntryBox.h"
#include "logstore/StationSettings.h"

#include <QListWidget>
#include <QMenu>
#include <QMenuBar>

namespace zq {

Outfrm::Outfrm() : LogWindow(Variant::OutOfState)
{
    setObjectName(QStringLiteral("Outfrm"));

    // Entry row, each field with its caption above it.
    constexpr double cap = 2420, field = 2650, h = 330;
    makeStationLabel(2, QStringLiteral("  Call"), 120, cap, 1300, 230);
    placeControl(*txtCall, 120, field, 1300, h);
    makeStationLabel(3, QStringLiteral("RS(T) R"), 1480, cap, 650, 230);
    placeControl(*txtRSTR, 1480, field, 600, h);
    placeControl(*txtCntry, 2190, field, 1550, h);
    txtCntry->hide();
    makeStationLabel(4, QStringLiteral("County"), 2190, cap, 1050, 230);
    placeControl(*txtSec, 2190, field, 1550, h);
    placeControl(*Label3, 3290, cap, 420, 230);
    makeStationLabel(1, QStringLiteral("RS(T) S"), 3800, cap, 650, 230)
        ->setToolTip(QStringLiteral("State / Province / Country"));
    placeControl(*txtRSTS, 3800, field, 500, h);
    placeControl(*lblPostConTime, 4510, cap, 580, 230);
    placeControl(*txtPostConTime, 4510, field, 580, h);
    placeControl(*lblPostConDate, 5150, cap, 900, 230);
    placeControl(*txtPostConDate, 5150, field, 900, h);
    // The status line and the duplicates end where the county lists begin.
    placeControl(*lblDialog, 120, 3000, 5930, 600);
    placeControl(*lblDupe, 120, 3900, 5930, 1750);

    QFont dialogFont(QStringLiteral("Arial"));
    dialogFont.setPointSizeF(12);
    dialogFont.setBold(true);
    lblDialog->setFont(dialogFont);

    // Score panel rows of this window.
    Label10 = makeLabel("Label10", QStringLiteral("Total CW Contacts ......"), 0, 0, 0, 0);
    lblSectogo = makeLabel("lblSectogo", QString(), 0, 0, 0, 0);
    placeScoreRow(1, Label10, lblSectogo);
    Label13 = makeLabel("Label13", QStringLiteral("Total Multipliers ..........."), 0, 0, 0, 0);
    placeScoreRow(3, Label13, lblTotSec);

    // Counties to go and worked on the right, down to Line3; each caption
    // holds its longest count.
    makeStationLabel(7, QStringLiteral("Counties To Go"), 6100, cap, 1600, 230);
    placeControl(*List1, 6100, field, 1600, 3050);
    makeStationLabel(5, QStringLiteral("Counties Worked"), 7750, cap, 1710, 230);
    placeControl(*List2, 7750, field, 1710, 3050);
    Line3->setLine(6100, 5700, 9460, 5700);
    wireCountyLists();

    // The lookup of the entered call is not part of this window.
    for (QLabel* l : {Label17, Label18, Label19, Label20, Label22, Label23})
        l->hide();

    mnuColors->setEnabled(false);
    mnuSetup = new QMenu(QStringLiteral("&Setup"), this);
    mnuSetup->setObjectName(QStringLiteral("mnuSetup"));
    mnuSetup->menuAction()->setObjectName(QStringLiteral("mnuSetup"));
    menuBar()->insertMenu(mnuBandChange->menuAction(), mnuSetup);
    mnuSetup->menuAction()->setEnabled(false);

    wireOperatorKeys();
}

QString Outfrm::greetingText() const
{
    return QStringLiteral("Select a band and mode. Click Log \"Time On\" below!");
}

std::vector<double> Outfrm::contactListWidths() const
{
    // Rec#, Call, Rec, County, Snt, Date/Time, Mo, Bnd.
    return {580, 1200, 430, 1420, 420, 1000, 430, 430};
}

void Outfrm::applySavedOptions()
{
    setPartialDupeDisplay();
    sizeToSavedPercent();
    checkListPrevious();
}

void Outfrm::showStation()
{
    const StationSettings& st = StationSettings::instance();
    Label25->setText(!st.OwnSpc.isEmpty() ? st.OwnSpc : st.OwnCountry);
    if (!st.OwnCall.isEmpty())
        Label2->setText(st.OwnCall);
}

std::vector<QListWidget*> Outfrm::followingSideLists() const
{
    return {List2};
}

void Outfrm::refreshDisplays()
{
    RebuildCountyLists();
    RefreshContactList();
    UpdateRates();
    UpdateTotals();
}

void Outfrm::afterModeChange(const QString& mode)
{
    if (mode == QLatin1String("DG")) {
        txtRSTR->setTypedLimit(3);
        txtRSTS->setTypedLimit(3);
    }
}

} // namespace zq
