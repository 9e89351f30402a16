#include "platform/RegDocument.h"

#include "platform/TextFile.h"

#include <QtEndian>

#include <algorithm>

namespace platform {
namespace {

const QString kHeader = QStringLiteral("Windows Registry Editor Version 5.00");
const QString kOldHeader = QStringLiteral("REGEDIT4");
const QString kRoot = QStringLiteral("HKEY_CURRENT_USER");

bool hasLineBreakOrNul(const QString &text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))
        || text.contains(QChar(0));
}

bool isBlank(const QString &line)
{
    return line.trimmed().isEmpty();
}

// A run of NULs that ends where a line starts (a block a crash left between
// two lines) spoils nothing of that line. NULs anywhere else spoil it: at
// its end they may stand for digits that are gone.
QString withoutLeadingNuls(const QString &line)
{
    qsizetype first = 0;
    while (first < line.size() && line[first].isNull())
        ++first;
    return line.mid(first);
}

// Lines of an export file that are neither a section nor a value.
bool isOtherText(const QString &trimmedLine)
{
    return trimmedLine.isEmpty() || trimmedLine.startsWith(QLatin1Char(';'))
        || trimmedLine == kHeader || trimmedLine == kOldHeader;
}

// Reads a quoted text starting at pos (on the opening quote) with the
// escapes \\ and \" of export files; other backslashes stand for themselves.
// On success pos is just past the closing quote.
std::optional<QString> readQuoted(const QString &line, int &pos)
{
    if (pos >= line.size() || line[pos] != QLatin1Char('"'))
        return std::nullopt;
    QString text;
    for (int i = pos + 1; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == QLatin1Char('"')) {
            pos = i + 1;
            return text;
        }
        if (c == QLatin1Char('\\') && i + 1 < line.size()
            && (line[i + 1] == QLatin1Char('\\') || line[i + 1] == QLatin1Char('"'))) {
            ++i;
        }
        text.append(line[i]);
    }
    return std::nullopt;
}

QString quoted(const QString &text)
{
    QString out = text;
    out.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    out.replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

void skipBlanks(const QString &line, int &pos)
{
    while (pos < line.size() && (line[pos] == QLatin1Char(' ') || line[pos] == QLatin1Char('\t')))
        ++pos;
}

// The value name of a "name"=... or @=... line; pos ends just past the '='.
std::optional<QString> readValueName(const QString &line, int &pos)
{
    pos = 0;
    skipBlanks(line, pos);
    std::optional<QString> name;
    if (pos < line.size() && line[pos] == QLatin1Char('@')) {
        name = QString();
        ++pos;
    } else {
        name = readQuoted(line, pos);
    }
    if (!name)
        return std::nullopt;
    skipBlanks(line, pos);
    if (pos >= line.size() || line[pos] != QLatin1Char('='))
        return std::nullopt;
    ++pos;
    skipBlanks(line, pos);
    return name;
}

std::optional<quint32> parseHexNumber(QStringView digits)
{
    if (digits.isEmpty() || digits.size() > 8)
        return std::nullopt;
    bool ok = false;
    const quint32 number = digits.toUInt(&ok, 16);
    if (!ok)
        return std::nullopt;
    return number;
}

// "xx,xx,..." possibly continued over lines with a trailing backslash.
std::optional<QByteArray> parseHexBytes(QStringView text)
{
    QString packed;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\\')) {
            int next = i + 1;
            while (next < text.size()
                   && (text[next] == QLatin1Char(' ') || text[next] == QLatin1Char('\t')))
                ++next;
            if (next < text.size() && text[next] != QLatin1Char('\n'))
                return std::nullopt;
            i = next;
        } else if (!c.isSpace()) {
            packed.append(c);
        }
    }
    QByteArray bytes;
    if (packed.isEmpty())
        return bytes;
    const QStringList parts = packed.split(QLatin1Char(','));
    for (int i = 0; i < parts.size(); ++i) {
        if (parts[i].isEmpty() && i == parts.size() - 1)
            break;
        const std::optional<quint32> byte
            = parts[i].size() <= 2 ? parseHexNumber(parts[i]) : std::nullopt;
        if (!byte)
            return std::nullopt;
        bytes.append(char(*byte));
    }
    return bytes;
}

std::optional<RegValue> parseData(const QString &line, int pos)
{
    const QStringView rest = QStringView(line).mid(pos);
    if (rest.startsWith(QLatin1Char('"'))) {
        std::optional<QString> text = readQuoted(line, pos);
        skipBlanks(line, pos);
        if (!text || pos != line.size())
            return std::nullopt;
        return RegValue::fromText(*text);
    }
    if (rest.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
        const std::optional<quint32> number = parseHexNumber(rest.mid(6).trimmed());
        if (!number)
            return std::nullopt;
        return RegValue::fromDWord(qint32(*number));
    }
    if (!rest.startsWith(QLatin1String("hex"), Qt::CaseInsensitive))
        return std::nullopt;
    quint32 type = RegBinary;
    QStringView bytesText;
    if (rest.mid(3).startsWith(QLatin1Char(':'))) {
        bytesText = rest.mid(4);
    } else if (rest.mid(3).startsWith(QLatin1Char('('))) {
        const qsizetype close = rest.indexOf(QLatin1String("):"));
        if (close < 0)
            return std::nullopt;
        const std::optional<quint32> number = parseHexNumber(rest.mid(4, close - 4));
        if (!number)
            return std::nullopt;
        type = *number;
        bytesText = rest.mid(close + 2);
    } else {
        return std::nullopt;
    }
    const std::optional<QByteArray> bytes = parseHexBytes(bytesText);
    if (!bytes)
        return std::nullopt;
    return RegValue {type, *bytes};
}

QString hexData(const QString &prefix, const QByteArray &bytes)
{
    // Wrapped as the registry editor wraps it, so long values stay readable.
    constexpr int kWidth = 77;
    QString out = prefix;
    int lineLength = int(prefix.size());
    for (int i = 0; i < bytes.size(); ++i) {
        QString token = QStringLiteral("%1").arg(quint8(bytes[i]), 2, 16, QLatin1Char('0'));
        if (i + 1 < bytes.size())
            token.append(QLatin1Char(','));
        if (lineLength + token.size() + 1 > kWidth && i > 0) {
            out.append(QLatin1String("\\\n  "));
            lineLength = 2;
        }
        out.append(token);
        lineLength += int(token.size());
    }
    return out;
}

// A hex value line goes on while it ends with a backslash and the next line
// does not start an entry of its own.
bool continuesOnNextLine(const QString &current, const QString &next)
{
    const QString trimmedNext = next.trimmed();
    return current.trimmed().endsWith(QLatin1Char('\\'))
        && !trimmedNext.startsWith(QLatin1Char('[')) && !trimmedNext.startsWith(QLatin1Char('"'))
        && !trimmedNext.startsWith(QLatin1Char('@'));
}

bool isHexValueLine(const QString &raw)
{
    const QString line = withoutLeadingNuls(raw);
    int pos = 0;
    return readValueName(line, pos)
        && QStringView(line).mid(pos).startsWith(QLatin1String("hex"), Qt::CaseInsensitive);
}

} // namespace

RegValue RegValue::fromText(const QString &text, quint32 type)
{
    RegValue value;
    value.type = type;
    value.data.resize((text.size() + 1) * 2);
    for (qsizetype i = 0; i < text.size(); ++i)
        qToLittleEndian<quint16>(text[i].unicode(), value.data.data() + i * 2);
    qToLittleEndian<quint16>(0, value.data.data() + text.size() * 2);
    return value;
}

RegValue RegValue::fromDWord(qint32 number)
{
    RegValue value;
    value.type = RegDWord;
    value.data.resize(4);
    qToLittleEndian<qint32>(number, value.data.data());
    return value;
}

QString RegValue::text() const
{
    QString out;
    for (qsizetype i = 0; i + 1 < data.size(); i += 2) {
        const char16_t unit = qFromLittleEndian<quint16>(data.constData() + i);
        if (unit == 0)
            break;
        out.append(QChar(unit));
    }
    return out;
}

qint32 RegValue::dword() const
{
    return data.size() >= 4 ? qFromLittleEndian<qint32>(data.constData()) : 0;
}

QString foldRegistryName(const QString &name)
{
    QString folded = name;
    for (QChar &c : folded) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return folded;
}

std::optional<QStringList> parseKeyPath(const QString &path)
{
    QString inner = path;
    if (inner.startsWith(QLatin1Char('\\')))
        inner.remove(0, 1);
    if (inner.endsWith(QLatin1Char('\\')))
        inner.chop(1);
    if (inner.isEmpty())
        return QStringList();
    const QStringList parts = inner.split(QLatin1Char('\\'));
    for (const QString &part : parts) {
        if (part.isEmpty() || hasLineBreakOrNul(part))
            return std::nullopt;
    }
    return parts;
}

RegDocument::Entry RegDocument::parseEntry(const QString &raw)
{
    Entry entry;
    entry.raw = raw;
    const QString text = withoutLeadingNuls(raw);
    entry.damaged = text.size() != raw.size();
    const QString line = text.trimmed();
    if (line.startsWith(QLatin1Char('['))) {
        // Even a damaged section line ends the section before it: the values
        // below belong to a key that cannot be named, not to that one.
        entry.kind = Kind::Section;
        if (!line.endsWith(QLatin1Char(']')) || hasLineBreakOrNul(line)) {
            entry.damaged = true;
            return entry;
        }
        const QString inner = line.mid(1, line.size() - 2);
        const qsizetype slash = inner.indexOf(QLatin1Char('\\'));
        const QString root = slash < 0 ? inner : inner.left(slash);
        const std::optional<QStringList> key
            = parseKeyPath(slash < 0 ? QString() : inner.mid(slash));
        if (foldRegistryName(root) == foldRegistryName(kRoot) && key) {
            entry.currentUser = true;
            entry.key = foldRegistryName(key->join(QLatin1Char('\\')));
        }
        return entry;
    }
    entry.damaged = entry.damaged || !isOtherText(line);
    int pos = 0;
    const std::optional<QString> name = readValueName(text, pos);
    if (!name || text.contains(QChar(0)))
        return entry;
    const std::optional<RegValue> value = parseData(text, pos);
    if (!value)
        return entry;
    entry.damaged = text.size() != raw.size();
    entry.kind = Kind::Value;
    entry.name = foldRegistryName(*name);
    entry.value = *value;
    return entry;
}

RegDocument RegDocument::parse(const QString &text)
{
    const QStringList lines = textLines(text);
    RegDocument document;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString raw = lines[i];
        if (isHexValueLine(raw)) {
            while (i + 1 < lines.size() && continuesOnNextLine(lines[i], lines[i + 1]))
                raw += QLatin1Char('\n') + lines[++i];
        }
        document.m_entries.push_back(parseEntry(raw));
    }
    return document;
}

bool RegDocument::isDamaged() const
{
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [](const Entry &entry) { return entry.damaged; });
}

QString RegDocument::toText() const
{
    QString text;
    for (const Entry &entry : m_entries) {
        text += entry.raw;
        text += QLatin1Char('\n');
    }
    return text;
}

std::vector<int> RegDocument::indexesOfValue(const QStringList &key, const QString &name) const
{
    const QString foldedKey = foldRegistryName(key.join(QLatin1Char('\\')));
    const QString foldedName = foldRegistryName(name);
    std::vector<int> found;
    bool inKey = false;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const Entry &entry = m_entries[i];
        if (entry.kind == Kind::Section)
            inKey = entry.currentUser && entry.key == foldedKey;
        else if (inKey && entry.kind == Kind::Value && entry.name == foldedName)
            found.push_back(int(i));
    }
    return found;
}

bool RegDocument::hasKey(const QStringList &key) const
{
    const QString folded = foldRegistryName(key.join(QLatin1Char('\\')));
    if (folded.isEmpty())
        return true;
    const QString below = folded + QLatin1Char('\\');
    for (const Entry &entry : m_entries) {
        if (entry.kind == Kind::Section && entry.currentUser
            && (entry.key == folded || entry.key.startsWith(below))) {
            return true;
        }
    }
    return false;
}

void RegDocument::createKey(const QStringList &key)
{
    if (!hasKey(key))
        appendSection(key);
}

std::optional<RegValue> RegDocument::value(const QStringList &key, const QString &name) const
{
    const std::vector<int> found = indexesOfValue(key, name);
    if (found.empty())
        return std::nullopt;
    return m_entries[found.back()].value;
}

RegDocument::Entry RegDocument::makeValueEntry(const QString &name, const RegValue &value)
{
    const QString nameText = name.isEmpty() ? QStringLiteral("@") : quoted(name);
    QString raw;
    const QString text = value.text();
    if (value.type == RegString && RegValue::fromText(text) == value && !hasLineBreakOrNul(text)) {
        raw = nameText + QLatin1Char('=') + quoted(text);
    } else if (value.isDWord()) {
        raw = nameText
            + QStringLiteral("=dword:%1").arg(quint32(value.dword()), 8, 16, QLatin1Char('0'));
    } else {
        const QString prefix = value.type == RegBinary
            ? QStringLiteral("=hex:")
            : QStringLiteral("=hex(%1):").arg(value.type, 0, 16);
        raw = hexData(nameText + prefix, value.data);
    }
    return parseEntry(raw);
}

void RegDocument::ensureHeader()
{
    if (!m_entries.empty()) {
        const QString first = withoutLeadingNuls(m_entries.front().raw).trimmed();
        if (first == kHeader || first == kOldHeader)
            return;
    }
    Entry header;
    header.raw = kHeader;
    Entry blank;
    m_entries.insert(m_entries.begin(), {header, blank});
}

void RegDocument::appendSection(const QStringList &key)
{
    ensureHeader();
    if (!isBlank(m_entries.back().raw))
        m_entries.push_back(Entry());
    QString path = kRoot;
    for (const QString &part : key)
        path += QLatin1Char('\\') + part;
    m_entries.push_back(parseEntry(QLatin1Char('[') + path + QLatin1Char(']')));
    m_entries.push_back(Entry());
}

int RegDocument::insertionPointOfKey(const QString &foldedKey) const
{
    int point = -1;
    bool inKey = false;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const Entry &entry = m_entries[i];
        if (entry.kind == Kind::Section) {
            inKey = entry.currentUser && entry.key == foldedKey;
            if (inKey)
                point = int(i) + 1;
        } else if (inKey && !isBlank(entry.raw)) {
            point = int(i) + 1;
        }
    }
    return point;
}

bool RegDocument::setValue(const QStringList &key, const QString &name, const RegValue &value)
{
    if (hasLineBreakOrNul(name))
        return false;
    std::vector<int> found = indexesOfValue(key, name);
    if (!found.empty()) {
        // One definition is enough; the earlier ones were overridden anyway.
        int last = found.back();
        found.pop_back();
        for (auto it = found.rbegin(); it != found.rend(); ++it, --last)
            m_entries.erase(m_entries.begin() + *it);
        // Keep the spelling the file already has for the name.
        int pos = 0;
        const QString storedName = *readValueName(withoutLeadingNuls(m_entries[last].raw), pos);
        m_entries[last] = makeValueEntry(storedName, value);
        return true;
    }
    const QString foldedKey = foldRegistryName(key.join(QLatin1Char('\\')));
    ensureHeader();
    int point = insertionPointOfKey(foldedKey);
    if (point < 0) {
        appendSection(key);
        point = insertionPointOfKey(foldedKey);
    }
    m_entries.insert(m_entries.begin() + point, makeValueEntry(name, value));
    return true;
}

bool RegDocument::removeValue(const QStringList &key, const QString &name)
{
    const std::vector<int> found = indexesOfValue(key, name);
    for (auto it = found.rbegin(); it != found.rend(); ++it)
        m_entries.erase(m_entries.begin() + *it);
    return !found.empty();
}

} // namespace platform
