// The program's own font dialog opens showing exactly the font it is given
// and gives back what the user made of it, colour included.
#include "ui/FontDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontComboBox>
#include <QLabel>
#include <gtest/gtest.h>

namespace {

storage::FontDesc italicUnderlined16()
{
    // A face this machine does not have, and a colour of no list.
    return {QStringLiteral("MS Sans Serif"), 16, false, true, true, false, 0x00123456};
}

} // namespace

TEST(FontDialog, OpensShowingTheFontAndGivesItBackUnchanged)
{
    const std::vector<storage::FontDesc> fonts = {
        italicUnderlined16(),
        {QStringLiteral("DejaVu Sans"), 8, true, false, false, true, 0x000000FF},
        {QStringLiteral("DejaVu Serif"), 72, true, true, false, false, 0},
        // A desktop colour (window text) is kept as that constant.
        {QStringLiteral("DejaVu Sans Mono"), 10, false, false, false, false, qint32(0xFF000008)},
    };
    for (const storage::FontDesc &font : fonts) {
        ui::FontDialog dialog(font);
        EXPECT_EQ(dialog.font(), font) << font.name.toStdString();
        EXPECT_EQ(dialog.findChild<QFontComboBox *>()->currentText(), font.name);
    }
}

TEST(FontDialog, EachPartChangesOnlyItself)
{
    ui::FontDialog dialog(italicUnderlined16());
    const QList<QComboBox *> boxes = dialog.findChildren<QComboBox *>(Qt::FindDirectChildrenOnly);
    QComboBox *style = boxes.at(1);
    QComboBox *size = boxes.at(2);
    QComboBox *colors = boxes.at(3);
    style->setCurrentText(QStringLiteral("Bold"));
    size->setEditText(QStringLiteral("11"));
    dialog.findChildren<QCheckBox *>().at(1)->setChecked(true); // strike-out
    const int red = colors->findText(QStringLiteral("Red"));
    ASSERT_GE(red, 0);
    colors->setCurrentIndex(red);
    Q_EMIT colors->activated(red);

    storage::FontDesc expected = italicUnderlined16();
    expected.bold = true;
    expected.italic = false;
    expected.size = 11;
    expected.strikeOut = true;
    expected.color = 0x000000FF;
    EXPECT_EQ(dialog.font(), expected);
    EXPECT_EQ(dialog.findChild<QLabel *>(QStringLiteral("FontSample"))->font().pointSize(), 11);
    EXPECT_EQ(ui::FontDialog::basicColors().size(), 16);
}
