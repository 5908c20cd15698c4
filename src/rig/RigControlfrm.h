#pragma once
// The rig interface " Rig Interface Setup": the operator chooses the radio
// type and its serial settings, starts and ends a test, and keeps the
// settings with Done.  The window owns the radio's serial port and the poll
// timer; polling goes on while it is hidden.  It is left with Done only
// (no close button, Esc does nothing).
//
// The poll cycle takes two ticks: a send phase writes the type's query,
// the next tick reads what arrived, decodes it and hands frequency and
// mode to the active log window through Form1.  Nothing in a tick waits.

#include "common/WindowRegistry.h"
#include "common/ControlArray.h"
#include "rig/BandPlan.h"
#include "rig/RigSettings.h"

#include <QByteArray>
#include <QDialog>
#include <QString>
#include <cstdint>
#include <chrono>
#include <deque>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTimer;

namespace zq {

class EntryBox;
class LineControl;
class SerialPort;

class RigControlfrm : public QDialog, public UnloadStep, public LoadStep {
    Q_OBJECT
public:
    RigControlfrm();
    ~RigControlfrm() override;

    // --- Controls ---------------------------------------------------------
    QLabel* Label1 = nullptr;     // "Select Rig:"
    QListWidget* List1 = nullptr; // the rig types
    QLabel* Label4 = nullptr;
    EntryBox* txtFreq = nullptr; // frequency-poll string
    QLabel* Label3 = nullptr;
    EntryBox* txtMode = nullptr; // mode-poll string

    QGroupBox* fraBaud = nullptr;
    QRadioButton *optBaud12 = nullptr, *optBaud24 = nullptr, *optBaud48 = nullptr,
                 *optBaud96 = nullptr, *optBaud144 = nullptr, *optBaud192 = nullptr,
                 *optBaud288 = nullptr, *optBaud384 = nullptr, *optBaud560 = nullptr;
    QGroupBox* fraParity = nullptr;
    QRadioButton *optParityOdd = nullptr, *optParityNone = nullptr, *optParityEven = nullptr;
    QGroupBox* fraData = nullptr;
    QRadioButton *optData7 = nullptr, *optData8 = nullptr;
    QGroupBox* fraStop = nullptr;
    QRadioButton *optStop1 = nullptr, *optStop2 = nullptr;
    QGroupBox* fraPort = nullptr;
    ControlArray<QRadioButton> optComm; // 0..9: ports 1..10
    QGroupBox* fraPower = nullptr;
    QRadioButton *optPowerNone = nullptr, *optPowerRTS = nullptr, *optPowerDTR = nullptr;
    QGroupBox* fraPoll = nullptr;
    QRadioButton *optPollFast = nullptr, *optPollMed = nullptr, *optPollSlow = nullptr,
                 *optReallySlow = nullptr;

    QGroupBox* Frame1 = nullptr; // "Mode by:"
    QRadioButton *OptRig = nullptr, *OptFreq = nullptr, *OptDont = nullptr;
    QCheckBox* chkFrequency = nullptr; // "Use Frequency"
    QCheckBox* chkConvToHex = nullptr; // "Convert to Hex"
    QCheckBox* ChkConvHex = nullptr;   // "Convert from Hex"

    QPushButton* Command1 = nullptr; // "Test"
    QPushButton* Command2 = nullptr; // "End Test"
    QPushButton* cmdDone = nullptr;  // "&Done"
    QPushButton* Command3 = nullptr; // "Change Frequency"
    QPushButton* Command4 = nullptr; // "Copy unprocessed data to clipboard"

    QLabel* Label2 = nullptr; // "Polling Rig"
    QLabel *Label7 = nullptr, *lblFreq = nullptr;
    QLabel *Label5 = nullptr, *lblMode = nullptr, *Label9 = nullptr;
    QLabel *Label6 = nullptr, *lblUnProcess = nullptr;
    QLabel* Label10 = nullptr; // the Icom note
    QLabel *Label8 = nullptr, *Label11 = nullptr, *Label12 = nullptr;
    LineControl* Line1 = nullptr;

    QTimer* tmrGetData = nullptr; // the poll tick; running means "polling"
    SerialPort* comComm1 = nullptr;

    // --- State ------------------------------------------------------------
    ::zq::RigSettings RigSettings;
    uint8_t LoadingRigSettings = 0;
    float RigFrequency = 0; // MHz, 0 until a reply gave one
    QString RigMode;
    QByteArray RigReply;    // the reply of the receive phase, at most MaxReply bytes
    uint8_t AwaitingReply = 0;
    uint8_t AlternateQuery = 0;
    uint8_t KenwoodVfo = 10;

    // What one receive phase keeps of the radio's reply.
    static constexpr qsizetype MaxReply = 4096;
    // How long unloading lets a closing command leave before the port closes.
    static constexpr int CloseDrainMs = 500;

    // --- Procedures --------------------------------------------------------
    // Test: captures the settings, opens the port and starts polling.
    void Command1_Click();
    // End Test: stops polling and closes the port.
    void Command2_Click();
    // Done: tests when a rig is chosen, saves QSOpref.txt and RigCntrl.txt,
    // hides the window.  A failed save of RigCntrl.txt is reported and the
    // window stays.
    void cmdDone_Click();
    // Change Frequency: the command test dialog, while polling.
    void Command3_Click();
    // Copies lblUnProcess to the clipboard.
    void Command4_Click();
    void OptRig_Click();
    void OptFreq_Click();
    void OptDont_Click();
    void List1_Click();
    void txtFreq_Change();
    void txtMode_Change();
    void chkConvToHex_Click();
    void LoadRigSettings();
    bool SaveRigSettings();
    void OpenRigPort();
    void StartPolling();
    void tmrGetData_Timer();
    void ModeFromSubBand();

    // Tunes the radio to `qChangeFreq` MHz after setting the band plan's
    // mode; does nothing while polling is off.  The command goes out as a
    // timed sequence on the event loop (the pauses never block the
    // window); polling stays paused until it has been sent.
    void ChangeFrequency(float qChangeFreq);
    // Sets `ModeToChangeTo`, or the band plan's mode at `qChangeFrequency`
    // when it is empty.  A mode change asked for while a command is under
    // way follows it.
    void ChangeMode(float qChangeFrequency, const QString& ModeToChangeTo);
    // True while a command sequence is under way or waiting to start.
    bool commandPending() const { return !commandSteps_.empty(); }

    // The Extra-class rows of BandPlan.txt, read once at load.
    ::zq::BandPlanRows BandPlanRows;
    void LoadBandPlan();

    void onUnload() override;

    // The program-wide rig type (kept with the station settings).
    static QString& RigType();

private:
    void buildControls();
    void Form_Load() override;
    void captureSettings();
    void sendPhase();
    void receivePhase();
    void selectByText(const QList<QPair<QRadioButton*, QString>>& group, const QString& text);
    QList<QPair<QRadioButton*, QString>> baudButtons() const;
    QList<QPair<QRadioButton*, QString>> parityButtons() const;
    QList<QPair<QRadioButton*, QString>> dataButtons() const;
    QList<QPair<QRadioButton*, QString>> stopButtons() const;
    QList<QPair<QRadioButton*, QString>> powerButtons() const;
    QList<QPair<QRadioButton*, QString>> pollButtons() const;

    bool inTick_ = false;

    // --- The timed command sequence ----------------------------------------
    // One step of a command: a pause, one pass of pending events, a wait for
    // the port's output to drain, or an action.  Steps of one command share
    // a job number; an action that fails drops the rest of its job.
    struct CommandStep {
        enum class Kind { Pause, EventPass, Drain, Run } kind;
        int job = 0;
        int ms = 0;
        std::function<bool()> run;
    };
    void queueModeCommand(int job, const QString& rigType, float frequency, QString mode);
    void WaitForOutputDrain(int job);
    void DelayMilliseconds(int job, int ms);
    void queueEventPass(int job);
    void queueAction(int job, std::function<bool()> action);
    void runCommandSteps();
    void cancelCommands();
    void WritePegasusFile(float frequency);
    QString portFailure() const;

    std::deque<CommandStep> commandSteps_;
    QTimer* stepTimer_ = nullptr;
    bool stepArmed_ = false;   // the front step's wait has begun
    bool stepsRunning_ = false; // runCommandSteps is on the stack
    std::chrono::steady_clock::time_point stepStarted_{};
    int lastJob_ = 0;
};

} // namespace zq
