#pragma once
// The spotting window: spot source, links and intake.

#include "common/WindowRegistry.h"

#include <QDialog>
#include <QListWidget>
#include <QRadioButton>

namespace zq {

class PacketSpotfrm : public QDialog, public UnloadStep {
    Q_OBJECT
public:
    PacketSpotfrm()
    {
        setObjectName(QStringLiteral("PacketSpotfrm"));
        setWindowTitle(QStringLiteral(" DX Spotting Setup"));
        List1 = new QListWidget(this);
        List1->setObjectName(QStringLiteral("List1"));
        List1->addItems({QStringLiteral("None"), QStringLiteral("TNC"), QStringLiteral("Telnet"),
                         QStringLiteral("AGW Packet Engine")});
        OptBand = new QRadioButton(QStringLiteral("Band Map"), this);
        OptBand->setObjectName(QStringLiteral("OptBand"));
        OptBand->setChecked(true);
        OptList = new QRadioButton(QStringLiteral("List"), this);
        OptList->setObjectName(QStringLiteral("OptList"));
    }
    void onUnload() override {}

    // The spot source: "None", "TNC", "Telnet" or "AGW Packet Engine".
    QListWidget* List1 = nullptr;
    // How the log window shows spots: the list, or the band map (OptBand).
    QRadioButton* OptBand = nullptr;
    QRadioButton* OptList = nullptr;

    // The text of the source chosen in List1; empty while none is.
    QString sourceText() const
    {
        const QListWidgetItem* item = List1->currentItem();
        return item ? item->text() : QString();
    }
};

} // namespace zq
