#pragma once
// The contest log in memory: slots 1..ContactCount hold the contacts, oldest
// first; the slot number is the contact number ("Rec#").  Slot 0 is unused.

#include <QString>
#include <vector>

namespace zq {

struct ContactRecord {
    QString LogCall;         // 1
    QString LogRstSent;      // 2
    QString LogRstReceived;  // 3
    QString LogSpc;          // 4 state, province or country (in-state window)
    QString LogCounty;       // 5
    QString LogField6;       // 6 spare
    QString LogCountySent;   // 7 own county at the time of the contact
    QString LogField8;       // 8 spare
    QString LogField9;       // 9 spare
    QString LogField10;      // 10 spare
    QString LogField11;      // 11 spare
    QString LogDate;         // 12 "yyyy/mm/dd" UTC
    QString LogTime;         // 13 "hh:mm:ss" UTC
    QString LogMode;         // 14 "CW", "PH", "DG"
    QString LogBand;         // 15
    double LogField16 = 0;   // 16 spare number
    QString LogField17;      // 17 spare
    QString LogField18;      // 18 spare
    QString LogField19;      // 19 spare
    QString LogFrequency;    // 20

    bool operator==(const ContactRecord&) const = default;
};

class ContactLog {
public:
    static constexpr int Capacity = 11000;

    static ContactLog& instance();

    // Slot n, 0..Capacity.
    ContactRecord& operator[](int n) { return slots_[static_cast<size_t>(n)]; }
    const ContactRecord& operator[](int n) const { return slots_[static_cast<size_t>(n)]; }

    int ContactCount = 0;
    float LoadedContactCount = 0; // count of the first load in this run that found contacts

    bool isFull() const { return ContactCount >= Capacity; }
    // Empties every slot and both counters (start of a test or a new run).
    void reset();

private:
    std::vector<ContactRecord> slots_ = std::vector<ContactRecord>(Capacity + 1);
};

} // namespace zq
