#include "common/Form1.h"

#include "common/WindowRegistry.h"
#include "logstore/PrefFile.h"
#include "logstore/StationSettings.h"
#include "logwindow/Infrm.h"
#include "logwindow/Outfrm.h"

#include <QLabel>

namespace zq {

Form1::Form1()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Form1"));
    lblDX = new QLabel(this);
    lblDX->setObjectName(QStringLiteral("lblDX"));
    lblDX->hide();
}

bool Form1::lblDXVisible() const
{
    return !lblDX->isHidden();
}

LogWindow& Form1::activeLogWindow()
{
    LogWindow* w = nullptr;
    if (StationSettings::instance().OutOfStateFlag != 0)
        w = &DefaultInstance<Outfrm>();
    else
        w = &DefaultInstance<Infrm>();
    w->load();
    return *w;
}

void Form1::SavePref()
{
    WritePrefFile();
}

void Form1::BandFreqConversion(float& frequencyValue)
{
    activeLogWindow().BandFreqConversion(frequencyValue);
}

void Form1::ModeSelection(QString& strMode)
{
    activeLogWindow().ModeSelection(strMode);
}

void Form1::PacketResize()
{
    activeLogWindow().PacketResize();
}

void Form1::DisplayBandMapLabels()
{
    activeLogWindow().DisplayBandMapLabels();
}

void Form1::BandMapSpots(QString& qDXSpotCall, QString& qDXSpotFreq, QString& qDXSpotRecord)
{
    activeLogWindow().BandMapSpots(qDXSpotCall, qDXSpotFreq, qDXSpotRecord);
}

} // namespace zq
