#pragma once

#include "storage/FontDesc.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QFontComboBox;
class QLabel;

namespace ui {

// The program's font dialog: face, style, size, underline, strike-out and
// colour, with a sample. Toolkits offer no colour in their font dialog,
// and a note's text colour is part of its font. It opens showing exactly
// the font it is given (a face that is not installed included) and gives
// that font back unchanged unless the user changes a part of it.
class FontDialog : public QDialog
{
    Q_OBJECT
public:
    explicit FontDialog(const storage::FontDesc &initial, QWidget *parent = nullptr);

    // The font as the dialog shows it now.
    storage::FontDesc font() const;

    // The sixteen colours of the classic font dialog, as stored values.
    static const QList<qint32> &basicColors();

private:
    void fillColors();
    void chooseOtherColor();
    void showSample();

    storage::FontDesc m_initial;
    qint32 m_color;
    QFontComboBox *m_face;
    QComboBox *m_style;
    QComboBox *m_size;
    QCheckBox *m_underline;
    QCheckBox *m_strikeOut;
    QComboBox *m_colors;
    QLabel *m_sample;
};

} // namespace ui
