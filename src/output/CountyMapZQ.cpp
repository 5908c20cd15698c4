#include "output/CountyMapZQ.h"

#include "common/Form1.h"
#include "common/LogWindowLink.h"
#include "common/ScreenReader.h"
#include "common/TwipsLayout.h"
#include "common/WindowRegistry.h"
#include "entry/TextCompare.h"
#include "logstore/ContactLog.h"
#include "logstore/StationSettings.h"
#include "output/CountyMap.h"

#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QTimer>

#include <algorithm>

namespace zq {

namespace {

// The hint lies on the sea below the south-eastern coast.
const QRect HintPlace(360, 273, 256, 16); // wide enough for the hint

} // namespace

CountyMapZQ::CountyMapZQ()
{
    setObjectName(QStringLiteral("CountyMapZQ"));
    setWindowTitle(QStringLiteral(" Carvonia County Map"));
    setModal(true);
    // The hot spots name their counties on a hover whether or not the
    // window manager has made the map the active window.
    setAttribute(Qt::WA_AlwaysShowToolTips);

    picture_ = countyMapPicture();
    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(QPixmap::fromImage(picture_));
    Picture1->setGeometry(QRect(QPoint(0, 0), picture_.size()));
    setFixedSize(picture_.size());

    const std::vector<HotSpot> spots = countyMapHotSpots();
    for (size_t k = 0; k < spots.size(); ++k) {
        const HotSpot& s = spots[k];
        auto* l = new QLabel(s.name, Picture1);
        l->setObjectName(QStringLiteral("lblCounty%1").arg(k));
        l->setGeometry(s.left, s.top, s.width, s.height);
        lblCounty.set(static_cast<int>(k), l);
    }

    Label1 = new QLabel(QStringLiteral("Counties will change color when worked."), Picture1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(HintPlace);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    Timer1->start();
}

void CountyMapZQ::Form_Load()
{
    // Centred in the screen's available area, frame included.
    const TwipsRect area = availableTwips(this);
    const TwipsRect me = formTwips(*this);
    setFormLeft(*this, area.Left + (area.Width - me.Width) / 2);
    setFormTop(*this, area.Top + (area.Height - me.Height) / 2);
    keepFrameInside(*this);

    for (const auto& [index, label] : lblCounty) {
        label->setToolTip(label->text());
        label->setAccessibleName(label->text()); // read by its county, which it no longer shows
        label->setText(QString());
        label->setAttribute(Qt::WA_TranslucentBackground);
        label->setAutoFillBackground(false);
    }
    if (ContactLog::instance().ContactCount > 0)
        Label1->hide();
}

void CountyMapZQ::Timer1_Timer()
{
    Timer1->stop();
    if (StationSettings::instance().OutOfStateFlag == 1)
        ColorWorkedCountiesOut();
    else
        ColorWorkedCountiesIn();
}

void CountyMapZQ::ColorWorkedCountiesOut()
{
    ActiveLogWindow* w = Form1::loadedLogWindow(true);
    colorWorkedCounties(w ? &w->workedCountyList() : nullptr);
}

void CountyMapZQ::ColorWorkedCountiesIn()
{
    ActiveLogWindow* w = Form1::loadedLogWindow(false);
    colorWorkedCounties(w ? &w->workedCountyList() : nullptr);
}

void CountyMapZQ::colorWorkedCounties(const QListWidget* list)
{
    if (!list)
        return;
    QStringList worked;
    for (int i = 0; i < list->count(); ++i)
        worked << list->item(i)->text();
    std::vector<HotSpot> spots;
    for (const auto& [index, label] : lblCounty) {
        const QRect g = label->geometry();
        const QString county = label->toolTip();
        spots.push_back({county, g.x(), g.y(), g.width(), g.height()});
        // Read with what its colour will show.
        const bool isWorked = std::any_of(worked.cbegin(), worked.cend(),
                                          [&](const QString& name) { return sameText(county, name); });
        label->setAccessibleName(workedItemName(county, isWorked));
    }
    CountyColours colours = CountyColours::fromClock();
    if (colourWorkedCounties(picture_, spots, worked, colours) > 0)
        Picture1->setPixmap(QPixmap::fromImage(picture_));
}

} // namespace zq
