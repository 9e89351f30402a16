#include "ui/NoteText.h"

#include "UiTestSupport.h"

#include <QScrollBar>
#include <QTextBlock>
#include <gtest/gtest.h>

using uitest::selectRange;
using uitest::typeInto;

namespace {

storage::FontDesc font(const QString &name, int size, bool bold, qint32 color)
{
    storage::FontDesc desc;
    desc.name = name;
    desc.size = size;
    desc.bold = bold;
    desc.color = color;
    return desc;
}

QTextCharFormat formatAt(const ui::NoteText &text, int position)
{
    QTextCursor cursor(text.document());
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

} // namespace

TEST(NoteText, LooksLikeAPartOfTheNote)
{
    ui::NoteText text;
    EXPECT_EQ(text.frameShape(), QFrame::NoFrame);
    EXPECT_EQ(text.lineWrapMode(), QTextEdit::WidgetWidth);
    EXPECT_EQ(text.verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    EXPECT_EQ(text.horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    EXPECT_EQ(text.contextMenuPolicy(), Qt::PreventContextMenu);

    text.setBackColor(QColor(0, 0x80, 0));
    EXPECT_EQ(text.backColor(), QColor(0, 0x80, 0));
    EXPECT_EQ(text.viewport()->palette().color(QPalette::Base), QColor(0, 0x80, 0));
}

TEST(NoteText, LinesReplaceTheBodyAndForgetUndo)
{
    ui::NoteText text;
    typeInto(text, QStringLiteral("old"));
    text.setLines({"a", "", "c", ""});
    EXPECT_EQ(text.lines(), QStringList({"a", "", "c", ""}));
    EXPECT_FALSE(text.document()->isUndoAvailable());
    EXPECT_EQ(text.textCursor().position(), 0);
}

TEST(NoteText, AppendedLineGoesLastWhereverTheCaretIs)
{
    ui::NoteText text;
    text.setLines({"one", "two", "three"});
    text.selectNoneAtStart();
    text.appendLine(QStringLiteral("07/12/2026  14:05:33"));
    EXPECT_EQ(text.lines(), QStringList({"one", "two", "three", "07/12/2026  14:05:33"}));
    EXPECT_EQ(text.textCursor().position(), 0);

    text.undo();
    EXPECT_EQ(text.lines(), QStringList({"one", "two", "three"}));
}

TEST(NoteText, AppendedLineInAnEmptyBodyIsTheOnlyOne)
{
    ui::NoteText text;
    text.appendLine(QStringLiteral("only"));
    EXPECT_EQ(text.lines(), QStringList({"only"}));
}

TEST(NoteText, AppendedLineTakesTheDefaultFormatNotTheLastRuns)
{
    ui::NoteText text;
    typeInto(text, QStringLiteral("bold"));
    selectRange(text, 0, 4);
    text.setSelectionFont(font(QStringLiteral("Serif"), 20, true, 0x000000FF));
    text.appendLine(QStringLiteral("plain"));
    EXPECT_FALSE(formatAt(text, 6).hasProperty(QTextFormat::FontWeight));
    EXPECT_FALSE(formatAt(text, 6).hasProperty(QTextFormat::ForegroundBrush));
}

TEST(NoteText, BodyFontIsReadBackAsSet)
{
    ui::NoteText text;
    storage::FontDesc body = font(QStringLiteral("MS Sans Serif"), 8, false, 0);
    body.italic = true;
    body.underline = true;
    body.strikeOut = true;
    text.setBodyFont(body);
    EXPECT_EQ(text.bodyFont(), body);

    const storage::FontDesc other = font(QStringLiteral("Sans"), 14, true, 0x00FF0000);
    text.setBodyFont(other);
    EXPECT_EQ(text.bodyFont(), other);
    EXPECT_EQ(text.palette().color(QPalette::Text), QColor(0, 0, 255));
}

TEST(NoteText, NewTextTakesTheBodyFontAndFollowsItsChanges)
{
    ui::NoteText text;
    const storage::FontDesc first = font(QStringLiteral("Sans"), 14, true, 0x000000FF);
    text.setBodyFont(first);
    typeInto(text, QStringLiteral("typed"));
    selectRange(text, 1, 3);
    EXPECT_EQ(text.selectionFont(), first);

    // Text without a format of its own follows the body font.
    const storage::FontDesc second = font(QStringLiteral("Serif"), 9, false, 0x00008000);
    text.setBodyFont(second);
    EXPECT_EQ(text.selectionFont(), second);
}

TEST(NoteText, FontWithASelectionChangesOnlyTheSelectedCharacters)
{
    ui::NoteText text;
    const storage::FontDesc body = font(QStringLiteral("Sans"), 10, false, 0);
    text.setBodyFont(body);
    typeInto(text, QStringLiteral("abcdef"));
    selectRange(text, 2, 4);
    const storage::FontDesc chosen = font(QStringLiteral("Serif"), 16, true, 0x000000FF);
    text.setSelectionFont(chosen);

    EXPECT_EQ(text.selectionFont(), chosen);
    EXPECT_EQ(text.bodyFont(), body);
    selectRange(text, 0, 2);
    EXPECT_EQ(text.selectionFont(), body);
    selectRange(text, 4, 6);
    EXPECT_EQ(text.selectionFont(), body);
}

TEST(NoteText, FontWithoutASelectionChangesTheBodyFont)
{
    ui::NoteText text;
    typeInto(text, QStringLiteral("abc"));
    text.selectNoneAtStart();
    const storage::FontDesc chosen = font(QStringLiteral("Serif"), 16, true, 0x000000FF);
    text.setSelectionFont(chosen);
    EXPECT_EQ(text.bodyFont(), chosen);
    EXPECT_FALSE(formatAt(text, 1).hasProperty(QTextFormat::FontWeight));
}

TEST(NoteText, HighlightWithASelectionMarksOnlyThoseCharacters)
{
    ui::NoteText text;
    typeInto(text, QStringLiteral("abcdef"));
    selectRange(text, 1, 3);
    text.setSelectionHighlight(QColor(255, 0, 0));
    EXPECT_EQ(text.selectionHighlight(), QColor(255, 0, 0));
    EXPECT_EQ(formatAt(text, 1).background().color(), QColor(255, 0, 0));
    EXPECT_EQ(formatAt(text, 2).background().color(), QColor(255, 0, 0));
    EXPECT_FALSE(formatAt(text, 0).hasProperty(QTextFormat::BackgroundBrush));
    EXPECT_FALSE(formatAt(text, 3).hasProperty(QTextFormat::BackgroundBrush));
    EXPECT_FALSE(text.defaultHighlight().isValid());
}

TEST(NoteText, HighlightWithoutASelectionIsTheDefaultFormats)
{
    ui::NoteText text;
    typeInto(text, QStringLiteral("abcdef"));
    selectRange(text, 0, 1);
    text.setSelectionHighlight(QColor(0, 0, 255));
    text.selectNoneAtStart();

    // "None": the note's back colour, as a fixed colour.
    text.setSelectionHighlight(QColor(255, 255, 0));
    EXPECT_EQ(text.defaultHighlight(), QColor(255, 255, 0));
    selectRange(text, 3, 4);
    EXPECT_EQ(text.selectionHighlight(), QColor(255, 255, 0));
    // Characters with a highlight of their own keep it, and nothing was
    // written into the text's formats.
    selectRange(text, 0, 1);
    EXPECT_EQ(text.selectionHighlight(), QColor(0, 0, 255));
    EXPECT_FALSE(formatAt(text, 3).hasProperty(QTextFormat::BackgroundBrush));
}

TEST(NoteText, AlignmentCoversEveryParagraphTheSelectionTouches)
{
    ui::NoteText text;
    text.setLines({"first", "second", "third"});
    // From inside the first paragraph to inside the second.
    selectRange(text, 2, 9);
    text.setAlignment(Qt::AlignRight);
    QTextBlock block = text.document()->begin();
    EXPECT_TRUE(block.blockFormat().alignment() & Qt::AlignRight);
    block = block.next();
    EXPECT_TRUE(block.blockFormat().alignment() & Qt::AlignRight);
    block = block.next();
    EXPECT_FALSE(block.blockFormat().alignment() & Qt::AlignRight);

    selectRange(text, 14, 14);
    text.setAlignment(Qt::AlignHCenter);
    EXPECT_TRUE(text.document()->lastBlock().blockFormat().alignment() & Qt::AlignHCenter);
}

TEST(NoteText, SelectionLengthSelectAllAndEmptySelectionAtStart)
{
    ui::NoteText text;
    text.setLines({"abc", "de"});
    EXPECT_EQ(text.selectionLength(), 0);
    text.selectAll();
    EXPECT_EQ(text.selectionLength(), 6);
    selectRange(text, 5, 1);
    EXPECT_EQ(text.selectionLength(), 4);
    text.selectNoneAtStart();
    EXPECT_EQ(text.selectionLength(), 0);
    EXPECT_EQ(text.textCursor().position(), 0);
}

// The history once was dropped whole past a bound, the last edit with it.
TEST(NoteText, UndoesTheNewestHundredStepsAndNothingOlder)
{
    ui::NoteText text;
    const auto length = [&text] {
        return text.document()->characterCount() - 1;
    };
    QTextCursor cursor(text.document());
    const auto editAtStart = [&cursor](int n) {
        // Each insertion before the last one is an undo step of its own.
        for (int i = 0; i < n; ++i) {
            cursor.setPosition(0);
            cursor.insertText(QStringLiteral("x"));
        }
    };
    editAtStart(1020);
    // One step of several commands: text and a format, in one edit block.
    cursor.beginEditBlock();
    cursor.setPosition(0);
    cursor.insertText(QStringLiteral("yy"));
    cursor.setPosition(0, QTextCursor::KeepAnchor);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.mergeCharFormat(bold);
    cursor.endEditBlock();
    EXPECT_EQ(text.undoableSteps(), ui::NoteText::kUndoSteps);

    text.undoStep();
    EXPECT_EQ(length(), 1020) << "the newest step, the block, is undone whole";
    for (int i = 1; i < ui::NoteText::kUndoSteps; ++i)
        text.undoStep();
    EXPECT_EQ(length(), 1020 - 99);
    text.undoStep();
    EXPECT_EQ(length(), 1020 - 99) << "nothing older is offered";
    for (int i = 0; i < ui::NoteText::kUndoSteps; ++i)
        text.redoStep();
    EXPECT_EQ(length(), 1022);
    text.undoStep();
    EXPECT_EQ(length(), 1020) << "redone steps can be undone again";
}
