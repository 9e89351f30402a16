#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QTextCharFormat>
#include <QTextDocument>

#include <memory>
#include <ostream>
#include <vector>

// Readable failure messages for Qt strings.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace rtftest {

// A document with the body font the tests use.
std::unique_ptr<QTextDocument> newDocument();
// Reads RTF into a fresh document; the test fails when read() refuses it.
std::unique_ptr<QTextDocument> readRtf(const QByteArray &rtf);

// One run of text with its format, as the reader produced it.
struct Run
{
    QString text;
    QTextCharFormat format;
};
std::vector<Run> runsOf(const QTextDocument &document);
// The run holding the first occurrence of the text.
Run runWith(const QTextDocument &document, const QString &text);

// The images of the document in order, with their shown sizes.
struct Picture
{
    QImage image;
    QSizeF shown;
    QByteArray original;
};
std::vector<Picture> picturesOf(const QTextDocument &document);

QByteArray pngBytes(const QImage &image);
QByteArray dibBytes(const QImage &image);
// A Windows metafile whose one STRETCHDIB record draws the bitmap, as
// rich-edit writes pasted pictures.
QByteArray metafileWithDib(const QImage &image, bool placeable);
QImage testImage(int width, int height, int seed);
bool sameImage(const QImage &a, const QImage &b);

// Every paragraph's format (with its list), every table with its cells, and
// every character with what it looks like, one line per change of look: run
// boundaries do not show, formats and structure do.
QStringList describeDocument(const QTextDocument &document);

QString dataPath(const QString &name);

} // namespace rtftest
