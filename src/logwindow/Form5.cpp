#include "logwindow/Form5.h"

#include "platform/Folders.h"
#include "common/TwipsLayout.h"
#include "common/WindowFit.h"
#include "platform/Prompt.h"
#include "platform/QuotedText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringDecoder>

namespace zq {

const QString Form5::HelpFileName = QStringLiteral("ReadSQSO.txt");

namespace {

// The file's bytes as text: UTF-8 when they are valid UTF-8, else Latin-1;
// line ends shown as plain line breaks.
QString helpTextFrom(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return joinHelpLines(text);
}

qsizetype indentOf(const QString& line)
{
    qsizetype n = 0;
    while (n < line.size() && line[n] == u' ')
        ++n;
    return n;
}

bool isBlank(const QString& line)
{
    return line.trimmed().isEmpty();
}

// A line of "-" or "=" under a heading.
bool isRule(const QString& line)
{
    const QString t = line.trimmed();
    if (t.size() < 3)
        return false;
    for (QChar c : t)
        if (c != u'-' && c != u'=')
            return false;
    return true;
}

// A table row that names its item before a dot leader ("Map ..... the").
bool hasDotLeader(const QString& line)
{
    static const QRegularExpression leader(QStringLiteral("\\s\\.{3,}(\\s|$)"));
    return line.contains(leader);
}

} // namespace

QString joinHelpLines(const QString& text)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    QStringList out;
    qsizetype entryIndent = 0; // of the line that began the current block
    bool entry = false;        // that line is an indented or dotted item
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        const bool heading = i + 1 < lines.size() && isRule(lines[i + 1]);
        const bool startsBlock = out.isEmpty() || isBlank(out.back()) || isRule(out.back())
            || isBlank(line) || isRule(line) || heading;
        bool continues = false;
        if (!startsBlock) {
            const qsizetype indent = indentOf(line);
            continues = entry ? indent > entryIndent : indent == 0 && !hasDotLeader(line);
        }
        if (continues) {
            QString& joined = out.back();
            while (joined.endsWith(u' '))
                joined.chop(1);
            joined += u' ' + line.trimmed();
            continue;
        }
        out << line;
        entryIndent = indentOf(line);
        entry = entryIndent > 0 || hasDotLeader(line);
    }
    return out.join(QLatin1Char('\n'));
}

Form5::Form5()
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Help Page"));
    setModal(true);
    setFormTwips(*this, 0, 0, 7695, 6015);

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    placeControl(*Text1, 240, 240, 7215, 4935);
    Text1->setReadOnly(true);
    Text1->setAccessibleName(QStringLiteral("Help text"));
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QPalette pal = Text1->palette();
    pal.setColor(QPalette::Base, QColor(224, 224, 224));
    Text1->setPalette(pal);
    QFont textFont(QStringLiteral("MS Sans Serif"));
    textFont.setStyleHint(QFont::SansSerif);
    textFont.setPointSizeF(9.75);
    textFont.setBold(true);
    Text1->setFont(textFont);

    Command1 = new QPushButton(QStringLiteral("Close"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    placeControl(*Command1, 3240, 5400, 1215, 375);
    Command1->setAutoDefault(false);
    connect(Command1, &QPushButton::clicked, this, &Form5::Command1_Click);
}

void Form5::Form_Load()
{
    // A failed fit leaves the window at its design values and the text unread.
    if (!fitWindow())
        return;
    Text1->clear();
    loadHelpText();
}

bool Form5::fitWindow()
{
    FitParameters p;
    p.placement = FitParameters::Placement::Centred;
    p.windowFont = FitParameters::WindowFont::TargetWidthOverDesign;
    p.controlFont = FitParameters::ControlFont::SmallerRatio;
    p.kinds = fitKindBit(FitKind::Label) | fitKindBit(FitKind::TextBox)
        | fitKindBit(FitKind::CommandButton) | fitKindBit(FitKind::ListBox)
        | fitKindBit(FitKind::Image) | fitKindBit(FitKind::Line);
    p.onError = FitParameters::OnError::Silent;
    return FitWindow(*this, p);
}

void Form5::loadHelpText()
{
    const Folders& folders = Folders::instance();
    if (!folders.WorkingDirectory.isEmpty())
        QDir::setCurrent(folders.WorkingDirectory);

    const QString path = Folders::workingFile(HelpFileName);
    if (!QFileInfo(path).isFile() || !QFileInfo(path).isReadable()) {
        // Without its text the viewer would only show an empty box: say why.
        const QString folder = QDir::toNativeSeparators(
            folders.WorkingDirectory.isEmpty() ? QDir::currentPath() : folders.WorkingDirectory);
        prompt().message(QStringLiteral("The help file %1 could not be found or read in the "
                                        "program folder %2.")
                             .arg(HelpFileName, folder),
                         QStringLiteral("Help Page"), MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    const auto bytes = readWholeFile(path);
    if (!bytes) {
        prompt().message(QStringLiteral("The help file %1 could not be read.").arg(HelpFileName),
                         QStringLiteral("Help Page"), MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    Text1->setPlainText(helpTextFrom(*bytes));
}

void Form5::Command1_Click()
{
    hide();
}

} // namespace zq
