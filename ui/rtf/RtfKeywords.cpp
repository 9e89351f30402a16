#include "ui/rtf/RtfKeywords.h"

#include <QTextCharFormat>
#include <QTextListFormat>
#include <QTextOption>

#include <unordered_map>

namespace rtf {
namespace {

using Table = std::unordered_map<std::string_view, KeywordInfo>;

void addAll(Table &table, std::initializer_list<std::string_view> words, Keyword keyword,
            bool toggle = false)
{
    for (std::string_view word : words)
        table.emplace(word, KeywordInfo {keyword, 0, toggle, 0});
}

void addValued(Table &table, std::initializer_list<std::pair<std::string_view, int>> words,
               Keyword keyword, bool toggle = false)
{
    for (const auto &[word, value] : words)
        table.emplace(word, KeywordInfo {keyword, 0, toggle, value});
}

void addUnderlines(Table &table)
{
    constexpr int single = QTextCharFormat::SingleUnderline;
    constexpr int dash = QTextCharFormat::DashUnderline;
    constexpr int dot = QTextCharFormat::DotLine;
    constexpr int dashDot = QTextCharFormat::DashDotLine;
    constexpr int dashDotDot = QTextCharFormat::DashDotDotLine;
    constexpr int wave = QTextCharFormat::WaveUnderline;
    // Double, thick and words-only lines have no look of their own here.
    addValued(table,
              {{"ul", single},
               {"uldb", single},
               {"ulth", single},
               {"ulw", single},
               {"uld", dot},
               {"ulthd", dot},
               {"uldash", dash},
               {"ulldash", dash},
               {"ulthdash", dash},
               {"ulthldash", dash},
               {"uldashd", dashDot},
               {"ulthdashd", dashDot},
               {"uldashdd", dashDotDot},
               {"ulthdashdd", dashDotDot},
               {"ulwave", wave},
               {"ulhwave", wave},
               {"ululdbwave", wave}},
              Keyword::Underline, true);
}

void addCharacters(Table &table)
{
    const std::pair<std::string_view, char16_t> characters[] = {
        {"tab", u'\t'},        {"line", 0x2028},      {"lbr", 0x2028},     {"emdash", 0x2014},
        {"endash", 0x2013},    {"bullet", 0x2022},    {"lquote", 0x2018},  {"rquote", 0x2019},
        {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"emspace", 0x2003}, {"enspace", 0x2002},
        {"qmspace", 0x2005},   {"zwj", 0x200D},       {"zwnj", 0x200C},    {"ltrmark", 0x200E},
        {"rtlmark", 0x200F},
    };
    for (const auto &[word, character] : characters)
        table.emplace(word, KeywordInfo {Keyword::Character, character, false, 0});
}

Table buildTable()
{
    Table table;
    addAll(table, {"ansi"}, Keyword::Ansi);
    addAll(table, {"mac"}, Keyword::Mac);
    addAll(table, {"pc"}, Keyword::Pc);
    addAll(table, {"pca"}, Keyword::Pca);
    addAll(table, {"ansicpg"}, Keyword::AnsiCodePage);
    addAll(table, {"deff"}, Keyword::DefaultFont);
    addAll(table, {"uc"}, Keyword::UnicodeSkip);
    addAll(table, {"u"}, Keyword::Unicode);
    addAll(table, {"fcharset"}, Keyword::Charset);
    addAll(table, {"cpg"}, Keyword::CodePage);

    addAll(table, {"fonttbl"}, Keyword::FontTable);
    addAll(table, {"colortbl"}, Keyword::ColorTable);
    addAll(table, {"pict"}, Keyword::Picture);
    addAll(table, {"object"}, Keyword::Object);
    addAll(table, {"result"}, Keyword::ObjectResult);
    addAll(table, {"field", "shprslt", "shp"}, Keyword::TextDestination);
    addAll(table, {"listtable"}, Keyword::ListTable);
    addAll(table, {"listoverridetable"}, Keyword::ListOverrideTable);
    addAll(table, {"list"}, Keyword::ListDefinition);
    addAll(table, {"listlevel"}, Keyword::ListLevel);
    addAll(table, {"listoverride"}, Keyword::ListOverride);
    addAll(table, {"leveltext"}, Keyword::LevelText);
    addAll(table, {"pn"}, Keyword::Numbering);
    addAll(table, {"pntxtb"}, Keyword::NumberingBefore);
    addAll(table, {"pntxta"}, Keyword::NumberingAfter);
    addAll(table, {"pntext", "listtext"}, Keyword::MarkerText);
    addAll(table, {"fldinst"}, Keyword::FieldInstruction);
    addAll(table, {"fldrslt"}, Keyword::FieldResult);
    addAll(table, {"nesttableprops"}, Keyword::TableProperties);
    addAll(table, {"shppict"}, Keyword::ShapePicture);
    addAll(table, {"nonshppict"}, Keyword::NonShapePicture);
    addAll(table, {"upr"}, Keyword::UnicodePair);
    addAll(table, {"ud"}, Keyword::UnicodeAlternative);
    addAll(table, {"stylesheet",   "info",
                   "objdata",      "objclass",
                   "objname",      "header",
                   "headerl",      "headerr",
                   "headerf",      "footer",
                   "footerl",      "footerr",
                   "footerf",      "footnote",
                   "annotation",   "atnid",
                   "atnauthor",    "xe",
                   "tc",           "txe",
                   "rxe",          "bkmkstart",
                   "bkmkend",      "private",
                   "themedata",    "colorschememapping",
                   "datastore",    "latentstyles",
                   "xmlnstbl",     "revtbl",
                   "rsidtbl",      "generator",
                   "filetbl",      "pgdsctbl",
                   "docvar",       "template",
                   "userprops",    "picprop",
                   "blipuid",      "shpinst",
                   "sp",           "sn",
                   "sv",           "nonesttables",
                   "fchars",       "lchars",
                   "ftnsep",       "ftnsepc",
                   "ftncn",        "aftnsep",
                   "aftnsepc",     "aftncn",
                   "comment",      "title",
                   "subject",      "author",
                   "operator",     "keywords",
                   "doccomm",      "company",
                   "category",     "background",
                   "formfield",    "datafield",
                   "mmathPr",      "wgrffmtfilter",
                   "protusertbl",  "xform",
                   "falt",         "panose",
                   "fname",        "ebcstart",
                   "ebcend",       "hlinkbase",
                   "levelnumbers", "listname",
                   "lfolevel",     "pnseclvl",
                   "listpicture"},
           Keyword::SkipDestination);

    addAll(table, {"plain"}, Keyword::Plain);
    addAll(table, {"f"}, Keyword::Font);
    addAll(table, {"fs"}, Keyword::FontSize);
    addAll(table, {"b"}, Keyword::Bold, true);
    addAll(table, {"i"}, Keyword::Italic, true);
    addUnderlines(table);
    addAll(table, {"ulnone"}, Keyword::UnderlineNone);
    addAll(table, {"strike", "striked"}, Keyword::Strike, true);
    addAll(table, {"cf"}, Keyword::Foreground);
    addAll(table, {"cb", "highlight", "chcbpat"}, Keyword::Background);
    addAll(table, {"v"}, Keyword::Hidden, true);
    addAll(table, {"super"}, Keyword::Super, true);
    addAll(table, {"sub"}, Keyword::Sub, true);
    addAll(table, {"nosupersub"}, Keyword::NoSuperSub);
    addAll(table, {"up"}, Keyword::Up);
    addAll(table, {"dn"}, Keyword::Down);
    addAll(table, {"scaps"}, Keyword::SmallCaps, true);
    addAll(table, {"caps"}, Keyword::AllCaps, true);

    addAll(table, {"pard"}, Keyword::ParagraphDefault);
    addAll(table, {"par"}, Keyword::Paragraph);
    addAll(table, {"ql"}, Keyword::AlignLeft);
    addAll(table, {"qr"}, Keyword::AlignRight);
    addAll(table, {"qc"}, Keyword::AlignCenter);
    addAll(table, {"qj", "qd"}, Keyword::AlignJustify);
    addAll(table, {"li", "lin"}, Keyword::LeftIndent);
    addAll(table, {"ri", "rin"}, Keyword::RightIndent);
    addAll(table, {"fi"}, Keyword::FirstIndent);
    addAll(table, {"sb"}, Keyword::SpaceBefore);
    addAll(table, {"sa"}, Keyword::SpaceAfter);
    addAll(table, {"sl"}, Keyword::LineSpacing);
    addAll(table, {"slmult"}, Keyword::LineMultiple);
    addAll(table, {"tx"}, Keyword::TabStop);
    addValued(table,
              {{"tqr", QTextOption::RightTab},
               {"tqc", QTextOption::CenterTab},
               {"tqdec", QTextOption::DelimiterTab}},
              Keyword::TabKind);

    addAll(table, {"listid"}, Keyword::ListId);
    addAll(table, {"levelnfc", "levelnfcn"}, Keyword::NumberFormat);
    addAll(table, {"levelstartat"}, Keyword::LevelStart);
    addAll(table, {"pnstart"}, Keyword::NumberingStart);
    addAll(table, {"ls"}, Keyword::ListOverrideNumber);
    addAll(table, {"ilvl"}, Keyword::ListLevelNumber);
    addAll(table, {"pnlvlblt"}, Keyword::NumberingBullet);
    addAll(table, {"pnlvlbody"}, Keyword::NumberingBody);
    addAll(table, {"pnlvl"}, Keyword::NumberingLevel);
    addValued(table,
              {{"pndec", QTextListFormat::ListDecimal},
               {"pnucrm", QTextListFormat::ListUpperRoman},
               {"pnlcrm", QTextListFormat::ListLowerRoman},
               {"pnucltr", QTextListFormat::ListUpperAlpha},
               {"pnlcltr", QTextListFormat::ListLowerAlpha}},
              Keyword::NumberingStyle);

    addAll(table, {"intbl"}, Keyword::InTable);
    addAll(table, {"itap"}, Keyword::NestingLevel);
    addAll(table, {"trowd"}, Keyword::RowDefaults);
    addAll(table, {"cellx"}, Keyword::CellRight);
    addAll(table, {"trgaph"}, Keyword::RowGap);
    addAll(table, {"trspdl"}, Keyword::RowSpacing);
    addAll(table, {"clftsWidth"}, Keyword::CellWidthType);
    addAll(table, {"clwWidth"}, Keyword::CellWidth);
    addAll(table, {"clbrdrt", "clbrdrb", "clbrdrl", "clbrdrr"}, Keyword::CellBorder);
    addAll(table, {"brdrw"}, Keyword::BorderWidth);
    addAll(table, {"clmgf"}, Keyword::CellMergeFirst);
    addAll(table, {"clmrg"}, Keyword::CellMerged);
    addAll(table, {"clvmgf"}, Keyword::CellVerticalMergeFirst);
    addAll(table, {"clvmrg"}, Keyword::CellVerticalMerged);
    addAll(table, {"cell", "nestcell"}, Keyword::Cell);
    addAll(table, {"row", "nestrow"}, Keyword::Row);
    addCharacters(table);

    addAll(table, {"red"}, Keyword::Red);
    addAll(table, {"green"}, Keyword::Green);
    addAll(table, {"blue"}, Keyword::Blue);

    addAll(table, {"picw"}, Keyword::PictureWidth);
    addAll(table, {"pich"}, Keyword::PictureHeight);
    addAll(table, {"picwgoal"}, Keyword::PictureGoalWidth);
    addAll(table, {"pichgoal"}, Keyword::PictureGoalHeight);
    addAll(table, {"picscalex"}, Keyword::PictureScaleX);
    addAll(table, {"picscaley"}, Keyword::PictureScaleY);
    addAll(table, {"pngblip"}, Keyword::PngBlip);
    addAll(table, {"jpegblip"}, Keyword::JpegBlip);
    addAll(table, {"dibitmap"}, Keyword::DibBitmap);
    addAll(table, {"wbitmap"}, Keyword::DeviceBitmap);
    addAll(table, {"wmetafile"}, Keyword::WindowsMetafile);
    addAll(table, {"emfblip", "macpict", "pmmetafile"}, Keyword::OtherPicture);
    addAll(table, {"wbmbitspixel"}, Keyword::BitmapBitsPerPixel);
    addAll(table, {"wbmwidthbytes"}, Keyword::BitmapWidthBytes);
    return table;
}

} // namespace

KeywordInfo lookupKeyword(std::string_view word)
{
    static const Table table = buildTable();
    const auto found = table.find(word);
    return found == table.end() ? KeywordInfo {} : found->second;
}

} // namespace rtf
