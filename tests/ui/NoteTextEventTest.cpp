#include "ui/NoteText.h"

#include "UiTestSupport.h"
#include "ui/rtf/Rtf.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using uitest::pointOverCharacter;
using uitest::selectRange;
using uitest::typeInto;

namespace {

const QString kText = QStringLiteral("call www.example.com/menu now");
constexpr int kLinkStart = 5;
constexpr int kLinkLength = 20;

// A shown body holding kText, laid out and ready for the mouse.
struct ShownBody
{
    ShownBody()
    {
        text.resize(400, 200);
        text.setLines({kText});
        text.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&text));
    }
    ui::NoteText text;
};

bool anyFragmentHas(const QTextDocument &document, QTextFormat::Property property)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().hasProperty(property))
                return true;
        }
    }
    return false;
}

} // namespace

TEST(NoteTextLinks, LinksAreShownButNotStored)
{
    ui::NoteText text;
    text.setLines({kText});
    const QVector<QTextLayout::FormatRange> shown
        = text.document()->firstBlock().layout()->formats();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].start, kLinkStart);
    EXPECT_EQ(shown[0].length, kLinkLength);
    EXPECT_TRUE(shown[0].format.fontUnderline());

    EXPECT_FALSE(anyFragmentHas(*text.document(), QTextFormat::TextUnderlineStyle));
    EXPECT_FALSE(anyFragmentHas(*text.document(), QTextFormat::ForegroundBrush));
    EXPECT_FALSE(rtf::write(*text.document()).contains("\\ul"));
    EXPECT_FALSE(text.document()->isModified());
}

TEST(NoteTextLinks, TypedLinkIsShownAtOnce)
{
    ui::NoteText text;
    typeInto(text, QStringLiteral("see http://a.org"));
    EXPECT_EQ(text.document()->firstBlock().layout()->formats().size(), 1);
}

TEST(NoteTextLinks, CopiedLinkPastesWithoutTheLinkLook)
{
    ui::NoteText text;
    text.setLines({kText});
    selectRange(text, 0, kText.size());
    text.copy();
    text.selectNoneAtStart();
    text.paste();
    EXPECT_EQ(text.lines(), QStringList({kText + kText}));
    EXPECT_FALSE(anyFragmentHas(*text.document(), QTextFormat::TextUnderlineStyle));
    EXPECT_FALSE(anyFragmentHas(*text.document(), QTextFormat::ForegroundBrush));
}

TEST(NoteTextLinks, ClickOnALinkReportsItsTextAndButton)
{
    ShownBody body;
    QSignalSpy clicks(&body.text, &ui::NoteText::linkClicked);
    const QPoint onLink = pointOverCharacter(body.text, kLinkStart + 3);
    EXPECT_EQ(body.text.linkAt(onLink), QStringLiteral("www.example.com/menu"));

    QTest::mouseClick(body.text.viewport(), Qt::LeftButton, {}, onLink);
    ASSERT_EQ(clicks.size(), 1);
    EXPECT_EQ(clicks[0][0].toString(), QStringLiteral("www.example.com/menu"));
    EXPECT_EQ(clicks[0][1].value<Qt::MouseButton>(), Qt::LeftButton);

    QTest::mouseClick(body.text.viewport(), Qt::RightButton, {}, onLink);
    ASSERT_EQ(clicks.size(), 2);
    EXPECT_EQ(clicks[1][1].value<Qt::MouseButton>(), Qt::RightButton);
}

TEST(NoteTextLinks, ClickOnALinkWithAnAddressReportsTheAddress)
{
    ShownBody body;
    QTextCursor cursor(body.text.document());
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat link;
    link.setAnchor(true);
    link.setAnchorHref(QStringLiteral("https://example.org/menu"));
    cursor.insertText(QStringLiteral(" the menu"), link);
    QSignalSpy clicks(&body.text, &ui::NoteText::linkClicked);
    QTest::mouseClick(body.text.viewport(), Qt::LeftButton, {},
                      pointOverCharacter(body.text, int(kText.size()) + 3));
    ASSERT_EQ(clicks.size(), 1);
    EXPECT_EQ(clicks[0][0].toString(), QStringLiteral("https://example.org/menu"));
}

TEST(NoteTextLinks, ClickBesideALinkOrADragOverItIsNoLinkClick)
{
    ShownBody body;
    QSignalSpy clicks(&body.text, &ui::NoteText::linkClicked);
    QTest::mouseClick(body.text.viewport(), Qt::LeftButton, {}, pointOverCharacter(body.text, 1));
    QTest::mouseClick(body.text.viewport(), Qt::LeftButton, {},
                      pointOverCharacter(body.text, kText.size() - 1));
    // Far right of the line: no character there.
    QTest::mouseClick(body.text.viewport(), Qt::LeftButton, {},
                      QPoint(390, pointOverCharacter(body.text, kLinkStart).y()));

    const QPoint from = pointOverCharacter(body.text, kLinkStart + 1);
    const QPoint to = pointOverCharacter(body.text, kLinkStart + 12);
    QTest::mousePress(body.text.viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(body.text.viewport(), to);
    QTest::mouseRelease(body.text.viewport(), Qt::LeftButton, {}, to);
    EXPECT_EQ(clicks.size(), 0);
}

TEST(NoteTextEvents, MousePressReportsButtonAndPositionInTheControl)
{
    ShownBody body;
    QSignalSpy presses(&body.text, &ui::NoteText::mousePressed);
    QTest::mousePress(body.text.viewport(), Qt::RightButton, {}, QPoint(30, 12));
    QTest::mouseRelease(body.text.viewport(), Qt::RightButton, {}, QPoint(30, 12));
    ASSERT_EQ(presses.size(), 1);
    EXPECT_EQ(presses[0][0].value<Qt::MouseButton>(), Qt::RightButton);
    EXPECT_EQ(presses[0][1].toPoint(), body.text.viewport()->mapTo(&body.text, QPoint(30, 12)));
}

TEST(NoteTextEvents, FocusMovingAwayIsReported)
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *text = new ui::NoteText;
    auto *title = new QLineEdit;
    layout->addWidget(text);
    layout->addWidget(title);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    text->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return text->hasFocus(); }));

    QSignalSpy lost(text, &ui::NoteText::focusLost);
    title->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return title->hasFocus(); }));
    EXPECT_EQ(lost.size(), 1);
}

// The rich-edit keys: bold, italic and underline of the selection, or of
// what is typed next; on X11 the editor itself took Ctrl+U to delete a line.
TEST(NoteTextEvents, CtrlBIAndUToggleTheSelectionOrTheTypingFormat)
{
    ui::NoteText text;
    uitest::typeInto(text, QStringLiteral("one two"));
    uitest::selectRange(text, 0, 3);
    QTest::keyClick(&text, Qt::Key_B, Qt::ControlModifier);
    QTest::keyClick(&text, Qt::Key_U, Qt::ControlModifier);
    EXPECT_TRUE(text.selectionFont().bold);
    EXPECT_TRUE(text.selectionFont().underline);
    QTest::keyClick(&text, Qt::Key_B, Qt::ControlModifier);
    EXPECT_FALSE(text.selectionFont().bold);
    EXPECT_EQ(text.toPlainText(), QStringLiteral("one two")) << "no key became text";

    QTextCursor end = text.textCursor();
    end.movePosition(QTextCursor::End);
    text.setTextCursor(end);
    QTest::keyClick(&text, Qt::Key_I, Qt::ControlModifier);
    QTest::keyClicks(&text, QStringLiteral("!"));
    uitest::selectRange(text, 7, 8);
    EXPECT_TRUE(text.selectionFont().italic);
    uitest::selectRange(text, 4, 5);
    EXPECT_FALSE(text.selectionFont().italic);
}
