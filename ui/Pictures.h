#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QTextImageFormat>

#include <optional>

class QTextCursor;
class QTextDocument;

// Pictures in a note body: images kept as the document's own resources, so a
// body never refers to a file or a clipboard that may be gone later.
namespace ui {

struct PictureInfo
{
    int position = 0; // of the picture's character in the document
    QSize pixelSize; // of the image itself (empty when it is missing)
    QSize shownSize; // as laid out in the body
};

// Inserts the image at the cursor, replacing its selection, shown at its own
// size. Error "Invalid picture" for a null image; the body is then unchanged.
void insertPicture(QTextCursor &cursor, const QImage &image);

// The picture whose character is at the position, if that is one.
std::optional<PictureInfo> pictureAt(const QTextDocument &document, int position);

// Shows the picture at the position at a new size (an undoable edit).
// Sizes below one pixel are raised to one.
void setPictureShownSize(QTextDocument &document, int position, const QSize &shown);

// Reads a picture file, its type taken from its content. EInOutError with the
// reader's reason when the file cannot be read or is not a picture.
QImage readPictureFile(const QString &path);

// Every picture's image as a PNG data URL in place of its resource name, so
// the document stands alone (for export as HTML).
void embedPicturesAsDataUrls(QTextDocument &document);

} // namespace ui
