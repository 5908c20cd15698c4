#pragma once
// Program-wide state of the logging step: the check flags through which the
// checks report, the duplicate lock, the partial-call display switch and the
// frequency text of the next contact.

#include <QDateTime>
#include <QString>
#include <chrono>
#include <cstdint>

namespace zq {

struct EntryState {
    // A contact is stored only when all four check flags are 0.
    uint8_t MissingFieldFlag = 0;
    uint8_t InvalidSectionFlag = 0;
    uint8_t InvalidCountyFlag = 0;
    uint8_t DuplicateFlag = 0;

    // Local time of the last duplicate found by the final check, and the
    // monotonic time of the same moment, which the duplicate lock waits on.
    QDateTime DuplicateTime;
    std::chrono::steady_clock::time_point DuplicateSteadyTime{};

    uint8_t PartialDupeDisplayFlag = 0; // 1: the possible-duplicates display is on
    uint8_t ListAllContactsFlag = 0;    // 1: the contact list shows every contact, 0: the newest 20

    // The rig's frequency (three decimals) for the next contact; emptied
    // after every logging attempt that passed the post-contest check.
    QString CurrentFrequencyText;

    static EntryState& instance();
};

} // namespace zq
