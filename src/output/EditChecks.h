#pragma once
// The checks of the edit dialogs that need no window: the band and mode
// lists, the in-state state/province/country test and the duplicate scan of
// an edited contact against the rest of the log.

#include "logstore/ContactLog.h"

#include <QString>
#include <vector>

namespace zq {

// "160", "80", "40", "20", "15", "10" or "6".
bool isEditBand(const QString& band);
// "CW", "PH" or "DG", in any case.
bool isEditMode(const QString& mode);

// The other station's state, province or country as the in-state dialog
// takes it: two characters must be one of the section table's codes; an
// empty text, one character and the lookup's "Not Found" are refused; any
// longer text is a country name.
bool isEditSpc(const QString& spc);

// The fields of an edited contact that make it a duplicate; the county sent
// counts only in the in-state log.
struct EditDupeKey {
    QString call, band, mode, county, countySent;
    bool withCountySent = false;
};

// Numbers of the contacts 1..ContactCount other than `under` whose key
// fields equal `key` without regard to case, in log order.
std::vector<int> editDuplicates(const ContactLog& log, int under, const EditDupeKey& key);

} // namespace zq
