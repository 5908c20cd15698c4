#include "logwindow/LogWindow.h"

#include "common/EntryBox.h"
#include "platform/Folders.h"
#include "common/Form1.h"
#include "common/ModalShow.h"
#include "common/ProgramEnd.h"
#include "common/ScreenReader.h"
#include "common/SortedListBox.h"
#include "common/WindowFit.h"
#include "common/WindowRegistry.h"
#include "entry/Clocks.h"
#include "entry/ContactIndex.h"
#include "entry/ContactListRows.h"
#include "entry/ContactStore.h"
#include "entry/ContestTotals.h"
#include "entry/EntryState.h"
#include "entry/LogOnState.h"
#include "entry/TextCompare.h"
#include "keying/BlindFrm.h"
#include "keying/CWFrm.h"
#include "keying/KeyingState.h"
#include "keying/PhoneFrm.h"
#include "keying/frmWinKey.h"
#include "logstore/AdifExport.h"
#include "logstore/CountyTable.h"
#include "logstore/LogFileStore.h"
#include "logstore/LogvaneExport.h"
#include "logstore/PrefFile.h"
#include "logstore/StationSettings.h"
#include "logwindow/BandPlanTable.h"
#include "output/CountyMapZQ.h"
#include "output/GraphQSO.h"
#include "output/ZQCabrilloIn.h"
#include "output/frmCountyList.h"
#include "platform/Clock.h"
#include "platform/Prompt.h"
#include "rig/RigControlfrm.h"
#include "rig/frmBandPlan.h"
#include "spots/PacketSpotfrm.h"
#include "spots/BandMapWindow.h"
#include "startup/frmStationID.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <cmath>

namespace zq {

namespace {

const QString kTitle = QStringLiteral("Brelvox's ZQ State QSO Party Contest Log 2.1");
constexpr double kDesignWidth = 9600.0;

// Score panel rows.
// The contact list ends at kListRight; the panel's captions hold the widest
// caption in bold type and its values a seven-digit score, with room to spare
// for the rounding of scaled fonts.
constexpr double kListRight = 6600, kScoreCaptionLeft = 6650, kScoreValueLeft = 8600,
                 kScoreValueWidth = 860, kScoreTop = 330, kScoreRowHeight = 250;

} // namespace

LogWindow::LogWindow(Variant v) : variant_(v)
{
    setWindowTitle(kTitle);
    surface_ = new QWidget(this);
    surface_->setObjectName(QStringLiteral("surface"));
    surface_->setMouseTracking(true);
    surface_->installEventFilter(this);
    setCentralWidget(surface_);

    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(8.25);
    f.setBold(v == Variant::InState);
    setFont(f);

    buildSharedControls();
    buildSpotArea();
    buildMenus();
    wireContactList();
    wireSpotArea();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(60000);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(1000);
    connect(Timer2, &QTimer::timeout, this, [this] { Timer2_Timer(); });

    cdbFile = new CommonDialog(this);
    cdbFile->setObjectName(QStringLiteral("cdbFile"));

    // The platform window exists from here on, so the outer size in twips
    // includes the frame from the start.
    winId();
    setFormTwips(*this, 0, 0, kDesignWidth, 7200);
}

LogWindow::~LogWindow() = default;

// ---------------------------------------------------------------------------
// Building

QLabel* LogWindow::makeLabel(const char* name, const QString& text, double left, double top,
                             double width, double height)
{
    auto* l = new QLabel(text, surface_);
    l->setObjectName(QLatin1String(name));
    placeControl(*l, left, top, width, height);
    return l;
}

ClickLabel* LogWindow::makeClickLabel(const char* name, const QString& text, double left,
                                      double top, double width, double height)
{
    auto* l = new ClickLabel(text, surface_);
    l->setObjectName(QLatin1String(name));
    placeControl(*l, left, top, width, height);
    return l;
}

EntryBox* LogWindow::makeEntry(const char* name, int limit, double left, double top, double width,
                               double height)
{
    auto* e = new EntryBox(surface_);
    e->setObjectName(QLatin1String(name));
    e->setTypedLimit(limit);
    placeControl(*e, left, top, width, height);
    return e;
}

QPushButton* LogWindow::makeButton(const char* name, const QString& text, double left, double top,
                                   double width, double height)
{
    auto* b = new QPushButton(text, surface_);
    b->setObjectName(QLatin1String(name));
    b->setFocusPolicy(Qt::TabFocus);
    placeControl(*b, left, top, width, height);
    return b;
}

QListWidget* LogWindow::makeSortedList(const char* name, double left, double top, double width,
                                       double height)
{
    auto* l = new QListWidget(surface_);
    l->setObjectName(QLatin1String(name));
    makeSortedListBox(*l);
    placeControl(*l, left, top, width, height);
    return l;
}

QLabel* LogWindow::makeStationLabel(int index, const QString& text, double left, double top,
                                    double width, double height)
{
    auto* l = new QLabel(text, surface_);
    l->setObjectName(QStringLiteral("lblStation(%1)").arg(index));
    placeControl(*l, left, top, width, height);
    lblStation.set(index, l);
    return l;
}

void LogWindow::placeScoreRow(int row, QLabel* caption, QLabel* value)
{
    const double top = kScoreTop + row * kScoreRowHeight;
    placeControl(*caption, kScoreCaptionLeft, top, kScoreValueLeft - kScoreCaptionLeft, 230);
    placeControl(*value, kScoreValueLeft, top, kScoreValueWidth, 230);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    readFigureWithCaption(*value, *caption);
}

void LogWindow::buildSharedControls()
{
    // Contact list across the top left.
    lblRecentContacts = makeLabel("lblRecentContacts", QStringLiteral("Recent Contacts"), 120, 60,
                                  1700, 240);
    cmdList = makeButton("cmdList", QStringLiteral("Last 20"), 1900, 20, 900, 290);
    cmdList->setToolTip(
        QStringLiteral("List all or last 20 contacts (Listing all will slow the program)"));
    connect(cmdList, &QPushButton::clicked, this, [this] { cmdList_Click(); });
    cmdEdit = makeButton("cmdEdit", QStringLiteral("Edit Contact"), 3500, 20, 1300, 290);
    cmdEdit->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    connect(cmdEdit, &QPushButton::clicked, this, [this] { cmdEdit_Click(); });
    cmdDelete = makeButton("cmdDelete", QStringLiteral("Delete Contact"), 4880, 20, 1500, 290);
    cmdDelete->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    connect(cmdDelete, &QPushButton::clicked, this, [this] { cmdDelete_Click(); });
    ListView1 = new ContactListView(surface_);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setToolTip(QStringLiteral("Click record to edit or delete."));
    ListView1->setFocusPolicy(Qt::StrongFocus); // a stop for Tab as well as a click
    {
        QAbstractItemModel* rows = ListView1->model();
        auto changed = [this] { listInOrder_ = false; };
        connect(rows, &QAbstractItemModel::rowsInserted, this, changed);
        connect(rows, &QAbstractItemModel::rowsRemoved, this, changed);
        connect(rows, &QAbstractItemModel::rowsMoved, this, changed);
        connect(rows, &QAbstractItemModel::dataChanged, this, changed);
        connect(rows, &QAbstractItemModel::layoutChanged, this, changed);
        connect(rows, &QAbstractItemModel::modelReset, this, changed);
    }
    placeControl(*ListView1, 120, 330, kListRight - 120, 2000);

    // Score panel at the top right.
    lblScorStats = makeLabel("lblScorStats", QStringLiteral("Score Statistics"), kScoreCaptionLeft,
                             60, 2400, 240);
    Label5 = makeLabel("Label5", QStringLiteral("Total PH Contacts ........"), 0, 0, 0, 0);
    lblTotCon = makeLabel("lblTotCon", QString(), 0, 0, 0, 0);
    placeScoreRow(0, Label5, lblTotCon);
    Label26 = makeLabel("Label26", QStringLiteral("Total Digital Contacts..."), 0, 0, 0, 0);
    Label27 = makeLabel("Label27", QString(), 0, 0, 0, 0);
    placeScoreRow(2, Label26, Label27);
    lblTotSec = makeLabel("lblTotSec", QString(), 0, 0, 0, 0);
    Label7 = makeLabel("Label7", QStringLiteral("Total Score.................."), 0, 0, 0, 0);
    lblTotScore = makeLabel("lblTotScore", QString(), 0, 0, 0, 0);
    placeScoreRow(4, Label7, lblTotScore);
    Label8 = makeLabel("Label8", QStringLiteral("QSOs / Hr (last 20 min)"), 0, 0, 0, 0);
    lblAQSO20 = makeLabel("lblAQSO20", QString(), 0, 0, 0, 0);
    placeScoreRow(5, Label8, lblAQSO20);
    Label9 = makeLabel("Label9", QStringLiteral("QSOs / Hr (last 60 min)"), 0, 0, 0, 0);
    lblAQSO60 = makeLabel("lblAQSO60", QString(), 0, 0, 0, 0);
    placeScoreRow(6, Label9, lblAQSO60);

    // Entry row: the variants place the fields and their captions.
    txtCall = makeEntry("txtCall", 12, 0, 0, 0, 0);
    txtRSTR = makeEntry("txtRSTR", 8, 0, 0, 0, 0);
    txtCntry = makeEntry("txtCntry", 30, 0, 0, 0, 0);
    txtSec = makeEntry("txtSec", 20, 0, 0, 0, 0);
    txtRSTS = makeEntry("txtRSTS", 3, 0, 0, 0, 0);
    txtPostConTime = makeEntry("txtPostConTime", 5, 0, 0, 0, 0);
    txtPostConDate = makeEntry("txtPostConDate", 10, 0, 0, 0, 0);
    lblPostConTime = makeLabel("lblPostConTime", QStringLiteral("Time"), 0, 0, 0, 0);
    lblPostConDate = makeLabel("lblPostConDate", QStringLiteral("Date"), 0, 0, 0, 0);
    for (QWidget* w : {static_cast<QWidget*>(txtPostConTime), static_cast<QWidget*>(txtPostConDate),
                       static_cast<QWidget*>(lblPostConTime), static_cast<QWidget*>(lblPostConDate)})
        w->hide();
    setTabOrder(txtCall, txtRSTR);
    setTabOrder(txtRSTR, txtCntry);
    setTabOrder(txtCntry, txtSec);
    setTabOrder(txtSec, txtRSTS);
    setTabOrder(txtRSTS, txtPostConTime);
    setTabOrder(txtPostConTime, txtPostConDate);
    // The contact list comes just before the entry row, with the two
    // buttons that act on its chosen row between them; leaving the list
    // shows them.
    setTabOrder(ListView1, cmdEdit);
    setTabOrder(cmdEdit, cmdDelete);
    setTabOrder(cmdDelete, txtCall);
    Label3 = makeLabel("Label3", QStringLiteral("New"), 0, 0, 0, 0);

    // Status line and possible duplicates.
    // The status line has room for two lines: a duplicate's message with a
    // long call wraps rather than losing its contact number.
    lblDialog = makeLabel("lblDialog", QString(), 120, 3000, 6700, 600);
    lblDialog->setWordWrap(true);
    setDialogRed(false);
    lblPossDup = makeLabel("lblPossDup", QStringLiteral("Possible Duplicates"), 120, 3640, 2000, 240);
    cmdDup = makeButton("cmdDup", QStringLiteral("On"), 2200, 3610, 500, 290);
    cmdDup->setToolTip(QStringLiteral("Displaying partial dupes slows the program on older pc's."));
    // Read by what it switches, its caption (the display's state) as its
    // description.
    cmdDup->setAccessibleName(QStringLiteral("Switch Possible Duplicates display"));
    cmdDup->setAccessibleDescription(cmdDup->text());
    connect(cmdDup, &QPushButton::clicked, this, [this] { cmdDup_Click(); });
    lblDupe = makeLabel("lblDupe", QString(), 120, 3900, 6700, 1750);
    lblDupe->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblDupe->setWordWrap(true);

    // Side lists: the variants place them; Line3 closes them off below.
    List1 = makeSortedList("List1", 0, 0, 0, 0);
    List2 = makeSortedList("List2", 0, 0, 0, 0);
    Line3 = new LineControl(surface_, 120, 5700, 9360, 5700);
    Line3->setObjectName(QStringLiteral("Line3"));

    // Bottom strip: lookup results, log-on, operating time, band, mode, own
    // station and the two clocks.
    constexpr double cap = 5800, val = 6050, h = 230;
    Label20 = makeLabel("Label20", QStringLiteral("Continent"), 120, cap, 850, h);
    Label19 = makeLabel("Label19", QString(), 120, val, 850, 300);
    Label17 = makeLabel("Label17", QStringLiteral("Bearing"), 1010, cap, 750, h);
    Label22 = makeLabel("Label22", QString(), 1010, val, 750, 300);
    Label18 = makeLabel("Label18", QStringLiteral("Miles"), 1800, cap, 750, h);
    Label23 = makeLabel("Label23", QString(), 1800, val, 750, 300);
    cmdLogOn = makeButton("cmdLogOn", QStringLiteral("&Log \"Time On\""), 2600, 5850, 1500, 450);
    cmdLogOn->setToolTip(QStringLiteral("Records On/Off times and controls duration clock."));
    connect(cmdLogOn, &QPushButton::clicked, this, [this] { cmdLogOn_Click(); });
    Label12 = makeLabel("Label12", QStringLiteral("Operating Time"), 4150, cap, 1300, h);
    lblttrack = makeLabel("lblttrack", QStringLiteral("00:00:00"), 4150, val, 1300, 300);
    Label21 = makeLabel("Label21", QStringLiteral("Band"), 5500, cap, 550, h);
    Label24 = makeClickLabel("Label24", QStringLiteral("160"), 5500, val, 550, 300);
    connect(Label24, &ClickLabel::clicked, this, [this] { Label24_Click(); });
    lblBandSwitch = makeLabel("lblBandSwitch", QStringLiteral("Mode"), 6100, cap, 600, h);
    Label30 = makeClickLabel("Label30", QStringLiteral("CW"), 6100, val, 600, 300);
    Label30->setToolTip(QStringLiteral("Click to change modes."));
    connect(Label30, &ClickLabel::clicked, this, [this] { Label30_Click(); });
    Label2 = makeLabel("Label2", QStringLiteral("CALL"), 6750, cap, 1300, h);
    Label25 = makeLabel("Label25", QStringLiteral("SPC"), 6750, val, 1300, 300);
    lblCurTime = makeLabel("lblCurTime", QStringLiteral("Reg Time"), 8100, cap, 900, h);
    Label16 = makeLabel("Label16", QStringLiteral("am"), 9040, cap, 420, h);
    lblutctime = makeLabel("lblutctime", QStringLiteral("UTC TIME"), 8100, val, 900, 300);
    Label11 = makeLabel("Label11", QStringLiteral("UTC"), 9040, val, 420, 300);
    // The clocks change every second: read with their captions, quietly.
    readFigureWithCaption(*lblttrack, *Label12, FigureChanges::Quiet);
    readFigureWithCaption(*lblCurTime, QStringLiteral("Local Time"), FigureChanges::Quiet, Label16);
    readFigureWithCaption(*lblutctime, *Label11, FigureChanges::Quiet);
}

void LogWindow::buildSpotArea()
{
    // Hidden at start and parked at a Top of 1000 twips until the spotting
    // settings open the spot area.
    txtDX = new QTreeWidget(surface_);
    txtDX->setObjectName(QStringLiteral("txtDX"));
    txtDX->setAccessibleName(QStringLiteral("DX Spots")); // no caption stands beside it
    txtDX->setRootIsDecorated(false);
    txtDX->setColumnCount(0);
    placeControl(*txtDX, 120, 1000, 9240, 1200);
    txtDX->hide();

    lblDX = makeLabel("lblDX", QString(), 120, 1000, 9240, 800);
    lblDX->setAutoFillBackground(true);
    {
        QPalette p = lblDX->palette();
        p.setColor(QPalette::Window, QColor(0, 0, 128));
        lblDX->setPalette(p);
    }
    lblDX->hide();
    LineDX = new LineControl(surface_, 420, 1000, 9060, 1000);
    LineDX->setObjectName(QStringLiteral("LineDX"));
    LineDX->setBorderColor(Qt::white);
    LineDX->hide();

    QFont small(QStringLiteral("MS Serif"));
    small.setPointSizeF(6.75);
    auto spotLabel = [&](const QString& name, const QString& text, double width) {
        auto* l = new QLabel(text, surface_);
        l->setObjectName(name);
        l->setFont(small);
        l->setAlignment(Qt::AlignCenter);
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, Qt::white);
        l->setPalette(p);
        placeControl(*l, 120, 1000, width, 255);
        l->hide();
        return l;
    };
    for (int i = 0; i <= 4; ++i)
        lblFreqSpot.set(i, spotLabel(QStringLiteral("lblFreqSpot(%1)").arg(i),
                                     QStringLiteral("lblFreqSpot"), 615));
    for (int i = 0; i <= 49; ++i)
        lblDXSpot.set(i, spotLabel(QStringLiteral("lblDXSpot(%1)").arg(i), QStringLiteral("DXLBL"), 600));
}

QMenu* LogWindow::topMenu(const char* name, const QString& caption)
{
    auto* m = new QMenu(caption, this);
    m->setObjectName(QLatin1String(name));
    m->menuAction()->setObjectName(QLatin1String(name));
    menuBar()->addMenu(m);
    return m;
}

QMenu* LogWindow::subMenu(QMenu* parent, const char* name, const QString& caption)
{
    auto* m = new QMenu(caption, this);
    m->setObjectName(QLatin1String(name));
    m->menuAction()->setObjectName(QLatin1String(name));
    parent->addMenu(m);
    return m;
}

QAction* LogWindow::menuItem(QMenu* menu, const char* name, const QString& caption,
                             void (LogWindow::*handler)(), bool checkItem)
{
    auto* a = new QAction(caption, this);
    a->setObjectName(QLatin1String(name));
    a->setCheckable(checkItem);
    menu->addAction(a);
    connect(a, &QAction::triggered, this, [this, a, handler, checkItem](bool checked) {
        // Check marks are set by the commands themselves, not by the click.
        if (checkItem)
            a->setChecked(!checked);
        (this->*handler)();
    });
    return a;
}

QAction* LogWindow::barItem(const char* name, const QString& caption, void (LogWindow::*handler)())
{
    auto* a = new QAction(caption, this);
    a->setObjectName(QLatin1String(name));
    menuBar()->addAction(a);
    connect(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    return a;
}

void LogWindow::buildMenus()
{
    menuBar()->setObjectName(QStringLiteral("menuBar"));
    // The menus keep the system's menu font: the window's own font (bold in
    // the in-state window, scaled by fitting and sizing) is not theirs.
    QFont menuFont = QApplication::font(menuBar());
    menuFont.setFamily(menuFont.family());
    if (menuFont.pointSizeF() > 0)
        menuFont.setPointSizeF(menuFont.pointSizeF());
    else
        menuFont.setPixelSize(menuFont.pixelSize());
    menuFont.setWeight(menuFont.weight());
    menuFont.setItalic(menuFont.italic());
    menuBar()->setFont(menuFont);

    mnuFile = topMenu("mnuFile", QStringLiteral("&File"));
    mnuNew = menuItem(mnuFile, "mnuNew", QStringLiteral("&New"), &LogWindow::mnuNew_Click);
    mnuFile->addSeparator();
    mnuArchive = menuItem(mnuFile, "mnuArchive", QStringLiteral("Archive Current &Log"),
                          &LogWindow::mnuArchive_Click);
    mnuFile->addSeparator();
    mnuRestore = menuItem(mnuFile, "mnuRestore", QStringLiteral("&Restore from Archive or Backup"),
                          &LogWindow::mnuRestore_Click);
    mnuFile->addSeparator();
    mnuOpen = menuItem(mnuFile, "mnuOpen", QStringLiteral("&Open"), &LogWindow::mnuOpen_Click);
    mnuOpen->setEnabled(false);
    mnuWriteSumm = menuItem(mnuFile, "mnuWriteSumm", QStringLiteral("&Write Submission File"),
                            &LogWindow::mnuWriteSumm_Click);
    mnuFile->addSeparator();
    mnuLogvaneImport = menuItem(mnuFile, "mnuLogvaneImport",
                                QStringLiteral("E&xport for Logvane Import"),
                                &LogWindow::mnuLogvaneImport_Click);
    mnuLogvaneImport->setEnabled(false);
    mnuexportADIF = menuItem(mnuFile, "mnuexportADIF", QStringLiteral("Export &ADIF File"),
                             &LogWindow::mnuexportADIF_Click);
    mnuFile->addSeparator();
    mnuCopyListtoClipboard = menuItem(mnuFile, "mnuCopyListtoClipboard",
                                      QStringLiteral("&Copy Listed Items to Clipboard"),
                                      &LogWindow::mnuCopyListtoClipboard_Click);
    mnuFile->addSeparator();
    mnuExit = menuItem(mnuFile, "mnuExit", QStringLiteral("&Exit"), &LogWindow::mnuExit_Click);

    mnuOptions = topMenu("mnuOptions", QStringLiteral("&Options"));
    mnuAppearance = subMenu(mnuOptions, "mnuAppearance", QStringLiteral("&Appearance"));
    mnuFormSize = menuItem(mnuAppearance, "mnuFormSize", QStringLiteral("&Form Size"),
                           &LogWindow::mnuFormSize_Click);
    mnuColors = menuItem(mnuAppearance, "mnuColors", QStringLiteral("&Colors"),
                         &LogWindow::mnuColors_Click);
    mnuTaskbar = menuItem(mnuAppearance, "mnuTaskbar", QStringLiteral("&Taskbar"),
                          &LogWindow::mnuTaskbar_Click, true);
    mnuOptions->addSeparator();
    mnutrans = subMenu(mnuOptions, "mnutrans", QStringLiteral("&Transmit"));
    mnuCW = menuItem(mnutrans, "mnuCW", QStringLiteral("&CW Setup"), &LogWindow::mnuCW_Click);
    mnuVoice = menuItem(mnutrans, "mnuVoice", QStringLiteral("&Voice Setup"), &LogWindow::mnuVoice_Click);
    mnuOptions->addSeparator();
    mnuRigInterface = menuItem(mnuOptions, "mnuRigInterface", QStringLiteral("&Rig Interface"),
                               &LogWindow::mnuRigInterface_Click);
    mnuOptions->addSeparator();
    mnuDX = subMenu(mnuOptions, "mnuDX", QStringLiteral("&DX Spotting"));
    mnuDXSpotting = menuItem(mnuDX, "mnuDXSpotting", QStringLiteral("&Configure"),
                             &LogWindow::mnuDXSpotting_Click);
    mnuSpectrumMap = menuItem(mnuDX, "mnuSpectrumMap", QStringLiteral("&View Spectrum Map"),
                              &LogWindow::mnuSpectrumMap_Click);
    mnuOptions->addSeparator();
    mnuBlind = menuItem(mnuOptions, "mnuBlind", QStringLiteral("&Voice Navigation"),
                        &LogWindow::mnuBlind_Click);
    mnuOptions->addSeparator();
    mnuListPrevious = menuItem(mnuOptions, "mnuListPrevious", QStringLiteral("&List Previous Contacts"),
                               &LogWindow::mnuListPrevious_Click, true);
    mnuOptions->addSeparator();
    mnuPostContest = menuItem(mnuOptions, "mnuPostContest", QStringLiteral("&Post Contest Mode"),
                              &LogWindow::mnuPostContest_Click, true);

    mnuBandChange = topMenu("mnuBandChange", QStringLiteral("&Band"));
    mnuBand160Ch = menuItem(mnuBandChange, "mnuBand160Ch", QStringLiteral("160"),
                            &LogWindow::mnuBand160Ch_Click, true);
    mnuBand80Ch = menuItem(mnuBandChange, "mnuBand80Ch", QStringLiteral("80"),
                           &LogWindow::mnuBand80Ch_Click, true);
    mnuBand40Ch = menuItem(mnuBandChange, "mnuBand40Ch", QStringLiteral("40"),
                           &LogWindow::mnuBand40Ch_Click, true);
    mnuBand20Ch = menuItem(mnuBandChange, "mnuBand20Ch", QStringLiteral("20"),
                           &LogWindow::mnuBand20Ch_Click, true);
    mnuBand15Ch = menuItem(mnuBandChange, "mnuBand15Ch", QStringLiteral("15"),
                           &LogWindow::mnuBand15Ch_Click, true);
    mnuBand10Ch = menuItem(mnuBandChange, "mnuBand10Ch", QStringLiteral("10"),
                           &LogWindow::mnuBand10Ch_Click, true);
    mnuBand6Ch = menuItem(mnuBandChange, "mnuBand6Ch", QStringLiteral("6"),
                          &LogWindow::mnuBand6Ch_Click, true);
    mnuBandChange->addSeparator();
    mnuPrivileges = menuItem(mnuBandChange, "mnuPrivileges", QStringLiteral("&Privileges"),
                             &LogWindow::mnuPrivileges_Click);

    mnuBand = topMenu("mnuBand", QStringLiteral("&Mode"));
    mnu160 = menuItem(mnuBand, "mnu160", QStringLiteral("&CW"), &LogWindow::mnu160_Click, true);
    mnuSSB = menuItem(mnuBand, "mnuSSB", QStringLiteral("&PH"), &LogWindow::mnuSSB_Click, true);
    mnuDigital = menuItem(mnuBand, "mnuDigital", QStringLiteral("&Digital"),
                          &LogWindow::mnuDigital_Click, true);

    mnuClear = barItem("mnuClear", QStringLiteral("&Clear"), &LogWindow::mnuClear_Click);
    mnuMap = barItem("mnuMap", QStringLiteral("M&ap"), &LogWindow::mnuMap_Click);
    mnuGraph = barItem("mnuGraph", QStringLiteral("&Graph"), &LogWindow::mnuGraph_Click);
    mnuRecall = barItem("mnuRecall", QStringLiteral("&Recall"), &LogWindow::mnuRecall_Click);
    mnuCountyList = barItem("mnuCountyList", QStringLiteral("L&ist"), &LogWindow::mnuCountyList_Click);
    mnuHelp = barItem("mnuHelp", QStringLiteral("&Help"), &LogWindow::mnuHelp_Click);
}

// ---------------------------------------------------------------------------
// Start sequence

void LogWindow::setVisible(bool visible)
{
    if (visible && !loaded_) {
        load();
        if (programEnded())
            return;
    }
    QMainWindow::setVisible(visible);
}

void LogWindow::load()
{
    if (loaded_)
        return;
    loaded_ = true;
    Timer1->start();
    Timer2->start();
    runStartSequence();
}

void LogWindow::runStartSequence()
{
    const StationSettings& st = StationSettings::instance();

    WindowRegistry::unload<frmStationID>();
    Label3->hide();
    if (!fitToScreen()) {
        prompt().message(QStringLiteral("The log window could not be fitted to the screen."),
                         QStringLiteral("Form Resize Error"), MsgButtons::Ok, MsgIcon::Critical);
        endProgram();
        return;
    }
    FitListHeights();
    lblDialog->setText(greetingText());
    makeColumns(*ListView1, contactListColumns());
    afterContactListColumns();
    makeColumns(*txtDX, {{QStringLiteral("Call"), 1040},
                         {QStringLiteral("Frequency"), 880, Qt::AlignRight},
                         {QStringLiteral("QTH"), 2000},
                         {QStringLiteral("Status"), 0, Qt::AlignHCenter},
                         {QStringLiteral("Comments"), 3400},
                         {QStringLiteral("Prefix"), 520},
                         {QStringLiteral("Time"), 600},
                         {QStringLiteral("From"), 520}});
    applySavedOptions();
    showSavedMode();
    showSavedBand();
    showStation();
    if (!loadCountyTableStep())
        return;
    AskOpenExistingLog();
    ShowOperatingTime();
    if (!ReloadLog())
        return;
    logLoaded_ = true;
    LayoutFullScreen();
    txtCall->setFocus(); // the operator types the first call at once
    // An empty rig type counts as none: a missing value never opens a port.
    if (!st.RigType.isEmpty() && !sameText(st.RigType, QStringLiteral("None")))
        DefaultInstance<RigControlfrm>().Command1_Click();
}

bool LogWindow::fitToScreen()
{
    FitParameters p;
    p.placement = FitParameters::Placement::Centred;
    p.windowFont = FitParameters::WindowFont::NewWidthOverDesign;
    p.onError = FitParameters::OnError::Silent;
    return FitWindow(*this, p);
}

std::vector<LogWindow::ColumnSpec> LogWindow::contactListColumns() const
{
    const QStringList headers = contactListHeaders(variant_ == Variant::InState,
                                                   StationSettings::instance().RoverFlag == 1);
    const std::vector<double> widths = contactListWidths();
    std::vector<ColumnSpec> columns;
    for (size_t i = 0; i < widths.size() && i < static_cast<size_t>(headers.size()); ++i)
        columns.push_back({headers[static_cast<qsizetype>(i)], widths[i]});
    return columns;
}

void LogWindow::makeColumns(QTreeWidget& list, const std::vector<ColumnSpec>& columns)
{
    QStringList headers;
    for (const auto& c : columns)
        headers << c.header;
    list.setColumnCount(static_cast<int>(columns.size()));
    list.setHeaderLabels(headers);
    for (int i = 0; i < static_cast<int>(columns.size()); ++i)
        list.headerItem()->setTextAlignment(i, columns[static_cast<size_t>(i)].alignment | Qt::AlignVCenter);
    sizeColumns(*list.header(), columns);
}

void LogWindow::makeColumns(ContactListView& list, const std::vector<ColumnSpec>& columns)
{
    QStringList headers;
    for (const auto& c : columns)
        headers << c.header;
    list.rows().setHeaders(headers);
    for (int i = 0; i < static_cast<int>(columns.size()); ++i)
        list.rows().setHeaderAlignment(i, columns[static_cast<size_t>(i)].alignment | Qt::AlignVCenter);
    sizeColumns(*list.header(), columns);
}

void LogWindow::sizeColumns(QHeaderView& header, const std::vector<ColumnSpec>& columns)
{
    const double factor = formTwips(*this).Width / kDesignWidth;
    header.setStretchLastSection(false);
    header.setMinimumSectionSize(0);
    for (int i = 0; i < static_cast<int>(columns.size()); ++i)
        header.resizeSection(i, twipsToPixelsX(columns[static_cast<size_t>(i)].width * factor, &header));
}

void LogWindow::setPartialDupeDisplay()
{
    EntryState::instance().PartialDupeDisplayFlag = 1;
}

void LogWindow::sizeToSavedPercent()
{
    if (effectiveFormSizePercent(StationSettings::instance().FormSizePercent) < 100)
        SizeFormToPercent();
}

void LogWindow::checkListPrevious()
{
    if (StationSettings::instance().ListPreviousFlag == 1)
        mnuListPrevious->setChecked(true);
}

void LogWindow::showSavedMode()
{
    const QString& mode = StationSettings::instance().CurrentMode;
    Label30->setText(mode);
    mnu160->setChecked(true);
    mnuSSB->setChecked(false);
    mnuDigital->setChecked(false);
    if (sameText(mode, QStringLiteral("PH"))) {
        mnu160->setChecked(false);
        mnuSSB->setChecked(true);
    } else if (sameText(mode, QStringLiteral("DG"))) {
        mnu160->setChecked(false);
        mnuDigital->setChecked(true);
    }
}

void LogWindow::showSavedBand()
{
    const QString& band = StationSettings::instance().CurrentBand;
    const int i = operatingBandIndex(band);
    if (i < 0)
        return;
    bandItem(i)->setChecked(true);
    Label24->setText(QLatin1String(OperatingBands()[static_cast<size_t>(i)]));
}

bool LogWindow::loadCountyTableStep()
{
    QString why;
    if (LoadCountyTable(&why))
        return true;
    // Without the county table the log cannot be worked: say which file
    // failed and end before anything touches the log.
    const QString text = why.contains(QStringLiteral("county2.txt"), Qt::CaseInsensitive)
        ? QStringLiteral("Error reading the county table: %1").arg(why)
        : QStringLiteral("Error opening file county2.txt: %1").arg(why);
    prompt().message(text, QStringLiteral("File Error"), MsgButtons::Ok, MsgIcon::Critical);
    endProgram();
    return false;
}

void LogWindow::AskOpenExistingLog()
{
    const MsgAnswer a = prompt().message(
        QStringLiteral("Do you want to continue an existing contest? (Yes opens your existing log, "
                       "No erases any existing log and starts a new log.)"),
        QStringLiteral("Open existing log?"), MsgButtons::YesNo, MsgIcon::Question);
    if (a != MsgAnswer::Yes)
        NewLogFile();
    cmdEdit->hide();
    cmdDelete->hide();
}

void LogWindow::ShowOperatingTime()
{
    LogOnState& s = LogOnState::instance();
    s.OperatingSeconds = StationSettings::instance().AccumulatedOperatingSeconds;
    lblttrack->setText(operatingTimeText(s.OperatingSeconds));
}

// ---------------------------------------------------------------------------
// Log reload

bool LogWindow::ReloadLog()
{
    if (!LoadLogFile()) {
        endProgram();
        return false;
    }
    ContactIndex::instance().invalidate();
    // The rows shown came from the log as it was: the refresh below must
    // rebuild them all, not take them for the rows before a new contact.
    ListView1->rows().clear();
    beforeReloadCount();
    recountContacts(ContestTotals::instance());
    // The refresh cannot fail: unreadable dates and times are shown as
    // stored and left out of the rates.
    refreshDisplays();
    return true;
}

// ---------------------------------------------------------------------------
// Band and mode

QAction* LogWindow::bandItem(int i) const
{
    QAction* const items[] = {mnuBand160Ch, mnuBand80Ch, mnuBand40Ch, mnuBand20Ch,
                              mnuBand15Ch,  mnuBand10Ch, mnuBand6Ch};
    return items[i];
}

void LogWindow::selectBand(const QString& band, QAction* item)
{
    StationSettings::instance().CurrentBand = band;
    RefreshForBandChange();
    item->setChecked(true);
    Label24->setText(band);
    WritePrefFile();
    ReloadLog();
}

void LogWindow::mnuBand160Ch_Click() { selectBand(QStringLiteral("160"), mnuBand160Ch); }
void LogWindow::mnuBand80Ch_Click() { selectBand(QStringLiteral("80"), mnuBand80Ch); }
void LogWindow::mnuBand40Ch_Click() { selectBand(QStringLiteral("40"), mnuBand40Ch); }
void LogWindow::mnuBand20Ch_Click() { selectBand(QStringLiteral("20"), mnuBand20Ch); }
void LogWindow::mnuBand15Ch_Click() { selectBand(QStringLiteral("15"), mnuBand15Ch); }
void LogWindow::mnuBand10Ch_Click() { selectBand(QStringLiteral("10"), mnuBand10Ch); }
void LogWindow::mnuBand6Ch_Click() { selectBand(QStringLiteral("6"), mnuBand6Ch); }

void LogWindow::runBandHandler(int i)
{
    switch (i) {
    case 0: mnuBand160Ch_Click(); break;
    case 1: mnuBand80Ch_Click(); break;
    case 2: mnuBand40Ch_Click(); break;
    case 3: mnuBand20Ch_Click(); break;
    case 4: mnuBand15Ch_Click(); break;
    case 5: mnuBand10Ch_Click(); break;
    case 6: mnuBand6Ch_Click(); break;
    default: break;
    }
}

void LogWindow::selectMode(const QString& mode)
{
    StationSettings::instance().CurrentMode = mode;
    Label30->setText(mode);
    WritePrefFile();
    if (!ReloadLog())
        return;
    mnu160->setChecked(mode == QLatin1String("CW"));
    mnuSSB->setChecked(mode == QLatin1String("PH"));
    mnuDigital->setChecked(mode == QLatin1String("DG"));
    afterModeChange(mode);
}

void LogWindow::mnu160_Click() { selectMode(QStringLiteral("CW")); }
void LogWindow::mnuSSB_Click() { selectMode(QStringLiteral("PH")); }
void LogWindow::mnuDigital_Click() { selectMode(QStringLiteral("DG")); }

void LogWindow::Label24_Click()
{
    // The next band of the ring; a band outside the seven steps nowhere.
    const int i = operatingBandIndex(StationSettings::instance().CurrentBand);
    if (i < 0)
        return;
    runBandHandler((i + 1) % 7);
}

void LogWindow::Label30_Click()
{
    if (!sameText(StationSettings::instance().CurrentMode, QStringLiteral("CW")))
        mnu160_Click();
    else
        mnuSSB_Click();
}

void LogWindow::BandFreqConversion(float& frequencyValue)
{
    const QString found = bandForFrequency(frequencyValue);
    if (!found.isEmpty() && !sameText(found, StationSettings::instance().CurrentBand)) {
        const int i = operatingBandIndex(found);
        if (i >= 0) {
            runBandHandler(i);
            if (programEnded())
                return;
        }
    }
    EntryState::instance().CurrentFrequencyText = formatFrequencyText(frequencyValue);
}

void LogWindow::ModeSelection(QString& strMode)
{
    if (strMode.isEmpty() || sameText(strMode, StationSettings::instance().CurrentMode))
        return;
    if (sameText(strMode, QStringLiteral("PH")))
        mnuSSB_Click();
    else if (sameText(strMode, QStringLiteral("CW")))
        mnu160_Click();
}

// ---------------------------------------------------------------------------
// Band map and spot list

void LogWindow::RefreshForBandChange()
{
    for (int i = 0; i < 7; ++i)
        bandItem(i)->setChecked(false);
    if (!txtDX->isHidden() || !lblDX->isHidden())
        DrawBandMapScale();
    if (!lblDX->isHidden())
        DisplayBandMapLabels();
    afterBandChangeRefresh();
}

void LogWindow::RefreshBandMapLabels()
{
    if (!lblDX->isHidden())
        DisplayBandMapLabels();
}

void LogWindow::Timer1_Timer()
{
    UpdateRates();
}

// ---------------------------------------------------------------------------
// Sizing

int LogWindow::effectiveFormSizePercent(int stored)
{
    if (stored == 0)
        return 100;
    return std::clamp(stored, 30, 100);
}

void LogWindow::SizeFormToPercent()
{
    StationSettings& st = StationSettings::instance();
    const double p = effectiveFormSizePercent(st.FormSizePercent);
    // The screen here is its available area: the frame stays inside it.
    const TwipsRect area = availableTwips(this);
    const QSizeF screen(area.Width, area.Height);
    if (!(screen.width() > 0 && screen.height() > 0)) {
        st.FormSizePercent = 100;
        WritePrefFile();
        show();
        return;
    }
    hide();
    const double width = p * screen.width() / 100;
    const double height = p * screen.height() / 100;
    setFormTwips(*this, area.Left + (screen.width() - width) / 2, area.Top + (screen.height() - height) / 2,
                 width, height);
    setFontSize(*this, fontSize(*this) * p / 100);
    for (QWidget* c : formControls(*this)) {
        switch (fitKindOf(*c)) {
        case FitKind::ListBox:
        case FitKind::ListView:
        case FitKind::CommandButton:
        case FitKind::TextBox:
        case FitKind::Label: {
            setFontSize(*c, fontSize(*c) * p / 100);
            const TwipsRect r = controlTwips(*c);
            placeControl(*c, r.Left * p / 100, r.Top * p / 100, r.Width * p / 100, r.Height * p / 100);
            break;
        }
        case FitKind::Line: {
            auto* line = static_cast<LineControl*>(c);
            line->setLine(line->X1() * p / 100, line->Y1() * p / 100, line->X2() * p / 100,
                          line->Y2() * p / 100);
            break;
        }
        default:
            break;
        }
    }
    scaleSpotAreaSaved(p / 100, p / 100);
    FitListHeights();
    scaleColumns(*ListView1->header(), p / 100);
    scaleColumns(*txtDX->header(), p / 100);
    show();
}

void LogWindow::LayoutFullScreen()
{
    const StationSettings& st = StationSettings::instance();
    mnuTaskbar->setChecked(st.TaskbarFlag != 0);
    if (effectiveFormSizePercent(st.FormSizePercent) != 100)
        return;
    hide();
    const TwipsRect old = formTwips(*this);
    // Either way the frame stays inside the screen's available area, so the
    // whole screen is that area too.
    const TwipsRect area = availableTwips(this);
    const QSizeF target = st.TaskbarFlag == 1
        ? QSizeF(SysInfo1.WorkAreaWidth(), SysInfo1.WorkAreaHeight())
        : QSizeF(area.Width, area.Height);
    if (target.width() > 0 && target.height() > 0) {
        setFormTwips(*this, area.Left, area.Top, target.width(), target.height());
        if (old.Width > 0 && old.Height > 0) {
            const TwipsRect now = formTwips(*this);
            const double rW = now.Width / old.Width;
            const double rH = now.Height / old.Height;
            for (QWidget* c : formControls(*this)) {
                if (auto* line = qobject_cast<LineControl*>(c)) {
                    line->setLine(line->X1() * rW, line->Y1() * rH, line->X2() * rW, line->Y2() * rH);
                    continue;
                }
                const TwipsRect r = controlTwips(*c);
                placeControl(*c, r.Left * rW, r.Top * rH, r.Width * rW, r.Height * rH);
            }
            scaleColumns(*txtDX->header(), rW);
            scaleSpotAreaSaved(rW, rH);
        }
    }
    FitListHeights();
    show();
}

void LogWindow::FitListHeights()
{
    const TwipsRect r = controlTwips(*List1);
    placeControl(*List1, r.Left, r.Top, r.Width, Line3->Y1() - r.Top);
    const double height = controlTwips(*List1).Height;
    for (QListWidget* l : followingSideLists()) {
        const TwipsRect o = controlTwips(*l);
        placeControl(*l, o.Left, o.Top, o.Width, height);
    }
}

void LogWindow::scaleColumns(QHeaderView& h, double factor)
{
    for (int i = 0; i < h.count(); ++i)
        h.resizeSection(i, static_cast<int>(std::lround(h.sectionSize(i) * factor)));
}

void LogWindow::mnuFormSize_Click()
{
    StationSettings& st = StationSettings::instance();
    const QString answer = prompt().input(
        QStringLiteral("Enter the % of the screen you would like the form to cover.  Try between 90 "
                       "and 100 for best results.  Values below 75 do not display well."),
        QStringLiteral("Please enter screen percentage."), QString::number(st.FormSizePercent));
    bool numeric = false;
    double value = answer.trimmed().toDouble(&numeric);
    if (!numeric || !std::isfinite(value)) {
        prompt().message(QStringLiteral("Please enter only numeric values."),
                         QStringLiteral("Numeric Values Required"));
        return;
    }
    value = std::clamp(value, 30.0, 100.0);
    st.FormSizePercent = static_cast<uint8_t>(std::nearbyint(value)); // halves to even
    prompt().message(
        QStringLiteral("This program must be closed and restarted for this setting to take effect."),
        QStringLiteral("For this setting to take effect please restart this program."));
    WritePrefFile();
}

void LogWindow::mnuTaskbar_Click()
{
    StationSettings& st = StationSettings::instance();
    if (effectiveFormSizePercent(st.FormSizePercent) != 100) {
        prompt().message(
            QStringLiteral("The form size must be set to 100% to use the taskbar display option."),
            QStringLiteral("Please set your form size to 100% to use this option."));
        return;
    }
    st.TaskbarFlag = st.TaskbarFlag == 0 ? 1 : 0;
    WritePrefFile();
    LayoutFullScreen();
}

// ---------------------------------------------------------------------------
// Menu commands

void LogWindow::mnuNew_Click()
{
    // A new log while logged on starts its operating time from now.
    LogOnState& logOn = LogOnState::instance();
    if (NewLogFile() && logOn.LoggedOnFlag == 1)
        logOn.LogOnTime = clock().now().local;
    if (!ReloadLog())
        return;
    ShowOperatingTime();
    UpdateRates();
    WritePrefFile();
}

void LogWindow::mnuOpen_Click()
{
    ReloadLog();
}

void LogWindow::mnuWriteSumm_Click()
{
    showModal(DefaultInstance<ZQCabrilloIn>());
    WindowRegistry::unload<ZQCabrilloIn>();
}

void LogWindow::mnuLogvaneImport_Click()
{
    ExportLogvaneFile();
}

void LogWindow::mnuexportADIF_Click()
{
    ExportADIF();
}

void LogWindow::mnuRigInterface_Click()
{
    DefaultInstance<RigControlfrm>().show();
}

void LogWindow::mnuDXSpotting_Click()
{
    WritePrefFile();
    DefaultInstance<PacketSpotfrm>().show();
}

void LogWindow::mnuSpectrumMap_Click()
{
    showModal(DefaultInstance<SpectrumMap>());
    WindowRegistry::unload<SpectrumMap>();
}

void LogWindow::mnuBlind_Click()
{
    DefaultInstance<BlindFrm>().show();
}

void LogWindow::mnuPrivileges_Click()
{
    // The band-plan window reads its data file from the current folder.
    QDir::setCurrent(Folders::instance().WorkingDirectory);
    showModal(DefaultInstance<frmBandPlan>());
    WindowRegistry::unload<frmBandPlan>();
}

void LogWindow::mnuMap_Click()
{
    showModal(DefaultInstance<CountyMapZQ>());
    WindowRegistry::unload<CountyMapZQ>();
}

void LogWindow::mnuGraph_Click()
{
    showModal(DefaultInstance<GraphQSO>());
    WindowRegistry::unload<GraphQSO>();
}

void LogWindow::mnuCountyList_Click()
{
    showModal(DefaultInstance<frmCountyList>());
    WindowRegistry::unload<frmCountyList>();
}

// ---------------------------------------------------------------------------
// Closing

void LogWindow::saveOperatingTime()
{
    LogOnState& s = LogOnState::instance();
    if (!logLoaded_ || s.LoggedOnFlag != 1)
        return;
    StationSettings::instance().AccumulatedOperatingSeconds = s.OperatingSeconds;
    WritePrefFile();
    s.LoggedOnFlag = 0;
}

void LogWindow::unloadToolWindows()
{
    WindowRegistry::unload<PhoneFrm>();
    WindowRegistry::unload<CWFrm>();
    WindowRegistry::unload<BlindFrm>();
    WindowRegistry::unload<PacketSpotfrm>();
    WindowRegistry::unload<SpectrumMap>();
    WindowRegistry::unload<RigControlfrm>();
    WindowRegistry::unload<Form1>();
    unloadVariantToolWindows();
    WindowRegistry::unload<frmWinKey>();
}

void LogWindow::closeEvent(QCloseEvent* e)
{
    if (programEnded()) {
        e->accept();
        return;
    }
    KeyingState& k = KeyingState::instance();
    k.CwSendBuffer.clear();
    if (k.CwSendingBusy == 1) {
        e->ignore();
        return;
    }
    unloadToolWindows();
    if (logLoaded_)
        BackupLogFile();
    saveOperatingTime();
    e->accept();
    endProgram();
}

void LogWindow::mnuExit_Click()
{
    if (programEnded())
        return;
    saveOperatingTime();
    endProgram();
}

// ---------------------------------------------------------------------------
// Window events

void LogWindow::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::ActivationChange && isActiveWindow())
        RefreshBandMapLabels();
    QMainWindow::changeEvent(e);
}

bool LogWindow::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == surface_ && e->type() == QEvent::MouseMove) {
        const auto* m = static_cast<QMouseEvent*>(e);
        if (!surface_->childAt(m->position().toPoint()))
            lblDupe->setText(QString());
    }
    return QMainWindow::eventFilter(watched, e);
}

} // namespace zq
