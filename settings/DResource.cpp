#include "settings/DResource.h"

#include "settings/Ini.h"

#include <QFileInfo>

namespace {

const QString kMissing = QStringLiteral("!!!");
const QString kResourceSection = QStringLiteral("Resource");
const QString kGeneralSection = QStringLiteral("General");
const QString kNotDefined = QStringLiteral("Not defined");

std::unique_ptr<TReadRes> &currentTable()
{
    static std::unique_ptr<TReadRes> table;
    return table;
}

} // namespace

TReadRes::TReadRes(const QString &filePath, const QString &languageFolder)
    : m_fileName(QFileInfo(filePath).fileName())
{
    const QFileInfo file(filePath);
    if (!file.isFile() || !file.isReadable()) {
        throw settings::EResourceFileMissing(QStringLiteral("Resource file ")
                                             + file.absoluteFilePath()
                                             + QStringLiteral("not founded. Program killed"));
    }
    const settings::IniFile language(filePath);
    // English fills the gaps only where the language folder holds a file of
    // the loaded file's name, i.e. where a complete set is installed.
    const bool englishFallback = QFileInfo::exists(languageFolder + QLatin1Char('/') + m_fileName);
    const settings::IniFile english(languageFolder + QStringLiteral("/english.lng"));
    for (int id = 0; id <= kLastLoadedId; ++id) {
        const QString key = QString::number(id);
        const QString text = language.readString(kResourceSection, key, kMissing);
        if (text != kMissing) {
            m_texts[size_t(id)] = text;
            continue;
        }
        const QString error = QStringLiteral("Error load res [%1]").arg(id);
        m_texts[size_t(id)]
            = englishFallback ? english.readString(kResourceSection, key, error) : error;
    }
    LangLanguage = language.readString(kGeneralSection, QStringLiteral("language"), kNotDefined);
    LangAuthor = language.readString(kGeneralSection, QStringLiteral("author"), kNotDefined);
    LangVersion = language.readString(kGeneralSection, QStringLiteral("version"), kNotDefined);
    LangEmail = language.readString(kGeneralSection, QStringLiteral("email"), kNotDefined);
    LangNote = language.readString(kGeneralSection, QStringLiteral("note"), kNotDefined);
}

QString TReadRes::GetText(int id) const
{
    if (id < 0 || id > kLastId)
        return QStringLiteral("No resource %1").arg(id);
    return m_texts[size_t(id)];
}

const TReadRes &TReadRes::current()
{
    static const TReadRes empty;
    const std::unique_ptr<TReadRes> &table = currentTable();
    return table ? *table : empty;
}

void TReadRes::setCurrent(std::unique_ptr<TReadRes> table)
{
    currentTable() = std::move(table);
}

QString settings::uiText(int id, const QString &builtIn)
{
    const QString text = TReadRes::current().GetText(id);
    return text.isEmpty() ? builtIn : text;
}
