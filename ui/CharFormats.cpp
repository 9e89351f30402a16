#include "ui/CharFormats.h"

#include "ui/ColorRef.h"
#include "ui/rtf/Rtf.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cmath>
#include <functional>
#include <vector>

namespace ui {
namespace {

struct FormatChange
{
    int position;
    int length; // 0: the block's own format (its paragraph mark)
    QTextCharFormat format;
};

// Rewrites the format of every text fragment and paragraph mark through
// `change`, which returns false when the format stays as it is. Changes are
// gathered first: setting a format splits and merges fragments under a
// running iterator.
void rewriteFormats(QTextDocument &document, const std::function<bool(QTextCharFormat &)> &change)
{
    std::vector<FormatChange> changes;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        // The paragraph mark's format sizes an empty line and is what typing
        // into one starts with.
        QTextCharFormat blockFormat = block.charFormat();
        if (change(blockFormat))
            changes.push_back({block.position(), 0, blockFormat});
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QTextCharFormat format = fragment.charFormat();
            if (change(format))
                changes.push_back({fragment.position(), fragment.length(), format});
        }
    }
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (const FormatChange &c : changes) {
        cursor.setPosition(c.position);
        if (c.length == 0) {
            cursor.setBlockCharFormat(c.format);
            continue;
        }
        cursor.setPosition(c.position + c.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(c.format);
    }
    cursor.endEditBlock();
}

} // namespace

QFont fontFromDesc(const storage::FontDesc &desc)
{
    QFont font;
    if (!desc.name.isEmpty())
        font.setFamilies({desc.name});
    if (desc.size > 0)
        font.setPointSize(desc.size);
    font.setWeight(desc.bold ? QFont::Bold : QFont::Normal);
    font.setItalic(desc.italic);
    font.setUnderline(desc.underline);
    font.setStrikeOut(desc.strikeOut);
    return font;
}

storage::FontDesc descFromFont(const QFont &font, const QColor &color)
{
    storage::FontDesc desc;
    desc.name = font.families().value(0, font.family());
    if (font.pointSizeF() > 0)
        desc.size = int(std::lround(font.pointSizeF()));
    else if (font.pixelSize() > 0)
        desc.size = int(std::lround(font.pixelSize() * 72.0 / 96.0));
    desc.bold = font.weight() >= QFont::DemiBold;
    desc.italic = font.italic();
    desc.underline = font.underline();
    desc.strikeOut = font.strikeOut();
    desc.color = colorToRef(color);
    return desc;
}

QTextCharFormat charFormatFromDesc(const storage::FontDesc &desc, const QColor &highlight)
{
    QTextCharFormat format;
    if (!desc.name.isEmpty())
        format.setFontFamilies({desc.name});
    if (desc.size > 0)
        format.setFontPointSize(desc.size);
    format.setFontWeight(desc.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(desc.italic);
    format.setFontUnderline(desc.underline);
    format.setFontStrikeOut(desc.strikeOut);
    format.setForeground(colorFromRef(desc.color));
    if (highlight.isValid())
        format.setBackground(highlight);
    return format;
}

void applyDefaults(QTextDocument &document, const QTextCharFormat &defaults)
{
    rewriteFormats(document, [&](QTextCharFormat &format) {
        const QTextCharFormat before = format;
        rtf::fillDefaults(format, defaults);
        return format != before;
    });
}

} // namespace ui
