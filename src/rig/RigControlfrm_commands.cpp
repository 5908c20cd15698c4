// The rig dialog's frequency and mode commands.  Each command is a queue
// of steps run from the event loop: pauses are single-shot timers checked
// against the monotonic clock, drain waits re-check the port every
// millisecond, so the window keeps repainting and the other timers keep
// ticking while a command waits.  Nothing here spins or runs a nested
// event loop.

#include "rig/RigControlfrm.h"

#include "common/EntryBox.h"
#include "platform/Paths.h"
#include "platform/Prompt.h"
#include "platform/SafeFile.h"
#include "platform/SerialPort.h"
#include "rig/RigCommands.h"
#include "rig/RigDecoders.h"

#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <cmath>

namespace zq {

namespace {

const QString kPegasus = QStringLiteral("Ten Tec Pegasus");

using SteadyClock = std::chrono::steady_clock;

long long elapsedUs(SteadyClock::time_point since)
{
    return std::chrono::duration_cast<std::chrono::microseconds>(SteadyClock::now() - since)
        .count();
}

} // namespace

QString RigControlfrm::portFailure() const
{
    if (!comComm1->isOpen())
        return QStringLiteral("The rig's serial port is not open.");
    const QString e = comComm1->errorString();
    return e.isEmpty() ? QStringLiteral("The command could not be written to the rig's serial port.")
                       : e;
}

void RigControlfrm::LoadBandPlan()
{
    // A missing or damaged file leaves the rows read so far (none when the
    // file cannot be read): frequency changes then set no mode.
    readBandPlanFile(BandPlanRows, true);
}

void RigControlfrm::ChangeFrequency(float qChangeFreq)
{
    if (!tmrGetData->isActive())
        return;
    const float f = qChangeFreq; // the caller's value is never changed
    if (!std::isfinite(f) || !(f > 0))
        return;
    const QString t = RigType();
    RigCommandContext ctx{t, txtFreq->text(), txtMode->text(), RigSettings.FreqPoll, KenwoodVfo};
    const RigCommand command = buildFrequencyCommand(ctx, f);
    if (!command.ok()) {
        // Nothing of this change is sent; polling goes on.
        prompt().message(command.error, QStringLiteral("Error Changing Frequency"), MsgButtons::Ok,
                         MsgIcon::Critical);
        return;
    }

    tmrGetData->stop();
    if (t != kPegasus) {
        if (!comComm1->isOpen()) {
            prompt().message(portFailure(), QStringLiteral("Error Changing Frequency"),
                             MsgButtons::Ok, MsgIcon::Critical);
            return; // polling stays off until the next Test
        }
        comComm1->discardInput();
    }
    RigReply.clear();

    const bool idle = commandSteps_.empty();
    queueModeCommand(++lastJob_, t, f, QString());
    const int job = ++lastJob_;
    WaitForOutputDrain(job);
    for (int ms : command.pausesMs) {
        if (ms == 0)
            queueEventPass(job);
        else
            DelayMilliseconds(job, ms);
    }
    queueAction(job, [this, command, f] {
        if (command.form == CommandForm::PegasusFile) {
            WritePegasusFile(f);
            return true;
        }
        if (command.form == CommandForm::None || command.bytes.isEmpty())
            return true;
        if (comComm1->output(command.bytes))
            return true;
        prompt().message(portFailure(), QStringLiteral("Error Changing Frequency"), MsgButtons::Ok,
                         MsgIcon::Critical);
        return false; // polling stays off until the next Test
    });
    WaitForOutputDrain(job);
    queueAction(job, [this, t] {
        // The poll cycle goes on in the phase it was in, unless the test
        // was ended meanwhile.
        if (Command2->isEnabled() && (t == kPegasus || comComm1->isOpen()))
            tmrGetData->start();
        return true;
    });
    if (idle)
        runCommandSteps();
}

void RigControlfrm::ChangeMode(float qChangeFrequency, const QString& ModeToChangeTo)
{
    const bool idle = commandSteps_.empty();
    queueModeCommand(++lastJob_, RigType(), qChangeFrequency, ModeToChangeTo);
    if (idle && !commandSteps_.empty())
        runCommandSteps();
}

void RigControlfrm::queueModeCommand(int job, const QString& rigType, float frequency, QString mode)
{
    if (isNoRig(rigType))
        return;
    if (mode.isEmpty())
        BandPlanMode(BandPlanRows, frequency, mode);
    if (mode.isEmpty()) {
        WaitForOutputDrain(job);
        return;
    }
    queueEventPass(job);
    WaitForOutputDrain(job);
    DelayMilliseconds(job, ModeCommandPauseMs);
    queueAction(job, [this, rigType, mode] {
        const RigCommandContext ctx{rigType, txtFreq->text(), txtMode->text(),
                                    RigSettings.FreqPoll, KenwoodVfo};
        const RigCommand command = buildModeCommand(ctx, mode);
        QString error = command.error;
        if (error.isEmpty() && command.form != CommandForm::None && !command.bytes.isEmpty()
            && !comComm1->output(command.bytes))
            error = portFailure();
        if (error.isEmpty())
            return true;
        prompt().message(error + QLatin1Char(' ') + mode, QStringLiteral("Error Changing Mode"),
                         MsgButtons::Ok, MsgIcon::Critical);
        return false;
    });
    WaitForOutputDrain(job);
}

void RigControlfrm::WaitForOutputDrain(int job)
{
    commandSteps_.push_back({CommandStep::Kind::Drain, job, OutputDrainLimitMs, {}});
}

void RigControlfrm::DelayMilliseconds(int job, int ms)
{
    // A pass of pending events on either side: the pause counts from after
    // what was waiting (the radio taking the last command) has run.
    queueEventPass(job);
    commandSteps_.push_back({CommandStep::Kind::Pause, job, ms, {}});
    queueEventPass(job);
}

void RigControlfrm::queueEventPass(int job)
{
    commandSteps_.push_back({CommandStep::Kind::EventPass, job, 0, {}});
}

void RigControlfrm::queueAction(int job, std::function<bool()> action)
{
    commandSteps_.push_back({CommandStep::Kind::Run, job, 0, std::move(action)});
}

void RigControlfrm::runCommandSteps()
{
    if (stepsRunning_)
        return; // an action's message box let the event loop call back in
    stepsRunning_ = true;
    QPointer<RigControlfrm> self(this);
    while (!commandSteps_.empty()) {
        CommandStep& s = commandSteps_.front();
        switch (s.kind) {
        case CommandStep::Kind::Pause: {
            if (!stepArmed_) {
                stepArmed_ = true;
                stepStarted_ = SteadyClock::now();
            }
            const long long leftUs = static_cast<long long>(s.ms) * 1000 - elapsedUs(stepStarted_);
            if (leftUs > 0) {
                stepTimer_->start(static_cast<int>((leftUs + 999) / 1000));
                stepsRunning_ = false;
                return;
            }
            break;
        }
        case CommandStep::Kind::EventPass:
            if (!stepArmed_) {
                stepArmed_ = true;
                stepTimer_->start(0);
                stepsRunning_ = false;
                return;
            }
            break;
        case CommandStep::Kind::Drain:
            if (!stepArmed_) {
                stepArmed_ = true;
                stepStarted_ = SteadyClock::now();
            }
            if (comComm1->outBufferCount() >= 1
                && elapsedUs(stepStarted_) < static_cast<long long>(s.ms) * 1000) {
                stepTimer_->start(1);
                stepsRunning_ = false;
                return;
            }
            break;
        case CommandStep::Kind::Run: {
            const int job = s.job;
            const std::function<bool()> action = std::move(s.run);
            commandSteps_.pop_front();
            stepArmed_ = false;
            const bool goOn = action();
            if (!self)
                return;
            if (!goOn) {
                std::erase_if(commandSteps_, [job](const CommandStep& x) { return x.job == job; });
            }
            continue;
        }
        }
        commandSteps_.pop_front();
        stepArmed_ = false;
    }
    stepsRunning_ = false;
}

void RigControlfrm::cancelCommands()
{
    commandSteps_.clear();
    stepTimer_->stop();
    stepArmed_ = false;
}

void RigControlfrm::WritePegasusFile(float frequency)
{
    // Replaced whole, so the control program never reads half a command;
    // a failure is not reported.
    writeFileAtomically(fileIn(pegasusFolder(), QStringLiteral("PEGASUS.IN")),
                        pegasusInContent(frequency, RigMode));
}

} // namespace zq
