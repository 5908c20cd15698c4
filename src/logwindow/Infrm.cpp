#include "logwindow/Infrm.h"

#include "common/EntryBox.h"
#include "common/ModalShow.h"
#include "common/WindowRegistry.h"
#include "entry/ContestTotals.h"
#include "logstore/PrefFile.h"
#include "logstore/StationSettings.h"
#include "logstore/SectionTable.h"
#include "output/frmCountyChange.h"
#include "output/frmCountyChangeRover.h"

#include <QListWidget>
#include <QMenuBar>

namespace zq {

Infrm::Infrm() : LogWindow(Variant::InState)
{
    setObjectName(QStringLiteral("Infrm"));

    // Entry row, each field with its caption above it.
    constexpr double cap = 2420, field = 2650, h = 330;
    makeStationLabel(2, QStringLiteral("Call"), 120, cap, 1050, 230);
    placeControl(*txtCall, 120, field, 1050, h);
    makeStationLabel(3, QStringLiteral("RS(T) R"), 1210, cap, 650, 230);
    placeControl(*txtRSTR, 1210, field, 520, h);
    txtRSTR->setTypedLimit(6);
    makeStationLabel(1, QStringLiteral("St / Prv / Country"), 1900, cap, 1450, 230)
        ->setToolTip(QStringLiteral("State / Province / Country"));
    placeControl(*txtCntry, 1900, field, 1450, h);
    makeStationLabel(4, QStringLiteral("County"), 3390, cap, 940, 230)->setEnabled(false);
    placeControl(*Label3, 4330, cap, 370, 230);
    placeControl(*txtSec, 3390, field, 1300, h);
    makeStationLabel(0, QStringLiteral("RS(T) Sn"), 4740, cap, 760, 230);
    placeControl(*txtRSTS, 4740, field, 450, h);
    placeControl(*lblPostConTime, 5540, cap, 560, 230);
    placeControl(*txtPostConTime, 5540, field, 560, h);
    placeControl(*lblPostConDate, 6140, cap, 900, 230);
    placeControl(*txtPostConDate, 6140, field, 900, h);

    QFont dialogFont(QStringLiteral("Arial"));
    dialogFont.setPointSizeF(11.25);
    dialogFont.setBold(false); // not the window's bold
    lblDialog->setFont(dialogFont);
    lblPossDup->setText(QStringLiteral("   Possible Duplicates"));
    placeControl(*lblDupe, 120, 3900, 6700, 480);

    // Score panel rows of this window.
    Label5->setText(QStringLiteral("Total PH Contacts ......."));
    Label13 = makeLabel("Label13", QStringLiteral("Total CW Contacts......"), 0, 0, 0, 0);
    lblsectogo = makeLabel("lblsectogo", QString(), 0, 0, 0, 0);
    placeScoreRow(1, Label13, lblsectogo);
    Label6 = makeLabel("Label6", QStringLiteral("Total Multipliers ..........."), 0, 0, 0, 0);
    placeScoreRow(3, Label6, lblTotSec);

    // DX countries, counties worked and counties to go in the middle.
    constexpr double listCap = 4400, listTop = 4630;
    makeStationLabel(5, QStringLiteral("DX"), 120, listCap, 2150, 230);
    placeControl(*List1, 120, listTop, 2150, 1070);
    makeStationLabel(8, QStringLiteral("Cnty Wkd - 0"), 2370, listCap, 2150, 230);
    placeControl(*List2, 2370, listTop, 2150, 1070);
    makeStationLabel(7, QStringLiteral("Cnty Rem - 0"), 4620, listCap, 2200, 230);
    List3 = makeSortedList("List3", 4620, listTop, 2200, 1070);
    Line3->setLine(120, 5700, 6820, 5700);

    Label2->setText(QStringLiteral("Call"));
    Label25->setText(QStringLiteral("County"));
    Label12->setText(QStringLiteral(" Oper Time"));
    Label20->setText(QStringLiteral("Con"));

    buildStateGrid();
    wireCountyLists();
    wireStateGrid();

    mnuDigital->setText(QStringLiteral("&DG"));
    mnuChangeCounty = new QAction(QStringLiteral("Cha&nge County"), this);
    mnuChangeCounty->setObjectName(QStringLiteral("mnuChangeCounty"));
    menuBar()->insertAction(mnuMap, mnuChangeCounty);
    connect(mnuChangeCounty, &QAction::triggered, this, [this] { mnuChangeCounty_Click(); });

    wireOperatorKeys();
}

void Infrm::buildStateGrid()
{
    // Four column pairs on the right, grouped under the call-district
    // headings; a group fills rows of two, left then right.
    struct Group {
        QLabel** heading;
        const char* name;
        const char* text;
        std::vector<std::pair<const char*, const char*>> rows;
    };
    const std::vector<std::vector<Group>> pairs{
        {{&lblSecOne, "lblSecOne", "1", {{"MA", "CT"}, {"ME", "RI"}, {"NH", "VT"}}},
         {&lblSecTwo, "lblSecTwo", "2", {{"NY", "NJ"}}},
         {&lblSecThre, "lblSecThre", "3", {{"DE", "MD"}, {"PA", nullptr}}}},
        {{&lblSecFour, "lblSecFour", "4", {{"AL", "FL"}, {"GA", "SC"}, {"KY", "TN"}, {"NC", "VA"}}},
         {&lblSecFive, "lblSecFive", "5", {{"AR", "NM"}, {"LA", "TX"}, {"MS", "ZQ"}}},
         {&lblSecSix6, "lblSecSix6", "6", {{"CA", "HI"}}}},
        {{&lblSecSix, "lblSecSix", "7",
          {{"AZ", "OR"}, {"WA", "UT"}, {"ID", "WY"}, {"MT", "AK"}, {"NV", nullptr}}},
         {&lblSecEight, "lblSecEight", "8", {{"MI", "WV"}, {"OH", nullptr}}},
         {&lblSecNine, "lblSecNine", "9", {{nullptr, "IN"}, {"IL", "WI"}}}},
        {{&lblSecZero, "lblSecZero", "0", {{"CO", "MO"}, {"IA", "NE"}, {"KS", "ND"}, {"MN", "SD"}}},
         {&lblSecCA, "lblSecCA", "Canada",
          {{"MR", "AB"}, {"QC", "BC"}, {"ON", "NT"}, {"MB", "NL"}, {"SK", nullptr}}}},
    };
    SectionTable codes;
    codes.build();
    QFont gridFont(QStringLiteral("MS Serif"));
    gridFont.setPointSizeF(6.75);
    gridFont.setBold(false); // only the headings are bold
    QFont headingFont = font();
    headingFont.setBold(true);

    constexpr double left0 = 7065, pairWidth = 565, top0 = 2420, line = 250, cell = 275;
    for (size_t p = 0; p < pairs.size(); ++p) {
        const double left = left0 + static_cast<double>(p) * pairWidth;
        double top = top0;
        for (const Group& g : pairs[p]) {
            // The last heading, "Canada", runs on to the window's edge.
            const double headingWidth = p + 1 == pairs.size() ? 700 : pairWidth - 20;
            QLabel* heading =
                makeLabel(g.name, QString::fromLatin1(g.text), left, top, headingWidth, 230);
            heading->setFont(headingFont);
            *g.heading = heading;
            top += line;
            for (const auto& [l, r] : g.rows) {
                int column = 0;
                for (const char* code : {l, r}) {
                    if (code) {
                        const int i = codes.indexOf(QString::fromLatin1(code));
                        auto* label = new ClickLabel(QStringLiteral("WWW"), centralWidget());
                        label->setObjectName(QStringLiteral("Label10(%1)").arg(i));
                        label->setFont(gridFont);
                        placeControl(*label, left + column * (cell + 10), top, cell, 230);
                        Label10.set(i, label);
                    }
                    ++column;
                }
                top += line;
            }
        }
    }
}

QString Infrm::greetingText() const
{
    return QStringLiteral("Select a band, mode and Click Log \"Time On\"!");
}

std::vector<double> Infrm::contactListWidths() const
{
    // Rec#, Call, Rec, SPC, County, Snt, Date/Time, Mo, Bnd, County Sent.
    return {580, 950, 430, 850, 1100, 420, 1000, 430, 430, 1100};
}

void Infrm::afterContactListColumns()
{
    if (StationSettings::instance().RoverFlag != 1)
        mnuChangeCounty->setEnabled(false);
}

void Infrm::applySavedOptions()
{
    checkListPrevious();
    SectionTable& t = SectionTable::instance();
    t.build();
    for (int i = 1; i <= SectionTable::EntryCount; ++i) {
        if (ClickLabel* l = Label10(i)) {
            l->setText(t.SectionCode[static_cast<size_t>(i)]);
            l->setToolTip(t.SectionName[static_cast<size_t>(i)]);
        }
    }
    setPartialDupeDisplay();
    sizeToSavedPercent();
}

void Infrm::showStation()
{
    const StationSettings& st = StationSettings::instance();
    lblStation(4)->setText(st.HomeStateCode + QStringLiteral(" County"));
    const QString tip = QStringLiteral("Enter ") + st.HomeStateCode
        + QStringLiteral(" in the St / Prv / Country field to enable the County field");
    lblStation(4)->setToolTip(tip);
    txtSec->setToolTip(tip);
    Label25->setText(st.OwnCounty);
    Label25_Change();
    Label2->setText(st.OwnCall);
}

std::vector<QListWidget*> Infrm::followingSideLists() const
{
    return {List2, List3};
}

void Infrm::beforeReloadCount()
{
    for (int i = 1; i <= SectionTable::EntryCount; ++i)
        paintGridLabel(i, false);
    MultiplierMatrix::instance().MultiplierCellCount = 0;
}

void Infrm::refreshDisplays()
{
    RebuildStateMatrix();
    RebuildCountyLists();
    UpdateRates();
    RecolourStateGrid();
    RebuildDXList();
    UpdateTotals();
    RefreshContactList();
}

void Infrm::afterBandChangeRefresh()
{
    if (!txtCall->text().isEmpty())
        txtCntry_Change();
}

void Infrm::afterModeChange(const QString&)
{
    if (!txtCall->text().isEmpty())
        txtCntry_Change();
}

void Infrm::unloadVariantToolWindows()
{
    WindowRegistry::unload<frmCountyChangeRover>();
}

void Infrm::mnuChangeCounty_Click()
{
    const bool closedByItself = showModal(DefaultInstance<frmCountyChange>());
    WindowRegistry::unload<frmCountyChange>();
    if (!closedByItself)
        return;
    WritePrefFile();
    Label25->setText(StationSettings::instance().OwnCounty);
    Label25_Change();
}

} // namespace zq
