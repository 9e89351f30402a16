#include "ui/rtf/RtfKeywords.h"

#include <unordered_map>

namespace rtf {
namespace {

using Table = std::unordered_map<std::string_view, KeywordInfo>;

void addAll(Table &table, std::initializer_list<std::string_view> words, Keyword keyword,
            bool toggle = false)
{
    for (std::string_view word : words)
        table.emplace(word, KeywordInfo {keyword, 0, toggle});
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
        table.emplace(word, KeywordInfo {Keyword::Character, character, false});
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
    addAll(table, {"field", "fldrslt", "pntext", "listtext", "shprslt", "shp"},
           Keyword::TextDestination);
    addAll(table, {"shppict"}, Keyword::ShapePicture);
    addAll(table, {"nonshppict"}, Keyword::NonShapePicture);
    addAll(table, {"upr"}, Keyword::UnicodePair);
    addAll(table, {"ud"}, Keyword::UnicodeAlternative);
    addAll(table,
           {"stylesheet",
            "info",
            "fldinst",
            "objdata",
            "objclass",
            "objname",
            "pn",
            "header",
            "headerl",
            "headerr",
            "headerf",
            "footer",
            "footerl",
            "footerr",
            "footerf",
            "footnote",
            "annotation",
            "atnid",
            "atnauthor",
            "xe",
            "tc",
            "txe",
            "rxe",
            "bkmkstart",
            "bkmkend",
            "private",
            "themedata",
            "colorschememapping",
            "datastore",
            "latentstyles",
            "xmlnstbl",
            "listtable",
            "listoverridetable",
            "revtbl",
            "rsidtbl",
            "generator",
            "filetbl",
            "pgdsctbl",
            "docvar",
            "template",
            "userprops",
            "pntxta",
            "pntxtb",
            "picprop",
            "blipuid",
            "shpinst",
            "sp",
            "sn",
            "sv",
            "nonesttables",
            "nesttableprops",
            "fchars",
            "lchars",
            "ftnsep",
            "ftnsepc",
            "ftncn",
            "aftnsep",
            "aftnsepc",
            "aftncn",
            "comment",
            "title",
            "subject",
            "author",
            "operator",
            "keywords",
            "doccomm",
            "company",
            "category",
            "background",
            "formfield",
            "datafield",
            "mmathPr",
            "wgrffmtfilter",
            "protusertbl",
            "xform",
            "falt",
            "panose",
            "fname",
            "listpicture",
            "ebcstart",
            "ebcend",
            "hlinkbase"},
           Keyword::SkipDestination);

    addAll(table, {"plain"}, Keyword::Plain);
    addAll(table, {"f"}, Keyword::Font);
    addAll(table, {"fs"}, Keyword::FontSize);
    addAll(table, {"b"}, Keyword::Bold, true);
    addAll(table, {"i"}, Keyword::Italic, true);
    addAll(table,
           {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash", "ulth",
            "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave", "ulw",
            "ulwave"},
           Keyword::Underline, true);
    addAll(table, {"ulnone"}, Keyword::UnderlineNone);
    addAll(table, {"strike", "striked"}, Keyword::Strike, true);
    addAll(table, {"cf"}, Keyword::Foreground);
    addAll(table, {"cb", "highlight", "chcbpat"}, Keyword::Background);
    addAll(table, {"v"}, Keyword::Hidden, true);

    addAll(table, {"pard"}, Keyword::ParagraphDefault);
    addAll(table, {"par"}, Keyword::Paragraph);
    addAll(table, {"ql"}, Keyword::AlignLeft);
    addAll(table, {"qr"}, Keyword::AlignRight);
    addAll(table, {"qc"}, Keyword::AlignCenter);
    addAll(table, {"qj", "qd"}, Keyword::AlignJustify);
    addAll(table, {"li", "lin"}, Keyword::LeftIndent);
    addAll(table, {"ri", "rin"}, Keyword::RightIndent);
    addAll(table, {"fi"}, Keyword::FirstIndent);
    addAll(table, {"intbl"}, Keyword::InTable);
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
