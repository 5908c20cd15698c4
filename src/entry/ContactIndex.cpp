#include "entry/ContactIndex.h"

#include "entry/TextCompare.h"
#include "logstore/ContactLog.h"

namespace zq {

ContactIndex& ContactIndex::instance()
{
    static ContactIndex index;
    return index;
}

void ContactIndex::invalidate()
{
    valid_ = false;
}

int ContactIndex::intern(const QString& text)
{
    for (const auto& [seen, id] : recent_)
        if (seen == text)
            return id;
    const QString key = textKey(text);
    auto it = ids_.find(key);
    const int id = it != ids_.end() ? it->second : static_cast<int>(ids_.size());
    if (it == ids_.end())
        ids_.emplace(key, id);
    if (recent_.size() < 32)
        recent_.emplace_back(text, id);
    return id;
}

int ContactIndex::textId(const QString& text) const
{
    auto it = ids_.find(textKey(text));
    return it == ids_.end() ? -1 : it->second;
}

void ContactIndex::add(int contact)
{
    const ContactRecord& r = ContactLog::instance()[contact];
    Entry e;
    e.call = textKey(r.LogCall);
    e.band = intern(r.LogBand);
    e.mode = intern(r.LogMode);
    e.countySent = intern(r.LogCountySent);
    byCall_[e.call].push_back(contact);
    byBandMode_[bucketKey(e.band, e.mode)].push_back(contact);
    if (entries_.size() <= static_cast<size_t>(contact))
        entries_.resize(static_cast<size_t>(contact) + 1);
    entries_[static_cast<size_t>(contact)] = std::move(e);
    indexed_ = contact;
}

void ContactIndex::rebuild()
{
    const ContactLog& log = ContactLog::instance();
    indexed_ = 0;
    entries_.assign(1, Entry{});
    entries_.resize(static_cast<size_t>(log.ContactCount) + 1);
    byCall_.clear();
    byBandMode_.clear();
    ids_.clear();
    recent_.clear();
    valid_ = true;
    for (int i = 1; i <= log.ContactCount; ++i)
        add(i);
}

void ContactIndex::sync()
{
    const ContactLog& log = ContactLog::instance();
    const int count = log.ContactCount;
    bool stale = !valid_ || count < indexed_;
    if (!stale && indexed_ > 0) {
        // The newest indexed contact must still be what was indexed; a log
        // that was replaced behind our back shows there first.
        const ContactRecord& last = log[indexed_];
        const Entry& e = entries_[static_cast<size_t>(indexed_)];
        stale = textKey(last.LogCall) != e.call || textId(last.LogBand) != e.band
            || textId(last.LogMode) != e.mode;
    }
    if (stale) {
        rebuild();
        return;
    }
    for (int i = indexed_ + 1; i <= count; ++i)
        add(i);
}

const std::vector<int>& ContactIndex::contactsWithCall(const QString& call)
{
    sync();
    auto it = byCall_.find(textKey(call));
    return it == byCall_.end() ? none_ : it->second;
}

const std::vector<int>& ContactIndex::contactsOnBandMode(const QString& band, const QString& mode)
{
    sync();
    const int b = textId(band);
    const int m = textId(mode);
    if (b < 0 || m < 0)
        return none_;
    auto it = byBandMode_.find(bucketKey(b, m));
    return it == byBandMode_.end() ? none_ : it->second;
}

} // namespace zq
