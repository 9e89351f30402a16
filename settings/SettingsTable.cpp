#include "settings/SettingsTable.h"

#include "settings/veskUt.h"

using platform::RegValue;

namespace settings {
namespace {

QString nameOf(const char *name)
{
    return QLatin1String(name);
}

} // namespace

QString TextSetting::read() const
{
    return read(QLatin1String(defaultValue));
}

QString TextSetting::read(const QString &callerDefault) const
{
    return readRegString(nameOf(name), callerDefault);
}

void TextSetting::write(const QString &value) const
{
    writeRegString(nameOf(name), value);
}

qint32 IntSetting::read() const
{
    return read(defaultValue);
}

qint32 IntSetting::read(qint32 callerDefault) const
{
    return readRegInt(nameOf(name), callerDefault);
}

void IntSetting::write(qint32 value) const
{
    writeRegInt(nameOf(name), value);
}

bool BoolSetting::read() const
{
    return read(defaultValue);
}

bool BoolSetting::read(bool callerDefault) const
{
    return readRegBool(nameOf(name), callerDefault);
}

void BoolSetting::write(bool value) const
{
    writeRegBool(nameOf(name), value);
}

storage::FontDesc FontSettings::read() const
{
    storage::FontDesc defaults;
    defaults.name = QLatin1String(face.defaultValue);
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

void SettingsEdit::write(const TextSetting &setting, const QString &value)
{
    m_edit.setValue(settingsKeyPath(), nameOf(setting.name), RegValue::fromText(value));
}

void SettingsEdit::write(const IntSetting &setting, qint32 value)
{
    m_edit.setValue(settingsKeyPath(), nameOf(setting.name), RegValue::fromDWord(value));
}

void SettingsEdit::write(const BoolSetting &setting, bool value)
{
    write(IntSetting {setting.name, setting.defaultValue}, value ? 1 : 0);
}

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
        settingsKeyPath(), nameOf(setting.name), RegValue::fromDWord(setting.defaultValue ? 1 : 0),
        [](const std::optional<RegValue> &stored) { return stored && stored->isDWord(); });
}

void SettingsEdit::commit()
{
    m_edit.commit();
}

} // namespace settings
