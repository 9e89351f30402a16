#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace platform {

// Registry value types, numbered as the registry numbers them.
enum RegType : quint32 {
    RegNone = 0,
    RegString = 1,
    RegExpandString = 2,
    RegBinary = 3,
    RegDWord = 4,
};

// One registry value: its type and its data bytes as the registry keeps
// them (texts as UTF-16LE with a terminating NUL, a DWORD as 4 bytes, little
// endian). Types the program does not use are carried through untouched.
struct RegValue
{
    quint32 type = RegNone;
    QByteArray data;

    static RegValue fromText(const QString &text, quint32 type = RegString);
    static RegValue fromDWord(qint32 number);

    bool isText() const { return type == RegString || type == RegExpandString; }
    bool isDWord() const { return type == RegDWord && data.size() == 4; }
    // The text up to its first NUL; meaningful for text types.
    QString text() const;
    qint32 dword() const;

    bool operator==(const RegValue &other) const
    {
        return type == other.type && data == other.data;
    }
    bool operator!=(const RegValue &other) const { return !(*this == other); }
};

// A key path below HKEY_CURRENT_USER as its components ("Software", "Harvel",
// ...), or nullopt for a path no registry key can have (empty component,
// line break). A leading backslash is allowed.
std::optional<QStringList> parseKeyPath(const QString &path);

// Registry names compare ignoring the case of ASCII letters only.
QString foldRegistryName(const QString &name);

// The text of a registry export file ("Windows Registry Editor Version 5.00",
// [HKEY_CURRENT_USER\...] sections, "name"=data lines). Lines it does not
// understand, comments and sections of other roots are kept exactly as they
// are and written back in place; only the values that change are rewritten.
class RegDocument
{
public:
    static RegDocument parse(const QString &text);
    QString toText() const;

    // Whether some line is no registry text: one holding a NUL, or one that
    // is neither a section, a value, a comment, the header nor blank. Such
    // lines are kept as they are; a damaged section line starts a section
    // of no key, so the values below it are read as no other key's.
    bool isDamaged() const;

    bool hasKey(const QStringList &key) const;
    // Adds an empty section for the key unless it (or a key below it) exists.
    void createKey(const QStringList &key);
    // The last definition wins, as when the file is imported.
    std::optional<RegValue> value(const QStringList &key, const QString &name) const;
    // Replaces any value of that name (of any type) or adds it to the key,
    // creating the key when needed. Returns false, changing nothing, for a
    // name that cannot be written on one line (line break or NUL).
    bool setValue(const QStringList &key, const QString &name, const RegValue &value);
    // Removes every definition of the value; false when there was none.
    bool removeValue(const QStringList &key, const QString &name);

private:
    enum class Kind { Other, Section, Value };
    struct Entry
    {
        Kind kind = Kind::Other;
        QString raw; // the entry's lines exactly as in the file
        bool damaged = false; // see isDamaged()
        bool currentUser = false; // Section: of HKEY_CURRENT_USER
        QString key; // Section: folded key path below the root
        QString name; // Value: folded name
        RegValue value;
    };

    static Entry parseEntry(const QString &raw);
    static Entry makeValueEntry(const QString &name, const RegValue &value);
    // Indexes of the entries defining the value, in file order.
    std::vector<int> indexesOfValue(const QStringList &key, const QString &name) const;
    void ensureHeader();
    void appendSection(const QStringList &key);
    // Index after the last non-blank entry of the key's last section, or -1.
    int insertionPointOfKey(const QString &foldedKey) const;

    std::vector<Entry> m_entries;
};

} // namespace platform
