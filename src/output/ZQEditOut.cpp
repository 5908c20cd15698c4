#include "output/ZQEditOut.h"

#include "common/EntryBox.h"
#include "common/NamedControls.h"
#include "common/TwipsLayout.h"
#include "common/WindowRegistry.h"
#include "entry/EntryChecks.h"
#include "logstore/CountyTable.h"
#include "logwindow/ArchiveRestore.h"
#include "logwindow/Outfrm.h"

#include <QDate>
#include <QLabel>
#include <QPushButton>
#include <QTime>
#include <cmath>

namespace zq {

namespace {

constexpr double kRowTop = 200, kRowHeight = 420, kCaptionLeft = 120, kFieldLeft = 1900,
                 kFieldWidth = 2400, kInvalidLeft = 4350;

bool validDate(const QString& s)
{
    return QDate::fromString(s, QStringLiteral("yyyy/MM/dd")).isValid();
}

bool validTime(const QString& s)
{
    return QTime::fromString(s, QStringLiteral("HH:mm:ss")).isValid()
        || QTime::fromString(s, QStringLiteral("HH:mm")).isValid();
}

} // namespace

ContactEditDialog::ContactEditDialog(const QString& name, int rows) : rows_(rows)
{
    setObjectName(name);
    setWindowTitle(QStringLiteral("Edit Contact Entry"));
    setModal(true);

    const ContactLog& log = ContactLog::instance();
    const long n = std::lround(ContactListState::instance().EditRecordNumber);
    index_ = n >= 1 && n <= log.ContactCount ? static_cast<int>(n) : 0;

    txtCall = addField("txtCall", QStringLiteral("Call"), 0, 12);
    txtCall->onKeyPress = [](int& k) { UpperKey(k); };
    txtRSTR = addField("txtRSTR", QStringLiteral("RS(T) Received"), 1, 8);
    txtRSTS = addField("txtRSTS", QStringLiteral("RS(T) Sent"), 2, 8);
    txtCounty = addField("txtCounty", QStringLiteral("County"), 3, 20);
    txtDate = addField("txtDate", QStringLiteral("Date (yyyy/mm/dd)"), 4, 10);
    txtTime = addField("txtTime", QStringLiteral("Time (hh:mm:ss)"), 5, 8);
    txtMode = addField("txtMode", QStringLiteral("Mode"), 6, 2);
    txtMode->onKeyPress = [](int& k) { UpperKey(k); };
    txtBand = addField("txtBand", QStringLiteral("Band"), 7, 4);

    lblInvalid = new QLabel(QStringLiteral("   Invalid!"), this);
    lblInvalid->setObjectName(QStringLiteral("lblInvalid"));
    lblInvalid->setStyleSheet(QStringLiteral("color: red"));
    lblInvalid->hide();

    const double buttonsTop = kRowTop + rows_ * kRowHeight + 150;
    cmdDone = new QPushButton(QStringLiteral("&Done"), this);
    cmdDone->setObjectName(QStringLiteral("cmdDone"));
    cmdDone->setDefault(true);
    placeControl(*cmdDone, kCaptionLeft, buttonsTop, 1600, 400);
    connect(cmdDone, &QPushButton::clicked, this, [this] { cmdDone_Click(); });
    cmdDeleteDupe = new QPushButton(QStringLiteral("Delete Dupe"), this);
    cmdDeleteDupe->setObjectName(QStringLiteral("cmdDeleteDupe"));
    placeControl(*cmdDeleteDupe, kFieldLeft + 800, buttonsTop, 1600, 400);
    connect(cmdDeleteDupe, &QPushButton::clicked, this, [this] { cmdDeleteDupe_Click(); });

    setFixedSize(twipsToPixelsX(5500, this), twipsToPixelsY(buttonsTop + 650, this));

    if (index_ > 0)
        fillSharedFields(log[index_]);
}

EntryBox* ContactEditDialog::addField(const char* name, const QString& caption, int row, int limit)
{
    const double top = kRowTop + row * kRowHeight;
    makeNamedLabel(this, QStringLiteral("lbl") + QLatin1String(name).mid(3), caption, kCaptionLeft,
                   top + 40, kFieldLeft - kCaptionLeft - 60, 260);
    auto* box = makeNamedBox(this, QLatin1String(name), QString(), kFieldLeft, top, kFieldWidth, 330);
    box->setTypedLimit(limit);
    return box;
}

void ContactEditDialog::fillSharedFields(const ContactRecord& r)
{
    txtCall->setText(r.LogCall);
    txtRSTR->setText(r.LogRstReceived);
    txtRSTS->setText(r.LogRstSent);
    txtCounty->setText(r.LogCounty);
    txtDate->setText(r.LogDate);
    txtTime->setText(r.LogTime);
    txtMode->setText(r.LogMode);
    txtBand->setText(r.LogBand);
}

bool ContactEditDialog::reject(QWidget* field)
{
    const TwipsRect r = controlTwips(*field);
    placeControl(*lblInvalid, kInvalidLeft, r.Top + 40, 1000, 260);
    lblInvalid->show();
    field->setFocus();
    return false;
}

QString ContactEditDialog::countyNameOf(const QString& text)
{
    QString typed = text.trimmed();
    const QString byAbbreviation = CountyNameFromAbbreviation(typed);
    if (!byAbbreviation.isEmpty())
        return byAbbreviation;
    return tableCountyName(typed);
}

void ContactEditDialog::cmdDone_Click()
{
    lblInvalid->hide();
    if (index_ < 1) {
        hide();
        return;
    }
    ContactRecord r = ContactLog::instance()[index_];
    r.LogCall = txtCall->text().trimmed().toUpper();
    if (r.LogCall.isEmpty())
        return (void)reject(txtCall);
    r.LogRstReceived = txtRSTR->text().trimmed();
    r.LogRstSent = txtRSTS->text().trimmed();
    r.LogDate = txtDate->text().trimmed();
    if (!validDate(r.LogDate))
        return (void)reject(txtDate);
    r.LogTime = txtTime->text().trimmed();
    if (!validTime(r.LogTime))
        return (void)reject(txtTime);
    r.LogMode = txtMode->text().trimmed().toUpper();
    r.LogBand = txtBand->text().trimmed();
    if (!takeVariantFields(r))
        return;
    const QString county = txtCounty->text().trimmed();
    if (county.isEmpty()) {
        if (!countyMayBeEmpty(r))
            return (void)reject(txtCounty);
        r.LogCounty.clear();
    } else {
        r.LogCounty = countyNameOf(county);
        if (r.LogCounty.isEmpty())
            return (void)reject(txtCounty);
    }
    ContactLog::instance()[index_] = r;
    hide();
}

void ContactEditDialog::cmdDeleteDupe_Click()
{
    hide();
    runWindowDelete();
}

ZQEditOut::ZQEditOut() : ContactEditDialog(QStringLiteral("ZQEditOut"), 8) {}

bool ZQEditOut::takeVariantFields(ContactRecord&)
{
    return true;
}

bool ZQEditOut::countyMayBeEmpty(const ContactRecord&) const
{
    return false;
}

void ZQEditOut::runWindowDelete()
{
    DefaultInstance<Outfrm>().cmdDelete_Click();
}

} // namespace zq
