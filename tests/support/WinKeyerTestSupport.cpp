#include "support/WinKeyerTestSupport.h"

#include "common/EntryBox.h"
#include "platform/Folders.h"
#include "common/WindowRegistry.h"
#include "keying/KeyingState.h"
#include "keying/frmWinKey.h"

#include <QFile>

namespace zq::test {

void useFakeKeyerPort(const FakeWinKeyer& fake, int port)
{
    QFile f(Folders::instance().WorkingDirectory + QStringLiteral("/ComPorts.txt"));
    if (f.open(QIODevice::WriteOnly))
        f.write(QStringLiteral("%1=%2\n").arg(port).arg(fake.devicePath()).toLocal8Bit());
    KeyingState::instance().WinKeyerPort = static_cast<uint8_t>(port);
}

bool openFakeKeyer(FakeWinKeyer& fake, int port)
{
    useFakeKeyerPort(fake, port);
    frmWinKey& wk = DefaultInstance<frmWinKey>();
    wk.txtWKComPort->setText(QString::number(port));
    wk.cmdOpenWinkey_Click();
    const bool up = FakeWinKeyer::waitUntil([] { return KeyingState::instance().WinKeyerOpen != 0; });
    // The settings follow the version at once; take them in before clearing.
    const int settings = 3 + 2 + 2 + 2 + 3 + 2 + 2 + 2; // open, then 02 03 04 17 09 0E
    fake.waitForBytes(settings);
    fake.clearReceived();
    return up;
}

} // namespace zq::test
