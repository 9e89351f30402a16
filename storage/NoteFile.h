#pragma once

#include "platform/Product.h"
#include "storage/FontDesc.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <array>
#include <variant>

class TVeskFile;

namespace storage {

// Everything a note file holds, in file order, without any window.
// Date-times are serials as in storage/DateTime.h; colours signed 32-bit.
struct NoteRecord
{
    QString signature = QString::fromLatin1(product::kName);
    QString version = QString::fromLatin1(product::kFileVersion);
    qint32 left = 0;
    qint32 top = 0;
    quint16 width = 0; // the low 16 bits of the window size
    quint16 height = 0;
    QString title;
    QStringList lines; // the body as plain text, one entry per line
    bool visible = true;
    qint32 backColor = 0;
    qint32 titleColor = 0;
    FontDesc bodyFont;
    FontDesc titleFont;
    // Timing group
    bool onTop = false;
    bool expirationEnabled = false;
    bool expirationReserved = false;
    double expirationDate = 0;
    double expirationTime = 0;
    bool alarmEnabled = false;
    bool alarmFired = false;
    double alarmDate = 0;
    double alarmTime = 0;
    double createStamp1 = 0;
    double createStamp2 = 0;
    // Restore group
    quint16 restoreWidth = 0;
    quint16 restoreHeight = 0;
};

// How many fields a note file holds: earlier layouts ended after the title
// font or after the second creation stamp.
enum class NoteLayout { UpToFonts = 13, UpToStamps = 24, Full = 26 };

// One field of the layout: its member name, the kind of value the file holds
// there, and where it lives in the record. Int and Color both live in a
// qint32; the kind tells them apart.
struct NoteField
{
    enum class Kind { String, Int, Word, Bool, Strings, Color, Font, DateTime };
    using Member = std::variant<QString NoteRecord::*, qint32 NoteRecord::*, quint16 NoteRecord::*,
                                bool NoteRecord::*, QStringList NoteRecord::*,
                                FontDesc NoteRecord::*, double NoteRecord::*>;
    const char *name;
    Kind kind;
    Member member;
};

inline constexpr int kNoteFieldCount = 26;
// The fields 1 to 26 in file order.
const std::array<NoteField, kNoteFieldCount> &noteFields();

// Reads or writes one field of the record at the file's current position,
// with the errors of TVeskFile.
void readNoteField(TVeskFile &file, const NoteField &field, NoteRecord &record);
void writeNoteField(TVeskFile &file, const NoteField &field, const NoteRecord &record);

// Writes the record as a note file of the current layout, signed with this
// program's name and file version whatever the record holds there. The file
// is replaced whole or not at all; errors are EInOutError / EConvertError.
void writeNoteFile(const QString &path, const NoteRecord &record);

// Writes the fields of the given layout exactly as the record holds them,
// signature and version included (for tools that make files of any layout).
void writeNoteFileLayout(const QString &path, const NoteRecord &record, NoteLayout layout);

// Reads a note file for a note window whose new-note values are given:
//  - left/top unreadable: the note is centred, (screen - windowSize) / 2,
//    windowSize being the window's size before loading;
//  - an error in fields 14..24: onTop false, the members not yet read keep
//    their new-note values;
//  - fields 25/26 unreadable: the restore size is the loaded width and height.
// Reading goes on after a rejected value. Errors in fields 1, 2 and 5..13,
// and a missing file ("File not found"), are raised. The file is not changed.
NoteRecord readNoteFile(const QString &path, const NoteRecord &newNoteValues, QSize windowSize,
                        QSize screenSize);

} // namespace storage
