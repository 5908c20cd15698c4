#pragma once
// The Cabrillo 2.0 submission file: thirteen summary-sheet header lines,
// one "QSO:" line per contact with each field at its column, and
// "END-OF-LOG:".  UTF-8, every line (the last one included) ended by CR LF.
// Pure formatting: the dialog gathers the answers and writes the bytes.

#include "logstore/ContactLog.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

namespace zq {

// Blanks (only blanks) removed from both ends.
QString trimBlanks(const QString& s);
// CR and LF replaced by blanks: a value that must stay on its line.
QString oneLineText(QString s);

// The three option groups of the summary sheet.  None stands for a group
// in which no option is selected (its piece is empty).
enum class CabrilloLocation { None, Carvonia, World };
enum class CabrilloCategory { None, SingleOp, MultiOne, MultiMulti, Rover, Qrp };
enum class CabrilloPower { None, High, Low };

// The CATEGORY value: location, category and power pieces joined; the power
// piece only with Single Op ("CARVONIA SINGLE-OP LOW", "WORLD MULTI-ONE").
QString cabrilloCategory(CabrilloLocation location, CabrilloCategory category, CabrilloPower power);

// The claimed score as the submission carries it: the score label's text,
// read in the locale that formatted it, written with "," digit grouping
// ("1.234" in a German locale gives "1,234").  A text that is no whole
// number is kept as it is.
QString cabrilloScoreText(const QString& labelText, const QLocale& labelLocale = QLocale());

struct CabrilloHeader {
    QString programVersion;
    QString ownCall;        // trimmed by the caller
    QString ownArrlSection;
    QString homeStateCode;
    QString category;       // cabrilloCategory()
    QString operators;      // as typed; empty gives the own call
    QString claimedScore;   // cabrilloScoreText()
    QString name;
    QString addressLine1;
    QString addressLine2;
    QString email;
    QString soapbox;
};

// What the QSO lines take from the station.
struct CabrilloStation {
    QString ownCall; // trimmed
    QString ownSpc;  // the sent exchange out of state
    bool outOfState = false;
};

// "yyyy/m/d" of a real calendar date gives "yyyy-mm-dd"; any other text
// has each "/" replaced by "-".
QString cabrilloDate(const QString& logDate);
// Characters 1-2 and 4-5 of the stored time ("18:05:00" gives "1805").
QString cabrilloTime(const QString& logTime);
// " 1800" ... "28000", "   50" by the band text; "" for any other band.
QString cabrilloFrequency(const QString& logBand);

// One QSO line, without its line end.  A field starts at its column, or
// one blank after the field before it when that one ran longer.
QString cabrilloQsoLine(const ContactRecord& contact, const CabrilloStation& station);

// The whole file: header, contacts 1..count of the log, "END-OF-LOG:".
QByteArray formatCabrillo(const CabrilloHeader& header, const CabrilloStation& station,
                          const ContactLog& log, int count);

} // namespace zq
