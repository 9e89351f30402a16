// The commands of the title strip's and the body's menus, what they change
// and that it survives a save and a reload.
#include "note/LocalFormats.h"
#include "note/Note.h"
#include "note/NoteParts.h"
#include "note/NoteServices.h"
#include "note/NoteTestSupport.h"
#include "storage/NoteFolder.h"
#include "support/TempHome.h"
#include "ui/ColorRef.h"
#include "ui/NoteText.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLocale>
#include <QMenu>
#include <QPrinter>
#include <QRegularExpression>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <memory>

namespace {

const QColor kRed(255, 0, 0);
const QColor kYellow(255, 255, 0);

storage::FontDesc courierBold()
{
    storage::FontDesc font;
    font.name = QStringLiteral("Courier New");
    font.size = 14;
    font.bold = true;
    font.color = 0x000000FF;
    return font;
}

class NoteCommands : public notetest::NoteFixture
{
protected:
    void TearDown() override { NoteFixture::TearDown(); }

    // The note as the next start finds it: saved, then loaded into a new window.
    std::unique_ptr<TSingolNote> reloaded(TSingolNote &note)
    {
        note.SaveNote();
        auto copy = std::make_unique<TSingolNote>(false, services);
        copy->LoadNote(note.NoteFileName());
        return copy;
    }

    // Selects `length` characters from `start` of the body.
    static void select(TSingolNote &note, int start, int length)
    {
        QTextCursor cursor(note.NoteText->document());
        cursor.setPosition(start);
        cursor.setPosition(start + length, QTextCursor::KeepAnchor);
        note.NoteText->setTextCursor(cursor);
    }

    // The highlight of the character at a position, invalid when it has none.
    static QColor highlightAt(const TSingolNote &note, int position)
    {
        QTextCursor cursor(note.NoteText->document());
        cursor.setPosition(position + 1);
        const QTextCharFormat format = cursor.charFormat();
        return format.hasProperty(QTextFormat::BackgroundBrush) ? format.background().color()
                                                                : QColor();
    }

    static Qt::Alignment alignmentOfLine(const TSingolNote &note, int line)
    {
        return note.NoteText->document()->findBlockByNumber(line).blockFormat().alignment()
            & Qt::AlignHorizontal_Mask;
    }

    static int pictureCount(const TSingolNote &note)
    {
        return int(note.NoteText->toPlainText().count(QChar::ObjectReplacementCharacter));
    }

    QString bitmapFile(const QString &name)
    {
        const QString path
            = testsupport::freshDir(QStringLiteral("pictures")) + QLatin1Char('/') + name;
        QImage image(12, 8, QImage::Format_RGB32);
        image.fill(Qt::blue);
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    }
};

} // namespace

TEST_F(NoteCommands, TitleFontAndColourChangeOnOkOnlyAndPersist)
{
    TSingolNote note(false, services);
    const storage::FontDesc before = note.NoteTitle->fontDesc();
    note.runMenuItem(note.Menus.ChangeFont1); // cancelled
    note.runMenuItem(note.Menus.ChangeColor1);
    EXPECT_EQ(note.NoteTitle->fontDesc(), before);
    EXPECT_EQ(note.NoteTitle->colorRef(), 0x00C0DCC0);

    script.fonts.push_back(courierBold());
    script.colors.push_back(QColor(0x12, 0x34, 0x56));
    note.runMenuItem(note.Menus.ChangeFont1);
    note.runMenuItem(note.Menus.ChangeColor1);
    EXPECT_EQ(note.NoteTitle->fontDesc(), courierBold());
    EXPECT_EQ(note.NoteTitle->colorRef(), 0x00563412);
    EXPECT_EQ(note.NoteText->bodyFont(), before) << "the body keeps its font";

    const auto copy = reloaded(note);
    EXPECT_EQ(copy->NoteTitle->fontDesc(), courierBold());
    EXPECT_EQ(copy->NoteTitle->colorRef(), 0x00563412);
}

TEST_F(NoteCommands, InsertDateTimeAddsALastLineWhereverTheCaretIs)
{
    TSingolNote note(false, services);
    note.NoteText->setLines(
        {QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")});
    note.NoteText->selectNoneAtStart();
    note.runMenuItem(note.Menus.Insertdatetime1);

    const QStringList lines = note.NoteText->lines();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines.mid(0, 3),
              QStringList({QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")}));
    const QLocale locale = QLocale::system();
    EXPECT_EQ(lines[3],
              locale.toString(QDate(2024, 3, 9), locale.dateFormat(QLocale::ShortFormat))
                  + QStringLiteral("  ")
                  + locale.toString(QTime(14, 5, 33), note::longTimeFormat()));
    EXPECT_TRUE(lines[3].contains(QStringLiteral(":05:33")));
    EXPECT_FALSE(lines[3].contains(QStringLiteral("UTC"))) << "no time zone in a written time";
    EXPECT_EQ(reloaded(note)->NoteText->lines(), lines);
}

TEST_F(NoteCommands, InsertDateTimeIntoAnEmptyBodyIsItsOnlyLine)
{
    TSingolNote note(false, services);
    note.runMenuItem(note.Menus.Insertdatetime1);
    EXPECT_EQ(note.NoteText->lines().size(), 1);
}

TEST_F(NoteCommands, BackColourWithoutSelectionIsTheDefaultHighlight)
{
    TSingolNote note(false, services);
    note.NoteText->setLines({QStringLiteral("one"), QStringLiteral("two")});
    note.NoteText->selectNoneAtStart();
    note.runMenuItem(note.Menus.Red1);
    EXPECT_EQ(note.NoteText->defaultHighlight(), kRed);
    EXPECT_FALSE(highlightAt(note, 5).isValid()) << "no character got a highlight of its own";
    // The file keeps the look of the text, which is what comes back.
    const auto copy = reloaded(note);
    EXPECT_EQ(highlightAt(*copy, 0), kRed);
    EXPECT_EQ(highlightAt(*copy, 5), kRed);
}

TEST_F(NoteCommands, BackColourWithSelectionChangesOnlyTheSelection)
{
    TSingolNote note(false, services);
    note.NoteText->setLines({QStringLiteral("one"), QStringLiteral("two")});
    select(note, 4, 3); // "two"
    note.runMenuItem(note.Menus.Green1);
    EXPECT_FALSE(note.NoteText->defaultHighlight().isValid());
    EXPECT_EQ(highlightAt(note, 4), ui::colorFromRef(0x00008000)) << "the dark green";
    EXPECT_FALSE(highlightAt(note, 0).isValid());

    const auto copy = reloaded(note);
    EXPECT_EQ(highlightAt(*copy, 5), QColor(0, 128, 0));
    EXPECT_FALSE(highlightAt(*copy, 1).isValid());
}

TEST_F(NoteCommands, EveryBackColourHasItsColour)
{
    TSingolNote note(false, services);
    note.NoteText->setLines({QStringLiteral("abcd")});
    const std::pair<QAction *, QColor> items[] = {{note.Menus.Black1, kYellow},
                                                  {note.Menus.Red1, kRed},
                                                  {note.Menus.White1, QColor(0, 255, 255)},
                                                  {note.Menus.Green1, QColor(0, 128, 0)}};
    for (const auto &[action, colour] : items) {
        note.runMenuItem(action);
        EXPECT_EQ(note.NoteText->defaultHighlight(), colour) << action->objectName().toStdString();
    }
}

TEST_F(NoteCommands, NoneIsTheBackColourOfThatMomentAndStaysFixed)
{
    TSingolNote note(false, services);
    note.NoteText->setLines({QStringLiteral("text")});
    note.runMenuItem(note.Menus.Red1);
    note.runMenuItem(note.Menus.None1);
    EXPECT_EQ(note.NoteText->defaultHighlight(), kYellow);

    script.colors.push_back(QColor(0, 0, 255));
    note.runMenuItem(note.Menus.Background1);
    EXPECT_EQ(note.NoteText->defaultHighlight(), kYellow) << "not a transparent highlight";
    EXPECT_EQ(highlightAt(*reloaded(note), 1), kYellow);
}

TEST_F(NoteCommands, CtrlQHighlightsYellowAndCtrlTResetsToTheBackColour)
{
    TSingolNote note(false, services);
    note.NoteText->setLines({QStringLiteral("text")});
    script.colors.push_back(QColor(0x80, 0x80, 0xFF));
    note.runMenuItem(note.Menus.Background1);

    QTest::keyClick(note.NoteText, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(note.NoteText->defaultHighlight(), kYellow);
    QTest::keyClick(note.NoteText, Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(note.NoteText->defaultHighlight(), QColor(0, 255, 255))
        << "Ctrl+E is the menu's, not the editor's end of line";
    QTest::keyClick(note.NoteText, Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(note.NoteText->defaultHighlight(), QColor(0x80, 0x80, 0xFF));
    EXPECT_EQ(note.NoteText->lines(), QStringList(QStringLiteral("text"))) << "no key was typed";
}

TEST_F(NoteCommands, FontGoesToTheSelectionOrElseToTheDefaultFormat)
{
    TSingolNote note(false, services);
    note.NoteText->setLines({QStringLiteral("one"), QStringLiteral("two")});
    select(note, 4, 3);
    script.fonts.push_back(courierBold());
    note.runMenuItem(note.Menus.Font1);
    EXPECT_EQ(note.NoteText->selectionFont(), courierBold());
    EXPECT_NE(note.NoteText->bodyFont(), courierBold());
    select(note, 0, 1);
    EXPECT_NE(note.NoteText->selectionFont(), courierBold());

    const auto copy = reloaded(note);
    select(*copy, 4, 3);
    EXPECT_EQ(copy->NoteText->selectionFont(), courierBold());

    note.NoteText->selectNoneAtStart();
    storage::FontDesc big = courierBold();
    big.size = 20;
    script.fonts.push_back(big);
    QTest::keyClick(note.NoteText, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(note.NoteText->bodyFont(), big) << "Ctrl+F with nothing selected";
}

// Each font dialog opens on exactly what it changes: the title font, the
// format at the caret or of the first selected character, the body font.
TEST_F(NoteCommands, EveryFontDialogOpensOnTheFontItChanges)
{
    TSingolNote note(false, services);
    note.NoteTitle->setFontDesc(courierBold());
    note.NoteText->setLines({QStringLiteral("plain"), QStringLiteral("shown")});
    select(note, 6, 5);
    const storage::FontDesc italicUnderlined16 {
        note.NoteText->bodyFont().name, 16, false, true, true, false, 0x00336699};
    note.NoteText->setSelectionFont(italicUnderlined16);

    note.runMenuItem(note.Menus.ChangeFont1);
    select(note, 6, 5);
    note.runMenuItem(note.Menus.Font1);
    QTextCursor caret = note.NoteText->textCursor();
    caret.setPosition(9);
    note.NoteText->setTextCursor(caret);
    note.runMenuItem(note.Menus.Font1);
    note.runMenuItem(note.Menus.Fonrt1);
    const QList<storage::FontDesc> expected
        = {courierBold(), italicUnderlined16, italicUnderlined16, note.NoteText->bodyFont()};
    EXPECT_EQ(script.fontPresets, expected);
}

TEST_F(NoteCommands, AlignmentChangesTheTouchedParagraphs)
{
    TSingolNote note(false, services);
    note.NoteText->setLines(
        {QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")});
    select(note, 5, 4); // from "two" into "three"
    note.runMenuItem(note.Menus.Center1);
    EXPECT_EQ(alignmentOfLine(note, 0), Qt::AlignLeft);
    EXPECT_EQ(alignmentOfLine(note, 1), Qt::AlignHCenter);
    EXPECT_EQ(alignmentOfLine(note, 2), Qt::AlignHCenter);
    select(note, 0, 0);
    note.runMenuItem(note.Menus.Right1);
    EXPECT_EQ(alignmentOfLine(note, 0), Qt::AlignRight);

    const auto copy = reloaded(note);
    EXPECT_EQ(alignmentOfLine(*copy, 0), Qt::AlignRight);
    EXPECT_EQ(alignmentOfLine(*copy, 1), Qt::AlignHCenter);
    select(*copy, 0, 0);
    copy->runMenuItem(copy->Menus.Left1);
    EXPECT_EQ(alignmentOfLine(*copy, 0), Qt::AlignLeft);
}

TEST_F(NoteCommands, BodyFontAndBackgroundLeaveTheTitleAlone)
{
    TSingolNote note(false, services);
    script.fonts.push_back(courierBold());
    note.runMenuItem(note.Menus.Fonrt1);
    EXPECT_EQ(note.NoteText->bodyFont(), courierBold());

    script.colors.push_back(QColor(0x10, 0x20, 0x30));
    note.runMenuItem(note.Menus.Background1);
    EXPECT_EQ(note.NotePanel->colorRef(), 0x00302010);
    EXPECT_EQ(note.NoteText->backColor(), QColor(0x10, 0x20, 0x30));
    EXPECT_EQ(note.NoteTitle->colorRef(), 0x00C0DCC0);

    const auto copy = reloaded(note);
    EXPECT_EQ(copy->NoteText->bodyFont(), courierBold());
    EXPECT_EQ(copy->NotePanel->colorRef(), 0x00302010);
    EXPECT_EQ(copy->NoteText->backColor(), QColor(0x10, 0x20, 0x30));
    EXPECT_EQ(copy->NoteTitle->colorRef(), 0x00C0DCC0);
}

TEST_F(NoteCommands, ClipboardAndUndoCommands)
{
    TSingolNote note(false, services);
    note.NoteText->setLines({QStringLiteral("one two")});
    select(note, 4, 3);
    note.runMenuItem(note.Menus.Copy2);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("two"));
    note.runMenuItem(note.Menus.Cut2);
    EXPECT_EQ(note.NoteText->toPlainText(), QStringLiteral("one "));
    select(note, 0, 0);
    note.runMenuItem(note.Menus.Paste2);
    EXPECT_EQ(note.NoteText->toPlainText(), QStringLiteral("twoone "));
    note.runMenuItem(note.Menus.Undo1);
    EXPECT_EQ(note.NoteText->toPlainText(), QStringLiteral("one "));
    note.runMenuItem(note.Menus.Redo1);
    EXPECT_EQ(note.NoteText->toPlainText(), QStringLiteral("twoone "));
}

TEST_F(NoteCommands, InsertImageReplacesTheSelectionAndLeavesTheClipboard)
{
    TSingolNote note(false, services);
    note.NoteText->setLines({QStringLiteral("abc")});
    select(note, 1, 1);
    QApplication::clipboard()->setText(QStringLiteral("the user's phone number"));
    script.openFiles.push_back(bitmapFile(QStringLiteral("blue.bmp")));
    note.runMenuItem(note.Menus.insertImage1);

    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(note.NoteText->toPlainText(),
              QStringLiteral("a") + QChar(QChar::ObjectReplacementCharacter) + QStringLiteral("c"));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("the user's phone number"));
    EXPECT_EQ(pictureCount(*reloaded(note)), 1);
    // The classic filter first, every picture the body reads next, in the
    // user's pictures (or home) folder.
    ASSERT_EQ(script.openFileDialogs.size(), 1);
    EXPECT_TRUE(script.openFileDialogs.first().startsWith(
        QStringLiteral("All (*.bmp);;Pictures (*.png *.jpg *.jpeg *.gif *.bmp) in ")));
    EXPECT_TRUE(script.openFileDialogs.first().endsWith(QDir::homePath())
                || script.openFileDialogs.first().endsWith(QStringLiteral("Pictures")));
}

TEST_F(NoteCommands, InsertBitmapCancelledOrUnreadableChangesNothing)
{
    TSingolNote note(false, services);
    note.NoteText->setLines({QStringLiteral("abc")});
    note.runMenuItem(note.Menus.InsertBitmap1); // the file dialog cancelled
    EXPECT_TRUE(errors.isEmpty());

    const QString damaged
        = testsupport::freshDir(QStringLiteral("bad")) + QStringLiteral("/torn.bmp");
    testsupport::writeAll(damaged, QByteArray("BM not really a bitmap"));
    script.openFiles.push_back(damaged);
    note.runMenuItem(note.Menus.InsertBitmap1);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors.first().contains(damaged)) << errors.first().toStdString();
    EXPECT_EQ(note.NoteText->toPlainText(), QStringLiteral("abc"));
}

TEST_F(NoteCommands, ObjectPropertiesOpensOnlyForOnePicture)
{
    TSingolNote note(false, services);
    note.NoteText->setLines({QStringLiteral("abc")});
    select(note, 0, 1);
    int dialogs = 0;
    const auto closeDialog = [&dialogs] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            ++dialogs;
            modal->close();
        }
    };
    note.runMenuItem(note.Menus.ObjectProperties1);
    EXPECT_EQ(dialogs, 0);

    script.openFiles.push_back(bitmapFile(QStringLiteral("one.bmp")));
    select(note, 1, 0);
    note.runMenuItem(note.Menus.insertImage1);
    select(note, 1, 1);
    QTimer::singleShot(0, closeDialog);
    note.runMenuItem(note.Menus.ObjectProperties1);
    EXPECT_EQ(dialogs, 1);
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(NoteCommands, CloseCancelledKeepsEverythingAndOkDeletesTheFilesAtOnce)
{
    TSingolNote note(false, services);
    note.show();
    note.SaveNote();
    const QString path = note.notePath();
    ASSERT_TRUE(QFileInfo::exists(path));

    note.runMenuItem(note.Menus.Close1); // Cancel
    EXPECT_FALSE(note.Discarded());
    EXPECT_TRUE(note.isVisible());
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_TRUE(QFileInfo::exists(path + QLatin1Char('2')));
    ASSERT_EQ(script.questions.size(), 1);
    EXPECT_EQ(
        script.questions.first(),
        QStringLiteral("Close this note for good? It will be deleted and cannot be restored."));

    script.confirmations.push_back(true);
    note.runMenuItem(note.Menus.Close1);
    EXPECT_TRUE(note.Discarded());
    EXPECT_FALSE(note.isVisible());
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_FALSE(QFileInfo::exists(path + QLatin1Char('2')));
    EXPECT_TRUE(noteFiles().isEmpty());
}

TEST_F(NoteCommands, HiddenNoteComesBackHidden)
{
    TSingolNote note(false, services);
    note.show();
    note.runMenuItem(note.Menus.Hide1);
    EXPECT_FALSE(note.isVisible());
    EXPECT_FALSE(note.Discarded());
    EXPECT_FALSE(reloaded(note)->isVisible());
}

TEST_F(NoteCommands, OnTopFromTheMenuIsSaved)
{
    TSingolNote note(false, services);
    note.runMenuItem(note.Menus.Ontop1);
    EXPECT_TRUE(reloaded(note)->OnTop());
    note.runMenuItem(note.Menus.Ontop1);
    EXPECT_FALSE(reloaded(note)->OnTop());
}

TEST_F(NoteCommands, NoCommandMarksTheNoteModified)
{
    TSingolNote note(false, services);
    note.NoteText->setLines({QStringLiteral("one two")});
    notetest::deactivate(note); // saved; no change waits for a deactivation
    const QString path = note.notePath();
    QFile::remove(path);
    QFile::remove(storage::companionPath(path));
    script.fonts = {courierBold(), courierBold(), courierBold()};
    script.colors = {QColor(1, 2, 3), QColor(4, 5, 6)};
    printer = [] {
        return std::unique_ptr<QPrinter>();
    };
    for (QMenu *menu : {note.Menus.PopupTitle, note.Menus.PopUpNote}) {
        for (QAction *action : menu->findChildren<QAction *>()) {
            if (action == note.Menus.Changetitle1 || action == note.Menus.Close1
                || action == note.Menus.Noteexpiration1 || action->menu() || action->isSeparator())
                continue;
            select(note, 0, 3);
            note.runMenuItem(action);
            EXPECT_FALSE(note.Modified()) << action->objectName().toStdString();
        }
    }
    EXPECT_FALSE(QFileInfo::exists(path)) << "nothing was saved";
}

TEST_F(NoteCommands, RightPressOpensTheBodyMenuOtherButtonsDoNot)
{
    TSingolNote note(false, services);
    note.show();
    QTest::mousePress(note.NoteText->viewport(), Qt::MiddleButton, {}, QPoint(5, 5));
    EXPECT_FALSE(note.Menus.PopUpNote->isVisible());
    QTest::mousePress(note.NoteText->viewport(), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_TRUE(note.Menus.PopUpNote->isVisible());
    note.Menus.PopUpNote->hide();
}

TEST_F(NoteCommands, OnlyWebAndMailLinksOpenAndOnlyByTheLeftButton)
{
    TSingolNote note(false, services);
    QList<QUrl> opened;
    openUrl = [&opened](const QUrl &url) {
        opened.append(url);
    };
    for (const char *link :
         {"file:///bin/sh", "javascript:alert(1)", "/usr/bin/xterm", "smb://server/share"})
        Q_EMIT note.NoteText->linkClicked(QString::fromLatin1(link), Qt::LeftButton);
    Q_EMIT note.NoteText->linkClicked(QStringLiteral("http://example.com/"), Qt::RightButton);
    EXPECT_TRUE(opened.isEmpty()) << opened.first().toString().toStdString();

    Q_EMIT note.NoteText->linkClicked(QStringLiteral("www.example.com"), Qt::LeftButton);
    Q_EMIT note.NoteText->linkClicked(QStringLiteral("mailto:someone@example.com"), Qt::LeftButton);
    EXPECT_EQ(opened,
              QList<QUrl>({QUrl(QStringLiteral("http://www.example.com")),
                           QUrl(QStringLiteral("mailto:someone@example.com"))}));
}

TEST_F(NoteCommands, AClickOnALinkInTheBodyOpensIt)
{
    TSingolNote note(false, services);
    note.resize(300, 200);
    note.NoteText->setLines({QStringLiteral("https://example.org/page")});
    note.show();
    QList<QUrl> opened;
    openUrl = [&opened](const QUrl &url) {
        opened.append(url);
    };
    QTextCursor cursor(note.NoteText->document());
    cursor.setPosition(3);
    const QPoint onLink = note.NoteText->cursorRect(cursor).center();
    QTest::mouseClick(note.NoteText->viewport(), Qt::LeftButton, {}, onLink);
    EXPECT_EQ(opened, QList<QUrl>({QUrl(QStringLiteral("https://example.org/page"))}));
}

TEST_F(NoteCommands, PrintingALongNoteFillsSeveralPagesOfItsJob)
{
    TSingolNote note(false, services);
    note.NoteTitle->setText(QStringLiteral("Shopping"));
    QStringList lines;
    for (int i = 0; i < 300; ++i)
        lines << QStringLiteral("line %1").arg(i);
    note.NoteText->setLines(lines);
    const QString pdf = testsupport::freshDir(QStringLiteral("print")) + QStringLiteral("/out.pdf");
    printer = [&] {
        auto file = std::make_unique<QPrinter>(QPrinter::HighResolution);
        file->setOutputFormat(QPrinter::PdfFormat);
        file->setOutputFileName(pdf);
        return file;
    };
    note.runMenuItem(note.Menus.Print1);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();

    const QByteArray printed = testsupport::readAll(pdf);
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page\\b(?!s)"));
    EXPECT_GT(QString::fromLatin1(printed).count(page), 1);
    // The job (the document's title) is named after the note.
    QByteArray title;
    for (const char c : QByteArray("Shopping"))
        title.append('\0').append(c);
    EXPECT_TRUE(printed.contains(title));
}

// A note can always be printed, or kept as a document to print later.
TEST_F(NoteCommands, PrintingWithoutAPrinterOffersAPdfDocumentInstead)
{
    TSingolNote note(false, services);
    note.NoteTitle->setText(QStringLiteral("Plumber/Gas"));
    note.NoteText->setLines({QStringLiteral("text")});
    printer = [] {
        return std::unique_ptr<QPrinter>();
    };
    note.runMenuItem(note.Menus.Print1); // the save dialog cancelled
    ASSERT_EQ(script.questions.size(), 1);
    EXPECT_TRUE(script.questions.first().contains(QStringLiteral("no printer")));
    EXPECT_TRUE(errors.isEmpty());

    const QString pdf = folder() + QStringLiteral("/note.pdf");
    script.saveFiles.push_back(pdf);
    note.runMenuItem(note.Menus.Print1);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(testsupport::readAll(pdf).startsWith("%PDF"));
}
