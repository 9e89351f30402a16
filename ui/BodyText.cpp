#include "ui/BodyText.h"

#include "platform/AnsiText.h"
#include "platform/Errors.h"
#include "platform/FileUpdate.h"
#include "ui/rtf/Rtf.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>

namespace ui {
namespace {

// Bodies hold pictures as hex text, so they may be far larger than settings
// files; anything beyond this is not a note body.
constexpr qint64 kMaxBodyFileBytes = 512LL * 1024 * 1024;

} // namespace

QStringList plainLines(const QTextDocument &document)
{
    QStringList lines;
    if (document.isEmpty())
        return lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QString text = block.text();
        text.remove(QChar::ObjectReplacementCharacter);
        lines += text.split(QChar::LineSeparator);
    }
    return lines;
}

void setPlainLines(QTextDocument &document, const QStringList &lines)
{
    // Also lets go of the pictures the old body held.
    document.clear();
    document.setPlainText(lines.join(QLatin1Char('\n')));
}

QStringList splitPlainText(const QString &text)
{
    QString body = text;
    if (body.startsWith(QChar::ByteOrderMark))
        body.remove(0, 1);
    if (body.isEmpty())
        return {};
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = body.split(lineEnd);
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

void loadBody(QTextDocument &document, const QByteArray &bytes)
{
    if (!rtf::read(bytes, &document))
        setPlainLines(document, splitPlainText(platform::decodeAnsi(bytes)));
}

QByteArray readBodyFile(const QString &path)
{
    const std::optional<QByteArray> bytes
        = platform::readExistingFile(path, kMaxBodyFileBytes, platform::LinkPolicy::Refuse);
    if (!bytes)
        throw EInOutError(QStringLiteral("File not found"));
    return *bytes;
}

} // namespace ui
