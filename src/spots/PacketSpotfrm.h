#pragma once
// The spotting window " DX Spotting Setup": the operator chooses where DX
// spots come from (none, a packet TNC on a serial port, a Telnet cluster
// or the AGW Packet Engine), sets that link up, opens and closes it, reads
// what the cluster sends in the receive pane and types text back.  It also
// chooses how the log window shows spots (band map or list).
//
// The window stays loaded while hidden: Done hides it and the link keeps
// running.  Every load reads PackSpot.txt and, unless the saved source is
// "None", opens the link at once.
//
// The receive pane's text is held here exactly as appended (CR LF kept):
// it is the memory of the duplicate filter; the widget only shows it.
//
// Nothing here waits on a device: the intake tick takes what the port has
// received, in bounded portions, and never re-enters itself or a link's
// opening or closing (a message box runs the event loop, timers included).

#include "common/WindowRegistry.h"
#include "common/ControlArray.h"
#include "spots/AgwSpotLink.h"
#include "spots/SpotIntake.h"
#include "spots/SpotSettings.h"
#include "spots/TelnetLink.h"

#include <QDialog>
#include <QListWidget>
#include <QRadioButton>
#include <QString>
#include <cstdint>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTcpSocket;
class QTimer;

namespace zq {

class AgwEngine;
class EntryBox;
class LineControl;
class SerialPort;

class PacketSpotfrm : public QDialog, public UnloadStep, public LoadStep {
    Q_OBJECT
public:
    PacketSpotfrm();
    ~PacketSpotfrm() override;

    // --- Controls ---------------------------------------------------------
    QLabel* Label1 = nullptr;     // "Select Option:"
    QListWidget* List1 = nullptr; // the spot source
    QPushButton* Command1 = nullptr; // "Open Port"
    QPushButton* Command2 = nullptr; // "Close Port"
    QPushButton* cmdDone = nullptr;  // "&Done"
    QPushButton* Command3 = nullptr; // "&Spot Last"
    QLabel* Label4 = nullptr;        // "Listening": shown while a link is open or opening
    QPlainTextEdit* txtUnProcessed = nullptr; // the receive pane (shows paneText())
    QLabel* Label6 = nullptr;                 // send prompt
    QLineEdit* txtSent = nullptr;             // send box
    QLabel* Label2 = nullptr;
    EntryBox* txtHex = nullptr; // the TNC's command-mode character, two hex digits
    QLabel* Label7 = nullptr;
    EntryBox* txtTelnetHost = nullptr;
    QLabel* Label3 = nullptr;
    EntryBox* txtTelnetPort = nullptr;
    QGroupBox* Frame2 = nullptr; // "Main Form Display"
    QRadioButton* OptBand = nullptr;
    QRadioButton* OptList = nullptr;
    QCheckBox* chkDX = nullptr;        // "List DX Only (also controls main form)"
    QCheckBox* chkConvToHex = nullptr; // kept in the file, never enabled
    QGroupBox* fraPort = nullptr;
    ControlArray<QRadioButton> optComm; // 0..9: ports 1..10
    QGroupBox* fraBaud = nullptr;
    QRadioButton *optBaud12 = nullptr, *optBaud24 = nullptr, *optBaud48 = nullptr,
                 *optBaud96 = nullptr, *optBaud144 = nullptr, *optBaud192 = nullptr;
    QGroupBox* fraParity = nullptr;
    QRadioButton *optParityOdd = nullptr, *optParityNone = nullptr, *optParityEven = nullptr;
    QGroupBox* fraData = nullptr;
    QRadioButton *optData7 = nullptr, *optData8 = nullptr;
    QGroupBox* fraStop = nullptr;
    QRadioButton *optStop1 = nullptr, *optStop2 = nullptr;
    QGroupBox* fraPower = nullptr;
    QRadioButton *optPowerNone = nullptr, *optPowerRTS = nullptr, *optPowerDTR = nullptr;
    QGroupBox* Frame1 = nullptr; // "Handshaking"
    QRadioButton *Option1 = nullptr, *Option2 = nullptr, *Option3 = nullptr, *Option4 = nullptr;
    LineControl* Line1 = nullptr;

    SerialPort* comComm1 = nullptr; // the TNC link
    TelnetLink* telnetLink = nullptr; // the Telnet link
    QTcpSocket* Winsock1 = nullptr;   // its socket
    AgwEngine* agwEngine = nullptr; // the AGW Packet Engine link
    QTimer* Timer1 = nullptr;       // the intake tick, 333 ms

    // --- State ------------------------------------------------------------
    QString SpotSource; // "None", "TNC", "Telnet", "AGW Packet Engine"; empty until chosen
    uint8_t LoadingSettings = 0;
    SpotStream StreamBuffer;       // received TNC text not yet split
    AgwSpotLink agwLink;           // the window's side of the AGW link
    QString& ConnectedCall = agwLink.ConnectedCall; // station connected through the AGW engine
    QString& AgwCall = agwLink.AgwCall;
    QString TncInput;              // the last read, cleared after use
    float LabelUpdateTimeCounter = 0;
    ::zq::TncSettings TncSettings;

    // The most received characters taken into the line splitter per tick;
    // the rest waits for the next tick (a flood never makes a long tick).
    static constexpr qsizetype IntakePortion = 4096;
    // The most received characters kept waiting for later ticks; past it
    // the port's own buffer holds the rest.
    static constexpr qsizetype MaxWaitingInput = 64 * 1024;

    // --- Procedures --------------------------------------------------------
    void List1_Click();
    void Command1_Click(); // Open Port
    void Command2_Click(); // Close Port
    void cmdDone_Click();
    void Command3_Click(); // Spot Last
    void Form_Activate();
    void Form_Unload();
    void Form_KeyDown(int& KeyCode, int Shift);
    void txtSent_KeyPress(int& KeyAscii);

    // The 21 serial option clicks: each closes the link unless the
    // settings are being loaded.
    void optBaud12_Click() { serialOptionClick(); }
    void optBaud24_Click() { serialOptionClick(); }
    void optBaud48_Click() { serialOptionClick(); }
    void optBaud96_Click() { serialOptionClick(); }
    void optBaud144_Click() { serialOptionClick(); }
    void optBaud192_Click() { serialOptionClick(); }
    void optComm_Click(int Index) { (void)Index; serialOptionClick(); }
    void optData7_Click() { serialOptionClick(); }
    void optData8_Click() { serialOptionClick(); }
    void optParityOdd_Click() { serialOptionClick(); }
    void optParityNone_Click() { serialOptionClick(); }
    void optParityEven_Click() { serialOptionClick(); }
    void optStop1_Click() { serialOptionClick(); }
    void optStop2_Click() { serialOptionClick(); }
    void optPowerNone_Click() { serialOptionClick(); }
    void optPowerRTS_Click() { serialOptionClick(); }
    void optPowerDTR_Click() { serialOptionClick(); }
    void Option1_Click() { serialOptionClick(); }
    void Option2_Click() { serialOptionClick(); }
    void Option3_Click() { serialOptionClick(); }
    void Option4_Click() { serialOptionClick(); }

    void DisableSpotControls();
    void EnableTNCControls();
    void EnableTelnetControls();
    void EnableAGWControls();
    void ShowSpottingHelp();

    void CollectTNCSettings();
    void ReadSpotSettings();
    // Writes PackSpot.txt whole or not at all; a failure is reported and
    // the old file stays.  False on failure.
    bool WriteSpotSettings();

    void Timer1_Timer();
    void SplitSpotLines();
    void ForwardSpot(QString& frequency, QString& call, QString& line);
    void TrimSpotDisplay();

    void OpenTNCPort();
    void ReadTNCInput();

    // The Telnet link.  Received text is shown as it arrives and gathered
    // into lines; every complete line beginning "DX" is handed on once.
    void ConnectTelnet();
    void Winsock1_DataArrival(const QString& chunk);
    void Winsock1_Error(int Number);
    void SendTelnetText();

    // The AGW Packet Engine link: registration (answered within 2 s without
    // waiting here), link commands and text, and the frames of each tick.
    void ConnectAGW();
    void SendAGWText();
    void PollAGWFrames();
    void txtSent_Change();

    // The receive pane's text exactly as held (CR LF kept).
    const QString& paneText() const { return pane_.text(); }
    // The text of the source chosen in List1; empty while none is.
    QString sourceText() const;

    void onUnload() override;

public slots:
    // Esc does not close the window; the close box unloads it.
    void reject() override {}

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void buildControls();
    void Form_Load() override;
    void serialOptionClick();
    bool isSource(const char* name) const;
    void setOption(QRadioButton* button, bool value);
    void sendDisconnectFrame();
    // The pane: replace, append, and show what it holds.
    void paneReplace(const QString& text);
    void paneAppend(const QString& text);
    void showPane(qsizetype caret);
    bool handleKey(QObject* target, QKeyEvent* e);

    void onAgwRegistered(bool ok);
    // ForwardSpot with copies of the link's texts.
    void forwardSpot(const QString& frequency, const QString& call, const QString& line);

    SpotPane pane_;
    TelnetIntake telnetIntake_; // received Telnet text gathered into lines
    bool agwAwaiting_ = false; // a registration's answer is due
    QString waitingInput_; // received (one character a byte), not yet taken into the splitter
    QString shownPane_;    // the pane text the widget shows
    int busy_ = 0;         // inside a link's opening or closing, or a tick
    int pickedRow_ = -1;   // the source row last selected in List1
};

} // namespace zq
