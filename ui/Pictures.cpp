#include "ui/Pictures.h"

#include "platform/Errors.h"

#include <QBuffer>
#include <QImageReader>
#include <QPixmap>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

#include <vector>

namespace ui {
namespace {

// Enough for any screen shot; a picture claiming more is refused instead of
// taking the program's memory.
constexpr int kMaxPictureMegabytes = 256;

QImage imageOf(const QVariant &resource)
{
    if (resource.canConvert<QImage>())
        return resource.value<QImage>();
    if (resource.canConvert<QPixmap>())
        return resource.value<QPixmap>().toImage();
    if (resource.canConvert<QByteArray>())
        return QImage::fromData(resource.toByteArray());
    return {};
}

QImage resourceImage(const QTextDocument &document, const QString &name)
{
    return imageOf(document.resource(QTextDocument::ImageResource, QUrl(name)));
}

// A resource name no other picture of the document uses.
QString freshPictureName(const QTextDocument &document)
{
    for (int n = 1;; ++n) {
        const QString name = QStringLiteral("jotlet-picture:%1").arg(n);
        if (document.resource(QTextDocument::ImageResource, QUrl(name)).isNull())
            return name;
    }
}

QSize shownSizeOf(const QTextImageFormat &format, const QSize &pixelSize)
{
    const bool hasWidth = format.hasProperty(QTextFormat::ImageWidth) && format.width() > 0;
    const bool hasHeight = format.hasProperty(QTextFormat::ImageHeight) && format.height() > 0;
    if (hasWidth && hasHeight)
        return QSize(qRound(format.width()), qRound(format.height()));
    if (pixelSize.isEmpty())
        return QSize(qRound(format.width()), qRound(format.height()));
    // One side given: the layout keeps the picture's proportions.
    if (hasWidth)
        return QSize(qRound(format.width()),
                     qRound(format.width() * pixelSize.height() / pixelSize.width()));
    if (hasHeight)
        return QSize(qRound(format.height() * pixelSize.width() / pixelSize.height()),
                     qRound(format.height()));
    return pixelSize;
}

std::optional<QTextImageFormat> imageFormatAt(const QTextDocument &document, int position)
{
    if (position < 0 || position >= document.characterCount() - 1
        || document.characterAt(position) != QChar::ObjectReplacementCharacter)
        return std::nullopt;
    QTextCursor cursor(const_cast<QTextDocument *>(&document));
    cursor.setPosition(position + 1);
    const QTextCharFormat format = cursor.charFormat();
    if (!format.isImageFormat())
        return std::nullopt;
    return format.toImageFormat();
}

} // namespace

void insertPicture(QTextCursor &cursor, const QImage &image)
{
    if (image.isNull())
        throw Error(QStringLiteral("Invalid picture"));
    QTextDocument *document = cursor.document();
    const QString name = freshPictureName(*document);
    document->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(image.width());
    format.setHeight(image.height());
    cursor.insertImage(format);
}

std::optional<PictureInfo> pictureAt(const QTextDocument &document, int position)
{
    const std::optional<QTextImageFormat> format = imageFormatAt(document, position);
    if (!format)
        return std::nullopt;
    PictureInfo info;
    info.position = position;
    info.pixelSize = resourceImage(document, format->name()).size();
    info.shownSize = shownSizeOf(*format, info.pixelSize);
    return info;
}

void setPictureShownSize(QTextDocument &document, int position, const QSize &shown)
{
    std::optional<QTextImageFormat> format = imageFormatAt(document, position);
    if (!format)
        return;
    format->setWidth(qMax(1, shown.width()));
    format->setHeight(qMax(1, shown.height()));
    QTextCursor cursor(&document);
    cursor.setPosition(position);
    cursor.setPosition(position + 1, QTextCursor::KeepAnchor);
    cursor.setCharFormat(*format);
}

QImage readPictureFile(const QString &path)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAllocationLimit(kMaxPictureMegabytes);
    QImage image = reader.read();
    if (image.isNull())
        throw EInOutError(reader.errorString());
    return image;
}

void embedPicturesAsDataUrls(QTextDocument &document)
{
    struct Picture
    {
        int position;
        QTextImageFormat format;
    };
    std::vector<Picture> pictures;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            // Neighbouring pictures with one format share a fragment.
            for (int i = 0; i < fragment.length(); ++i)
                pictures.push_back(
                    {fragment.position() + i, fragment.charFormat().toImageFormat()});
        }
    }
    QTextCursor cursor(&document);
    for (Picture &picture : pictures) {
        const QImage image = resourceImage(document, picture.format.name());
        if (image.isNull())
            continue;
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        const QSize shown = shownSizeOf(picture.format, image.size());
        picture.format.setName(QStringLiteral("data:image/png;base64,")
                               + QString::fromLatin1(png.toBase64()));
        picture.format.setWidth(shown.width());
        picture.format.setHeight(shown.height());
        cursor.setPosition(picture.position);
        cursor.setPosition(picture.position + 1, QTextCursor::KeepAnchor);
        cursor.setCharFormat(picture.format);
    }
}

} // namespace ui
