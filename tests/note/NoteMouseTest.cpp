// Moving, resizing, rolling up and retitling a note with the mouse and keys,
// through events on its parts as the window system would deliver them.
#include "note/Note.h"
#include "note/NoteParts.h"
#include "note/NoteTestSupport.h"
#include "settings/veskUt.h"
#include "storage/NoteFile.h"
#include "ui/NoteText.h"

#include <QAction>
#include <QCursor>
#include <QLineEdit>
#include <QTest>

using notetest::NoteFixture;

namespace {

// A shown 135 x 80 note at (100, 100), not modified.
class ShownNote : public NoteFixture
{
protected:
    void SetUp() override
    {
        NoteFixture::SetUp();
        note = std::make_unique<TSingolNote>(false, services);
        note->move(100, 100);
        note->show();
        notetest::deactivate(*note); // saved: nothing waits for a deactivation
    }
    void TearDown() override
    {
        note.reset();
        NoteFixture::TearDown();
    }

    void pressPanel(QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(note->NotePanel, button, {}, at);
    }
    // The pointer to a screen point, then a move over the panel.
    void dragPanelTo(QPoint screen)
    {
        QCursor::setPos(screen);
        QTest::mouseMove(note->NotePanel, note->NotePanel->mapFromGlobal(screen));
    }

    std::unique_ptr<TSingolNote> note;
};

} // namespace

using FrameGrip = ShownNote;

TEST_F(FrameGrip, OnlyAPressWithinFourPixelsOfTheRightOrBottomEdgeResizes)
{
    pressPanel({130, 40});
    EXPECT_FALSE(note->SizingWidth());
    EXPECT_FALSE(note->SizingHeight());
    QTest::mouseRelease(note->NotePanel, Qt::LeftButton, {}, {130, 40});

    pressPanel({131, 40});
    EXPECT_TRUE(note->SizingWidth());
    EXPECT_FALSE(note->SizingHeight());
    QTest::mouseRelease(note->NotePanel, Qt::LeftButton, {}, {131, 40});

    pressPanel({131, 76}, Qt::RightButton);
    EXPECT_TRUE(note->SizingWidth());
    EXPECT_TRUE(note->SizingHeight());
    EXPECT_EQ(note->SizeOriginLeft(), 100);
    EXPECT_EQ(note->SizeOriginTop(), 100);
    QTest::mouseRelease(note->NotePanel, Qt::RightButton, {}, {131, 76});
    EXPECT_FALSE(note->SizingWidth());
    EXPECT_FALSE(note->SizingHeight());
}

TEST_F(FrameGrip, TheLeftAndTopFrameDoNotResize)
{
    pressPanel({0, 40});
    EXPECT_FALSE(note->SizingWidth() || note->SizingHeight());
    QTest::mouseRelease(note->NotePanel, Qt::LeftButton, {}, {0, 40});
    pressPanel({60, 1});
    EXPECT_FALSE(note->SizingWidth() || note->SizingHeight());
}

TEST_F(FrameGrip, TheCursorShowsWhichEdgesAPressWouldTake)
{
    QTest::mouseMove(note->NotePanel, {133, 79});
    EXPECT_EQ(note->NotePanel->cursor().shape(), Qt::SizeFDiagCursor);
    QTest::mouseMove(note->NotePanel, {133, 40});
    EXPECT_EQ(note->NotePanel->cursor().shape(), Qt::SizeHorCursor);
    QTest::mouseMove(note->NotePanel, {60, 79});
    EXPECT_EQ(note->NotePanel->cursor().shape(), Qt::SizeVerCursor);
    QTest::mouseMove(note->NotePanel, {0, 40});
    EXPECT_EQ(note->NotePanel->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(note->size(), QSize(135, 80)); // moves without a press resize nothing
}

TEST_F(FrameGrip, DraggingTheCornerFollowsThePointerAndMarksTheNote)
{
    pressPanel({133, 79});
    dragPanelTo({100 + 250, 100 + 180});
    EXPECT_EQ(note->size(), QSize(250, 180));
    EXPECT_EQ(note->pos(), QPoint(100, 100)); // the left and top edges stay
    EXPECT_TRUE(note->Modified());
    QTest::mouseRelease(note->NotePanel, Qt::LeftButton);
    EXPECT_EQ(note->NoteText->geometry(), QRect(2, 17, 246, 161));
}

TEST_F(FrameGrip, SizesAtOrBelowTheirLimitKeepTheLastAcceptedOne)
{
    pressPanel({133, 79});
    dragPanelTo({100 + 11, 100 + 21});
    EXPECT_EQ(note->size(), QSize(11, 21));
    dragPanelTo({100 + 10, 100 + 20});
    EXPECT_EQ(note->size(), QSize(11, 21));
    dragPanelTo({50, 50}); // beyond the left and top edges
    EXPECT_EQ(note->size(), QSize(11, 21));
    dragPanelTo({100 + 40, 100 + 20}); // the height still refused alone
    EXPECT_EQ(note->size(), QSize(40, 21));
}

TEST_F(FrameGrip, AWidthGripLeavesTheHeightAlone)
{
    pressPanel({133, 40});
    dragPanelTo({100 + 300, 100 + 300});
    EXPECT_EQ(note->size(), QSize(300, 80));
    QTest::mouseRelease(note->NotePanel, Qt::LeftButton);
    dragPanelTo({100 + 200, 100 + 200}); // released: no more sizing
    EXPECT_EQ(note->size(), QSize(300, 80));
}

using RollUpByTitle = ShownNote;

TEST_F(RollUpByTitle, DoubleClickOnTheTitleRollsUpAndBack)
{
    QTest::mouseDClick(note->NoteTitle, Qt::LeftButton);
    EXPECT_EQ(note->size(), QSize(20, 20));
    EXPECT_EQ(note->RestoreWidth(), 135);
    EXPECT_EQ(note->RestoreHeight(), 80);
    EXPECT_TRUE(note->Modified());
    QTest::mouseDClick(note->NoteTitle, Qt::LeftButton);
    EXPECT_EQ(note->size(), QSize(135, 80));
    EXPECT_EQ(note->NoteText->geometry(), QRect(2, 17, 131, 61));
}

TEST_F(RollUpByTitle, AHeightOfTwentyCountsAsRolledUp)
{
    // Restore sizes come from a note's file.
    const auto rolledUpWithRestore = [this](quint16 width, quint16 height) {
        storage::NoteRecord rolled;
        rolled.width = 90;
        rolled.height = 20;
        rolled.restoreWidth = width;
        rolled.restoreHeight = height;
        storage::writeNoteFile(pathOf(QStringLiteral("9.jtl")), rolled);
        note->LoadNote(QStringLiteral("9.jtl"));
    };
    rolledUpWithRestore(0, 0);
    QTest::mouseDClick(note->NoteTitle, Qt::LeftButton);
    EXPECT_EQ(note->size(), QSize(90, 20)); // nothing stored to unroll to
    rolledUpWithRestore(150, 120);
    QTest::mouseDClick(note->NoteTitle, Qt::LeftButton);
    EXPECT_EQ(note->size(), QSize(150, 120));
}

using TitleDrag = ShownNote;

TEST_F(TitleDrag, WithoutASystemMoveTheNoteFollowsThePointerUntilRelease)
{
    QCursor::setPos(150, 105);
    QTest::mousePress(note->NoteTitle, Qt::LeftButton, {}, {48, 3});
    EXPECT_FALSE(note->Modified());
    QCursor::setPos(180, 145);
    QTest::mouseMove(note->NoteTitle, {78, 43});
    EXPECT_EQ(note->pos(), QPoint(130, 140));
    QTest::mouseRelease(note->NoteTitle, Qt::LeftButton, {}, {78, 43});
    EXPECT_TRUE(note->Modified());
    QCursor::setPos(300, 300);
    QTest::mouseMove(note->NoteTitle, {10, 10});
    EXPECT_EQ(note->pos(), QPoint(130, 140));
}

TEST_F(TitleDrag, AJiggleWithinTheDragDistanceMovesNothing)
{
    QCursor::setPos(150, 105);
    QTest::mousePress(note->NoteTitle, Qt::LeftButton, {}, {48, 3});
    QCursor::setPos(152, 106);
    QTest::mouseMove(note->NoteTitle, {50, 4});
    EXPECT_EQ(note->pos(), QPoint(100, 100));
    QTest::mouseRelease(note->NoteTitle, Qt::LeftButton, {}, {50, 4});
    EXPECT_TRUE(note->Modified());
}

TEST_F(TitleDrag, APressWithoutMovingStillMarksTheNote)
{
    QTest::mouseClick(note->NoteTitle, Qt::LeftButton);
    EXPECT_EQ(note->pos(), QPoint(100, 100));
    EXPECT_TRUE(note->Modified());
}

TEST_F(TitleDrag, TheRightButtonNeitherMovesNorMarks)
{
    QCursor::setPos(150, 105);
    QTest::mousePress(note->NoteTitle, Qt::RightButton, {}, {48, 3});
    QCursor::setPos(250, 205);
    QTest::mouseMove(note->NoteTitle, {148, 103});
    QTest::mouseRelease(note->NoteTitle, Qt::RightButton, {}, {148, 103});
    EXPECT_EQ(note->pos(), QPoint(100, 100));
    EXPECT_FALSE(note->Modified());
}

using TitleEditing = ShownNote;

TEST_F(TitleEditing, ChangeTitleOpensTheEditorOverTheTitleStrip)
{
    note->NoteTitle->setText(QStringLiteral("Old"));
    note->runMenuItem(note->Menus.Changetitle1);
    EXPECT_TRUE(note->TitleEdit->isVisible());
    EXPECT_EQ(note->TitleEdit->geometry(), note->NoteTitle->geometry());
    EXPECT_EQ(note->TitleEdit->text(), QStringLiteral("Old"));
    EXPECT_TRUE(note->Modified()); // the editor's text changed
}

TEST_F(TitleEditing, EnterAppliesTheTitle)
{
    note->runMenuItem(note->Menus.Changetitle1);
    note->TitleEdit->clear();
    notetest::deactivate(*note);
    QTest::keyClicks(note->TitleEdit, QStringLiteral("Phone"));
    EXPECT_TRUE(note->Modified());
    EXPECT_EQ(note->NoteTitle->text(), QStringLiteral("Vesk Jotlet 2003"));
    QTest::keyClick(note->TitleEdit, Qt::Key_Return);
    EXPECT_EQ(note->NoteTitle->text(), QStringLiteral("Phone"));
    EXPECT_TRUE(note->TitleEdit->isHidden());

    note->runMenuItem(note->Menus.Changetitle1);
    QTest::keyClicks(note->TitleEdit, QStringLiteral(" 2"));
    QTest::keyClick(note->TitleEdit, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(note->NoteTitle->text(), QStringLiteral("Phone 2"));
}

TEST_F(TitleEditing, EscapeAndFocusLossLeaveTheEditorOpen)
{
    note->runMenuItem(note->Menus.Changetitle1);
    QTest::keyClicks(note->TitleEdit, QStringLiteral("x"));
    QTest::keyClick(note->TitleEdit, Qt::Key_Escape);
    EXPECT_TRUE(note->TitleEdit->isVisible());
    note->NoteText->setFocus();
    EXPECT_TRUE(note->TitleEdit->isVisible());
    EXPECT_EQ(note->TitleEdit->text(), QStringLiteral("Vesk Jotlet 2003x"));
    EXPECT_EQ(note->NoteTitle->text(), QStringLiteral("Vesk Jotlet 2003"));
}

TEST_F(TitleEditing, AnEmptyEditorGivesAnEmptyTitle)
{
    note->runMenuItem(note->Menus.Changetitle1);
    note->TitleEdit->selectAll();
    QTest::keyClick(note->TitleEdit, Qt::Key_Backspace);
    QTest::keyClick(note->TitleEdit, Qt::Key_Return);
    EXPECT_EQ(note->NoteTitle->text(), QString());
}
