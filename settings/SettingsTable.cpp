#include "settings/SettingsTable.h"

#include "settings/veskUt.h"

#include <type_traits>

using platform::RegValue;

namespace settings {
namespace {

QString nameOf(const char *name)
{
    return QLatin1String(name);
}

QString valueOf(const char *defaultValue)
{
    return QLatin1String(defaultValue);
}

template<typename T> T valueOf(T defaultValue)
{
    return defaultValue;
}

template<typename T> RegValue registryValue(const T &value)
{
    if constexpr (std::is_same_v<T, QString>)
        return RegValue::fromText(value);
    else
        return RegValue::fromDWord(qint32(value));
}

} // namespace

template<typename T, typename Default> T Setting<T, Default>::read() const
{
    return read(valueOf(defaultValue));
}

template<typename T, typename Default> T Setting<T, Default>::read(const T &callerDefault) const
{
    if constexpr (std::is_same_v<T, QString>)
        return readRegString(nameOf(name), callerDefault);
    else if constexpr (std::is_same_v<T, bool>)
        return readRegBool(nameOf(name), callerDefault);
    else
        return readRegInt(nameOf(name), callerDefault);
}

template<typename T, typename Default> void Setting<T, Default>::write(const T &value) const
{
    if constexpr (std::is_same_v<T, QString>)
        writeRegString(nameOf(name), value);
    else if constexpr (std::is_same_v<T, bool>)
        writeRegBool(nameOf(name), value);
    else
        writeRegInt(nameOf(name), value);
}

template struct Setting<QString, const char *>;
template struct Setting<qint32>;
template struct Setting<bool>;

storage::FontDesc FontSettings::read() const
{
    storage::FontDesc defaults;
    defaults.name = valueOf(face.defaultValue);
    defaults.size = size.defaultValue;
    defaults.bold = bold.defaultValue;
    defaults.italic = italic.defaultValue;
    defaults.underline = underline.defaultValue;
    return readWith(defaults);
}

storage::FontDesc FontSettings::readForNewNote(const storage::FontDesc &builtIn) const
{
    return readWith(builtIn);
}

storage::FontDesc FontSettings::readWith(const storage::FontDesc &defaults) const
{
    storage::FontDesc font;
    font.name = face.read(defaults.name);
    font.size = size.read(defaults.size);
    font.bold = bold.read(defaults.bold);
    font.italic = italic.read(defaults.italic);
    font.underline = underline.read(defaults.underline);
    font.color = color.read();
    return font;
}

template<typename T, typename Default>
void SettingsEdit::write(const Setting<T, Default> &setting,
                         const typename Setting<T, Default>::Value &value)
{
    m_edit.setValue(settingsKeyPath(), nameOf(setting.name), registryValue(value));
}

template void SettingsEdit::write(const TextSetting &, const QString &);
template void SettingsEdit::write(const IntSetting &, const qint32 &);
template void SettingsEdit::write(const BoolSetting &, const bool &);

void SettingsEdit::write(const FontSettings &group, const storage::FontDesc &font)
{
    write(group.face, font.name);
    write(group.size, font.size);
    write(group.bold, font.bold);
    write(group.italic, font.italic);
    write(group.underline, font.underline);
    write(group.color, font.color);
}

void SettingsEdit::keep(const BoolSetting &setting)
{
    m_edit.setValueUnless(
        settingsKeyPath(), nameOf(setting.name), registryValue(setting.defaultValue),
        [](const std::optional<RegValue> &stored) { return stored && stored->isDWord(); });
}

void SettingsEdit::commit()
{
    m_edit.commit();
}

} // namespace settings
