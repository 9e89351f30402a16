// Any bytes as a note file: the loader with its fallbacks, and every reader
// of the tagged field file on its own. Nothing may crash, hang or leak; the
// only way out of a reader is one of the program's own errors.
#include "storage/DFile.h"
#include "storage/NoteFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>

namespace {

const QString &inputPath()
{
    static const QString path = QDir::tempPath() + QStringLiteral("/jl-fuzz-notefile-")
        + QString::number(QCoreApplication::applicationPid()) + QStringLiteral(".jtl");
    return path;
}

void writeInput(const uint8_t *data, size_t size)
{
    QFile file(inputPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        abort();
    file.write(reinterpret_cast<const char *>(data), qint64(size));
}

const std::function<void(TVeskFile &)> kReaders[] = {
    [](TVeskFile &f) { f.readString(); },
    [](TVeskFile &f) { f.readBool(); },
    [](TVeskFile &f) { f.readInt(); },
    [](TVeskFile &f) { f.readByte(); },
    [](TVeskFile &f) { f.readWord(); },
    [](TVeskFile &f) { f.readDateTime(); },
    [](TVeskFile &f) { f.readFont(); },
    [](TVeskFile &f) {
        QStringList lines;
        f.readStrings(lines);
    },
    [](TVeskFile &f) { f.readColor(); },
};

// Reads until the first error, choosing each reader with pick(step).
void readAll(const std::function<size_t(size_t)> &pick)
{
    TVeskFile file(inputPath());
    try {
        file.reset();
        for (size_t step = 0; !file.atEnd(); ++step)
            kReaders[pick(step) % std::size(kReaders)](file);
    } catch (const Error &) {
    }
}

void removeInput()
{
    QFile::remove(inputPath());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    std::atexit(removeInput);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    writeInput(data, size);

    storage::NoteRecord newNote;
    newNote.width = 135;
    newNote.height = 80;
    try {
        storage::readNoteFile(inputPath(), newNote, QSize(135, 80), QSize(1024, 768));
    } catch (const Error &) {
    }

    // One reader throughout, for each reader; then the input's own bytes
    // choosing the readers, so right and wrong tags mix.
    for (size_t reader = 0; reader < std::size(kReaders); ++reader)
        readAll([reader](size_t) { return reader; });
    if (size > 0)
        readAll([&](size_t step) { return size_t(data[step % size]); });
    return 0;
}
