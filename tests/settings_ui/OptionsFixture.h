#pragma once

#include "platform/RegDocument.h"
#include "ui/Dialogs.h"

#include <QString>
#include <gtest/gtest.h>

#include <optional>

// Every options test starts from an empty settings store, no start-up entry,
// no saved placement and no per-user language, with a program folder of its
// own holding English as default.lng and a "language" folder, the English
// table installed and scripted answers instead of dialogs.
class OptionsTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // The repository's language file of that name.
    static QString sourceLanguage(const QString &fileName);
    QString languageFolder() const { return m_programFolder + QStringLiteral("/language"); }
    const QString &programFolder() const { return m_programFolder; }

    static std::optional<platform::RegValue> stored(const QString &name);
    static void store(const QString &name, const platform::RegValue &value);
    static void storeInt(const QString &name, qint32 value);

    dialogs::DialogScript script;

private:
    QString m_programFolder;
};
