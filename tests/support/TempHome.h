#pragma once

#include <QString>

namespace testsupport {

// The temporary HOME that TestMain created for this test program.
QString tempHome();

// Reads or writes a whole file; test helpers, they fail the test on error.
QByteArray readAll(const QString &path);
void writeAll(const QString &path, const QByteArray &bytes);

// A fresh, empty folder below the temporary HOME.
QString freshDir(const QString &name);

} // namespace testsupport
