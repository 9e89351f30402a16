#pragma once

#include "storage/DFile.h"
#include "support/TempHome.h"

#include <QDir>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

// Shared helpers of the storage tests: the bytes that some writes produce,
// and a reader over given bytes.
namespace storagetest {

inline QString scratchPath(const QString &name)
{
    return testsupport::freshDir(QStringLiteral("scratch")) + QLatin1Char('/') + name;
}

inline QByteArray bytesOf(const std::function<void(TVeskFile &)> &writes)
{
    const QString path = scratchPath(QStringLiteral("written.bin"));
    {
        TVeskFile file(path);
        file.rewrite();
        writes(file);
        file.commit();
    }
    return testsupport::readAll(path);
}

inline std::unique_ptr<TVeskFile> readerOver(const QByteArray &bytes)
{
    const QString path = scratchPath(QStringLiteral("read.bin"));
    testsupport::writeAll(path, bytes);
    auto file = std::make_unique<TVeskFile>(path);
    file->reset();
    return file;
}

// Runs the call and returns the message of the exception of type E it raises
// (an empty text and a test failure when it raises none or another one).
template<class E, class F> QString messageOf(F &&call)
{
    try {
        call();
    } catch (const E &e) {
        return e.message();
    } catch (const std::exception &e) {
        ADD_FAILURE() << "unexpected exception: " << e.what();
        return {};
    }
    ADD_FAILURE() << "no exception";
    return {};
}

} // namespace storagetest
