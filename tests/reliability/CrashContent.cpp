#include "reliability/CrashContent.h"

#include "settings/veskUt.h"
#include "storage/DateTime.h"
#include "storage/NoteFolder.h"
#include "ui/NoteText.h"

#include <QImage>
#include <QRegularExpression>
#include <QTextCursor>

namespace crashtest {
namespace {

const char *const kTargetWords[] = {"note", "body", "regint", "regtext"};

// A cheap deterministic stream of numbers for one (note, generation).
class Stream
{
public:
    Stream(int note, int generation)
        : m_state(quint32(note) * 2654435761u ^ quint32(generation) * 40503u ^ 0x9e3779b9u)
    {
    }
    quint32 next()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8;
    }
    int below(int bound) { return int(next() % quint32(bound)); }

private:
    quint32 m_state;
};

storage::FontDesc fontOf(Stream &s, const QString &face)
{
    storage::FontDesc font;
    font.name = face;
    font.size = 6 + s.below(30);
    font.bold = s.below(2);
    font.italic = s.below(2);
    font.underline = s.below(2);
    font.strikeOut = s.below(2);
    font.color = qint32(s.next() & 0xFFFFFF);
    return font;
}

double dateOf(Stream &s)
{
    return storage::encodeDate(1990 + s.below(60), 1 + s.below(12), 1 + s.below(28))
        + storage::encodeTime(s.below(24), s.below(60), s.below(60));
}

// Lines long and many enough that a save takes a while and files of two
// generations differ in size, so a torn write cannot pass for a whole one.
QStringList linesOf(Stream &s, int note, int generation)
{
    QStringList lines;
    const int count = 5 + s.below(80);
    for (int i = 0; i < count; ++i) {
        lines << QStringLiteral("g%1 n%2 line %3 ").arg(generation).arg(note).arg(i)
                + QString(s.below(150), QChar(u'a' + s.below(26)));
    }
    return lines;
}

QImage pictureOf(Stream &s)
{
    const int side = 8 + s.below(56);
    QImage image(side, side, QImage::Format_RGB32);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x)
            image.setPixel(x, y, s.next() | 0xFF000000u);
    }
    return image;
}

std::optional<int> generationIn(const QString &text, const QString &pattern)
{
    const QRegularExpressionMatch match = QRegularExpression(pattern).match(text);
    if (!match.hasMatch())
        return std::nullopt;
    bool ok = false;
    const int generation = match.captured(1).toInt(&ok);
    return ok ? std::optional<int>(generation) : std::nullopt;
}

} // namespace

QString slotName(Target target, int note)
{
    return QStringLiteral("%1-%2").arg(QLatin1String(kTargetWords[int(target)])).arg(note);
}

std::optional<std::pair<Target, int>> parseSlotName(const QString &name)
{
    for (const Target target : kTargets) {
        for (int note = 0; note < kNotes; ++note) {
            if (slotName(target, note) == name)
                return std::make_pair(target, note);
        }
    }
    return std::nullopt;
}

QString noteFileName(int note)
{
    return QString::number(100001 + note) + QStringLiteral(".jtl");
}

QString registryNumberName(int note)
{
    return QStringLiteral("CrashNumber%1").arg(note);
}

QString registryTextName(int note)
{
    return QStringLiteral("CrashText%1").arg(note);
}

storage::NoteRecord noteRecord(int note, int generation)
{
    Stream s(note, generation);
    storage::NoteRecord r;
    r.left = s.below(4000) - 1000;
    r.top = s.below(3000) - 500;
    r.width = quint16(20 + s.below(900));
    r.height = quint16(20 + s.below(700));
    r.title = QStringLiteral("note %1 generation %2").arg(note).arg(generation);
    r.lines = linesOf(s, note, generation);
    r.visible = s.below(2);
    r.backColor = qint32(s.next() & 0xFFFFFF);
    r.titleColor = qint32(s.next() & 0xFFFFFF);
    r.bodyFont = fontOf(s, QStringLiteral("Body %1").arg(generation));
    r.titleFont = fontOf(s, QStringLiteral("Title %1").arg(generation));
    r.onTop = s.below(2);
    r.expirationEnabled = s.below(2);
    r.expirationReserved = s.below(2);
    r.expirationDate = dateOf(s);
    r.expirationTime = dateOf(s);
    r.alarmEnabled = s.below(2);
    r.alarmFired = s.below(2);
    r.alarmDate = dateOf(s);
    r.alarmTime = dateOf(s);
    r.createStamp1 = dateOf(s);
    r.createStamp2 = dateOf(s);
    r.restoreWidth = quint16(s.below(900));
    r.restoreHeight = quint16(s.below(700));
    return r;
}

void fillBody(ui::NoteText &body, int note, int generation)
{
    Stream s(note, generation);
    body.setLines({});
    QTextCursor cursor(body.document());
    QTextCharFormat heading;
    heading.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("body %1 generation %2").arg(note).arg(generation), heading);
    const int paragraphs = 2 + s.below(12);
    for (int i = 0; i < paragraphs; ++i) {
        QTextCharFormat look;
        look.setForeground(QColor::fromRgb(s.next() & 0xFFFFFF));
        look.setFontItalic(s.below(2));
        cursor.insertBlock();
        cursor.insertText(QStringLiteral("paragraph %1 of generation %2 ").arg(i).arg(generation)
                              + QString(s.below(200), QChar(u'a' + s.below(26))),
                          look);
    }
    cursor.insertBlock();
    body.setTextCursor(cursor);
    body.insertPicture(pictureOf(s));
}

QString registryText(int note, int generation)
{
    Stream s(note, generation);
    return QStringLiteral("text %1 generation %2 ").arg(note).arg(generation)
        + QString(s.below(300), QChar(u'a' + s.below(26)));
}

std::optional<int> generationOfTitle(const QString &title)
{
    return generationIn(title, QStringLiteral("^note \\d+ generation (\\d+)$"));
}

std::optional<int> generationOfBodyText(const QString &plainText)
{
    return generationIn(plainText, QStringLiteral("^body \\d+ generation (\\d+)\\n"));
}

std::optional<int> generationOfRegistryText(const QString &text)
{
    return generationIn(text, QStringLiteral("^text \\d+ generation (\\d+) "));
}

void writeGeneration(Target target, int note, int generation, ui::NoteText &body)
{
    const QString notePath = storage::noteFolderPath() + QLatin1Char('/') + noteFileName(note);
    switch (target) {
    case Target::NoteFile:
        storage::writeNoteFile(notePath, noteRecord(note, generation));
        break;
    case Target::BodyFile:
        fillBody(body, note, generation);
        body.saveToFile(storage::companionPath(notePath));
        break;
    case Target::RegistryNumber:
        writeRegInt(registryNumberName(note), generation);
        break;
    case Target::RegistryText:
        writeRegString(registryTextName(note), registryText(note, generation));
        break;
    }
}

} // namespace crashtest
