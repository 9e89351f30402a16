#include "storage/NoteFile.h"

#include "storage/DFile.h"

namespace storage {
namespace {

using Kind = NoteField::Kind;

template<class T> T &memberOf(NoteRecord &record, const NoteField &field)
{
    return record.*std::get<T NoteRecord::*>(field.member);
}

template<class T> const T &memberOf(const NoteRecord &record, const NoteField &field)
{
    return record.*std::get<T NoteRecord::*>(field.member);
}

// Field numbers (1-based) where the optional groups start and end.
constexpr int kFirstPositionField = 3;
constexpr int kLastPositionField = 4;
constexpr int kFirstTimingField = 14;
constexpr int kLastTimingField = 24;
constexpr int kFirstRestoreField = 25;

const NoteField &field(int number)
{
    return noteFields()[size_t(number - 1)];
}

void readFields(TVeskFile &file, NoteRecord &record, int first, int last)
{
    for (int number = first; number <= last; ++number)
        readNoteField(file, field(number), record);
}

void writeLayout(TVeskFile &file, const NoteRecord &record, NoteLayout layout)
{
    for (int number = 1; number <= int(layout); ++number)
        writeNoteField(file, field(number), record);
}

} // namespace

const std::array<NoteField, kNoteFieldCount> &noteFields()
{
    static const std::array<NoteField, kNoteFieldCount> fields = {{
        {"signature", Kind::String, &NoteRecord::signature},
        {"version", Kind::String, &NoteRecord::version},
        {"left", Kind::Int, &NoteRecord::left},
        {"top", Kind::Int, &NoteRecord::top},
        {"width", Kind::Word, &NoteRecord::width},
        {"height", Kind::Word, &NoteRecord::height},
        {"title", Kind::String, &NoteRecord::title},
        {"lines", Kind::Strings, &NoteRecord::lines},
        {"visible", Kind::Bool, &NoteRecord::visible},
        {"backColor", Kind::Color, &NoteRecord::backColor},
        {"titleColor", Kind::Color, &NoteRecord::titleColor},
        {"bodyFont", Kind::Font, &NoteRecord::bodyFont},
        {"titleFont", Kind::Font, &NoteRecord::titleFont},
        {"onTop", Kind::Bool, &NoteRecord::onTop},
        {"expirationEnabled", Kind::Bool, &NoteRecord::expirationEnabled},
        {"expirationReserved", Kind::Bool, &NoteRecord::expirationReserved},
        {"expirationDate", Kind::DateTime, &NoteRecord::expirationDate},
        {"expirationTime", Kind::DateTime, &NoteRecord::expirationTime},
        {"alarmEnabled", Kind::Bool, &NoteRecord::alarmEnabled},
        {"alarmFired", Kind::Bool, &NoteRecord::alarmFired},
        {"alarmDate", Kind::DateTime, &NoteRecord::alarmDate},
        {"alarmTime", Kind::DateTime, &NoteRecord::alarmTime},
        {"createStamp1", Kind::DateTime, &NoteRecord::createStamp1},
        {"createStamp2", Kind::DateTime, &NoteRecord::createStamp2},
        {"restoreWidth", Kind::Word, &NoteRecord::restoreWidth},
        {"restoreHeight", Kind::Word, &NoteRecord::restoreHeight},
    }};
    return fields;
}

void readNoteField(TVeskFile &file, const NoteField &field, NoteRecord &record)
{
    switch (field.kind) {
    case Kind::String:
        memberOf<QString>(record, field) = file.readString();
        break;
    case Kind::Int:
        memberOf<qint32>(record, field) = file.readInt();
        break;
    case Kind::Word:
        memberOf<quint16>(record, field) = file.readWord();
        break;
    case Kind::Bool:
        memberOf<bool>(record, field) = file.readBool();
        break;
    case Kind::Strings:
        file.readStrings(memberOf<QStringList>(record, field));
        break;
    case Kind::Color:
        memberOf<qint32>(record, field) = file.readColor();
        break;
    case Kind::Font:
        memberOf<FontDesc>(record, field) = file.readFont();
        break;
    case Kind::DateTime:
        memberOf<double>(record, field) = file.readDateTime();
        break;
    }
}

void writeNoteField(TVeskFile &file, const NoteField &field, const NoteRecord &record)
{
    switch (field.kind) {
    case Kind::String:
        file.writeString(memberOf<QString>(record, field));
        break;
    case Kind::Int:
        file.writeInt(memberOf<qint32>(record, field));
        break;
    case Kind::Word:
        file.writeWord(memberOf<quint16>(record, field));
        break;
    case Kind::Bool:
        file.writeBool(memberOf<bool>(record, field));
        break;
    case Kind::Strings:
        file.writeStrings(memberOf<QStringList>(record, field));
        break;
    case Kind::Color:
        file.writeColor(memberOf<qint32>(record, field));
        break;
    case Kind::Font:
        file.writeFont(memberOf<FontDesc>(record, field));
        break;
    case Kind::DateTime:
        file.writeDateTime(memberOf<double>(record, field));
        break;
    }
}

void writeNoteFileLayout(const QString &path, const NoteRecord &record, NoteLayout layout)
{
    TVeskFile file(path);
    file.rewrite();
    writeLayout(file, record, layout);
    file.commit();
}

void writeNoteFile(const QString &path, const NoteRecord &record)
{
    NoteRecord current = record;
    current.signature = QString::fromLatin1(product::kName);
    current.version = QString::fromLatin1(product::kFileVersion);
    writeNoteFileLayout(path, current, NoteLayout::Full);
}

NoteRecord readNoteFile(const QString &path, const NoteRecord &newNoteValues, QSize windowSize,
                        QSize screenSize)
{
    NoteRecord record = newNoteValues;
    TVeskFile file(path);
    file.reset();
    readFields(file, record, 1, kFirstPositionField - 1);

    try {
        readFields(file, record, kFirstPositionField, kLastPositionField);
    } catch (const Error &) {
        // Integer division truncates toward zero, also for a note wider than the screen.
        record.left = (screenSize.width() - windowSize.width()) / 2;
        record.top = (screenSize.height() - windowSize.height()) / 2;
    }

    readFields(file, record, kLastPositionField + 1, kFirstTimingField - 1);

    try {
        readFields(file, record, kFirstTimingField, kLastTimingField);
    } catch (const Error &) {
        record.onTop = false;
    }

    try {
        readFields(file, record, kFirstRestoreField, kNoteFieldCount);
    } catch (const Error &) {
        record.restoreWidth = record.width;
        record.restoreHeight = record.height;
    }
    return record;
}

} // namespace storage
