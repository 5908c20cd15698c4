#pragma once
// Look-up tables over ContactLog for the checks that run on every contact
// and every key: the contacts of one call, and the contacts of one band and
// mode.  The tables follow appends by themselves (each query first indexes
// the contacts added since the last one); any other change of ContactLog
// (load, edit, delete) must call invalidate(), which the log reload does.

#include "entry/TextCompare.h"

#include <QString>
#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

namespace zq {

class ContactIndex {
public:
    static ContactIndex& instance();

    // Drops the tables; the next query rebuilds them from ContactLog.
    void invalidate();
    // Indexes the contacts appended since the last query; rebuilds when the
    // log shrank, was invalidated, or its last indexed contact changed.
    void sync();

    // Contact numbers, oldest first, whose LogCall equals call (any case).
    const std::vector<int>& contactsWithCall(const QString& call);
    // Contact numbers, oldest first, whose LogBand and LogMode equal band
    // and mode (any case).
    const std::vector<int>& contactsOnBandMode(const QString& band, const QString& mode);

    // Case-folded call of an indexed contact (valid after a query).
    const QString& foldedCall(int contact) const { return entries_[static_cast<size_t>(contact)].call; }
    // Id of the case-folded LogCountySent of an indexed contact, and the id
    // of a text (-1 when no indexed contact holds it).
    int countySentId(int contact) const { return entries_[static_cast<size_t>(contact)].countySent; }
    int textId(const QString& text) const;

    int indexedCount() const { return indexed_; }

private:
    struct Entry {
        QString call; // case-folded
        int band = -1;
        int mode = -1;
        int countySent = -1;
    };

    void rebuild();
    void add(int contact);
    int intern(const QString& text);
    static uint64_t bucketKey(int band, int mode)
    {
        return (static_cast<uint64_t>(static_cast<uint32_t>(band)) << 32) | static_cast<uint32_t>(mode);
    }

    int indexed_ = 0;
    bool valid_ = false;
    std::vector<Entry> entries_{Entry{}}; // slot 0 unused
    std::unordered_map<QString, std::vector<int>, TextKeyHash> byCall_;
    std::unordered_map<uint64_t, std::vector<int>> byBandMode_;
    std::unordered_map<QString, int, TextKeyHash> ids_;
    // Texts as written in the log with their ids: bands, modes and own
    // counties repeat, so most contacts find theirs here without folding.
    std::vector<std::pair<QString, int>> recent_;
    const std::vector<int> none_{};
};

} // namespace zq
