#pragma once
// The contest log in memory: slots 1..ContactCount hold the contacts, oldest
// first; the slot number is the contact number ("Rec#").  Slot 0 is unused.

#include <QString>
#include <deque>

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

    // Slot n, 0..Capacity.  Slots are made when first written, so a short
    // log costs no memory for the empty ones (start-up stays quick); a slot
    // never written reads as an empty record.  References to slots stay
    // valid while later slots are made.
    ContactRecord& operator[](int n)
    {
        const auto i = static_cast<size_t>(n);
        if (i >= slots_.size())
            slots_.resize(i + 1);
        return slots_[i];
    }
    const ContactRecord& operator[](int n) const
    {
        const auto i = static_cast<size_t>(n);
        return i < slots_.size() ? slots_[i] : emptyRecord();
    }
    // Empties every slot above n.
    void emptyAbove(int n);

    int ContactCount = 0;
    float LoadedContactCount = 0; // count of the first load in this run that found contacts

    bool isFull() const { return ContactCount >= Capacity; }
    // Empties every slot and both counters (start of a test or a new run).
    void reset();

private:
    static const ContactRecord& emptyRecord();

    std::deque<ContactRecord> slots_ = std::deque<ContactRecord>(1);
};

} // namespace zq
