#pragma once
// The log window as the floors below it reach it.  The log window's base
// class implements ActiveLogWindow; Form1 hands out the active variant
// through it, so a tool window reaches the log window without knowing its
// variants.  The functions at the end are declared here and supplied by
// the log window itself (logwindow/LogWindowLink.cpp): only it knows its two
// variants and the station settings that choose between them.

class QLabel;
class QListWidget;
class QString;

namespace zq {

class CommonDialog;
class EntryBox;
class LogWindow;

class ActiveLogWindow {
public:
    // Runs the start sequence once; later calls do nothing.
    virtual void load() = 0;

    // The procedures Form1 forwards.
    virtual void BandFreqConversion(float& frequencyValue) = 0;
    virtual void ModeSelection(QString& strMode) = 0;
    virtual void PacketResize() = 0;
    virtual void DisplayBandMapLabels() = 0;
    virtual void BandMapSpots(QString& qDXSpotCall, QString& qDXSpotFreq,
                              QString& qDXSpotRecord) = 0;

    // Logs the contact of the entry row.
    virtual void Mains() = 0;
    // A CW message has reached its "!": the entry row's contact is logged
    // when a call is typed, and the "!" counts as the row's Enter.
    virtual void logKeyedContact() = 0;
    // A spot's call into txtCall as the field takes typed keys.
    virtual void enterSpotCall(const QString& call) = 0;

    // The controls other windows fill or read.
    virtual EntryBox& callBox() = 0;             // txtCall
    virtual EntryBox& countyBox() = 0;           // txtSec
    virtual QLabel& dialogLabel() = 0;           // lblDialog
    virtual QLabel& totalScoreLabel() = 0;       // lblTotScore
    virtual QListWidget& workedCountyList() = 0; // List2
    virtual CommonDialog& fileDialog() = 0;      // cdbFile

    // The window itself, for the log window's own code.
    virtual LogWindow& logWindow() = 0;

protected:
    ~ActiveLogWindow() = default;
};

// Shows the log window variant that OutOfStateFlag chooses: Outfrm when it
// is 1, Infrm otherwise.
void ShowLogWindow();

// The variant Form1 forwards to: Outfrm when OutOfStateFlag is not 0, Infrm
// otherwise; created and loaded on first use.
ActiveLogWindow& ForwardedLogWindow();

// Outfrm (outOfState) or Infrm when that window is loaded, else nullptr;
// nothing is created.
ActiveLogWindow* LoadedLogWindow(bool outOfState);

// Form1.SavePref: writes the station preferences (QSOpref.txt) at once,
// without reaching a log window.
void SaveStationPreferences();

} // namespace zq
