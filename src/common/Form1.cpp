#include "common/Form1.h"

#include "common/LogWindowLink.h"

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
    return logWindow().logWindow();
}

ActiveLogWindow& Form1::logWindow()
{
    return ForwardedLogWindow();
}

ActiveLogWindow* Form1::loadedLogWindow(bool outOfState)
{
    return LoadedLogWindow(outOfState);
}

void Form1::SavePref()
{
    SaveStationPreferences();
}

void Form1::BandFreqConversion(float& frequencyValue)
{
    logWindow().BandFreqConversion(frequencyValue);
}

void Form1::ModeSelection(QString& strMode)
{
    logWindow().ModeSelection(strMode);
}

void Form1::PacketResize()
{
    logWindow().PacketResize();
}

void Form1::DisplayBandMapLabels()
{
    logWindow().DisplayBandMapLabels();
}

void Form1::BandMapSpots(QString& qDXSpotCall, QString& qDXSpotFreq, QString& qDXSpotRecord)
{
    logWindow().BandMapSpots(qDXSpotCall, qDXSpotFreq, qDXSpotRecord);
}

} // namespace zq
