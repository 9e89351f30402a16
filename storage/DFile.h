#pragma once

#include "platform/Errors.h"
#include "storage/FontDesc.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QFile;

// A wrong type tag met by one of TVeskFile's readers.
class EVeskFileError : public Error
{
public:
    using Error::Error;
};

// A file as a sequence of typed values, each a one-byte type tag followed by
// its bytes; the meaning of a value comes only from its place in the sequence.
//
// Reading: reset(), then the readers in the order the values were written.
// A wrong tag raises EVeskFileError ("Error at readInt:type" and its kin; the
// tag byte stays consumed), running out of bytes EInOutError("Read beyond end
// of file"). After an error the object is good only for destruction.
//
// Writing: rewrite(), the writers, then commit(). The content is collected in
// memory, and only commit() puts it in place (storage/PrivateFile.h: flushed
// to disk, then renamed over the old file), so a failure at any point, or
// destroying the object without commit(), leaves the old file whole.
class TVeskFile
{
public:
    enum Tag : unsigned char {
        StringTag = 0,
        BoolTag = 1,
        IntTag = 2,
        ByteTag = 4,
        WordTag = 5,
        DateTimeTag = 6,
        FontTag = 7,
        StringsTag = 8,
        ColorTag = 9,
    };

    // Binds the name; nothing is opened or created yet.
    explicit TVeskFile(QString fileName);
    ~TVeskFile();
    TVeskFile(const TVeskFile &) = delete;
    TVeskFile &operator=(const TVeskFile &) = delete;

    const QString &fileName() const { return m_fileName; }

    // Opens the existing file for reading from its first byte.
    // EInOutError("File not found") when there is none, and EInOutError
    // naming the file when it is a symbolic link or no regular file (a
    // FIFO, a device): those are never opened.
    void reset();
    // True when every byte of the file opened by reset() has been read.
    bool atEnd() const;

    // Starts writing a new content for the file (mode 0600).
    void rewrite();
    // Puts the written content in place; EInOutError with the system's reason
    // when that fails, and then the old file is still there, unchanged.
    void commit();

    // Texts are stored in the ANSI form of platform/AnsiText.h, cut to 255 bytes.
    void writeString(const QString &text);
    void writeBool(bool value);
    // Sign and the low 16 bits of the magnitude: values -65535..65535.
    void writeInt(qint32 value);
    void writeByte(quint8 value);
    void writeWord(quint16 value);
    // Calendar date and time to the whole second (see storage/DateTime.h).
    void writeDateTime(double value);
    void writeFont(const storage::FontDesc &font);
    // At most the first 255 entries.
    void writeStrings(const QStringList &lines);
    // As two words, value mod 65535 and value div 65535: keeps 0..0x7FFFFFFF
    // and the system-colour constants 0xFF0000nn.
    void writeColor(qint32 value);
    // True when readColor gives the value back: 0..0x7FFFFFFF, the system
    // colours, and negative values from -65536 down that 65535 does not divide.
    static bool keepsColor(qint32 value);

    QString readString();
    bool readBool();
    qint32 readInt();
    quint8 readByte();
    quint16 readWord();
    double readDateTime();
    storage::FontDesc readFont();
    // Replaces the content of the list once the tag has been found right.
    void readStrings(QStringList &lines);
    // "Error at readColor:type" on a wrong tag, like the other readers.
    qint32 readColor();

private:
    void readTag(Tag expected, const char *message);
    QByteArray nextBytes(int count);
    quint8 nextByte();
    void put(const QByteArray &bytes);
    void putTag(Tag tag) { put(QByteArray(1, char(tag))); }

    QString m_fileName;
    std::unique_ptr<QFile> m_input; // after reset()
    std::optional<QByteArray> m_output; // after rewrite()
};
