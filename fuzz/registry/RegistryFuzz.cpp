// Registry files come from the user's disk and from registry editor exports:
// whatever they hold, reading must not crash, writing back must keep every
// line, and a value set must read back as set.
#include "fuzz/FuzzChecks.h"
#include "platform/RegDocument.h"
#include "platform/TextFile.h"

#include <cstdint>

using namespace platform;

using fuzzchecks::check;
using fuzzchecks::normalized;

namespace {

void checkSetReadsBack(RegDocument document, const QStringList &key, const QString &name,
                       const RegValue &value)
{
    if (!document.setValue(key, name, value))
        return;
    const RegDocument reread = RegDocument::parse(document.toText());
    check(reread.hasKey(key));
    check(reread.value(key, name) == value);
    RegDocument removed = reread;
    check(removed.removeValue(key, name));
    check(!RegDocument::parse(removed.toText()).value(key, name));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    // As the program reads its own registry file: NULs are damage to lines.
    const std::optional<DecodedText> decoded = decodeTextFile(bytes, NulBytes::Damage);
    if (!decoded)
        return 0;
    const RegDocument document = RegDocument::parse(decoded->text);
    check(document.toText() == normalized(decoded->text));

    const QStringList settings = {QStringLiteral("Software"), QStringLiteral("Harvel"),
                                  QStringLiteral("Vesk Jotlet 2003"), QStringLiteral("1.9.5")};
    document.value(settings, QStringLiteral("width"));
    document.isDamaged();
    const QString firstLine = decoded->text.section(QLatin1Char('\n'), 0, 0);
    const QString name = QString(firstLine).remove(QLatin1Char('\r')).left(40);
    checkSetReadsBack(document, settings, name, RegValue::fromText(decoded->text.left(200)));
    checkSetReadsBack(document, settings, QStringLiteral("width"),
                      RegValue::fromDWord(qint32(size)));
    checkSetReadsBack(document, settings, name,
                      RegValue {quint32(size % 12), bytes.left(int(size % 97))});
    if (const std::optional<QStringList> key = parseKeyPath(firstLine))
        checkSetReadsBack(document, *key, QStringLiteral("x"), RegValue::fromDWord(1));
    return 0;
}
