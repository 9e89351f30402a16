#include "settings/StartupEntry.h"

#include "platform/Errors.h"
#include "platform/FileUpdate.h"
#include "platform/Paths.h"
#include "platform/TextFile.h"

#include <QFile>
#include <QStringList>

namespace settings {
namespace {

const QString kGroup = QStringLiteral("[Desktop Entry]");

struct EntryKeys
{
    QString exec;
    QString hidden;
    QString autostartEnabled;
};

// The keys that decide whether the session starts the program. Keys are
// case-sensitive in desktop entries; only the main group counts.
EntryKeys parseEntry(const QString &text)
{
    EntryKeys keys;
    bool inGroup = false;
    for (const QString &raw : text.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == kGroup;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inGroup || equals < 0 || line.startsWith(QLatin1Char('#')))
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (key == QLatin1String("Exec"))
            keys.exec = value;
        else if (key == QLatin1String("Hidden"))
            keys.hidden = value;
        else if (key == QLatin1String("X-GNOME-Autostart-enabled"))
            keys.autostartEnabled = value;
    }
    return keys;
}

QString entryText(const QString &executablePath)
{
    return kGroup + QStringLiteral("\nType=Application\nName=Jotlet Light\nExec=")
        + quotedExecArgument(executablePath) + QStringLiteral("\nX-GNOME-Autostart-enabled=true\n");
}

QString cannot(const QString &what, const QString &reason)
{
    return QStringLiteral("Cannot %1 the start-up entry %2: %3")
        .arg(what, platform::autostartFile(), reason);
}

} // namespace

QString quotedExecArgument(const QString &executablePath)
{
    // Inside a quoted Exec argument '"', '`', '$' and '\' take a backslash;
    // '%' would start a field code. The value itself is then an escaped
    // string, so every backslash is doubled once more.
    QString argument;
    for (const QChar c : executablePath) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$')
            || c == QLatin1Char('\\'))
            argument += QLatin1Char('\\');
        else if (c == QLatin1Char('%'))
            argument += QLatin1Char('%');
        argument += c;
    }
    argument.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    argument.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    argument.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    argument.replace(QLatin1Char('\t'), QLatin1String("\\t"));
    return QLatin1Char('"') + argument + QLatin1Char('"');
}

bool readStartupEntry()
{
    std::optional<QByteArray> bytes;
    try {
        bytes = platform::readExistingFile(platform::autostartFile(),
                                           platform::kMaxSettingsFileBytes);
    } catch (const EInOutError &error) {
        throw EInOutError(cannot(QStringLiteral("read"), error.message()));
    }
    if (!bytes)
        return false;
    const std::optional<platform::DecodedText> text = platform::decodeTextFile(*bytes);
    if (!text)
        throw EInOutError(cannot(QStringLiteral("read"), QStringLiteral("it is not text")));
    const EntryKeys keys = parseEntry(text->text);
    return !keys.exec.isEmpty() && keys.hidden != QLatin1String("true")
        && keys.autostartEnabled != QLatin1String("false");
}

void writeStartupEntry(const QString &executablePath)
{
    const QByteArray bytes = entryText(executablePath).toUtf8();
    try {
        platform::updateFile(platform::autostartFile(),
                             QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                 | QFileDevice::ReadGroup | QFileDevice::ReadOther,
                             [&](const std::optional<QByteArray> &) { return bytes; });
    } catch (const EInOutError &error) {
        throw EInOutError(cannot(QStringLiteral("write"), error.message()));
    }
}

void deleteStartupEntry()
{
    QFile file(platform::autostartFile());
    if (file.exists() && !file.remove())
        throw EInOutError(cannot(QStringLiteral("delete"), file.errorString()));
}

} // namespace settings
