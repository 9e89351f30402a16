#pragma once

#include <string_view>

namespace rtf {

// What a control word does to the reader. Words not listed are ignored.
enum class Keyword {
    Unknown,
    // document and code pages
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCodePage,
    DefaultFont,
    UnicodeSkip,
    Unicode,
    Charset,
    CodePage,
    // destinations
    FontTable,
    ColorTable,
    Picture,
    Object,
    ObjectResult,
    TextDestination,
    ShapePicture,
    NonShapePicture,
    UnicodePair,
    UnicodeAlternative,
    SkipDestination,
    ListTable,
    ListOverrideTable,
    ListDefinition,
    ListLevel,
    ListOverride,
    LevelText,
    Numbering,
    NumberingBefore,
    NumberingAfter,
    MarkerText,
    FieldInstruction,
    FieldResult,
    TableProperties,
    // character format
    Plain,
    Font,
    FontSize,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    Foreground,
    Background,
    Hidden,
    Super,
    Sub,
    NoSuperSub,
    Up,
    Down,
    SmallCaps,
    AllCaps,
    // paragraph format and structure
    ParagraphDefault,
    Paragraph,
    AlignLeft,
    AlignRight,
    AlignCenter,
    AlignJustify,
    LeftIndent,
    RightIndent,
    FirstIndent,
    SpaceBefore,
    SpaceAfter,
    LineSpacing,
    LineMultiple,
    TabStop,
    TabKind, // value: QTextOption::TabType
    // lists
    ListId,
    NumberFormat,
    ListOverrideNumber,
    ListLevelNumber,
    NumberingBullet,
    NumberingBody,
    NumberingLevel,
    NumberingStyle, // value: QTextListFormat::Style
    LevelStart,
    NumberingStart,
    // tables
    InTable,
    NestingLevel,
    Cell,
    Row,
    RowDefaults,
    CellRight,
    RowGap,
    RowSpacing,
    CellWidthType,
    CellWidth,
    CellBorder,
    BorderWidth,
    CellMergeFirst,
    CellMerged,
    CellVerticalMergeFirst,
    CellVerticalMerged,
    // special characters (the text is in KeywordInfo::character)
    Character,
    // colour table
    Red,
    Green,
    Blue,
    // pictures
    PictureWidth,
    PictureHeight,
    PictureGoalWidth,
    PictureGoalHeight,
    PictureScaleX,
    PictureScaleY,
    PngBlip,
    JpegBlip,
    DibBitmap,
    DeviceBitmap,
    WindowsMetafile,
    OtherPicture,
    BitmapBitsPerPixel,
    BitmapWidthBytes,
};

struct KeywordInfo
{
    Keyword keyword = Keyword::Unknown;
    char16_t character = 0; // for Keyword::Character
    bool toggle = false; // \b, \i ...: a parameter of 0 switches off
    int value = 0; // the style a word names: underline, tab or list kind
};

KeywordInfo lookupKeyword(std::string_view word);

} // namespace rtf
