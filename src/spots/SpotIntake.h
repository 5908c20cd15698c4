#pragma once
// What every spot link shares: the receive pane as the memory of the
// duplicate filter, the fixed columns of a cluster spot line, and the
// splitting of a received stream into lines.
//
// Text is held one character per received byte (Latin-1), so columns count
// bytes as the cluster wrote them.

#include <QString>
#include <QStringView>
#include <functional>

namespace zq {

// The fields of a cluster spot line ("DX de W3LPL:     14025.0  JA1ABC ..."),
// at fixed 1-based positions of the line as received (one character a
// byte): frequency in kHz 16-24 and call 27-39, each cut first and then
// cleaned (cleanSpotField) and trimmed of blanks, so a control character
// inside a field moves no character of any other; the record, from 4 to the
// end, is kept as received with only its blanks trimmed: the spot list cuts
// its own columns out of it and cleans each (spotListCells).  Positions
// past the line's end give empty text, so a short line is a line whose
// missing columns are empty.
struct DXSpotFields {
    QString frequency;
    QString call;
    QString record;
};
DXSpotFields parseDXSpotLine(QStringView line);

// True when the text's first two characters are "DX" in any case.
bool isSpotLine(QStringView text);

// Blanks (the space character only) trimmed from both ends.
QString trimBlanks(QStringView text);

// Text received from a spot link (the TNC, Telnet or the packet engine),
// cleaned for the receive pane, which shows it and keeps it as the
// duplicate filter's memory: CR and LF stay, since they end lines; a tab
// becomes one blank; every other control character (C0, DEL, and the C1
// range U+0080 to U+009F that Latin-1 text carries) is dropped.  A NUL would
// end a text for screen readers, and an escape or a C1 code would show as a
// box.  Lines are split and spot columns cut from the text as received, not
// from this.
QString cleanLinkText(QStringView text);

// A field cut from a received spot line, cleaned for every window that
// shows it and for the log: every control character is dropped, CR and LF
// too, and a tab becomes one blank.
QString cleanSpotField(QStringView text);

// The receive pane's text, held as appended (CR LF kept): the display shows
// it, the duplicate filter searches it.  Link text reaches it cleaned
// (cleanLinkText), and a received line is looked for as the pane would
// show it, so the filter compares what the pane shows.
class SpotPane {
public:
    static constexpr qsizetype DuplicateWindow = 800; // characters searched
    static constexpr qsizetype TrimAbove = 10000;     // longer panes are cut ...
    static constexpr qsizetype TrimTo = 9000;         // ... to their last 9000

    const QString& text() const { return text_; }
    void setText(const QString& t) { text_ = t; }
    void append(QStringView t);
    void clear() { text_.clear(); }

    // True when `line` (as the pane would hold it) stands (any case) in the
    // pane from position length - 800 on (1-based, at least 1).
    bool holdsRecent(QStringView line) const;
    // Cuts a pane longer than 10000 characters to its last 9000; true when
    // it did.
    bool trim();

private:
    QString text_;
};

// Received text not yet split into lines: one LF at the start, then after
// every pass the unfinished line, beginning with its LF.
class SpotStream {
public:
    // The longest unfinished line kept; past it the line is dropped up to
    // its LF, so a stream without line ends cannot grow memory.
    static constexpr qsizetype MaxLine = 4096;

    SpotStream() { reset(); }
    // Starts afresh (window load, Open Port): one LF.
    void reset();
    void add(QStringView received);
    // What is not yet taken: the leading LF and the unfinished line.
    QString buffer() const { return buffer_.mid(head_); }

    // Takes the next complete line, its own line ending included; false
    // when no complete line waits.
    bool nextLine(QString* line);

private:
    QString buffer_;
    qsizetype head_ = 0;      // start of what is not yet taken
    bool discarding_ = false; // dropping an over-long line up to its LF
};

// One split pass over text as received: every complete line of `stream`,
// cleaned as the pane shows it (cleanLinkText), goes through the duplicate
// test against `pane`; a new spot line is appended (trimmed pane) and
// handed to `forward` with its frequency and call (parseDXSpotLine) and the
// line as received; a new other line is appended only while `listDxOnly` is
// false.  `paneChanged` runs after every append.  Returns the number of
// lines taken.
int SplitSpotLines(SpotStream& stream, SpotPane& pane, bool listDxOnly,
                   const std::function<void(const QString& frequency, const QString& call,
                                            const QString& line)>& forward,
                   const std::function<void()>& paneChanged = {});

} // namespace zq
