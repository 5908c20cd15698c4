#pragma once
// A window that is never shown.  It gives the rig control and the spotting
// windows one fixed partner for the log window: each procedure forwards to
// the active variant, Outfrm when OutOfStateFlag is not 0 and Infrm when it
// is 0, creating and loading that window on first use.  Arguments pass by
// reference, so a change the log window makes is seen by the caller.
// The log window is reached through ActiveLogWindow (common/LogWindowLink.h),
// which its base class implements.
//
// Its hidden label lblDX carries one flag: shown while the active log
// window shows its band map.  Read it with lblDXVisible(), since a child
// of a hidden window never reports itself visible.

#include <QString>
#include <QWidget>

class QLabel;

namespace zq {

class ActiveLogWindow;
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
    // The same window as the windows below the log window reach it.
    static ActiveLogWindow& logWindow();
    // The variant Outfrm (outOfState) or Infrm when it is loaded, else
    // nullptr; nothing is created or loaded.
    static ActiveLogWindow* loadedLogWindow(bool outOfState);
};

} // namespace zq
