#include "storage/DFile.h"

#include "platform/AnsiText.h"
#include "platform/FileUpdate.h"
#include "storage/DateTime.h"
#include "storage/PrivateFile.h"

#include <QFile>

#include <algorithm>
#include <utility>

namespace {

constexpr int kMaxStringBytes = 255;
constexpr int kMaxStringsEntries = 255;
constexpr qint32 kColorDivisor = 65535;

QString fileNotOpen()
{
    return QStringLiteral("File not open");
}

// A colour as the file holds it: v mod 65535 and v div 65535, both truncating
// toward zero, each cut to its low 16 bits (so a system colour's negative
// parts wrap).
struct ColorWords
{
    quint16 low;
    quint16 high;
};

ColorWords colorWords(qint32 value)
{
    return {quint16(value % kColorDivisor), quint16(value / kColorDivisor)};
}

// low + high * 65535, wrapping around in 32 bits, which brings system colours back.
qint32 colorFromWords(quint32 low, quint32 high)
{
    return qint32(low + high * quint32(kColorDivisor));
}

} // namespace

TVeskFile::TVeskFile(QString fileName)
    : m_fileName(std::move(fileName))
{
}

// Without commit() nothing written so far reaches the disk.
TVeskFile::~TVeskFile() = default;

void TVeskFile::reset()
{
    m_output.reset();
    // Read as a stream, not slurped: whatever lies in the note folder, however
    // large, costs no more memory than the fields read from it. Only a file
    // of its own: never through a link, never a FIFO or device.
    m_input = platform::openRegularFile(m_fileName, platform::LinkPolicy::Refuse);
    if (!m_input)
        throw EInOutError(QStringLiteral("File not found"));
}

bool TVeskFile::atEnd() const
{
    return !m_input || m_input->atEnd();
}

void TVeskFile::rewrite()
{
    m_input.reset();
    // Collected whole, so that commit() can leave a file that already holds
    // exactly this content as it is.
    m_output = QByteArray();
}

void TVeskFile::commit()
{
    if (!m_output)
        throw EInOutError(fileNotOpen());
    const QByteArray output = std::move(*m_output);
    m_output.reset();
    storage::writePrivateFile(m_fileName, output);
}

// ---- writing

void TVeskFile::put(const QByteArray &bytes)
{
    if (!m_output)
        throw EInOutError(fileNotOpen());
    m_output->append(bytes);
}

void TVeskFile::writeString(const QString &text)
{
    const QByteArray bytes = platform::encodeAnsiLimited(text, kMaxStringBytes);
    const char head[] = {char(StringTag), char(bytes.size())};
    put(QByteArray(head, sizeof head) + bytes);
}

void TVeskFile::writeBool(bool value)
{
    const char bytes[] = {char(BoolTag), char(value ? 1 : 0)};
    put(QByteArray(bytes, sizeof bytes));
}

void TVeskFile::writeInt(qint32 value)
{
    // Unsigned arithmetic: the magnitude of the most negative value fits only there.
    const quint32 magnitude = value < 0 ? 0u - quint32(value) : quint32(value);
    const char bytes[] = {char(IntTag), char(value >= 0 ? 1 : 0), char(magnitude & 0xFF),
                          char((magnitude >> 8) & 0xFF)};
    put(QByteArray(bytes, sizeof bytes));
}

void TVeskFile::writeByte(quint8 value)
{
    const char bytes[] = {char(ByteTag), char(value)};
    put(QByteArray(bytes, sizeof bytes));
}

void TVeskFile::writeWord(quint16 value)
{
    const char bytes[] = {char(WordTag), char(value & 0xFF), char(value >> 8)};
    put(QByteArray(bytes, sizeof bytes));
}

void TVeskFile::writeDateTime(double value)
{
    // Split first, so that an unusable value writes nothing at all.
    const storage::DateTimeParts parts = storage::splitDateTime(value);
    putTag(DateTimeTag);
    for (int number : {parts.year, parts.month, parts.day, parts.hour, parts.minute, parts.second})
        writeWord(quint16(number));
}

void TVeskFile::writeFont(const storage::FontDesc &font)
{
    putTag(FontTag);
    writeString(font.name);
    writeInt(font.size);
    writeBool(font.bold);
    writeBool(font.italic);
    writeBool(font.underline);
    writeBool(font.strikeOut);
    writeColor(font.color);
}

void TVeskFile::writeStrings(const QStringList &lines)
{
    const auto count = std::min<qsizetype>(lines.size(), kMaxStringsEntries);
    putTag(StringsTag);
    writeByte(quint8(count));
    for (qsizetype i = 0; i < count; ++i)
        writeString(lines[i]);
}

void TVeskFile::writeColor(qint32 value)
{
    const ColorWords words = colorWords(value);
    putTag(ColorTag);
    writeWord(words.low);
    writeWord(words.high);
}

bool TVeskFile::keepsColor(qint32 value)
{
    const ColorWords words = colorWords(value);
    return colorFromWords(words.low, words.high) == value;
}

// ---- reading

QByteArray TVeskFile::nextBytes(int count)
{
    if (!m_input)
        throw EInOutError(fileNotOpen());
    const QByteArray bytes = m_input->read(count);
    if (m_input->error() != QFileDevice::NoError)
        throw EInOutError(m_input->errorString());
    if (bytes.size() < count)
        throw EInOutError(QStringLiteral("Read beyond end of file"));
    return bytes;
}

quint8 TVeskFile::nextByte()
{
    return quint8(nextBytes(1)[0]);
}

void TVeskFile::readTag(Tag expected, const char *message)
{
    if (nextByte() != expected)
        throw EVeskFileError(QString::fromLatin1(message));
}

QString TVeskFile::readString()
{
    readTag(StringTag, "Error at readString:type");
    const int length = nextByte();
    return platform::decodeAnsi(nextBytes(length));
}

bool TVeskFile::readBool()
{
    readTag(BoolTag, "Error at readBool:type");
    return nextByte() == 1;
}

qint32 TVeskFile::readInt()
{
    readTag(IntTag, "Error at readInt:type");
    const bool negative = nextByte() == 0;
    const qint32 low = nextByte();
    const qint32 magnitude = low + 256 * nextByte();
    return negative ? -magnitude : magnitude;
}

quint8 TVeskFile::readByte()
{
    readTag(ByteTag, "Error at readByte:type");
    return nextByte();
}

quint16 TVeskFile::readWord()
{
    readTag(WordTag, "Error at readWord:type");
    const int low = nextByte();
    return quint16(low + 256 * nextByte());
}

double TVeskFile::readDateTime()
{
    readTag(DateTimeTag, "Error at readDateTime:type");
    storage::DateTimeParts parts;
    for (int *number :
         {&parts.year, &parts.month, &parts.day, &parts.hour, &parts.minute, &parts.second})
        *number = readWord();
    return storage::encodeDateTime(parts);
}

storage::FontDesc TVeskFile::readFont()
{
    readTag(FontTag, "Error at readFont:type");
    storage::FontDesc font;
    font.name = readString();
    font.size = readInt();
    font.bold = readBool();
    font.italic = readBool();
    font.underline = readBool();
    font.strikeOut = readBool();
    font.color = readColor();
    return font;
}

void TVeskFile::readStrings(QStringList &lines)
{
    readTag(StringsTag, "Error at readStrings:type");
    lines.clear();
    const int count = readByte();
    for (int i = 0; i < count; ++i)
        lines.append(readString());
}

qint32 TVeskFile::readColor()
{
    readTag(ColorTag, "Error at readColor:type");
    const quint32 low = readWord();
    return colorFromWords(low, readWord());
}
