#pragma once

#include "storage/FontDesc.h"

#include <QFrame>

namespace settings {

// A panel of the options dialog that shows a stored colour and, when it has
// a caption, a stored font: the caption drawn in that font on that colour.
// Clicking it (or Space/Return while it has the focus) asks for a change.
// The stored values are kept exactly as read, system colours included, so
// confirming the dialog writes back what it showed.
class SamplePanel : public QFrame
{
    Q_OBJECT
public:
    explicit SamplePanel(const QString &objectName, QWidget *parent = nullptr);

    qint32 colorRef() const { return m_color; }
    void setColorRef(qint32 color);

    const storage::FontDesc &fontDesc() const { return m_font; }
    void setFontDesc(const storage::FontDesc &font);

    const QString &caption() const { return m_caption; }
    void setCaption(const QString &caption);

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    qint32 m_color = 0;
    storage::FontDesc m_font;
    QString m_caption;
};

} // namespace settings
