#include "ui/rtf/RtfFormatTables.h"

#include "ui/rtf/Rtf.h"
#include "ui/rtf/RtfCodePages.h"

#include <algorithm>
#include <tuple>

namespace rtf {
namespace {

auto asTuple(const CharState &s)
{
    return std::tie(s.font, s.halfPoints, s.bold, s.italic, s.underline, s.strike, s.hidden,
                    s.vertical, s.smallCaps, s.allCaps, s.foreground, s.background, s.link);
}

} // namespace

bool CharState::operator==(const CharState &other) const
{
    return asTuple(*this) == asTuple(other);
}

void FontTable::beginEntry(int number)
{
    commitEntry();
    m_pendingNumber = number;
}

void FontTable::setCharset(int charset)
{
    if (const int codePage = codePageOfCharset(charset))
        m_pending.codePage = codePage;
}

void FontTable::setCodePage(int codePage)
{
    m_pending.codePage = normalizedCodePage(codePage);
}

void FontTable::appendName(const QString &text)
{
    if (m_pendingNumber >= 0)
        m_pending.name += text;
}

void FontTable::commitEntry()
{
    if (m_pendingNumber >= 0 && m_entries.size() < kMaxEntries) {
        m_pending.name = m_pending.name.trimmed();
        m_entries[m_pendingNumber] = m_pending;
    }
    m_pending = FontEntry();
    m_pendingNumber = -1;
}

const FontEntry *FontTable::find(int number) const
{
    const auto found = m_entries.find(number);
    return found == m_entries.end() ? nullptr : &found->second;
}

void ColorTable::setComponent(int &component, int value)
{
    component = std::clamp(value, 0, 255);
    m_hasComponent = true;
}

void ColorTable::commitEntry()
{
    if (m_colors.size() < kMaxEntries)
        m_colors.push_back(m_hasComponent ? QColor(m_red, m_green, m_blue) : QColor());
    m_red = m_green = m_blue = 0;
    m_hasComponent = false;
}

QColor ColorTable::color(int index) const
{
    if (index <= 0 || size_t(index) >= m_colors.size())
        return {};
    return m_colors[size_t(index)];
}

CharFormatCache::CharFormatCache(const FontTable &fonts, const ColorTable &colors,
                                 const QStringList &links, const QTextCharFormat &implicit)
    : m_fonts(fonts)
    , m_colors(colors)
    , m_links(links)
    , m_implicit(implicit)
{
}

const QTextCharFormat &CharFormatCache::format(const CharState &state)
{
    const auto found = m_formats.find(state);
    if (found != m_formats.end())
        return found->second;
    if (m_formats.size() >= kMaxEntries)
        m_formats.clear();
    return m_formats.emplace(state, build(state)).first->second;
}

QTextCharFormat CharFormatCache::build(const CharState &state) const
{
    QTextCharFormat format;
    if (const FontEntry *font = m_fonts.find(state.font); font && !font->name.isEmpty())
        format.setFontFamilies(QStringList(font->name));
    if (state.halfPoints > 0)
        format.setFontPointSize(state.halfPoints / 2.0);
    if (state.bold)
        format.setFontWeight(QFont::Bold);
    if (state.italic)
        format.setFontItalic(true);
    if (state.underline)
        format.setUnderlineStyle(QTextCharFormat::UnderlineStyle(state.underline));
    if (state.strike)
        format.setFontStrikeOut(true);
    if (state.vertical)
        format.setVerticalAlignment(QTextCharFormat::VerticalAlignment(state.vertical));
    if (state.smallCaps)
        format.setFontCapitalization(QFont::SmallCaps);
    else if (state.allCaps)
        format.setFontCapitalization(QFont::AllUppercase);
    if (const QColor color = m_colors.color(state.foreground); color.isValid())
        format.setForeground(color);
    if (const QColor color = m_colors.color(state.background); color.isValid())
        format.setBackground(color);
    if (state.link > 0 && state.link <= m_links.size()) {
        format.setAnchor(true);
        format.setAnchorHref(m_links.at(state.link - 1));
    }
    dropDefaults(format, m_implicit);
    return format;
}

size_t CharStateHash::operator()(const CharState &s) const
{
    size_t hash = std::hash<int>()(s.font);
    const auto mix = [&hash](size_t value) {
        hash = hash * 1000003u ^ value;
    };
    mix(size_t(s.halfPoints));
    mix(size_t(s.bold) | size_t(s.italic) << 1 | size_t(s.strike) << 2 | size_t(s.hidden) << 3
        | size_t(s.smallCaps) << 4 | size_t(s.allCaps) << 5 | size_t(s.underline) << 6
        | size_t(s.vertical) << 10);
    mix(size_t(s.foreground));
    mix(size_t(s.background));
    mix(size_t(s.link));
    return hash;
}

} // namespace rtf
