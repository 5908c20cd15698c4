#pragma once
// ADIF export of the whole contact log: a short header and one tagged record
// per contact, with the DXCC entity number of each contact's country taken
// from ADIFCnt.txt.  The formatting is pure; ExportADIF() adds the questions,
// the save dialog and the file write.

#include "logstore/ContactLog.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <optional>

namespace zq {

// ADIFCnt.txt: country name and DXCC entity number, one row per line.
struct AdifCountryTable {
    static constexpr int Capacity = 1000;

    struct Row {
        QString name;
        int dxcc = 0;
    };
    QList<Row> rows; // row 1 of the file is rows[0]

    // The number of the first row whose name equals `country` with its
    // surrounding blanks removed (exact comparison); 0 when none does.
    int dxccOf(const QString& country) const;

    void add(const QString& name, int dxcc);

private:
    QHash<QString, int> first_; // name -> number of its first row
};

// Reads ADIFCnt.txt's content.  nullopt with a reason when a row cannot be
// read or the file holds more than Capacity rows.
std::optional<AdifCountryTable> parseAdifCountryTable(const QByteArray& content,
                                                      QString* error = nullptr);

// The values an ADIF record derives from a contact.
struct AdifContactValues {
    QString country;   // name used for the DXCC lookup
    QString continent; // "NA" or empty
    QString state;     // state code or empty
    int dxcc = 0;
};
AdifContactValues adifContactValues(const ContactRecord& c, const QString& homeStateCode,
                                    const AdifCountryTable& table);

// "yyyymmdd" for a valid "yyyy/mm/dd" date, else "".
QString adifDateText(const QString& logDate);
// "hh:mm:ss" -> "hhmm", "h:mm:ss" -> "0hmm"; always 4 characters or more
// cut to 4.
QString adifTimeText(const QString& logTime);

// One "<Name:len>value" item; `type` adds the type indicator (":d").
QString adifItem(const QString& name, const QString& value, const QString& type = QString());

struct AdifExportOptions {
    QString power;          // the operator's answer, "" when cancelled
    QString comment;        // the operator's answer, "" when cancelled
    QString homeStateCode;  // "ZQ"
    QString programVersion; // written into the header
    QString exportedOn;     // the export's local date and time as text
};

QByteArray formatAdifHeader(const AdifExportOptions& options);
QByteArray formatAdifRecord(const ContactRecord& c, const AdifExportOptions& options,
                            const AdifCountryTable& table);
// Header and records of contacts 1..count.
QByteArray formatAdif(const ContactLog& log, int count, const AdifExportOptions& options,
                      const AdifCountryTable& table);

// Local date and time in the system's general form: short date, then the
// time with seconds.
QString generalDateText(const QDateTime& local);

// Where ADIFCnt.txt is read from: the shared, the user, then the working
// folder, the first that holds it; "" when none does.
QString findAdifCountryFile();

// The export itself, started from the log window's menu.
void ExportADIF();

} // namespace zq
