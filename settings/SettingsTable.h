#pragma once

#include "platform/Product.h"
#include "platform/Registry.h"
#include "storage/FontDesc.h"

#include <QString>

// Every value of the settings key, each named once with its kind and the
// default its readers pass. A read goes through readRegString and its kin
// (settings/veskUt.h): it reads the value at that moment and stores the
// default where the value is missing or of no use. Names ignore letter case,
// so each setting has one spelling here, whatever spelling the file keeps.
namespace settings {

// One value of the settings key: its name and the default its readers
// pass. T is what it holds; Default is how the table writes that default
// (a text as a Latin-1 literal).
template<typename T, typename Default = T> struct Setting
{
    using Value = T;

    const char *name;
    Default defaultValue;

    T read() const;
    // With a default known only where it is read.
    T read(const T &callerDefault) const;
    void write(const T &value) const;
};

using TextSetting = Setting<QString, const char *>;
using IntSetting = Setting<qint32>;
// Stored as the number 1 or 0; any number but 0 reads as true.
using BoolSetting = Setting<bool>;

// The six settings of one default font. Only face, size, bold, italic,
// underline and colour are stored.
struct FontSettings
{
    TextSetting face;
    IntSetting size;
    BoolSetting bold;
    BoolSetting italic;
    BoolSetting underline;
    IntSetting color;

    // Read in this order, each with the table's default (the options dialog).
    storage::FontDesc read() const;
    // As a new note reads them: face, size and style default to the font it
    // already has (its built-in one), the colour to the table's black.
    storage::FontDesc readForNewNote(const storage::FontDesc &builtIn) const;

private:
    storage::FontDesc readWith(const storage::FontDesc &defaults) const;
};

// Settings written by one user action, stored in one step (see
// platform::RegistryEdit): Ok in the options dialog, the values of every
// start. Nothing is stored until commit(); a refused commit raises
// platform::ERegistryError naming the first value and stores none.
class SettingsEdit
{
public:
    template<typename T, typename Default>
    void write(const Setting<T, Default> &setting,
               const typename Setting<T, Default>::Value &value);
    // The six values, in the order of FontSettings.
    void write(const FontSettings &group, const storage::FontDesc &font);
    // Stores the default unless the value is a number already: what
    // read() leaves behind, without reading.
    void keep(const BoolSetting &setting);
    // For values outside the settings key.
    platform::RegistryEdit &registry() { return m_edit; }

    void commit();

private:
    platform::RegistryEdit m_edit;
};

// The table. Where the options dialog and a new note pass different
// defaults, the table holds the dialog's and the note says its own.

// Defaults of a new note, shown and written by the options dialog.
inline constexpr TextSetting kTitle {"title", product::kName};
// Written only when the dialog's text is a non-zero number.
inline constexpr IntSetting kWidth {"width", 135};
inline constexpr IntSetting kHeight {"height", 80};
// Colours: 0x00BBGGRR or a system colour. Body panel and text area.
inline constexpr IntSetting kBackColor {"backcolor", 0x0000FFFF};
inline constexpr IntSetting kBackTitleColor {"BackTitleColor", 0x00C0DCC0};
// "Arial" at 10 points, no style, black; a new note defaults to the faces,
// sizes and styles of its own built-in fonts (readForNewNote).
inline constexpr FontSettings kNoteFont {{"fontName", "Arial"},    {"fontSize", 10},
                                         {"FontBold", false},      {"FontItalic", false},
                                         {"FontUnderline", false}, {"FontColor", 0}};
inline constexpr FontSettings kTitleFont {{"TitleFontName", "Arial"},    {"TitleFontSize", 10},
                                          {"TitleFontBold", false},      {"TitleFontItalic", false},
                                          {"TitleFontUnderline", false}, {"TitleFontColor", 0}};
// 1 to 6 (note/NoteGeometry.h); any other number places as 1 does.
inline constexpr IntSetting kPosition {"position", 1};

// Behaviour switches, written by the options dialog.
inline constexpr BoolSetting kOnTopOnNew {"OnTopOnNew", false};
inline constexpr BoolSetting kShowAllOnNew {"ShowAllOnNew", false};
// A left click on the tray icon: 0 makes a note, 1 shows all notes.
inline constexpr IntSetting kLeftDefaultAction {"LeftDefaultAction", 0};

// Kept by the program itself: the first-run language prompt is still due;
// the one notice that the desktop has no tray was shown.
inline constexpr BoolSetting kFirstRun {"FirstRun", true};
inline constexpr BoolSetting kNoTrayNoticeShown {"NoTrayNoticeShown", false};

// Written at every start (settings/StartupValues.h), read by nothing.
inline constexpr TextSetting kPath {"Path", ""};
inline constexpr TextSetting kFilename {"Filename", ""};
inline constexpr TextSetting kVersion {"Version", ""};
inline constexpr BoolSetting kAboutBox {"AboutBox", false};

} // namespace settings
