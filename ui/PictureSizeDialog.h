#pragma once

#include "ui/Pictures.h"

#include <QDialog>

class QCheckBox;
class QSpinBox;

namespace ui {

// The object-properties dialog of a picture in a note body: shows the
// picture's own pixel size and lets the user change the size it is shown at.
// It only collects the size; NoteText applies it.
class PictureSizeDialog : public QDialog
{
    Q_OBJECT
public:
    explicit PictureSizeDialog(const PictureInfo &picture, QWidget *parent = nullptr);

    QSize shownSize() const;
    void setShownSize(const QSize &size);
    // When on, changing one side changes the other in the picture's proportions.
    void setKeepProportions(bool keep);

private:
    void followWidth(int width);
    void followHeight(int height);

    QSize m_proportions;
    QSpinBox *m_width;
    QSpinBox *m_height;
    QCheckBox *m_keepProportions;
    bool m_following = false;
};

} // namespace ui
