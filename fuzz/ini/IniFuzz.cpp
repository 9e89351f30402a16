// Language files and jotlig.ini may be edited by anyone: reading must not
// crash, writing back must keep every line, and a value written must read
// back exactly (line breaks become blanks).
#include "fuzz/FuzzChecks.h"
#include "platform/TextFile.h"
#include "settings/Ini.h"

#include <QStringList>

#include <cstdint>

using fuzzchecks::check;
using fuzzchecks::normalized;
using settings::IniDocument;

namespace {

void checkSetReadsBack(IniDocument document, const QString &section, const QString &key,
                       const QString &value)
{
    if (!document.setValue(section, key, value))
        return;
    QString expected = value;
    expected.replace(QLatin1String("\r\n"), QLatin1String(" "));
    expected.replace(QLatin1Char('\r'), QLatin1Char(' '));
    expected.replace(QLatin1Char('\n'), QLatin1Char(' '));
    check(IniDocument::parse(document.toText()).value(section, key) == expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<platform::DecodedText> decoded = platform::decodeTextFile(bytes);
    if (!decoded)
        return 0;
    const IniDocument document = IniDocument::parse(decoded->text);
    check(document.toText() == normalized(decoded->text));
    for (int id = 0; id <= 105; id += 7)
        document.value(QStringLiteral("Resource"), QString::number(id));

    const QStringList words = decoded->text.split(QLatin1Char('\n'));
    const QString section = words.value(0).trimmed().left(30);
    const QString key = words.value(1).trimmed().left(30);
    checkSetReadsBack(document, QStringLiteral("options"), QStringLiteral("NormPos"),
                      decoded->text.left(300));
    checkSetReadsBack(document, section, key, words.value(2));
    checkSetReadsBack(document, section.isEmpty() ? QStringLiteral("s") : section,
                      QStringLiteral("k"), QStringLiteral("\"") + words.value(3));
    return 0;
}
