#include "keying/CntyAbbCW.h"

#include "keying/KeyingState.h"
#include "logstore/CountyTable.h"

namespace zq {

void CWCountyAbbreviation(const QString& name, QString& result)
{
    result = name;
    if (name.isEmpty())
        return;
    const CountyTable& t = CountyTable::instance();
    for (int i = 1; i <= t.count(); ++i) {
        const auto n = static_cast<size_t>(i);
        if (QString::compare(t.CountyName[n], name, Qt::CaseInsensitive) != 0)
            continue;
        const QString& abbrev = t.CountyAbbrev[n];
        if (!abbrev.isEmpty() && abbrev.size() < name.size())
            result = abbrev;
        return;
    }
}

namespace {

QString expandPass(QString message, QChar macro, const QString& value)
{
    const QString v = value.trimmed();
    qsizetype i = 0;
    while (i < message.size()) {
        if (message[i] == macro) {
            message.replace(i, 1, v);
            i += v.size();
        } else {
            ++i;
        }
    }
    return message;
}

} // namespace

QString ExpandCwMacros(const QString& message, KeyingState& ks)
{
    QString m = expandPass(message, u'$', ks.CwMacroCall);
    m = expandPass(m, u'#', ks.CwMacroNumber);
    if (m.contains(u'*')) {
        if (ks.CwMacroRst.isEmpty() || ks.CwMacroRst == QLatin1String("599"))
            ks.CwMacroRst = QStringLiteral("5NN");
        m = expandPass(m, u'*', ks.CwMacroRst);
    }
    if (m.contains(u'^')) {
        QString county;
        CWCountyAbbreviation(ks.CwMacroCounty, county);
        m = expandPass(m, u'^', county);
    }
    return m;
}

} // namespace zq
