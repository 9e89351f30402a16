#include "ui/BodyConvert.h"

#include "platform/AnsiText.h"
#include "platform/Errors.h"
#include "storage/PrivateFile.h"
#include "ui/BodyText.h"
#include "ui/Pictures.h"
#include "ui/rtf/Rtf.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <QTextDocument>
#include <QUrl>

#include <memory>

namespace ui {
namespace {

Error notRtf()
{
    return Error(QStringLiteral("not a Rich Text Format file"));
}

QString decodeHtml(const QByteArray &bytes)
{
    QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
    if (!decoder.isValid())
        decoder = QStringDecoder(QStringDecoder::Utf8);
    return decoder.decode(bytes);
}

// Text for other programs is UTF-8, as text files are on Linux.
QByteArray plainTextOf(const QStringList &lines)
{
    if (lines.isEmpty())
        return {};
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

QByteArray htmlOf(const QTextDocument &document)
{
    const std::unique_ptr<QTextDocument> copy(document.clone());
    embedPicturesAsDataUrls(*copy);
    return copy->toHtml().toUtf8();
}

// Runs the step, naming the file in any error it raises.
template<typename Step> void naming(const QString &path, const Step &step)
{
    const auto named = [&](const Error &e) {
        return QStringLiteral("%1: %2").arg(path, e.message());
    };
    try {
        step();
    } catch (const EInOutError &e) {
        throw EInOutError(named(e));
    } catch (const Error &e) {
        throw Error(named(e));
    }
}

BodyFormat requireFormat(const QString &path)
{
    const std::optional<BodyFormat> format = bodyFormatOf(path);
    if (!format)
        throw Error(
            QStringLiteral("%1: unknown body format (use .rtf, .jtl2, .txt or .html)").arg(path));
    return *format;
}

} // namespace

std::optional<BodyFormat> bodyFormatOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    // A note keeps its body as RTF in NUMBER.jtl2.
    if (suffix == QLatin1String("rtf") || suffix == QLatin1String("jtl2"))
        return BodyFormat::Rtf;
    if (suffix == QLatin1String("txt"))
        return BodyFormat::PlainText;
    if (suffix == QLatin1String("html") || suffix == QLatin1String("htm"))
        return BodyFormat::Html;
    return std::nullopt;
}

void readBodyAs(QTextDocument &document, const QByteArray &bytes, BodyFormat format,
                const QString &baseFolder)
{
    switch (format) {
    case BodyFormat::Rtf:
        if (!rtf::read(bytes, &document))
            throw notRtf();
        return;
    case BodyFormat::PlainText:
        setPlainLines(document, splitPlainText(platform::decodeAnsi(bytes)));
        return;
    case BodyFormat::Html:
        // Pictures given by relative names are found beside the page.
        if (!baseFolder.isEmpty())
            document.setBaseUrl(QUrl::fromLocalFile(baseFolder + QLatin1Char('/')));
        document.setHtml(decodeHtml(bytes));
        return;
    }
}

QByteArray writeBodyAs(const QTextDocument &document, BodyFormat format)
{
    switch (format) {
    case BodyFormat::Rtf:
        return rtf::write(document);
    case BodyFormat::PlainText:
        return plainTextOf(plainLines(document));
    case BodyFormat::Html:
        return htmlOf(document);
    }
    return {};
}

void convertBodyFile(const QString &inputPath, const QString &outputPath)
{
    const BodyFormat inputFormat = requireFormat(inputPath);
    const BodyFormat outputFormat = requireFormat(outputPath);
    QByteArray output;
    naming(inputPath, [&] {
        const QByteArray input = readBodyFile(inputPath);
        // Text from RTF needs no document in between, which would cost most
        // of the time of a large file.
        if (inputFormat == BodyFormat::Rtf && outputFormat == BodyFormat::PlainText) {
            const std::optional<QStringList> lines = rtf::readPlainLines(input);
            if (!lines)
                throw notRtf();
            output = plainTextOf(*lines);
            return;
        }
        QTextDocument document;
        readBodyAs(document, input, inputFormat, QFileInfo(inputPath).absolutePath());
        output = writeBodyAs(document, outputFormat);
    });
    naming(outputPath, [&] { storage::writePrivateFile(outputPath, output); });
}

} // namespace ui
