#include "startup/frmSplash.h"

#include "platform/Folders.h"
#include "common/NamedControls.h"
#include "common/ProgramEnd.h"
#include "common/ScreenReader.h"
#include "common/TwipsLayout.h"
#include "common/WindowFit.h"
#include "common/WindowRegistry.h"
#include "platform/Paths.h"
#include "platform/InnerLoop.h"
#include "startup/SharedPrefs.h"
#include "startup/StartupPictures.h"
#include "startup/StationSetupEntry.h"
#include "platform/UserFolders.h"
#include "startup/frmBrelvoxLogo.h"

#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

namespace zq {

namespace {

void styleLabel(QLabel* l, double points, bool bold, bool italic)
{
    QFont f = l->font();
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setItalic(italic);
    l->setFont(f);
}

} // namespace

frmSplash::frmSplash()
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowFlag(Qt::Window);
    QFont f = font();
    f.setPointSizeF(8.25);
    setFont(f);
    setFormTwips(*this, 0, 0, 6000, 4200);

    Image1 = makeNamedLabel(this, QStringLiteral("Image1"), QString(), 240, 240, 1680, 1800);
    Image1->setScaledContents(true);
    Image1->setPixmap(stateOutlinePicture(Image1->size()));
    Image2 = makeNamedLabel(this, QStringLiteral("Image2"), QString(), 240, 2220, 1680, 1560);
    Image2->setScaledContents(true);
    Image2->setPixmap(antennaTowerPicture(Image2->size()));

    Label1 = makeNamedLabel(this, QStringLiteral("Label1"), QStringLiteral("Carvonia State"), 2160,
                            300, 3600, 600);
    styleLabel(Label1, 20, true, false);
    Label2 = makeNamedLabel(this, QStringLiteral("Label2"), QStringLiteral("QSO Party Log"), 2160,
                            900, 3600, 600);
    styleLabel(Label2, 20, true, false);
    Label3 = makeNamedLabel(this, QStringLiteral("Label3"), QStringLiteral("Brelvox's"), 2160, 1620,
                            3600, 420);
    styleLabel(Label3, 12, false, true);
    Label4 = makeNamedLabel(this, QStringLiteral("Label4"), QStringLiteral("Version"), 2160, 2400,
                            900, 300);
    lblVersion1 = makeNamedLabel(this, QStringLiteral("lblVersion1"), QStringLiteral("2.1"), 3120,
                                 2400, 900, 300);

    Command1 = new QPushButton(QStringLiteral("Continue"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    placeControl(*Command1, 4200, 3180, 1440, 480);
    connect(Command1, &QPushButton::clicked, this, &frmSplash::Command1_Click);
    setFocusProxy(Command1);
    // The window has no title: it is read by the product's name it shows.
    setAccessibleName(Label1->text() + u' ' + Label2->text());
    // A plain top-level widget: announced as what it is, not as a filler.
    readAsWindow(*this, WindowRole::Window);
}

void frmSplash::Form_Load()
{
    Folders& folders = Folders::instance();
    folders.WorkingDirectory = QDir::currentPath();
    folders.WorkingDrive = folders.WorkingDirectory.left(1);

    QPointer<frmBrelvoxLogo> logo = &DefaultInstance<frmBrelvoxLogo>();
    {
        InnerLoop inner(logo, [logo] {
            if (logo)
                logo->reject();
        });
        if (!inner.left())
            logo->exec();
    }

    ResizeFormToScreen(*this);

    GetUserDirectory(folders.UserDirectory, QStringLiteral("\\Brelvox Software"),
                     QStringLiteral("\\Carvonia"));
    GetUserDirectory(folders.UserDirectory, QStringLiteral("\\Brelvox Software"),
                     QStringLiteral("\\Shared"));
    folders.SharedDirectory = folders.UserDirectory + QStringLiteral("/Shared");
    folders.UserDirectory += QStringLiteral("/Carvonia");

    LoadSharedPrefs(fileIn(folders.SharedDirectory, QStringLiteral("SharedUserPreferences.xml")));
    MakeDirectory(folders.UserDirectory + QStringLiteral("/BACKUP"), 0);
}

void frmSplash::Command1_Click()
{
    Folders::instance().ProgramVersion = lblVersion1->text();
    continued_ = true;
    hide();
    ShowStationSetup();
    WindowRegistry::unload<frmSplash>();
}

void frmSplash::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (!continued_) {
        // No way on without Continue: the program ends here.
        WindowRegistry::unload<frmSplash>();
        endProgram();
    }
}

} // namespace zq
