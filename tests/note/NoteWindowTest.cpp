// The note window as it is built: structure, defaults from the settings,
// placement, file naming, the menus and the on-top band.
#include "note/Note.h"
#include "note/NoteParts.h"
#include "note/NoteTestSupport.h"
#include "settings/DResource.h"
#include "settings/veskUt.h"
#include "storage/DateTime.h"
#include "storage/NoteFolder.h"
#include "support/TempHome.h"
#include "ui/NoteText.h"

#include <QAction>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <QWindow>

using notetest::NoteFixture;

namespace {

storage::FontDesc sansSerif8()
{
    storage::FontDesc font;
    font.name = QStringLiteral("MS Sans Serif");
    font.size = 8;
    return font;
}

QSize screenSize()
{
    return QGuiApplication::primaryScreen()->geometry().size();
}

// One line per item: name, caption or "-", shortcut, and a submenu in braces.
QStringList describe(const QMenu &menu)
{
    QStringList lines;
    for (const QAction *action : menu.actions()) {
        QString line = action->objectName() + QLatin1Char(' ')
            + (action->isSeparator() ? QStringLiteral("-") : action->text());
        if (!action->shortcut().isEmpty())
            line += QLatin1Char(' ') + action->shortcut().toString();
        if (action->menu())
            line += QStringLiteral(" {") + describe(*action->menu()).join(QStringLiteral(", "))
                + QLatin1Char('}');
        lines.append(line);
    }
    return lines;
}

} // namespace

using NoteDefaults = NoteFixture;

TEST_F(NoteDefaults, WithoutSettingsANoteIsTheDesignNote)
{
    TSingolNote note(false, services);
    EXPECT_FALSE(note.isVisible());
    EXPECT_EQ(note.size(), QSize(135, 80));
    EXPECT_EQ(note.NotePanel->colorRef(), 0x0000FFFF);
    EXPECT_EQ(note.NoteText->backColor(), QColor(255, 255, 0));
    EXPECT_EQ(note.NoteTitle->text(), QStringLiteral("Vesk Jotlet 2003"));
    EXPECT_EQ(note.NoteTitle->colorRef(), 0x00C0DCC0);
    EXPECT_EQ(note.NoteText->bodyFont(), sansSerif8());
    EXPECT_EQ(note.NoteTitle->fontDesc(), sansSerif8());
    EXPECT_EQ(note.windowTitle(), QStringLiteral("JotNoteLight"));
    EXPECT_EQ(note.windowFlags() & (Qt::Tool | Qt::FramelessWindowHint),
              Qt::Tool | Qt::FramelessWindowHint);
    EXPECT_EQ(note.NoteFolder(), storage::noteFolderPath());
    EXPECT_TRUE(note.Modified());
    EXPECT_FALSE(note.Discarded());
    EXPECT_FALSE(note.Parked());
    EXPECT_FALSE(note.OnTop());
}

TEST_F(NoteDefaults, TheRecordStartsAtTheMomentOfCreation)
{
    TSingolNote note(true, services);
    const double created = storage::fromQDateTime(notetest::fixedNow());
    for (const double stamp : {note.CreateStamp1(), note.CreateStamp2(), note.AlarmDate(),
                               note.AlarmTime(), note.ExpirationDate(), note.ExpirationTime()})
        EXPECT_DOUBLE_EQ(stamp, created);
    EXPECT_FALSE(note.AlarmEnabled());
    EXPECT_FALSE(note.AlarmFired());
    EXPECT_FALSE(note.ExpirationEnabled());
    EXPECT_FALSE(note.ExpirationReserved());
    EXPECT_EQ(note.RestoreWidth(), 0);
    EXPECT_EQ(note.RestoreHeight(), 0);
    EXPECT_TRUE(note.OnTop());
}

TEST_F(NoteDefaults, MissingSettingsAreStoredWithTheirDefaults)
{
    TSingolNote note(false, services);
    EXPECT_EQ(readRegString(QStringLiteral("title"), QString()),
              QStringLiteral("Vesk Jotlet 2003"));
    EXPECT_EQ(readRegInt(QStringLiteral("width"), 0), 135);
    EXPECT_EQ(readRegInt(QStringLiteral("BackTitleColor"), 0), 0x00C0DCC0);
    EXPECT_EQ(readRegString(QStringLiteral("fontName"), QString()),
              QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(readRegInt(QStringLiteral("TitleFontSize"), 0), 8);
    EXPECT_EQ(readRegInt(QStringLiteral("position"), 0), 1);
}

TEST_F(NoteDefaults, SettingsGiveTheNewNoteItsLook)
{
    writeRegString(QStringLiteral("title"), QStringLiteral("Shopping"));
    writeRegInt(QStringLiteral("width"), 200);
    writeRegInt(QStringLiteral("height"), 150);
    writeRegInt(QStringLiteral("backcolor"), 0x00FFFF00);
    writeRegInt(QStringLiteral("BackTitleColor"), 0x000000FF);
    writeRegString(QStringLiteral("fontName"), QStringLiteral("DejaVu Serif"));
    writeRegInt(QStringLiteral("fontSize"), 12);
    writeRegBool(QStringLiteral("FontBold"), true);
    writeRegBool(QStringLiteral("FontUnderline"), true);
    writeRegInt(QStringLiteral("FontColor"), 0x00008000);
    writeRegString(QStringLiteral("TitleFontName"), QStringLiteral("DejaVu Sans"));
    writeRegBool(QStringLiteral("TitleFontItalic"), true);
    writeRegInt(QStringLiteral("TitleFontColor"), 0x00FF0000);

    TSingolNote note(false, services);
    EXPECT_EQ(note.NoteTitle->text(), QStringLiteral("Shopping"));
    EXPECT_EQ(note.size(), QSize(200, 150));
    EXPECT_EQ(note.NotePanel->colorRef(), 0x00FFFF00);
    EXPECT_EQ(note.NoteText->backColor(), QColor(0, 255, 255));
    EXPECT_EQ(note.NoteTitle->colorRef(), 0x000000FF);
    storage::FontDesc body {
        QStringLiteral("DejaVu Serif"), 12, true, false, true, false, 0x00008000};
    EXPECT_EQ(note.NoteText->bodyFont(), body);
    storage::FontDesc title {
        QStringLiteral("DejaVu Sans"), 8, false, true, false, false, 0x00FF0000};
    EXPECT_EQ(note.NoteTitle->fontDesc(), title);
}

TEST_F(NoteDefaults, PlacementAndFileNameComeFromTheDrawsInOrder)
{
    // Casual: left, then top; then the three draws of the file name.
    draws.values = {100, 50, 3, 4, 5};
    TSingolNote note(false, services);
    EXPECT_EQ(note.pos(), QPoint(100, 50));
    EXPECT_EQ(note.NoteFileName(), QStringLiteral("17.jtl"));
    ASSERT_GE(draws.bounds.size(), 5u);
    EXPECT_EQ(draws.bounds[0], screenSize().width() - 135 - 30);
    EXPECT_EQ(draws.bounds[1], screenSize().height() - 80 - 30);
    EXPECT_EQ(draws.bounds[2], 30000);
}

TEST_F(NoteDefaults, PlacementFollowsThePositionSetting)
{
    const QSize screen = screenSize();
    writeRegInt(QStringLiteral("position"), 2);
    TSingolNote centred(false, services);
    EXPECT_EQ(centred.pos(), QPoint((screen.width() - 135) / 2, (screen.height() - 80) / 2));

    writeRegInt(QStringLiteral("position"), 4);
    draws.values = {7};
    TSingolNote right(false, services);
    EXPECT_EQ(right.pos(), QPoint(screen.width() - 135 - 1, 7));

    writeRegInt(QStringLiteral("position"), 6);
    draws.values = {9};
    TSingolNote bottom(false, services);
    EXPECT_EQ(bottom.pos(), QPoint(9, screen.height() - 80 - 1));
}

TEST_F(NoteDefaults, ANewNameAvoidsFilesAlreadyThere)
{
    draws.values = {0, 0, 3, 4, 5, 1, 1, 1};
    testsupport::writeAll(pathOf(QStringLiteral("17.jtl")), "taken");
    TSingolNote note(false, services);
    EXPECT_EQ(note.NoteFileName(), QStringLiteral("2.jtl"));
}

TEST_F(NoteDefaults, InitDefaultsAgainDrawsAgain)
{
    draws.values = {10, 20, 3, 4, 5, 30, 40, 6, 7, 8};
    TSingolNote note(false, services);
    note.show();
    QTest::mousePress(note.NotePanel, Qt::LeftButton, {}, QPoint(note.width() - 1, 30));
    ASSERT_TRUE(note.SizingWidth());
    note.park();
    note.InitDefaults();
    EXPECT_EQ(note.pos(), QPoint(30, 40));
    EXPECT_EQ(note.NoteFileName(), QStringLiteral("50.jtl"));
    EXPECT_FALSE(note.Parked());
    EXPECT_FALSE(note.SizingWidth());
}

using NoteStructure = NoteFixture;

TEST_F(NoteStructure, TitleStripAndBodyFillTheFrame)
{
    TSingolNote note(false, services);
    EXPECT_EQ(note.NotePanel->geometry(), QRect(0, 0, 135, 80));
    EXPECT_EQ(note.NoteTitle->geometry(), QRect(2, 2, 131, 15));
    EXPECT_EQ(note.NoteText->geometry(), QRect(2, 17, 131, 61));
    note.resize(300, 200);
    note.LayoutBody();
    EXPECT_EQ(note.NoteTitle->geometry(), QRect(2, 2, 296, 15));
    EXPECT_EQ(note.NoteText->geometry(), QRect(2, 17, 296, 181));
}

TEST_F(NoteStructure, TheTitleEditorWaitsHiddenWithoutFrame)
{
    TSingolNote note(false, services);
    EXPECT_TRUE(note.TitleEdit->isHidden());
    EXPECT_FALSE(note.TitleEdit->hasFrame());
    EXPECT_EQ(note.TitleEdit->text(), QStringLiteral("TitleEdit"));
    EXPECT_EQ(note.TitleEdit->parentWidget(), note.NotePanel);
}

TEST_F(NoteStructure, TheTitleShowsItsTooltipAndNoMarkup)
{
    TSingolNote note(false, services);
    EXPECT_EQ(note.NoteTitle->toolTip(), TReadRes::current().GetText(11));
    EXPECT_FALSE(note.NoteTitle->toolTip().isEmpty());
    EXPECT_EQ(note.NoteTitle->textFormat(), Qt::PlainText);
}

TEST_F(NoteStructure, TitleMenuItemsInOrder)
{
    TSingolNote note(false, services);
    EXPECT_EQ(describe(*note.Menus.PopupTitle),
              QStringList({
                  "Apparence1 Title Apparence {Changetitle1 Change title, ChangeFont1 Change Font, "
                  "ChangeColor1 Change Color}",
                  "N3 -",
                  "Ontop1 On top",
                  "Insertdatetime1 Insert date/time",
                  "Noteexpiration1 Note alarms",
                  "N1 -",
                  "InsertBitmap1 Insert Image",
                  "Print1 Print",
                  "Hide1 Hide",
                  "N2 -",
                  "Close1 Close",
              }));
    EXPECT_TRUE(note.Menus.Ontop1->isCheckable());
}

TEST_F(NoteStructure, BodyMenuItemsInOrderWithShortcuts)
{
    TSingolNote note(false, services);
    EXPECT_EQ(describe(*note.Menus.PopUpNote),
              QStringList({
                  "Cut2 Cut Ctrl+X",
                  "Copy2 Copy Ctrl+C",
                  "Paste2 Paste Ctrl+V",
                  "N7 -",
                  "Undo1 Undo Ctrl+Z",
                  "Redo1 Redo Ctrl+Y",
                  "N5 -",
                  "insertImage1 Insert Image",
                  "Font1 Font Ctrl+F",
                  "Color1 Back colors {Black1 Yellow Ctrl+Q, Red1 Red Ctrl+W, White1 Cyan Ctrl+E, "
                  "Green1 Green Ctrl+R, N4 -, None1 None Ctrl+T}",
                  "Alignment1 Alignment {Left1 Left, Right1 Right, Center1 Center}",
                  "N6 -",
                  "Apparence2 Apparence {Fonrt1 Font, Background1 Background}",
                  "N8 -",
                  "ObjectProperties1 Object Properties",
              }));
    // The body takes the items' keys while it has the focus; the menu shows them.
    EXPECT_EQ(note.Menus.Black1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_EQ(note::SharedNoteMenus::get().bodyItemFor(QKeySequence(Qt::CTRL | Qt::Key_Q)),
              note.Menus.Black1);
}

using NoteOnTop = NoteFixture;

TEST_F(NoteOnTop, FollowsTheConstructorAndTheCheckMark)
{
    TSingolNote topmost(true, services);
    EXPECT_TRUE(topmost.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(notetest::onTopMark(topmost));
    TSingolNote ordinary(false, services);
    EXPECT_FALSE(ordinary.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(notetest::onTopMark(ordinary));
}

TEST_F(NoteOnTop, ChangesOnlyTheStackingBandOfAShownWindow)
{
    TSingolNote note(false, services);
    note.show();
    QWindow *window = note.windowHandle();
    ASSERT_NE(window, nullptr);
    const WId id = note.winId();
    note.SetOnTop(true);
    EXPECT_TRUE(window->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(note.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(note.isVisible());
    EXPECT_EQ(note.winId(), id); // not re-created
    EXPECT_EQ(note.windowHandle(), window);
    note.SetOnTop(false);
    EXPECT_FALSE(window->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(notetest::onTopMark(note));
    EXPECT_TRUE(note.isVisible());
}

TEST_F(NoteOnTop, ADiscardedNoteKeepsItsBand)
{
    TSingolNote note(true, services);
    note.discard();
    note.SetOnTop(false);
    EXPECT_TRUE(note.OnTop());
    EXPECT_TRUE(notetest::onTopMark(note));
    EXPECT_TRUE(note.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    note.runMenuItem(note.Menus.Ontop1);
    EXPECT_TRUE(note.OnTop());
    EXPECT_TRUE(notetest::onTopMark(note));
}

TEST_F(NoteOnTop, TheMenuItemTogglesTheBand)
{
    TSingolNote note(false, services);
    note.runMenuItem(note.Menus.Ontop1);
    EXPECT_TRUE(note.OnTop());
    EXPECT_TRUE(notetest::onTopMark(note));
    note.runMenuItem(note.Menus.Ontop1);
    EXPECT_FALSE(note.OnTop());
    EXPECT_FALSE(notetest::onTopMark(note));
}

TEST_F(NoteOnTop, BringToFrontLeavesTheBandAsItWas)
{
    TSingolNote ordinary(false, services);
    ordinary.show();
    ordinary.BringToFront();
    EXPECT_FALSE(ordinary.OnTop());
    EXPECT_FALSE(ordinary.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(ordinary.isVisible());
    TSingolNote topmost(true, services);
    topmost.show();
    topmost.BringToFront();
    EXPECT_TRUE(topmost.OnTop());
    EXPECT_TRUE(topmost.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
}
