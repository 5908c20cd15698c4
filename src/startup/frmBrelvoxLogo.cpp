#include "startup/frmBrelvoxLogo.h"

#include "common/TwipsLayout.h"
#include "common/WindowRegistry.h"
#include "platform/Paths.h"
#include "platform/SafeFile.h"
#include "startup/StartupPictures.h"
#include "platform/UserFolders.h"

#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

namespace zq {

frmBrelvoxLogo::frmBrelvoxLogo()
{
    setObjectName(QStringLiteral("frmBrelvoxLogo"));
    setWindowTitle(QStringLiteral("Form3"));
    setModal(true);
    setFormTwips(*this, 0, 0, 4800, 3600);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    placeControl(*Image1, 0, 0, 4800, 3600);
    Image1->setScaledContents(true);
    Image1->setPixmap(brelvoxLogoPicture(Image1->size()));
    Image1->installEventFilter(this);

    Image2 = new QLabel(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    placeControl(*Image2, 3660, 120, 1020, 1260);
    Image2->setScaledContents(true);
    Image2->setPixmap(antennaTowerPicture(Image2->size()));
    Image2->setVisible(false);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1900);
    connect(Timer1, &QTimer::timeout, this, &frmBrelvoxLogo::Timer1_Timer);

    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(1100);
    connect(Timer2, &QTimer::timeout, this, &frmBrelvoxLogo::Timer2_Timer);
}

void frmBrelvoxLogo::Form_Load()
{
    Timer1->start();
    Timer2->start();

    const TwipsRect area = availableTwips(this);
    const TwipsRect f = formTwips(*this);
    setFormLeft(*this, area.Left + (area.Width - f.Width) / 2);
    setFormTop(*this, area.Top + std::max(0.0, (area.Height - f.Height) / 2 - 170));
    keepFrameInside(*this);

    QString shared;
    GetUserDirectory(shared, QStringLiteral("\\Brelvox Software"), QStringLiteral("\\Shared"));
    const QString picturePath = fileIn(shared + QStringLiteral("/Shared"), QStringLiteral("splash.jpg"));
    QFile file;
    if (openRegularFile(file, picturePath)) {
        const QPixmap picture = QPixmap::fromImage(QImageReader(&file).read());
        // A file that is no picture leaves the logo as it is.
        if (!picture.isNull()) {
            Image1->setScaledContents(false);
            Image1->setAlignment(Qt::AlignCenter);
            Image1->setPixmap(picture.scaled(Image1->size(), Qt::KeepAspectRatio,
                                             Qt::SmoothTransformation));
            Timer1->stop();
            Timer1->setInterval(2700);
            Timer1->start();
            Timer2->stop();
        }
    }
}

void frmBrelvoxLogo::Timer1_Timer()
{
    unloadDialog();
}

void frmBrelvoxLogo::Timer2_Timer()
{
    Image2->setVisible(true);
}

void frmBrelvoxLogo::Image1_Click()
{
    unloadDialog();
}

void frmBrelvoxLogo::reject()
{
    unloadDialog();
}

bool frmBrelvoxLogo::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Image1 && event->type() == QEvent::MouseButtonRelease) {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() == Qt::LeftButton && Image1->rect().contains(me->position().toPoint())) {
            Image1_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmBrelvoxLogo::unloadDialog()
{
    Timer1->stop();
    Timer2->stop();
    QDialog::done(QDialog::Accepted);
    WindowRegistry::unload<frmBrelvoxLogo>();
}

} // namespace zq
