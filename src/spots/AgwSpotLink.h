#pragma once
// The spotting window's side of the AGW Packet Engine link, without the
// window: registering the station's call, the link commands and lines the
// operator types, and the handling of every received frame's text (shown,
// tested for repeats, spot lines handed on, connection and disconnection
// noticed).
//
// Every CR and every LF of the frame text becomes CR LF, and the text is
// handled line by line as received, so every spot line of a frame is
// handed on once whatever else the frame holds, its columns counted as the
// cluster wrote them (parseDXSpotLine); the connected station's text is
// gathered into lines across frames first.  What the pane shows is cleaned
// of control characters as every link's text is (cleanLinkText).

#include "platform/AgwEngine.h"
#include "spots/SpotIntake.h"

#include <QString>
#include <functional>

namespace zq {

// What the link reports to its owner, besides the pane it appends to.
struct AgwSpotEvents {
    std::function<void(const QString& frequency, const QString& call, const QString& line)>
        forward;
    std::function<void()> paneChanged; // after every append: bound and scroll the pane
    // A connection to `call` now exists (the notice is in the pane).
    std::function<void(const QString& call)> connected;
    // The connected station `call` disconnected (the notice is in the pane).
    std::function<void(const QString& call)> disconnected;
};

// Every CR and every LF becomes the pair CR LF.
QString cleanAgwText(QStringView text);

class AgwSpotLink {
public:
    // The longest call a call field carries; a longer one is refused, never
    // cut.
    static constexpr int MaxCall = 9;
    // The most frame data read of one frame.
    static constexpr int MaxFrameData = 4000;
    // The most frames taken per intake tick.
    static constexpr int FramesPerTick = 64;
    // A send-box line longer than this is sent at its next blank.
    static constexpr int WrapColumn = 70;

    // Call of the station connected through the engine; empty while only
    // monitoring.
    QString ConnectedCall;
    // The station's own call as registered.
    QString AgwCall;

    // The call trimmed, or empty when it is blank or longer than MaxCall.
    static QString usableCall(const QString& call);
    // The application title registered with the call.
    static QString registrationTitle(const QString& caption) { return caption.left(50).trimmed(); }

    // Copies `ownCall` into AgwCall and asks `engine` to register it; false,
    // with nothing sent, when the call is not usable (the owner then shows
    // its call-sign message).  The answer arrives as engine.registered().
    bool startRegistration(AgwEngine& engine, const QString& ownCall, const QString& caption);

    // Texts of a refused registration: the message box and the pane.
    static QString unableMessage();
    static QString unablePaneText();
    static QString registeredNotice(); // appended to the pane on success

    // The send box's line: a link command (":C call", ":D") or a line of
    // text for the connected station.  Returns false when a ":C" lacks a
    // usable call (the owner shows its "Call sign Required" message).
    bool sendText(const QString& text, AgwEngine& engine) const;
    // True when the send box's text is due to be sent at its trailing blank.
    static bool wrapDue(const QString& text)
    {
        return text.size() > WrapColumn && text.endsWith(u' ');
    }

    // Handles one received frame.
    void takeFrame(const AgwDelivery& frame, SpotPane& pane, bool listDxOnly,
                   const AgwSpotEvents& events);
    // Takes the waiting frames, up to FramesPerTick; returns how many.
    int poll(AgwEngine& engine, SpotPane& pane, bool listDxOnly, const AgwSpotEvents& events);

    // Close Port: a disconnect frame to the connected station, then the
    // engine unregistered and closed; the connection is forgotten.
    void close(AgwEngine& engine);

private:
    void takeText(const QString& text, bool fromConnected, SpotPane& pane, bool listDxOnly,
                  const AgwSpotEvents& events);
    SpotStream connectedLines_;
};

} // namespace zq
