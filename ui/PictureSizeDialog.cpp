#include "ui/PictureSizeDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

namespace ui {
namespace {

constexpr int kMaxShownPixels = 20000;

QSpinBox *sizeBox(QWidget *parent)
{
    auto *box = new QSpinBox(parent);
    box->setRange(1, kMaxShownPixels);
    box->setSuffix(QStringLiteral(" px"));
    return box;
}

} // namespace

PictureSizeDialog::PictureSizeDialog(const PictureInfo &picture, QWidget *parent)
    : QDialog(parent)
    , m_proportions(picture.pixelSize.isEmpty() ? picture.shownSize : picture.pixelSize)
    , m_width(sizeBox(this))
    , m_height(sizeBox(this))
    , m_keepProportions(new QCheckBox(QStringLiteral("Keep proportions"), this))
{
    setWindowTitle(QStringLiteral("Object Properties"));
    const QString pixels = picture.pixelSize.isEmpty() ? QStringLiteral("unknown")
                                                       : QStringLiteral("%1 × %2 pixels")
                                                             .arg(picture.pixelSize.width())
                                                             .arg(picture.pixelSize.height());

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Picture size:"), new QLabel(pixels, this));
    form->addRow(QStringLiteral("Shown width:"), m_width);
    form->addRow(QStringLiteral("Shown height:"), m_height);
    form->addRow(QString(), m_keepProportions);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    setShownSize(picture.shownSize);
    m_keepProportions->setChecked(!m_proportions.isEmpty());
    m_keepProportions->setEnabled(!m_proportions.isEmpty());
    connect(m_width, &QSpinBox::valueChanged, this, &PictureSizeDialog::followWidth);
    connect(m_height, &QSpinBox::valueChanged, this, &PictureSizeDialog::followHeight);
}

QSize PictureSizeDialog::shownSize() const
{
    return QSize(m_width->value(), m_height->value());
}

void PictureSizeDialog::setShownSize(const QSize &size)
{
    m_following = true;
    m_width->setValue(size.width());
    m_height->setValue(size.height());
    m_following = false;
}

void PictureSizeDialog::setKeepProportions(bool keep)
{
    m_keepProportions->setChecked(keep);
}

void PictureSizeDialog::followWidth(int width)
{
    if (m_following || !m_keepProportions->isChecked() || m_proportions.isEmpty())
        return;
    m_following = true;
    m_height->setValue(
        qMax(1, qRound(qreal(width) * m_proportions.height() / m_proportions.width())));
    m_following = false;
}

void PictureSizeDialog::followHeight(int height)
{
    if (m_following || !m_keepProportions->isChecked() || m_proportions.isEmpty())
        return;
    m_following = true;
    m_width->setValue(
        qMax(1, qRound(qreal(height) * m_proportions.width() / m_proportions.height())));
    m_following = false;
}

} // namespace ui
