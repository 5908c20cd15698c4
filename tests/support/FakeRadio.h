#pragma once
// A radio on a pseudo-terminal for tests and benchmarks.  The program opens
// the slave side (`devicePath()`, written into ComPorts.txt by
// `writeComPorts`) as it would a real serial port; the fake sits on the
// master side in the same process and thread, driven by the event loop.
//
// It cuts what it receives into queries by its protocol family, records
// every chunk with a steady-clock stamp, and answers each query from a
// table (the families' answers by default, any bytes a test sets) with a
// chosen fault: on time, late, cut short, split in two writes, with
// garbage in front, replaced by garbage, or not at all.
//
//   FakeRadio radio(FakeRadio::Family::Kenwood);
//   radio.writeComPorts(workDir, 1);         // port 1 is the radio
//   radio.answer("FA;", "FA00014250000;");
//   ... poll ...; pump events until radio.queries() has what is expected.
//
// Kept free of GoogleTest so benchmarks can use it too.

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <initializer_list>

class QSocketNotifier;

namespace zq::test {

// Bytes written as a list of values: bytesOf({0xFE, 0xFE, 0x64}).
inline QByteArray bytesOf(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

class FakeRadio final : public QObject {
    Q_OBJECT
public:
    enum class Family {
        Kenwood,    // text queries ended by ';' (Elecraft, Kenwood, FTdx9000)
        Icom,       // CI-V frames ended by FD; the radio echoes each frame
        Yaesu,      // five-byte commands
        TenTecPanel,// short byte commands ended by 0D
        Orion,      // text commands ended by CR
        Raw         // no framing: every chunk is a query
    };
    enum class Fault {
        None,
        Late,    // answer after lateMs
        Short,   // only the first half of the answer
        Split,   // first half now, the rest after lateMs
        Garbage, // garbage bytes, then the answer
        Junk,    // garbage bytes instead of the answer
        Silent   // no answer
    };

    struct Chunk {
        std::chrono::steady_clock::time_point at;
        QByteArray bytes;
    };

    explicit FakeRadio(Family family, QObject* parent = nullptr);
    ~FakeRadio() override;

    bool ok() const { return master_ >= 0; }
    QString devicePath() const { return slaveName_; }
    // Writes ComPorts.txt in `folder` mapping `port` to this radio (and the
    // other ports 1..10 to devices that do not exist).
    void writeComPorts(const QString& folder, int port) const;

    // The answer to one query (exact bytes); the family default when none
    // was set.  An empty answer means silence.
    void answer(const QByteArray& query, const QByteArray& reply) { answers_[query] = reply; }
    // Computes the answer when set (overrides the table).
    std::function<QByteArray(const QByteArray& query)> responder;

    void setFault(Fault f, int lateMs = 0)
    {
        fault_ = f;
        lateMs_ = lateMs;
    }
    void setGarbage(const QByteArray& g) { garbage_ = g; }

    // Stops (or resumes) reading the line: what the program writes then
    // fills the line's buffer until its output pends.
    void setListening(bool on);

    // Writes bytes to the program unasked (a late remainder, noise).
    void send(const QByteArray& bytes);

    // The far end goes away (a USB adapter pulled): both ends the fake
    // holds close, so the program's side of the line hangs up.
    void hangUp();

    // The line's termios flags as the program left them (c_cflag, c_iflag).
    unsigned lineCFlags() const;
    unsigned lineIFlags() const;

    const QList<Chunk>& received() const { return chunks_; }
    QByteArray receivedBytes() const;
    const QList<QByteArray>& queries() const { return queries_; }
    void clearRecord();

    // Family defaults: the Parts' example answers.
    static QByteArray defaultAnswer(Family family, const QByteArray& query);

private:
    void onReadable();
    void takeQueries();
    void reply(const QByteArray& query);
    void writeNow(const QByteArray& bytes);

    Family family_;
    int master_ = -1;
    int slave_ = -1;
    QString slaveName_;
    QSocketNotifier* notifier_ = nullptr;
    QByteArray pending_;
    QList<Chunk> chunks_;
    QList<QByteArray> queries_;
    QMap<QByteArray, QByteArray> answers_;
    Fault fault_ = Fault::None;
    int lateMs_ = 0;
    QByteArray garbage_ = QByteArray("\x11\xEE#@?", 5);
};

// Runs the event loop until `done` holds or `maxMs` passes; true when done.
bool pumpUntil(const std::function<bool()>& done, int maxMs = 3000);
// Runs the event loop for `ms`.
void pumpFor(int ms);

} // namespace zq::test
