#pragma once
// LogExp.txt: the contact log as a comma-separated file for import into the
// general logging program, written into the working folder.  The line
// formatting is pure; ExportLogvaneFile() asks for the power and writes.

#include "logstore/ContactLog.h"

#include <QByteArray>
#include <QString>

namespace zq {

// The values a LogExp.txt line derives from a contact.
struct LogvaneContactValues {
    QString country;
    QString state;
    QString mode; // "SSB", "CW" or "DG"
};
LogvaneContactValues logvaneContactValues(const ContactRecord& c, const QString& homeStateCode);

// One line of 16 values ended by CR LF.
QByteArray formatLogvaneLine(const ContactRecord& c, const QString& power,
                             const QString& homeStateCode);
// Lines of contacts 1..count.
QByteArray formatLogvaneFile(const ContactLog& log, int count, const QString& power,
                             const QString& homeStateCode);

// The export itself; writes LogExp.txt into the working folder.
void ExportLogvaneFile();

} // namespace zq
