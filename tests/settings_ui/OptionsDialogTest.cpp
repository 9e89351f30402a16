#include "settings/unOptions.h"

#include "platform/RegDocument.h"
#include "settings/DResource.h"
#include "settings/SamplePanel.h"
#include "settings/veskUt.h"
#include "settings_ui/OptionsFixture.h"
#include "ui/ColorRef.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

using platform::RegValue;
using settings::OptionsForm;
using settings::SamplePanel;
using settings::typedNumber;

namespace {

RegValue text(const char *value)
{
    return RegValue::fromText(QString::fromUtf8(value));
}

RegValue number(qint32 value)
{
    return RegValue::fromDWord(value);
}

storage::FontDesc font(const char *name, int size, bool bold, bool italic, bool underline,
                       qint32 color)
{
    return {QString::fromUtf8(name), size, bold, italic, underline, false, color};
}

} // namespace

using OptionsDialog = OptionsTest;

TEST_F(OptionsDialog, FormHasItsFixedSizeCaptionAndNamedControls)
{
    TFrmOptions dialog(programFolder());
    EXPECT_EQ(dialog.size(), QSize(421, 385));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Options"));
    const OptionsForm &f = dialog.form();
    EXPECT_EQ(f.pgSetup->objectName(), QStringLiteral("pgSetup"));
    ASSERT_EQ(f.pgSetup->count(), 3);
    EXPECT_EQ(f.pgSetup->widget(0), f.TSJotlet);
    EXPECT_EQ(f.pgSetup->widget(1), f.TSLanguage);
    EXPECT_EQ(f.pgSetup->widget(2), f.tsAdvanced);
    for (const char *name : {"TSJotlet",
                             "TSLanguage",
                             "tsAdvanced",
                             "GroupBox1",
                             "GroupBox2",
                             "GroupBox3",
                             "GroupBox4",
                             "gbLeftMouse",
                             "Label1",
                             "Label2",
                             "Label3",
                             "Label4",
                             "Label5",
                             "Label6",
                             "Label7",
                             "Label8",
                             "edTitleNote",
                             "cbPosition",
                             "edWidth",
                             "edHeight",
                             "panBack",
                             "panTitle",
                             "panNoteFont",
                             "panTitleFont",
                             "Button1",
                             "Button2",
                             "lvLang",
                             "edLanguage",
                             "edAuthor",
                             "cbNewNotesOnTop",
                             "cbShowAllOnNewNote",
                             "cbRunAtWindows",
                             "cbAction",
                             "btnApply",
                             "btnCancel"})
        EXPECT_NE(dialog.findChild<QWidget *>(QLatin1String(name)), nullptr) << name;
    EXPECT_EQ(f.btnApply->text(), QStringLiteral("&Ok"));
    EXPECT_EQ(f.btnCancel->text(), QStringLiteral("&Cancel"));
    EXPECT_TRUE(f.cbPosition->isEditable());
    EXPECT_FALSE(f.cbAction->isEditable());
    EXPECT_TRUE(f.edLanguage->isReadOnly());
    EXPECT_TRUE(f.edAuthor->isReadOnly());
    EXPECT_EQ(f.lvLang->columnCount(), 5);
    EXPECT_EQ(f.lvLang->columnWidth(0), 100);
    EXPECT_EQ(f.lvLang->columnWidth(3), 40);
    EXPECT_EQ(f.lvLang->columnWidth(4), 150);
    EXPECT_EQ(f.lvLang->selectionBehavior(), QAbstractItemView::SelectRows);
}

TEST_F(OptionsDialog, EmptyStoreShowsAndStoresTheDialogDefaults)
{
    TFrmOptions dialog(programFolder());
    const OptionsForm &f = dialog.form();
    EXPECT_EQ(f.edTitleNote->text(), QStringLiteral("Vesk Jotlet 2003"));
    EXPECT_EQ(f.edWidth->text(), QStringLiteral("135"));
    EXPECT_EQ(f.edHeight->text(), QStringLiteral("80"));
    EXPECT_EQ(f.panBack->colorRef(), 0x0000FFFF);
    EXPECT_EQ(f.panNoteFont->colorRef(), 0x0000FFFF);
    EXPECT_EQ(f.panTitle->colorRef(), 0x00C0DCC0);
    EXPECT_EQ(f.panTitleFont->colorRef(), 0x00C0DCC0);
    EXPECT_EQ(f.panNoteFont->fontDesc(), font("Arial", 10, false, false, false, 0));
    EXPECT_EQ(f.panTitleFont->fontDesc(), font("Arial", 10, false, false, false, 0));
    EXPECT_EQ(f.cbPosition->currentIndex(), 0);
    EXPECT_EQ(f.cbPosition->currentText(), QStringLiteral("Casual"));
    EXPECT_FALSE(f.cbNewNotesOnTop->isChecked());
    EXPECT_FALSE(f.cbShowAllOnNewNote->isChecked());
    EXPECT_FALSE(f.cbRunAtWindows->isChecked());
    EXPECT_EQ(f.cbAction->currentText(), QStringLiteral("Create new note"));
    EXPECT_EQ(f.pgSetup->currentWidget(), f.TSJotlet);
    EXPECT_FALSE(f.btnApply->isEnabled());
    EXPECT_EQ(f.edLanguage->text(), QStringLiteral("English"));
    EXPECT_EQ(f.edAuthor->text(), QStringLiteral("Jotlet Light team"));

    // Opening alone stored every default, so new notes get the same.
    EXPECT_EQ(stored(QStringLiteral("title")), text("Vesk Jotlet 2003"));
    EXPECT_EQ(stored(QStringLiteral("width")), number(135));
    EXPECT_EQ(stored(QStringLiteral("height")), number(80));
    EXPECT_EQ(stored(QStringLiteral("backcolor")), number(0x0000FFFF));
    EXPECT_EQ(stored(QStringLiteral("BackTitleColor")), number(0x00C0DCC0));
    for (const char *name : {"fontName", "TitleFontName"})
        EXPECT_EQ(stored(QLatin1String(name)), text("Arial")) << name;
    for (const char *name : {"fontSize", "TitleFontSize"})
        EXPECT_EQ(stored(QLatin1String(name)), number(10)) << name;
    for (const char *name : {"FontBold", "FontItalic", "FontUnderline", "FontColor",
                             "TitleFontBold", "TitleFontItalic", "TitleFontUnderline",
                             "TitleFontColor", "OnTopOnNew", "ShowAllOnNew", "LeftDefaultAction"})
        EXPECT_EQ(stored(QLatin1String(name)), number(0)) << name;
    EXPECT_EQ(stored(QStringLiteral("position")), number(1));
}

TEST_F(OptionsDialog, TranslatableTextsComeFromTheLanguageTableAndTheRestStays)
{
    TReadRes::setCurrent(std::make_unique<TReadRes>(
        languageFolder() + QStringLiteral("/german.lng"), languageFolder()));
    TFrmOptions dialog(programFolder());
    const OptionsForm &f = dialog.form();
    const TReadRes &table = TReadRes::current();
    EXPECT_EQ(f.Label1->text(), table.GetText(73));
    EXPECT_EQ(f.Label1->text(), QStringLiteral("Titel:"));
    EXPECT_EQ(f.Label6->text(), table.GetText(78));
    EXPECT_EQ(f.Button2->text(), table.GetText(80));
    EXPECT_EQ(f.panNoteFont->caption(), table.GetText(89));
    EXPECT_EQ(f.lvLang->headerItem()->text(4), table.GetText(88));
    EXPECT_EQ(f.gbLeftMouse->title(), table.GetText(100));
    EXPECT_EQ(f.cbAction->itemText(1), table.GetText(102));
    EXPECT_EQ(f.cbRunAtWindows->text(), table.GetText(104));
    EXPECT_EQ(f.pgSetup->tabText(2), QStringLiteral("Erweitert"));
    ASSERT_EQ(f.cbPosition->count(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(f.cbPosition->itemText(i), table.GetText(91 + i));
    // Not from the table.
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Options"));
    EXPECT_EQ(f.pgSetup->tabText(0), QStringLiteral("Jotlet"));
    EXPECT_EQ(f.pgSetup->tabText(1), QStringLiteral("Language"));
    EXPECT_EQ(f.GroupBox1->title(), QStringLiteral("Default values on a new note"));
    EXPECT_EQ(f.btnApply->text(), QStringLiteral("&Ok"));

    // Without a table (or with empty texts) the English captions stand.
    TReadRes::setCurrent(nullptr);
    TFrmOptions english(programFolder());
    EXPECT_EQ(english.form().Label1->text(), QStringLiteral("Title:"));
    EXPECT_EQ(english.form().cbPosition->itemText(5), QStringLiteral("Screen Bottom"));
    EXPECT_EQ(english.form().pgSetup->tabText(2), QStringLiteral("Advanced"));
}

TEST_F(OptionsDialog, StoredValuesAreShown)
{
    store(QStringLiteral("Title"), text("Groceries"));
    storeInt(QStringLiteral("width"), 300);
    storeInt(QStringLiteral("backcolor"), 0x00FF0000);
    store(QStringLiteral("TitleFontName"), text("Courier"));
    storeInt(QStringLiteral("TitleFontSize"), 14);
    storeInt(QStringLiteral("TitleFontItalic"), 5); // any non-zero number is true
    storeInt(QStringLiteral("TitleFontColor"), 0x000000FF);
    storeInt(QStringLiteral("position"), 6);
    storeInt(QStringLiteral("ShowAllOnNew"), 1);
    storeInt(QStringLiteral("LeftDefaultAction"), 1);
    TFrmOptions dialog(programFolder());
    const OptionsForm &f = dialog.form();
    EXPECT_EQ(f.edTitleNote->text(), QStringLiteral("Groceries"));
    EXPECT_EQ(f.edWidth->text(), QStringLiteral("300"));
    EXPECT_EQ(f.panBack->colorRef(), 0x00FF0000);
    EXPECT_EQ(f.panNoteFont->colorRef(), 0x00FF0000);
    EXPECT_EQ(f.panTitleFont->fontDesc(), font("Courier", 14, false, true, false, 0x000000FF));
    EXPECT_EQ(f.cbPosition->currentText(), QStringLiteral("Screen Bottom"));
    EXPECT_TRUE(f.cbShowAllOnNewNote->isChecked());
    EXPECT_FALSE(f.cbNewNotesOnTop->isChecked());
    EXPECT_EQ(f.cbAction->currentIndex(), 1);
    EXPECT_FALSE(f.btnApply->isEnabled());
}

TEST_F(OptionsDialog, FontSampleDrawsItsCaptionOnTheBackgroundColour)
{
    storeInt(QStringLiteral("backcolor"), 0x000000FF); // red
    storeInt(QStringLiteral("FontColor"), 0x00FF0000); // blue
    TFrmOptions dialog(programFolder());
    SamplePanel &sample = *dialog.form().panNoteFont;
    sample.resize(200, 40);
    const QImage image = sample.grab().toImage();
    EXPECT_EQ(image.pixelColor(4, 4), QColor(Qt::red));
    bool hasCaptionPixel = false;
    for (int y = 0; y < image.height() && !hasCaptionPixel; ++y) {
        for (int x = 0; x < image.width() && !hasCaptionPixel; ++x)
            hasCaptionPixel = image.pixelColor(x, y).blue() > 128;
    }
    EXPECT_TRUE(hasCaptionPixel);
}

TEST_F(OptionsDialog, PositionsOutsideTheListShowCasualAndOkStoresIt)
{
    for (const qint32 position : {0, 7, -3}) {
        storeInt(QStringLiteral("position"), position);
        TFrmOptions dialog(programFolder());
        const OptionsForm &f = dialog.form();
        EXPECT_EQ(f.cbPosition->currentIndex(), 0) << position;
        EXPECT_EQ(f.cbPosition->currentText(), QStringLiteral("Casual")) << position;
        f.cbNewNotesOnTop->click();
        f.btnApply->click();
        EXPECT_EQ(dialog.result(), TFrmOptions::kResultOk);
        EXPECT_EQ(stored(QStringLiteral("position")), number(1)) << position;
    }
}

TEST_F(OptionsDialog, TypedPositionTextThatNamesNoEntryLeavesThePositionStored)
{
    storeInt(QStringLiteral("position"), 3);
    {
        TFrmOptions dialog(programFolder());
        QComboBox &box = *dialog.form().cbPosition;
        box.lineEdit()->selectAll();
        QTest::keyClicks(box.lineEdit(), QStringLiteral("Wherever"));
        EXPECT_TRUE(dialog.form().btnApply->isEnabled());
        dialog.form().btnApply->click();
        EXPECT_EQ(dialog.result(), TFrmOptions::kResultOk);
    }
    EXPECT_EQ(stored(QStringLiteral("position")), number(3));

    // Only text that spells an entry to the letter selects it.
    {
        TFrmOptions dialog(programFolder());
        dialog.form().cbPosition->setEditText(QStringLiteral("screen center"));
        dialog.form().btnApply->click();
    }
    EXPECT_EQ(stored(QStringLiteral("position")), number(3));
    TFrmOptions dialog(programFolder());
    dialog.form().cbPosition->setEditText(QStringLiteral("Screen Center"));
    dialog.form().btnApply->click();
    EXPECT_EQ(stored(QStringLiteral("position")), number(2));
}

TEST_F(OptionsDialog, WidthAndHeightAreStoredOnlyAsNonZeroNumbers)
{
    struct Case
    {
        const char *typed;
        qint32 stored;
    };
    for (const Case c : {Case {"abc", 135}, Case {"", 135}, Case {"0", 135}, Case {"-0", 135},
                         Case {"12px", 135}, Case {"0x20", 135}, Case {"99999999999", 135},
                         Case {"-20", -20}, Case {"+250", 250}, Case {" 150 ", 150}}) {
        storeInt(QStringLiteral("width"), 135);
        storeInt(QStringLiteral("height"), 80);
        TFrmOptions dialog(programFolder());
        dialog.form().edWidth->setText(QString::fromUtf8(c.typed));
        dialog.form().edHeight->setText(QString::fromUtf8(c.typed));
        dialog.form().btnApply->click();
        EXPECT_EQ(stored(QStringLiteral("width")), number(c.stored)) << c.typed;
        EXPECT_EQ(stored(QStringLiteral("height")), number(c.stored == 135 ? 80 : c.stored))
            << c.typed;
    }
}

TEST_F(OptionsDialog, UnknownTrayActionShowsAnEmptyBoxAndOkStoresMinusOne)
{
    storeInt(QStringLiteral("LeftDefaultAction"), 5);
    TFrmOptions dialog(programFolder());
    EXPECT_EQ(dialog.form().cbAction->currentIndex(), -1);
    EXPECT_TRUE(dialog.form().cbAction->currentText().isEmpty());
    dialog.form().edTitleNote->setText(QStringLiteral("x"));
    dialog.form().btnApply->click();
    EXPECT_EQ(stored(QStringLiteral("LeftDefaultAction")), number(-1));
}

TEST_F(OptionsDialog, EveryKindOfChangeEnablesOk)
{
    TFrmOptions dialog(programFolder());
    const OptionsForm &f = dialog.form();
    const std::vector<std::function<void()>> changes = {
        [&] { QTest::keyClicks(f.edTitleNote, QStringLiteral("!")); },
        [&] { QTest::keyClicks(f.edWidth, QStringLiteral("1")); },
        [&] { QTest::keyClicks(f.edHeight, QStringLiteral("1")); },
        [&] { f.cbPosition->setCurrentIndex(4); },
        [&] { QTest::keyClicks(f.cbPosition->lineEdit(), QStringLiteral("x")); },
        [&] { f.cbAction->setCurrentIndex(1); },
        [&] { f.cbNewNotesOnTop->click(); },
        [&] { f.cbShowAllOnNewNote->click(); },
        [&] { f.cbRunAtWindows->click(); },
        [&] {
            script.fonts.push_back(font("Serif", 12, true, false, false, 0));
            f.Button1->click();
        },
        [&] {
            script.fonts.push_back(font("Serif", 12, true, false, false, 0));
            f.Button2->click();
        },
        [&] {
            script.colors.push_back(Qt::cyan);
            Q_EMIT f.panBack->clicked();
        },
        [&] {
            script.colors.push_back(Qt::cyan);
            QTest::mouseClick(f.panTitle, Qt::LeftButton);
        },
        [&] { f.lvLang->setCurrentItem(f.lvLang->topLevelItem(0)); },
    };
    for (size_t i = 0; i < changes.size(); ++i) {
        ASSERT_FALSE(f.btnApply->isEnabled()) << i;
        changes[i]();
        EXPECT_TRUE(f.btnApply->isEnabled()) << i;
        f.btnCancel->click(); // back to Clean
    }
    // A cancelled chooser is no change.
    f.Button1->click();
    Q_EMIT f.panBack->clicked();
    EXPECT_FALSE(f.btnApply->isEnabled());
}

TEST_F(OptionsDialog, OkStoresEveryValueAndEndsWithResultOk)
{
    TFrmOptions dialog(programFolder());
    const OptionsForm &f = dialog.form();
    dialog.show();
    f.edTitleNote->setText(QStringLiteral("Call back"));
    f.edWidth->setText(QStringLiteral("200"));
    f.edHeight->setText(QStringLiteral("150"));
    f.cbPosition->setCurrentIndex(3);
    f.cbNewNotesOnTop->click();
    f.cbAction->setCurrentIndex(1);
    script.colors = {QColor(0x11, 0x22, 0x33), QColor(0x44, 0x55, 0x66)};
    Q_EMIT f.panBack->clicked();
    Q_EMIT f.panTitle->clicked();
    storage::FontDesc struck = font("Courier", 12, true, true, true, 0x00112233);
    struck.strikeOut = true;
    script.fonts = {struck, font("Serif", 9, false, false, true, 0x000000FF)};
    f.Button1->click();
    f.Button2->click();
    // The new colours reach the font samples too; strike-out is not kept.
    EXPECT_EQ(f.panNoteFont->colorRef(), 0x00332211);
    EXPECT_EQ(f.panTitleFont->colorRef(), 0x00665544);
    EXPECT_FALSE(f.panNoteFont->fontDesc().strikeOut);

    f.btnApply->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), TFrmOptions::kResultOk);
    EXPECT_FALSE(f.btnApply->isEnabled());
    EXPECT_EQ(stored(QStringLiteral("title")), text("Call back"));
    EXPECT_EQ(stored(QStringLiteral("width")), number(200));
    EXPECT_EQ(stored(QStringLiteral("height")), number(150));
    EXPECT_EQ(stored(QStringLiteral("backcolor")), number(0x00332211));
    EXPECT_EQ(stored(QStringLiteral("BackTitleColor")), number(0x00665544));
    EXPECT_EQ(stored(QStringLiteral("fontName")), text("Courier"));
    EXPECT_EQ(stored(QStringLiteral("fontSize")), number(12));
    EXPECT_EQ(stored(QStringLiteral("FontBold")), number(1));
    EXPECT_EQ(stored(QStringLiteral("FontItalic")), number(1));
    EXPECT_EQ(stored(QStringLiteral("FontUnderline")), number(1));
    EXPECT_EQ(stored(QStringLiteral("FontColor")), number(0x00112233));
    EXPECT_EQ(stored(QStringLiteral("TitleFontName")), text("Serif"));
    EXPECT_EQ(stored(QStringLiteral("TitleFontSize")), number(9));
    EXPECT_EQ(stored(QStringLiteral("TitleFontBold")), number(0));
    EXPECT_EQ(stored(QStringLiteral("TitleFontUnderline")), number(1));
    EXPECT_EQ(stored(QStringLiteral("TitleFontColor")), number(0x000000FF));
    EXPECT_EQ(stored(QStringLiteral("position")), number(4));
    EXPECT_EQ(stored(QStringLiteral("OnTopOnNew")), number(1));
    EXPECT_EQ(stored(QStringLiteral("ShowAllOnNew")), number(0));
    EXPECT_EQ(stored(QStringLiteral("LeftDefaultAction")), number(1));
    EXPECT_FALSE(stored(QStringLiteral("FontStrikeOut")).has_value());
}

TEST_F(OptionsDialog, SystemColoursAndOddSizesAreWrittenBackAsStored)
{
    const qint32 windowColour = qint32(0xFF000005u);
    storeInt(QStringLiteral("BackTitleColor"), windowColour);
    storeInt(QStringLiteral("fontSize"), -4);
    TFrmOptions dialog(programFolder());
    dialog.form().cbShowAllOnNewNote->click();
    dialog.form().btnApply->click();
    EXPECT_EQ(stored(QStringLiteral("BackTitleColor")), number(windowColour));
    EXPECT_EQ(stored(QStringLiteral("fontSize")), number(-4));
}

TEST_F(OptionsDialog, CancelWithChangesResetsAndASecondCancelCloses)
{
    store(QStringLiteral("fontName"), text("Courier"));
    storeInt(QStringLiteral("FontBold"), 1);
    TFrmOptions dialog(programFolder());
    const OptionsForm &f = dialog.form();
    dialog.show();
    const storage::FontDesc before = f.panNoteFont->fontDesc();
    script.fonts.push_back(font("Serif", 20, false, true, false, 0));
    f.Button1->click();
    f.edTitleNote->setText(QStringLiteral("changed"));
    f.cbRunAtWindows->click();
    f.pgSetup->setCurrentWidget(f.tsAdvanced);

    f.btnCancel->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(f.panNoteFont->fontDesc(), before);
    EXPECT_TRUE(f.panNoteFont->fontDesc().bold);
    EXPECT_EQ(f.edTitleNote->text(), QStringLiteral("Vesk Jotlet 2003"));
    // All but the start-up box, which keeps what the user made of it.
    EXPECT_TRUE(f.cbRunAtWindows->isChecked());
    EXPECT_EQ(f.pgSetup->currentWidget(), f.TSJotlet);
    EXPECT_FALSE(f.btnApply->isEnabled());

    f.btnCancel->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), TFrmOptions::kResultCancel);
    EXPECT_EQ(stored(QStringLiteral("fontName")), text("Courier"));
    EXPECT_EQ(stored(QStringLiteral("title")), text("Vesk Jotlet 2003"));
}

TEST_F(OptionsDialog, CancelRestoresTypedPositionText)
{
    TFrmOptions dialog(programFolder());
    QComboBox &box = *dialog.form().cbPosition;
    box.setEditText(QStringLiteral("nowhere"));
    dialog.form().btnCancel->click();
    EXPECT_EQ(box.currentText(), QStringLiteral("Casual"));
}

TEST_F(OptionsDialog, CloseBoxClosesAtOnceWithoutStoringOrResetting)
{
    TFrmOptions dialog(programFolder());
    dialog.show();
    dialog.form().edTitleNote->setText(QStringLiteral("unsaved"));
    EXPECT_TRUE(dialog.close());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), TFrmOptions::kResultCancel);
    EXPECT_EQ(dialog.form().edTitleNote->text(), QStringLiteral("unsaved"));
    EXPECT_EQ(stored(QStringLiteral("title")), text("Vesk Jotlet 2003"));
}

TEST_F(OptionsDialog, LanguagePageComesFirstWhenAskedUntilAReset)
{
    TFrmOptions dialog(programFolder());
    dialog.showLanguagePage();
    EXPECT_EQ(dialog.form().pgSetup->currentWidget(), dialog.form().TSLanguage);
    dialog.form().edWidth->setText(QStringLiteral("1"));
    dialog.form().btnCancel->click();
    EXPECT_EQ(dialog.form().pgSetup->currentWidget(), dialog.form().TSJotlet);
}

TEST(TypedNumber, AcceptsAnOptionalSignAndDecimalDigitsOnly)
{
    EXPECT_EQ(typedNumber(QStringLiteral("42")), 42);
    EXPECT_EQ(typedNumber(QStringLiteral("-42")), -42);
    EXPECT_EQ(typedNumber(QStringLiteral("+7")), 7);
    EXPECT_EQ(typedNumber(QStringLiteral("2147483647")), 2147483647);
    EXPECT_EQ(typedNumber(QStringLiteral("-2147483648")), -2147483647 - 1);
    for (const char *bad : {"", " ", "+", "-", "1e3", "1.5", "$10", "0x1F", "1 2", "2147483648",
                            "٣"}) // an Arabic-Indic digit is no decimal digit here
        EXPECT_EQ(typedNumber(QString::fromUtf8(bad)), 0) << bad;
}
