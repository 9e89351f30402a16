// jotletctl dump / make: a note file as JSON and back, one member per field
// in file order, for looking into notes and for making test files of any
// layout.
#include "ctl/Commands.h"

#include "platform/AnsiText.h"
#include "storage/DFile.h"
#include "storage/DateTime.h"
#include "storage/NoteFile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <utility>

namespace ctl {
namespace {

using storage::FontDesc;
using storage::NoteField;
using storage::NoteRecord;
using Kind = NoteField::Kind;
using Member = JsonMember;

constexpr int kMaxTextBytes = 255;
constexpr int kMaxLines = 255;
// Field counts at which a file may end (older layouts).
constexpr int kEndAfterFonts = int(storage::NoteLayout::UpToFonts);
constexpr int kEndAfterStamps = int(storage::NoteLayout::UpToStamps);

const char *const kFontMembers[]
    = {"name", "size", "bold", "italic", "underline", "strikeOut", "color"};

template<class T> const T &valueOf(const NoteRecord &record, const NoteField &field)
{
    return record.*std::get<T NoteRecord::*>(field.member);
}

template<class T> T &valueOf(NoteRecord &record, const NoteField &field)
{
    return record.*std::get<T NoteRecord::*>(field.member);
}

// ---- writing JSON, members in layout order

QString dateTimeText(double value)
{
    const storage::DateTimeParts p = storage::splitDateTime(value);
    return QString::asprintf("%04d-%02d-%02dT%02d:%02d:%02d", p.year, p.month, p.day, p.hour,
                             p.minute, p.second);
}

QString fontText(const FontDesc &font)
{
    const QJsonValue values[] = {font.name,      font.size,      font.bold, font.italic,
                                 font.underline, font.strikeOut, font.color};
    QList<Member> members;
    for (size_t i = 0; i < std::size(kFontMembers); ++i)
        members << Member {QString::fromLatin1(kFontMembers[i]), jsonText(values[i])};
    return jsonObjectText(members, {});
}

QString fieldText(const NoteRecord &record, const NoteField &field)
{
    switch (field.kind) {
    case Kind::String:
        return jsonText(valueOf<QString>(record, field));
    case Kind::Int:
    case Kind::Color:
        return jsonText(valueOf<qint32>(record, field));
    case Kind::Word:
        return jsonText(valueOf<quint16>(record, field));
    case Kind::Bool:
        return jsonText(valueOf<bool>(record, field));
    case Kind::Strings: {
        QStringList items;
        for (const QString &line : valueOf<QStringList>(record, field))
            items << jsonText(line);
        return QLatin1Char('[') + items.join(QStringLiteral(", ")) + QLatin1Char(']');
    }
    case Kind::Font:
        return fontText(valueOf<FontDesc>(record, field));
    case Kind::DateTime:
        return jsonText(dateTimeText(valueOf<double>(record, field)));
    }
    return {};
}

// ---- reading JSON

[[noreturn]] void fail(const QString &where, const QString &what)
{
    throw Error(QStringLiteral("field \"%1\" %2").arg(where, what));
}

// A text the file keeps exactly: at most 255 bytes, reading back the same.
QString storableText(const QJsonValue &value, const QString &where)
{
    if (!value.isString())
        fail(where, QStringLiteral("must be a text"));
    const QString text = value.toString();
    const QByteArray bytes = platform::encodeAnsi(text);
    if (bytes.size() > kMaxTextBytes)
        fail(where, QStringLiteral("is longer than %1 bytes").arg(kMaxTextBytes));
    if (platform::decodeAnsi(bytes) != text)
        fail(where, QStringLiteral("would not read back as the same text"));
    return text;
}

qint64 wholeNumber(const QJsonValue &value, const QString &where, qint64 lowest, qint64 highest)
{
    const double number = value.toDouble(std::nan(""));
    if (!value.isDouble() || number != std::floor(number) || number < double(lowest)
        || number > double(highest))
        fail(where,
             QStringLiteral("must be a whole number from %1 to %2").arg(lowest).arg(highest));
    return qint64(number);
}

qint32 intValue(const QJsonValue &value, const QString &where)
{
    return qint32(wholeNumber(value, where, -65535, 65535));
}

qint32 colorValue(const QJsonValue &value, const QString &where)
{
    const auto colour = qint32(wholeNumber(value, where, INT32_MIN, INT32_MAX));
    if (!TVeskFile::keepsColor(colour))
        fail(where, QStringLiteral("is a colour that a note file cannot keep"));
    return colour;
}

bool boolValue(const QJsonValue &value, const QString &where)
{
    if (!value.isBool())
        fail(where, QStringLiteral("must be true or false"));
    return value.toBool();
}

QStringList linesValue(const QJsonValue &value, const QString &where)
{
    if (!value.isArray() || value.toArray().size() > kMaxLines)
        fail(where, QStringLiteral("must be a list of at most %1 texts").arg(kMaxLines));
    QStringList lines;
    for (const QJsonValue &line : value.toArray())
        lines << storableText(line, where);
    return lines;
}

double dateTimeValue(const QJsonValue &value, const QString &where)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})T(\\d{2}):(\\d{2}):(\\d{2})$"));
    const QRegularExpressionMatch match = pattern.match(value.toString());
    if (!value.isString() || !match.hasMatch())
        fail(where, QStringLiteral("must be a date-time \"YYYY-MM-DDTHH:MM:SS\""));
    const auto number = [&](int group) {
        return match.captured(group).toInt();
    };
    try {
        return storage::encodeDateTime(
            {number(1), number(2), number(3), number(4), number(5), number(6)});
    } catch (const EConvertError &e) {
        fail(where, QStringLiteral("is no date-time: ") + e.message());
    }
}

FontDesc fontValue(const QJsonValue &value, const QString &where)
{
    if (!value.isObject())
        fail(where, QStringLiteral("must be an object"));
    const QJsonObject object = value.toObject();
    for (const QString &key : object.keys()) {
        if (std::none_of(std::begin(kFontMembers), std::end(kFontMembers),
                         [&](const char *name) { return key == QLatin1String(name); }))
            fail(where, QStringLiteral("has an unknown member \"%1\"").arg(key));
    }
    for (const char *name : kFontMembers) {
        if (!object.contains(QLatin1String(name)))
            fail(where, QStringLiteral("lacks the member \"%1\"").arg(QLatin1String(name)));
    }
    const auto member = [&](const char *name) {
        return object.value(QLatin1String(name));
    };
    const auto path = [&](const char *name) {
        return where + QLatin1Char('.') + QLatin1String(name);
    };
    FontDesc font;
    font.name = storableText(member("name"), path("name"));
    font.size = intValue(member("size"), path("size"));
    font.bold = boolValue(member("bold"), path("bold"));
    font.italic = boolValue(member("italic"), path("italic"));
    font.underline = boolValue(member("underline"), path("underline"));
    font.strikeOut = boolValue(member("strikeOut"), path("strikeOut"));
    font.color = colorValue(member("color"), path("color"));
    return font;
}

void readField(const QJsonValue &value, const NoteField &field, NoteRecord &record)
{
    const QString where = QString::fromLatin1(field.name);
    switch (field.kind) {
    case Kind::String:
        valueOf<QString>(record, field) = storableText(value, where);
        break;
    case Kind::Int:
        valueOf<qint32>(record, field) = intValue(value, where);
        break;
    case Kind::Color:
        valueOf<qint32>(record, field) = colorValue(value, where);
        break;
    case Kind::Word:
        valueOf<quint16>(record, field) = quint16(wholeNumber(value, where, 0, 65535));
        break;
    case Kind::Bool:
        valueOf<bool>(record, field) = boolValue(value, where);
        break;
    case Kind::Strings:
        valueOf<QStringList>(record, field) = linesValue(value, where);
        break;
    case Kind::Font:
        valueOf<FontDesc>(record, field) = fontValue(value, where);
        break;
    case Kind::DateTime:
        valueOf<double>(record, field) = dateTimeValue(value, where);
        break;
    }
}

bool containsAny(const QJsonObject &object, int firstField, int lastField)
{
    for (int i = firstField; i <= lastField; ++i) {
        if (object.contains(QLatin1String(storage::noteFields()[size_t(i - 1)].name)))
            return true;
    }
    return false;
}

// The layout is given by the groups present: leaving out the restore size,
// or the timing group together with it, makes a file of an older layout.
storage::NoteLayout layoutOf(const QJsonObject &object)
{
    if (containsAny(object, kEndAfterStamps + 1, storage::kNoteFieldCount))
        return storage::NoteLayout::Full;
    if (containsAny(object, kEndAfterFonts + 1, kEndAfterStamps))
        return storage::NoteLayout::UpToStamps;
    return storage::NoteLayout::UpToFonts;
}

std::pair<NoteRecord, storage::NoteLayout> recordFromJson(const QJsonObject &object)
{
    for (const QString &key : object.keys()) {
        const auto &fields = storage::noteFields();
        if (std::none_of(fields.begin(), fields.end(),
                         [&](const NoteField &f) { return key == QLatin1String(f.name); }))
            throw Error(QStringLiteral("unknown field \"%1\"").arg(key));
    }
    const storage::NoteLayout layout = layoutOf(object);
    NoteRecord record;
    for (int i = 0; i < int(layout); ++i) {
        const NoteField &field = storage::noteFields()[size_t(i)];
        const QString name = QString::fromLatin1(field.name);
        if (!object.contains(name))
            throw Error(QStringLiteral("missing field \"%1\"").arg(name));
        readField(object.value(name), field, record);
    }
    return {record, layout};
}

QByteArray readStandardInput()
{
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly))
        throw Error(QStringLiteral("cannot read standard input: ") + input.errorString());
    return input.readAll();
}

} // namespace

// QJsonObject sorts its keys, so objects are put together here and only the
// values go through QJsonDocument (which escapes them).
QString jsonText(const QJsonValue &value)
{
    const QByteArray array = QJsonDocument(QJsonArray {value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

QString jsonObjectText(const QList<JsonMember> &members, const QString &indent)
{
    QStringList lines;
    for (const JsonMember &m : members)
        lines << indent + jsonText(m.first) + QStringLiteral(": ") + m.second;
    const QString separator = indent.isEmpty() ? QStringLiteral(", ") : QStringLiteral(",\n");
    const QString open = indent.isEmpty() ? QStringLiteral("{") : QStringLiteral("{\n");
    const QString close = indent.isEmpty() ? QStringLiteral("}") : QStringLiteral("\n}");
    return open + lines.join(separator) + close;
}

QList<JsonMember> recordMembers(const NoteRecord &record)
{
    QList<JsonMember> members;
    for (const NoteField &field : storage::noteFields())
        members << JsonMember {QString::fromLatin1(field.name), fieldText(record, field)};
    return members;
}

int dumpNoteFile(const QStringList &args)
{
    if (args.size() != 1) {
        printError(QStringLiteral("usage: jotletctl dump FILE"));
        return 2;
    }
    // Strictly in order, no fallbacks: what the file holds, up to the first
    // thing wrong with it. Ending after the fonts or the stamps is an older
    // layout, not an error.
    TVeskFile file(args[0]);
    NoteRecord record;
    QList<Member> members;
    QString error;
    try {
        file.reset();
        for (int i = 0; i < storage::kNoteFieldCount; ++i) {
            if ((i == kEndAfterFonts || i == kEndAfterStamps) && file.atEnd())
                break;
            const NoteField &field = storage::noteFields()[size_t(i)];
            readNoteField(file, field, record);
            members << Member {QString::fromLatin1(field.name), fieldText(record, field)};
        }
        if (!file.atEnd())
            error = QStringLiteral("Data after the last field");
    } catch (const Error &e) {
        error = e.message();
    }
    if (!error.isEmpty())
        members << Member {QStringLiteral("error"), jsonText(error)};
    printOutput(jsonObjectText(members, QStringLiteral("    ")) + QLatin1Char('\n'));
    if (error.isEmpty())
        return 0;
    printError(QStringLiteral("dump: %1: %2").arg(args[0], error));
    return 1;
}

int makeNoteFile(const QStringList &args)
{
    if (args.size() != 1) {
        printError(QStringLiteral("usage: jotletctl make FILE < JSON"));
        return 2;
    }
    try {
        QJsonParseError parseError;
        const QJsonDocument document = QJsonDocument::fromJson(readStandardInput(), &parseError);
        if (parseError.error != QJsonParseError::NoError)
            throw Error(QStringLiteral("not JSON: %1 at offset %2")
                            .arg(parseError.errorString())
                            .arg(parseError.offset));
        if (!document.isObject())
            throw Error(QStringLiteral("the JSON must be one object"));
        // Everything is checked before the file is touched.
        const auto [record, layout] = recordFromJson(document.object());
        storage::writeNoteFileLayout(args[0], record, layout);
    } catch (const Error &e) {
        printError(QStringLiteral("make: %1: %2").arg(args[0], e.message()));
        return 1;
    }
    return 0;
}

} // namespace ctl
