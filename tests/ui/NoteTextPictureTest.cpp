#include "ui/NoteText.h"

#include "UiTestSupport.h"
#include "platform/Errors.h"
#include "support/TempHome.h"
#include "ui/PictureSizeDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPrinter>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTimer>
#include <gtest/gtest.h>

using uitest::selectRange;
using uitest::solidImage;
using uitest::typeInto;

namespace {

int pdfPageCount(const QByteArray &pdf)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    return int(QString::fromLatin1(pdf).count(page));
}

QByteArray printToPdf(const ui::NoteText &text, const QString &title)
{
    const QString path
        = testsupport::freshDir(QStringLiteral("print")) + QStringLiteral("/out.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    text.printBody(printer, title);
    return testsupport::readAll(path);
}

} // namespace

TEST(NoteTextPicture, PasteInsertsAClipboardPictureInPlaceOfTheSelection)
{
    QApplication::clipboard()->setImage(solidImage(24, 12, Qt::green));
    ui::NoteText text;
    typeInto(text, QStringLiteral("abc"));
    selectRange(text, 1, 2);
    text.paste();

    EXPECT_EQ(text.document()->toPlainText(),
              QStringLiteral("a") + QChar(QChar::ObjectReplacementCharacter) + "c");
    selectRange(text, 1, 2);
    const std::optional<ui::PictureInfo> picture = text.selectedPicture();
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->pixelSize, QSize(24, 12));
}

TEST(NoteTextPicture, PasteOfTextWithAPictureOfItKeepsTheText)
{
    auto *data = new QMimeData;
    data->setText(QStringLiteral("copied words"));
    data->setImageData(solidImage(8, 8, Qt::red));
    QApplication::clipboard()->setMimeData(data);
    ui::NoteText text;
    text.paste();
    EXPECT_EQ(text.lines(), QStringList({"copied words"}));
}

TEST(NoteTextPicture, InsertingAPictureLeavesTheClipboardAlone)
{
    QApplication::clipboard()->setText(QStringLiteral("the user's phone number"));
    ui::NoteText text;
    typeInto(text, QStringLiteral("xy"));
    selectRange(text, 0, 1);
    text.insertPicture(solidImage(10, 10, Qt::blue));

    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("the user's phone number"));
    EXPECT_FALSE(QApplication::clipboard()->mimeData()->hasImage());
    EXPECT_EQ(text.document()->toPlainText(),
              QString(QChar(QChar::ObjectReplacementCharacter)) + "y");
}

TEST(NoteTextPicture, NullPictureIsAnErrorAndChangesNothing)
{
    ui::NoteText text;
    text.setLines({"kept"});
    EXPECT_THROW(text.insertPicture(QImage()), Error);
    EXPECT_EQ(text.lines(), QStringList({"kept"}));
    EXPECT_FALSE(text.document()->isUndoAvailable());
}

TEST(NoteTextPicture, PictureFileIsReadByContentOrRefused)
{
    const QString folder = testsupport::freshDir(QStringLiteral("picture-files"));
    // A PNG under a bitmap's name still reads.
    ASSERT_TRUE(solidImage(6, 4, Qt::red).save(folder + "/shot.bmp", "PNG"));
    EXPECT_EQ(ui::readPictureFile(folder + "/shot.bmp").size(), QSize(6, 4));
    testsupport::writeAll(folder + "/words.bmp", "not a picture");
    EXPECT_THROW(ui::readPictureFile(folder + "/words.bmp"), EInOutError);
    EXPECT_THROW(ui::readPictureFile(folder + "/missing.bmp"), EInOutError);
}

TEST(NoteTextPicture, TwoPicturesKeepTheirOwnImages)
{
    ui::NoteText text;
    text.insertPicture(solidImage(5, 5, Qt::red));
    text.insertPicture(solidImage(7, 3, Qt::blue));
    selectRange(text, 0, 1);
    EXPECT_EQ(text.selectedPicture()->pixelSize, QSize(5, 5));
    selectRange(text, 1, 2);
    EXPECT_EQ(text.selectedPicture()->pixelSize, QSize(7, 3));
}

TEST(NoteTextPicture, PropertiesNeedExactlyOnePictureSelected)
{
    ui::NoteText text;
    typeInto(text, QStringLiteral("a"));
    text.insertPicture(solidImage(40, 20, Qt::red));
    typeInto(text, QStringLiteral("b"));

    selectRange(text, 0, 1);
    EXPECT_FALSE(text.selectedPicture().has_value());
    selectRange(text, 0, 2);
    EXPECT_FALSE(text.selectedPicture().has_value());
    selectRange(text, 1, 1);
    EXPECT_FALSE(text.selectedPicture().has_value());
    EXPECT_FALSE(text.editObjectProperties());

    selectRange(text, 2, 1);
    const std::optional<ui::PictureInfo> picture = text.selectedPicture();
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->pixelSize, QSize(40, 20));
    EXPECT_EQ(picture->shownSize, QSize(40, 20));
}

TEST(NoteTextPicture, NewShownSizeKeepsThePixelsAndCanBeUndone)
{
    ui::NoteText text;
    text.insertPicture(solidImage(40, 20, Qt::red));
    selectRange(text, 0, 1);
    text.setSelectedPictureSize(QSize(80, 10));
    EXPECT_EQ(text.selectedPicture()->shownSize, QSize(80, 10));
    EXPECT_EQ(text.selectedPicture()->pixelSize, QSize(40, 20));

    text.undo();
    selectRange(text, 0, 1);
    EXPECT_EQ(text.selectedPicture()->shownSize, QSize(40, 20));
}

TEST(NoteTextPicture, DialogKeepsProportionsUnlessTold)
{
    ui::PictureInfo info;
    info.pixelSize = QSize(40, 20);
    info.shownSize = QSize(40, 20);
    ui::PictureSizeDialog dialog(info);
    EXPECT_EQ(dialog.shownSize(), QSize(40, 20));

    dialog.setShownSize(QSize(40, 20));
    auto *width = dialog.findChildren<QSpinBox *>().value(0);
    ASSERT_NE(width, nullptr);
    width->setValue(100);
    EXPECT_EQ(dialog.shownSize(), QSize(100, 50));

    dialog.setKeepProportions(false);
    width->setValue(10);
    EXPECT_EQ(dialog.shownSize(), QSize(10, 50));
}

TEST(NoteTextPicture, PropertiesDialogAppliesTheChosenSize)
{
    ui::NoteText text;
    text.insertPicture(solidImage(40, 20, Qt::red));
    selectRange(text, 0, 1);
    QTimer::singleShot(0, [] {
        auto *dialog = qobject_cast<ui::PictureSizeDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->setKeepProportions(false);
        dialog->setShownSize(QSize(12, 34));
        dialog->accept();
    });
    EXPECT_TRUE(text.editObjectProperties());
    EXPECT_EQ(text.selectedPicture()->shownSize, QSize(12, 34));
}

TEST(NoteTextPicture, CancelledPropertiesDialogChangesNothing)
{
    ui::NoteText text;
    text.insertPicture(solidImage(40, 20, Qt::red));
    selectRange(text, 0, 1);
    QTimer::singleShot(0, [] {
        auto *dialog = qobject_cast<ui::PictureSizeDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->setShownSize(QSize(12, 34));
        dialog->reject();
    });
    EXPECT_TRUE(text.editObjectProperties());
    EXPECT_EQ(text.selectedPicture()->shownSize, QSize(40, 20));
}

TEST(NoteTextPrint, LongBodyFlowsOverSeveralPages)
{
    ui::NoteText text;
    QStringList lines;
    for (int i = 0; i < 300; ++i)
        lines << QStringLiteral("line %1 of a long shopping list").arg(i);
    text.setLines(lines);
    EXPECT_GE(pdfPageCount(printToPdf(text, QStringLiteral("Long note"))), 3);
}

TEST(NoteTextPrint, ShortBodyIsOnePage)
{
    ui::NoteText text;
    text.setLines({"call Anna 0123 456"});
    text.insertPicture(solidImage(50, 50, Qt::red));
    EXPECT_EQ(pdfPageCount(printToPdf(text, QStringLiteral("Short"))), 1);
}

TEST(NoteTextPrint, PrintingLeavesTheBodyAsItWas)
{
    ui::NoteText text;
    text.setLines({"unchanged"});
    text.setSelectionHighlight(QColor(255, 0, 0));
    printToPdf(text, QStringLiteral("t"));
    QTextCursor cursor(text.document());
    cursor.setPosition(2);
    EXPECT_FALSE(cursor.charFormat().hasProperty(QTextFormat::BackgroundBrush));
    EXPECT_FALSE(text.document()->isUndoAvailable());
}
