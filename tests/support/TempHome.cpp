#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace testsupport {

QString tempHome()
{
    return qEnvironmentVariable("HOME");
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QString freshDir(const QString &name)
{
    QDir dir(tempHome() + QStringLiteral("/") + name);
    dir.removeRecursively();
    dir.mkpath(QStringLiteral("."));
    return dir.absolutePath();
}

} // namespace testsupport
