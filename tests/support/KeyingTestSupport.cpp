#include "support/KeyingTestSupport.h"

#include "keying/MorseCode.h"
#include "platform/KeyingPorts.h"

#include <QTimer>

#include <algorithm>
#include <cmath>

namespace zq::test {

RecordedKeying::RecordedKeying(bool wrapReal)
    : clock_(std::make_shared<VirtualKeyingClock>()), start_(clock_->now()), wrapReal_(wrapReal)
{
    install();
}

void RecordedKeying::install()
{
    setKeyingClockForTesting(clock_);
    KeyingPorts::setOpenerForTesting(
        [this](const KeyLinePort& port, QString* error,
               QString* permission) -> std::unique_ptr<KeyLine> {
            std::unique_ptr<KeyLine> inner;
            if (wrapReal_) {
                inner = openKeyLine(port, error, permission);
                if (!inner)
                    return nullptr;
            }
            auto line = std::make_unique<RecordingKeyLine>(port, std::move(inner),
                                                           [c = clock_] { return c->now(); });
            line->setOnTransition([this](const RecordingKeyLine::Transition& t) {
                std::unique_lock lock(mutex_);
                transitions_.push_back(t);
                if (t.down && holdNext_) {
                    holdNext_ = false;
                    holding_ = true;
                    cv_.wait(lock, [this] { return !holding_; });
                }
            });
            std::lock_guard lock(mutex_);
            opened_.push_back(port);
            return line;
        });
}

RecordedKeying::~RecordedKeying()
{
    release();
    KeyingPorts::instance().releaseAll();
    KeyingPorts::setOpenerForTesting(nullptr);
    setKeyingClockForTesting(std::make_shared<VirtualKeyingClock>());
}

std::vector<RecordingKeyLine::Transition> RecordedKeying::transitions() const
{
    std::lock_guard lock(mutex_);
    return transitions_;
}

std::vector<KeyLinePort> RecordedKeying::openedPorts() const
{
    std::lock_guard lock(mutex_);
    return opened_;
}

double RecordedKeying::elapsedMs() const
{
    return std::chrono::duration<double, std::milli>(clock_->now() - start_).count();
}

QString RecordedKeying::keyedUnits(double unitMs) const
{
    const auto ts = transitions();
    const int units = static_cast<int>(std::lround(elapsedMs() / unitMs));
    QString out;
    for (int k = 0; k < units; ++k) {
        const auto at = start_ + std::chrono::duration_cast<std::chrono::nanoseconds>(
                                     std::chrono::duration<double, std::milli>((k + 0.5) * unitMs));
        bool down = false;
        for (const auto& t : ts)
            if (t.at <= at)
                down = t.down;
        out += down ? u'1' : u'0';
    }
    return out;
}

QString RecordedKeying::keyedText(double wpm) const
{
    return decodeUnits(keyedUnits(1200.0 / wpm));
}

void RecordedKeying::restart()
{
    std::lock_guard lock(mutex_);
    start_ = clock_->now();
    transitions_.clear();
}

void RecordedKeying::holdAtNextKeyDown()
{
    std::lock_guard lock(mutex_);
    holdNext_ = true;
}

void RecordedKeying::holdAtMs(double ms)
{
    clock_->holdAt(start_ + std::chrono::duration_cast<std::chrono::nanoseconds>(
                                std::chrono::duration<double, std::milli>(ms)));
}

void RecordedKeying::whenHeld(std::function<void()> f, int triesLeft)
{
    QTimer::singleShot(1, [this, f, triesLeft] {
        bool held;
        {
            std::lock_guard lock(mutex_);
            held = holding_;
        }
        held = held || clock_->held();
        // Never held (a fault of the test): run it anyway rather than hang.
        if (held || triesLeft <= 0)
            f();
        else
            whenHeld(f, triesLeft - 1);
    });
}

void RecordedKeying::release()
{
    {
        std::lock_guard lock(mutex_);
        holdNext_ = false;
        holding_ = false;
    }
    cv_.notify_all();
    clock_->resume();
}

QString patternOf(const QString& text, double space)
{
    QString out;
    for (QChar c : text)
        out += characterPattern(c, space);
    return out;
}

QString decodeUnits(const QString& units)
{
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,?/=[];\\");
    auto decodeOne = [&](const QString& pattern) -> QString {
        for (QChar c : alphabet)
            if (MorseTable(c) == pattern + QStringLiteral("000"))
                return QString(c);
        return QStringLiteral("<") + pattern + QStringLiteral(">");
    };
    QString out;
    QString current; // the pattern of the character being read, without its gap
    qsizetype i = 0;
    while (i < units.size()) {
        if (units[i] == u'1') {
            current += u'1';
            ++i;
            continue;
        }
        qsizetype zeros = 0;
        while (i < units.size() && units[i] == u'0') {
            ++zeros;
            ++i;
        }
        if (zeros >= 3 && !current.isEmpty()) {
            out += decodeOne(current);
            current.clear();
        } else if (zeros < 3) {
            current += QString(zeros, u'0');
        }
        if (zeros >= 11 && i < units.size())
            out += u' ';
    }
    if (!current.isEmpty())
        out += decodeOne(current);
    return out;
}

} // namespace zq::test
