#include "settings/Ini.h"

#include "platform/Errors.h"
#include "platform/FileUpdate.h"
#include "platform/TextFile.h"

using platform::DecodedText;

namespace settings {
namespace {

bool isBlank(const QString &line)
{
    return line.trimmed().isEmpty();
}

bool hasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

bool isQuote(QChar c)
{
    return c == QLatin1Char('"') || c == QLatin1Char('\'');
}

bool isEnclosedInQuotes(const QString &value)
{
    return value.size() >= 2 && isQuote(value.front()) && value.back() == value.front();
}

// The value as the profile functions hand it out.
QString unquoted(const QString &value)
{
    return isEnclosedInQuotes(value) ? value.mid(1, value.size() - 2) : value;
}

// The value as it must be written so that reading gives it back.
QString quotedIfNeeded(QString value)
{
    value.replace(QLatin1String("\r\n"), QLatin1String(" "));
    value.replace(QLatin1Char('\r'), QLatin1Char(' '));
    value.replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (value.trimmed() != value || isEnclosedInQuotes(value))
        return QLatin1Char('"') + value + QLatin1Char('"');
    return value;
}

bool isWritableSectionName(const QString &name)
{
    return !name.isEmpty() && name.trimmed() == name && !name.contains(QLatin1Char(']'))
        && !hasLineBreak(name);
}

bool isWritableKeyName(const QString &name)
{
    return !name.isEmpty() && name.trimmed() == name && !name.contains(QLatin1Char('='))
        && !name.startsWith(QLatin1Char('[')) && !name.startsWith(QLatin1Char(';'))
        && !hasLineBreak(name);
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

IniDocument::Line IniDocument::parseLine(const QString &raw)
{
    Line line;
    line.raw = raw;
    const QString text = raw.trimmed();
    if (text.startsWith(QLatin1Char('['))) {
        const qsizetype close = text.lastIndexOf(QLatin1Char(']'));
        line.kind = Kind::Section;
        line.name = text.mid(1, close < 0 ? -1 : close - 1).trimmed();
        return line;
    }
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    if (text.startsWith(QLatin1Char(';')) || equals < 0)
        return line;
    line.kind = Kind::Key;
    line.name = text.left(equals).trimmed();
    line.value = text.mid(equals + 1).trimmed();
    return line;
}

IniDocument IniDocument::parse(const QString &text)
{
    const QStringList lines = platform::textLines(text);
    IniDocument document;
    document.m_lines.reserve(size_t(lines.size()));
    for (const QString &raw : lines)
        document.m_lines.push_back(parseLine(raw));
    return document;
}

QString IniDocument::toText() const
{
    QString text;
    for (const Line &line : m_lines) {
        text += line.raw;
        text += QLatin1Char('\n');
    }
    return text;
}

int IniDocument::indexOfKey(const QString &section, const QString &key) const
{
    bool inSection = false;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const Line &line = m_lines[i];
        if (line.kind == Kind::Section)
            inSection = sameName(line.name, section);
        else if (inSection && line.kind == Kind::Key && sameName(line.name, key))
            return int(i);
    }
    return -1;
}

int IniDocument::endOfSection(const QString &section) const
{
    int end = -1;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const Line &line = m_lines[i];
        if (line.kind == Kind::Section) {
            if (end >= 0)
                return end;
            if (sameName(line.name, section))
                end = int(i) + 1;
        } else if (end >= 0 && !isBlank(line.raw)) {
            end = int(i) + 1;
        }
    }
    return end;
}

std::optional<QString> IniDocument::value(const QString &section, const QString &key) const
{
    const int index = indexOfKey(section, key);
    if (index < 0)
        return std::nullopt;
    return unquoted(m_lines[size_t(index)].value);
}

bool IniDocument::setValue(const QString &section, const QString &key, const QString &value)
{
    if (!isWritableSectionName(section) || !isWritableKeyName(key))
        return false;
    const QString written = quotedIfNeeded(value);
    const int index = indexOfKey(section, key);
    if (index >= 0) {
        // Keep the spelling the file already has for the key.
        m_lines[size_t(index)]
            = parseLine(m_lines[size_t(index)].name + QLatin1Char('=') + written);
        return true;
    }
    int end = endOfSection(section);
    if (end < 0) {
        if (!m_lines.empty() && !isBlank(m_lines.back().raw))
            m_lines.push_back(Line());
        m_lines.push_back(parseLine(QLatin1Char('[') + section + QLatin1Char(']')));
        end = int(m_lines.size());
    }
    m_lines.insert(m_lines.begin() + end, parseLine(key + QLatin1Char('=') + written));
    return true;
}

namespace {

std::optional<DecodedText> readIniText(const QString &path)
{
    try {
        const std::optional<QByteArray> bytes
            = platform::readExistingFile(path, platform::kMaxSettingsFileBytes);
        return bytes ? platform::decodeTextFile(*bytes) : DecodedText();
    } catch (const Error &) {
        return std::nullopt;
    }
}

} // namespace

IniFile::IniFile(const QString &path)
    : m_path(path)
{
    if (const std::optional<DecodedText> text = readIniText(path))
        m_document = IniDocument::parse(text->text);
}

QString IniFile::readString(const QString &section, const QString &key,
                            const QString &defaultValue) const
{
    return m_document.value(section, key).value_or(defaultValue);
}

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue) const
{
    bool ok = false;
    const int number = readString(section, key, QString()).toInt(&ok, 10);
    return ok ? number : defaultValue;
}

bool IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    IniDocument written;
    try {
        platform::updateFile(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner,
                             [&](const std::optional<QByteArray> &bytes) {
                                 const std::optional<DecodedText> text
                                     = bytes ? platform::decodeTextFile(*bytes) : DecodedText();
                                 if (!text)
                                     throw EInOutError(
                                         QStringLiteral("Not a text file: %1").arg(m_path));
                                 written = IniDocument::parse(text->text);
                                 if (!written.setValue(section, key, value))
                                     throw Error(QStringLiteral("Invalid name"));
                                 return std::optional<QByteArray>(
                                     platform::encodeTextFile(written.toText(), text->encoding));
                             });
    } catch (const Error &) {
        return false;
    }
    m_document = written;
    return true;
}

} // namespace settings
