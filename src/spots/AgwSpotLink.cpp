#include "spots/AgwSpotLink.h"

namespace zq {

namespace {
const QString CrLf = QStringLiteral("\r\n");
const QString CrLf2 = QStringLiteral("\r\n\r\n");
const QString Unable = QStringLiteral(
    "Unable to connect to the AGW Packet Engine.  To use the AGW Packet Engine to send and "
    "receive packet with your soundcard or devices such a Baypac:");
} // namespace

QString cleanAgwText(QStringView text)
{
    QString out;
    out.reserve(text.size() + text.size() / 8 + 8);
    for (QChar c : text) {
        if (c == u'\r' || c == u'\n')
            out += CrLf;
        else
            out += c;
    }
    return out;
}

QString AgwSpotLink::usableCall(const QString& call)
{
    const QString c = call.trimmed();
    return c.size() > MaxCall ? QString() : c;
}

bool AgwSpotLink::startRegistration(AgwEngine& engine, const QString& ownCall,
                                    const QString& caption)
{
    AgwCall = ownCall;
    const QString call = usableCall(ownCall);
    if (call.isEmpty())
        return false;
    connectedLines_.reset();
    engine.startPoll(call, registrationTitle(caption));
    return true;
}

QString AgwSpotLink::unableMessage()
{
    return Unable + CrLf2
           + QStringLiteral("- Make sure the AGW Packet Engine software is running and configure "
                            "it as described on the AGW Packet Engine website.");
}

QString AgwSpotLink::unablePaneText()
{
    return Unable + CrLf2
           + QStringLiteral("- Run the Packet Engine software and configure it as described on the "
                            "AGW Packet Engine website for your sound card or TNC.")
           + CrLf2 + QStringLiteral("- Click Open from this program.") + CrLf2;
}

QString AgwSpotLink::registeredNotice()
{
    return CrLf + QStringLiteral("** Successfully connected to AGW Packet Engine **") + CrLf2;
}

bool AgwSpotLink::sendText(const QString& text, AgwEngine& engine) const
{
    if (text.startsWith(u':')) {
        const QString letter = text.mid(1, 1).toUpper();
        if (letter == QLatin1String("D")) {
            if (!ConnectedCall.isEmpty())
                engine.putData(ConnectedCall, QString(), 'd');
        } else if (letter == QLatin1String("C")) {
            const QString argument = text.mid(2).trimmed().toUpper();
            const QString target = usableCall(argument);
            if (target.isEmpty())
                return false;
            engine.putData(target, QString(), 'c');
            engine.putData(target, QString(), 'P');
        }
        return true;
    }
    if (!ConnectedCall.isEmpty())
        engine.putData(ConnectedCall, text + u'\r', 'D');
    return true;
}

void AgwSpotLink::takeText(const QString& input, bool fromConnected, SpotPane& pane,
                           bool listDxOnly, const AgwSpotEvents& events)
{
    // `input` is as received; the pane is shown it cleaned.
    QString text = input;
    if (text == CrLf)
        text.clear();
    if (text.size() > 4 && text.endsWith(CrLf2))
        text.chop(2);
    if (text.isEmpty())
        return;
    const QString shown = cleanLinkText(text);
    const bool repeat = pane.holdsRecent(shown);
    const qsizetype dx = text.indexOf(QLatin1String("DX"), 0, Qt::CaseInsensitive);
    if (!repeat && (dx == 0 || dx == 1)) {
        pane.append(shown);
        const DXSpotFields f = parseDXSpotLine(text);
        if (events.forward)
            events.forward(f.frequency, f.call, text);
        pane.trim();
        if (events.paneChanged)
            events.paneChanged();
    }
    if (fromConnected && !listDxOnly && !isSpotLine(text)) {
        pane.append(shown);
        pane.trim();
        if (events.paneChanged)
            events.paneChanged();
    }
}

void AgwSpotLink::takeFrame(const AgwDelivery& frame, SpotPane& pane, bool listDxOnly,
                            const AgwSpotEvents& events)
{
    // The data is taken line by line as received, so spot columns count
    // bytes as the cluster wrote them; what the pane shows is cleaned: the
    // kind, the station's call and the data of the monitor text.
    const QString kind = cleanLinkText(QString(QChar(uchar(frame.kind))));
    const QString call = cleanLinkText(frame.call);
    const QStringView data = QStringView(frame.data).left(MaxFrameData);
    const QString monitor = cleanAgwText(kind + call + u' ' + cleanLinkText(data));
    QString text = cleanAgwText(data);
    const bool fromConnected =
        !ConnectedCall.isEmpty() && ConnectedCall.compare(call, Qt::CaseInsensitive) == 0;

    if (fromConnected) {
        // The connected station's text, gathered into lines across frames.
        connectedLines_.add(text);
        QString line;
        while (connectedLines_.nextLine(&line))
            takeText(line, true, pane, listDxOnly, events);
    } else {
        if (ConnectedCall.isEmpty()) {
            // Monitoring: the frame's first line is the engine's header.
            const qsizetype lf = text.indexOf(u'\n');
            text = trimBlanks(lf < 0 ? QStringView(text) : QStringView(text).mid(lf + 1));
        }
        // Line by line, each with its own line end.
        qsizetype from = 0;
        while (from < text.size()) {
            const qsizetype lf = text.indexOf(u'\n', from);
            const qsizetype end = lf < 0 ? text.size() : lf + 1;
            takeText(text.mid(from, end - from), false, pane, listDxOnly, events);
            from = end;
        }
    }

    // Monitored traffic without spots shows as kind, call and data.
    if (ConnectedCall.isEmpty() && !listDxOnly
        && !monitor.contains(QLatin1String("DX "), Qt::CaseInsensitive) && !isSpotLine(text)) {
        pane.append(monitor);
        pane.trim();
        if (events.paneChanged)
            events.paneChanged();
    }

    if (frame.kind == 'd' && fromConnected) {
        const QString was = ConnectedCall;
        pane.append(CrLf + QStringLiteral("** Disconnected from ") + was + QStringLiteral(" **")
                    + CrLf);
        pane.trim();
        ConnectedCall.clear();
        if (events.paneChanged)
            events.paneChanged();
        if (events.disconnected)
            events.disconnected(was);
    }
    if (frame.kind == 'c' && ConnectedCall.isEmpty()) {
        ConnectedCall = call;
        connectedLines_.reset();
        pane.append(QStringLiteral("** Connected to ") + ConnectedCall + QStringLiteral(" **"));
        pane.trim();
        if (events.paneChanged)
            events.paneChanged();
        if (events.connected)
            events.connected(ConnectedCall);
    }
}

int AgwSpotLink::poll(AgwEngine& engine, SpotPane& pane, bool listDxOnly,
                      const AgwSpotEvents& events)
{
    int taken = 0;
    while (taken < FramesPerTick) {
        const std::optional<AgwDelivery> frame = engine.getData();
        if (!frame)
            break;
        ++taken;
        takeFrame(*frame, pane, listDxOnly, events);
    }
    return taken;
}

void AgwSpotLink::close(AgwEngine& engine)
{
    if (!ConnectedCall.isEmpty())
        engine.putData(ConnectedCall, QString(), 'd');
    ConnectedCall.clear();
    connectedLines_.reset();
    engine.close();
}

} // namespace zq
