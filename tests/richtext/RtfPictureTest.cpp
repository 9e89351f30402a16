#include "richtext/RtfTestSupport.h"

#include "ui/rtf/Rtf.h"

#include <QBuffer>
#include <QTextBlock>
#include <QTextCursor>
#include <QUrl>
#include <gtest/gtest.h>

using namespace rtftest;

namespace {

QByteArray hexLines(const QByteArray &bytes)
{
    QByteArray out;
    for (qsizetype at = 0; at < bytes.size(); at += 40)
        out += bytes.mid(at, 40).toHex() + "\r\n";
    return out;
}

QByteArray pictGroup(const QByteArray &words, const QByteArray &data)
{
    return "{\\pict" + words + "\r\n" + hexLines(data) + "}";
}

QByteArray inDocument(const QByteArray &content)
{
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\viewkind4\\uc1\\pard before " + content
        + " after\\par}";
}

// The CRC of a PNG chunk, so a doctored header still passes the checks.
QByteArray crc32BigEndian(const QByteArray &bytes)
{
    quint32 crc = 0xFFFFFFFF;
    for (char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320 & (0U - (crc & 1)));
    }
    crc ^= 0xFFFFFFFF;
    return QByteArray::fromHex(QByteArray::number(crc, 16).rightJustified(8, '0'));
}

// Shows the document's first picture at a new size, as the note's
// object-properties dialog does.
void resizeFirstPicture(QTextDocument &document, QSizeF shown)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (!it.fragment().charFormat().isImageFormat())
                continue;
            QTextCursor cursor(&document);
            cursor.setPosition(it.fragment().position());
            cursor.setPosition(it.fragment().position() + 1, QTextCursor::KeepAnchor);
            QTextImageFormat format = it.fragment().charFormat().toImageFormat();
            format.setWidth(shown.width());
            format.setHeight(shown.height());
            cursor.setCharFormat(format);
            return;
        }
    }
    ADD_FAILURE() << "no picture";
}

} // namespace

TEST(RtfPictures, PngTakesItsPixelsAndGoalSize)
{
    const QImage image = testImage(20, 10, 1);
    const auto document = readRtf(inDocument(
        pictGroup("\\pngblip\\picw20\\pich10\\picwgoal600\\pichgoal300", pngBytes(image))));
    const auto pictures = picturesOf(*document);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_TRUE(sameImage(pictures[0].image, image));
    EXPECT_EQ(pictures[0].shown, QSizeF(40, 20));
    EXPECT_TRUE(pictures[0].original.isEmpty());
    EXPECT_EQ(document->toPlainText(), QStringLiteral("before \ufffc after"));
}

TEST(RtfPictures, SizeWithoutGoalAndWithScaling)
{
    const QImage image = testImage(30, 12, 2);
    const auto natural = picturesOf(*readRtf(inDocument(pictGroup("\\pngblip", pngBytes(image)))));
    ASSERT_EQ(natural.size(), 1u);
    EXPECT_EQ(natural[0].shown, QSizeF(30, 12));
    const auto scaled = picturesOf(
        *readRtf(inDocument(pictGroup("\\pngblip\\picscalex50\\picscaley200", pngBytes(image)))));
    ASSERT_EQ(scaled.size(), 1u);
    EXPECT_EQ(scaled[0].shown, QSizeF(15, 24));
}

TEST(RtfPictures, JpegAndDeviceIndependentBitmap)
{
    QImage flat(16, 8, QImage::Format_RGB32);
    flat.fill(QColor(10, 200, 30));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    flat.save(&buffer, "jpeg", 100);
    const auto fromJpeg = picturesOf(*readRtf(inDocument(pictGroup("\\jpegblip", jpeg))));
    ASSERT_EQ(fromJpeg.size(), 1u);
    EXPECT_EQ(fromJpeg[0].image.size(), QSize(16, 8));
    EXPECT_NEAR(qGreen(fromJpeg[0].image.pixel(3, 3)), 200, 6);

    const QImage image = testImage(7, 5, 3);
    const auto fromDib
        = picturesOf(*readRtf(inDocument(pictGroup("\\dibitmap0", dibBytes(image)))));
    ASSERT_EQ(fromDib.size(), 1u);
    EXPECT_TRUE(sameImage(fromDib[0].image, image));
}

TEST(RtfPictures, MetafileWrappingABitmapAsRichEditWritesIt)
{
    const QImage image = testImage(9, 6, 4);
    for (bool placeable : {false, true}) {
        const auto pictures = picturesOf(
            *readRtf(inDocument(pictGroup("\\wmetafile8\\picw238\\pich159\\picwgoal135\\pichgoal90",
                                          metafileWithDib(image, placeable)))));
        ASSERT_EQ(pictures.size(), 1u) << placeable;
        EXPECT_TRUE(sameImage(pictures[0].image, image)) << placeable;
        EXPECT_EQ(pictures[0].shown, QSizeF(9, 6));
        EXPECT_TRUE(pictures[0].original.isEmpty());
    }
}

TEST(RtfPictures, DeviceDependentBitmap)
{
    // 2 x 2 at 24 bits: rows of BGR padded to 16 bits.
    const QByteArray data = QByteArray::fromHex("0000ff00ff00"
                                                "0000"
                                                "ff0000ffffff"
                                                "0000");
    const auto pictures = picturesOf(*readRtf(inDocument(
        pictGroup("\\wbitmap0\\picw2\\pich2\\wbmbitspixel24\\wbmplanes1\\wbmwidthbytes8", data))));
    ASSERT_EQ(pictures.size(), 1u);
    ASSERT_EQ(pictures[0].image.size(), QSize(2, 2));
    EXPECT_EQ(QColor(pictures[0].image.pixel(0, 0)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(pictures[0].image.pixel(1, 0)), QColor(0, 255, 0));
    EXPECT_EQ(QColor(pictures[0].image.pixel(0, 1)), QColor(0, 0, 255));
    EXPECT_EQ(QColor(pictures[0].image.pixel(1, 1)), QColor(255, 255, 255));
}

TEST(RtfPictures, UndecodablePicturesKeepTheirBytesAndComeBackUnchanged)
{
    const QByteArray emf = pictGroup("\\emfblip\\picw100\\pich50\\picwgoal1500\\pichgoal750",
                                     QByteArray("\x01\x00\x00\x00 not really an EMF", 22));
    const QByteArray brokenPng = pictGroup("\\pngblip\\picwgoal300\\pichgoal300", "\x89PNG broken");
    const QByteArray vectorWmf = "{\\pict\\wmetafile8\\picw2000\\pich1000 "
                                 "010009000003220000000000030000000000}";
    for (const QByteArray &group : {emf, brokenPng, vectorWmf}) {
        const auto document = readRtf(inDocument(group));
        const auto pictures = picturesOf(*document);
        ASSERT_EQ(pictures.size(), 1u) << group.constData();
        EXPECT_FALSE(pictures[0].image.isNull()) << "a visible placeholder";
        EXPECT_EQ(pictures[0].original, group);
        const QByteArray written = rtf::write(*document);
        EXPECT_TRUE(written.contains(group)) << written.constData();
        // And again: a note saved twice still holds the same bytes.
        EXPECT_EQ(rtf::write(*readRtf(written)), written);
    }
    const auto emfShown = picturesOf(*readRtf(inDocument(emf)));
    EXPECT_EQ(emfShown[0].shown, QSizeF(100, 50));
    // A new size goes into the kept bytes.
    const auto resized = readRtf(inDocument(emf));
    resizeFirstPicture(*resized, QSizeF(40, 30));
    const QByteArray written = rtf::write(*resized);
    EXPECT_TRUE(written.contains("\\pict\\picwgoal600\\pichgoal450 \\emfblip\\picw100\\pich50"))
        << written.constData();
    EXPECT_FALSE(written.contains("1500"));
    const auto back = readRtf(written);
    EXPECT_EQ(picturesOf(*back)[0].shown, QSizeF(40, 30));
    EXPECT_EQ(rtf::write(*back), written);
}

TEST(RtfPictures, GroupsNestedInAPictureAreNotPictures)
{
    const QByteArray group
        = "{\\pict\\unknownblip 0102{\\pict\\pngblip 0304}{\\*\\blipuid 05}\\*\\madeup 06}";
    const auto document = readRtf("{\\rtf1 a" + group + "b}");
    const auto pictures = picturesOf(*document);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].original, group);
    EXPECT_EQ(document->toPlainText(), QStringLiteral("a\ufffcb"));
}

TEST(RtfPictures, KeptBytesThatAreNotOneGroupAreNotWritten)
{
    auto document = newDocument();
    document->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("mem:p")),
                          testImage(2, 2, 1));
    QTextImageFormat format;
    format.setName(QStringLiteral("mem:p"));
    QTextCursor cursor(document.get());
    for (const QByteArray &bad : {QByteArray("{\\pict 01}{\\b x}"), QByteArray("{\\pict 01"),
                                  QByteArray("{\\pict 01\\}"), QByteArray("x{\\pict}")}) {
        format.setProperty(rtf::kOriginalPictureProperty, bad);
        cursor.insertImage(format);
    }
    const QByteArray written = rtf::write(*document);
    EXPECT_EQ(written.count("\\pngblip"), 4) << written.constData();
    EXPECT_EQ(picturesOf(*readRtf(written)).size(), 4u);
}

TEST(RtfPictures, TextBeforePictInItsGroupIsNotKeptTwice)
{
    const QByteArray rtf = "{\\rtf1 a{b\\pict\\emfblip 0102}c}";
    const auto document = readRtf(rtf);
    EXPECT_EQ(document->toPlainText(), QStringLiteral("ab\ufffcc"));
    const auto pictures = picturesOf(*document);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].original, "{\\pict\\emfblip\\picw0\\pich0\r\n0102\r\n}");
    const QByteArray written = rtf::write(*document);
    EXPECT_EQ(readRtf(written)->toPlainText(), document->toPlainText());
    EXPECT_EQ(rtf::write(*readRtf(written)), written);
}

TEST(RtfPictures, PictureCutOffByTheEndOfTheFileIsKept)
{
    const QByteArray rtf = "{\\rtf1 x{\\pict\\emfblip\\picw10\\pich10 0102030";
    const auto document = readRtf(rtf);
    const auto pictures = picturesOf(*document);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_TRUE(pictures[0].original.startsWith("{\\pict\\emfblip\\picw10\\pich10"));
    EXPECT_TRUE(pictures[0].original.contains("010203"));
    // Written back it is a whole group, so the file stays well formed.
    const QByteArray written = rtf::write(*document);
    EXPECT_EQ(written.count('{'), written.count('}'));
    EXPECT_EQ(picturesOf(*readRtf(written)).size(), 1u);
}

TEST(RtfPictures, WordWritesEachPictureTwiceAndOneIsShown)
{
    const QImage image = testImage(8, 8, 5);
    const QByteArray rtf
        = inDocument("{\\*\\shppict"
                     + pictGroup("{\\*\\picprop{\\sp{\\sn x}{\\sv 1}}}\\pngblip{\\*\\blipuid 0123}",
                                 pngBytes(image))
                     + "}{\\nonshppict"
                     + pictGroup("\\wmetafile8", metafileWithDib(testImage(8, 8, 6), false)) + "}");
    const auto pictures = picturesOf(*readRtf(rtf));
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_TRUE(sameImage(pictures[0].image, image));
    // Without the shppict copy, the other one is the picture.
    const auto alone = picturesOf(*readRtf(
        inDocument("{\\nonshppict"
                   + pictGroup("\\wmetafile8", metafileWithDib(testImage(8, 8, 6), false)) + "}")));
    ASSERT_EQ(alone.size(), 1u);
}

TEST(RtfPictures, ObjectsShowTheirResult)
{
    const QImage image = testImage(6, 4, 7);
    const QByteArray rtf
        = inDocument("{\\object\\objemb{\\*\\objclass Paint.Picture}\\objw120\\objh80{\\*\\objdata "
                     "0105000002000000}"
                     "{\\result{\\pict\\wmetafile8\\picwgoal90\\pichgoal60 "
                     + hexLines(metafileWithDib(image, false)) + "}}}");
    const auto document = readRtf(rtf);
    const auto pictures = picturesOf(*document);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_TRUE(sameImage(pictures[0].image, image));
    EXPECT_EQ(document->toPlainText(), QStringLiteral("before \ufffc after"));
    // The object goes back whole, its data included, and keeps a new size.
    const QByteArray object
        = rtf.mid(rtf.indexOf("{\\object"), rtf.lastIndexOf("}}}") + 3 - rtf.indexOf("{\\object"));
    EXPECT_TRUE(rtf::write(*document).contains(object));
    resizeFirstPicture(*document, QSizeF(12, 8));
    const QByteArray resized = rtf::write(*document);
    EXPECT_TRUE(resized.contains("\\objw180 \\objh120 {\\*\\objdata 0105000002000000}"))
        << resized.constData();
    EXPECT_TRUE(resized.contains("{\\pict\\picwgoal180\\pichgoal120 \\wmetafile8"));
    const auto back = readRtf(resized);
    EXPECT_EQ(picturesOf(*back)[0].shown, QSizeF(12, 8));
    EXPECT_EQ(rtf::write(*back), resized);
    // An object that shows more than one picture is shown, not kept.
    const auto text = readRtf(inDocument("{\\object{\\*\\objdata 01}{\\result words "
                                         + pictGroup("\\pngblip", pngBytes(image)) + "}}"));
    EXPECT_FALSE(rtf::write(*text).contains("objdata"));
    // A list marker in the object's own data is not shown, and the object is
    // kept; one in its result is more than its picture, and the object is
    // shown. Either way a second save changes nothing.
    const QByteArray picture = pictGroup("\\pngblip", pngBytes(image));
    const struct
    {
        QByteArray object;
        bool markerShown;
    } markers[] = {
        {"{\\object{\\*\\objdata 01}{\\result " + picture + "}{\\pntext X}}", false},
        {"{\\object{\\*\\objdata 01}{\\result{\\pntext X}" + picture + "}}", true},
    };
    for (const auto &marker : markers) {
        const auto shown = readRtf(inDocument(marker.object));
        const QByteArray saved = rtf::write(*shown);
        EXPECT_EQ(shown->toPlainText().startsWith(QLatin1Char('X')), marker.markerShown)
            << marker.object.constData();
        EXPECT_EQ(saved.contains("objdata"), !marker.markerShown) << marker.object.constData();
        EXPECT_EQ(rtf::write(*readRtf(saved)), saved) << marker.object.constData();
    }
}

TEST(RtfPictures, BinaryPictureData)
{
    const QByteArray png = pngBytes(testImage(5, 5, 8));
    const QByteArray bin = "\\bin" + QByteArray::number(png.size()) + " " + png;
    // As rich-edit writes it, and with the data in a group of its own.
    for (const QByteArray &rtf :
         {"{\\rtf1 {\\pict\\pngblip" + bin + "}x}", "{\\rtf1 {\\pict\\pngblip {" + bin + "}}x}"}) {
        const auto pictures = picturesOf(*readRtf(rtf));
        ASSERT_EQ(pictures.size(), 1u);
        EXPECT_TRUE(sameImage(pictures[0].image, testImage(5, 5, 8)));
    }
}

TEST(RtfPictures, HugeImagesAreNotDecoded)
{
    // A PNG header claiming 60000 x 60000 pixels: shown as a placeholder,
    // never allocated, and kept for writing back.
    QImage small(1, 1, QImage::Format_RGB32);
    QByteArray png = pngBytes(small);
    png.replace(16, 8, QByteArray::fromHex("0000ea600000ea60"));
    png.replace(29, 4, crc32BigEndian(png.mid(12, 17)));
    const auto pictures = picturesOf(*readRtf(inDocument(pictGroup("\\pngblip", png))));
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_FALSE(pictures[0].original.isEmpty());
    EXPECT_LE(pictures[0].shown.width(), 16384);
}

TEST(RtfPictures, MetafileRecordLoopsEnd)
{
    // Records of size zero, records running past the end, a header claiming more.
    for (const char *hex : {"0100090000030000000000000000000000000000000000",
                            "01000900000300000000"
                            "000000000000ffffffff4309",
                            "d7cdc69a00000000000000000000000000000000000001000900"}) {
        const auto pictures
            = picturesOf(*readRtf(inDocument(pictGroup("\\wmetafile8", QByteArray::fromHex(hex)))));
        ASSERT_EQ(pictures.size(), 1u) << hex;
        EXPECT_FALSE(pictures[0].original.isEmpty()) << hex;
    }
}
