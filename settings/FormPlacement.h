#pragma once

#include <QString>

class QWidget;

namespace settings {

// Keeps a window's place on the screen between runs in an INI file section,
// with the keys of the classic window-placement saver: "Flags", "ShowCmd",
// "PixelsPerInch", "MinMaxPos" and "NormPos" ("%d,%d,%d,%d"), "Visible" and
// "FormVersion".
class FormPlacement
{
public:
    FormPlacement(QString iniFile, QString section);

    // Moves the window to its saved place, kept on the screen it lies on.
    // With nothing saved, or a place on no screen any more, the window is
    // centred on the primary screen.
    void restore(QWidget &form) const;

    // Saves the window's current place. A file that cannot be written keeps
    // its old place: losing a window position is not worth an error message.
    void save(const QWidget &form) const;

private:
    QString m_file;
    QString m_section;
};

} // namespace settings
