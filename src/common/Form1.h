#pragma once
// A window that is never shown.  It gives the rig control and the spotting
// windows one fixed partner for the log window: each procedure forwards to
// the active variant, Outfrm when OutOfStateFlag is not 0 and Infrm when it
// is 0, creating and loading that window on first use.  Arguments pass by
// reference, so a change the log window makes is seen by the caller.
//
// Its hidden label lblDX carries one flag: shown while the active log
// window shows its band map.  Read it with lblDXVisible(), since a child
// of a hidden window never reports itself visible.

#include <QString>
#include <QWidget>

class QLabel;

namespace zq {

class LogWindow;

class Form1 : public QWidget {
    Q_OBJECT
public:
    Form1();

    QLabel* lblDX = nullptr;
    bool lblDXVisible() const;

    void SavePref();
    void BandFreqConversion(float& frequencyValue);
    void ModeSelection(QString& strMode);
    void PacketResize();
    void DisplayBandMapLabels();
    void BandMapSpots(QString& qDXSpotCall, QString& qDXSpotFreq, QString& qDXSpotRecord);

    // The log window variant in use, created and loaded when needed.
    static LogWindow& activeLogWindow();
};

} // namespace zq
