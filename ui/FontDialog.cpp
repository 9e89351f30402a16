#include "ui/FontDialog.h"

#include "settings/DResource.h"
#include "settings/TextIds.h"
#include "ui/CharFormats.h"
#include "ui/ColorRef.h"
#include "ui/Dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace ui {
namespace {

constexpr int kLargestSize = 1638; // what the note file's font size holds sensibly
const int kSizes[] = {6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

struct NamedColor
{
    const char *name;
    qint32 ref;
};

// The classic font dialog's colour list, in its order.
const NamedColor kBasicColors[] = {
    {"Black", 0x000000},  {"Maroon", 0x000080},  {"Green", 0x008000}, {"Olive", 0x008080},
    {"Navy", 0x800000},   {"Purple", 0x800080},  {"Teal", 0x808000},  {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},     {"Lime", 0x00FF00},  {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},  {"White", 0xFFFFFF},
};

enum Style { Regular, Italic, Bold, BoldItalic };

QIcon swatch(qint32 ref)
{
    QPixmap pixmap(16, 12);
    pixmap.fill(colorFromRef(ref));
    QPainter painter(&pixmap);
    painter.setPen(Qt::gray);
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

} // namespace

const QList<qint32> &FontDialog::basicColors()
{
    static const QList<qint32> colors = [] {
        QList<qint32> refs;
        for (const NamedColor &color : kBasicColors)
            refs << color.ref;
        return refs;
    }();
    return colors;
}

FontDialog::FontDialog(const storage::FontDesc &initial, QWidget *parent)
    : QDialog(parent)
    , m_initial(initial)
    , m_color(initial.color)
    , m_face(new QFontComboBox(this))
    , m_style(new QComboBox(this))
    , m_size(new QComboBox(this))
    , m_underline(new QCheckBox(QStringLiteral("&Underline"), this))
    , m_strikeOut(new QCheckBox(QStringLiteral("Stri&ke-out"), this))
    , m_colors(new QComboBox(this))
    , m_sample(new QLabel(QStringLiteral("AaBbYyZz 123"), this))
{
    setObjectName(QStringLiteral("FontDialog"));
    setWindowTitle(
        settings::uiText(settings::BodyMenuFont, QStringLiteral("Font")).remove(QLatin1Char('&')));

    // A face that is not installed is still shown, and kept, by its name.
    m_face->setEditable(true);
    m_face->setEditText(initial.name);
    m_style->addItems({QStringLiteral("Regular"), QStringLiteral("Italic"), QStringLiteral("Bold"),
                       QStringLiteral("Bold Italic")});
    m_style->setCurrentIndex((initial.bold ? Bold : Regular) + (initial.italic ? Italic : 0));
    m_size->setEditable(true);
    for (const int size : kSizes)
        m_size->addItem(QString::number(size));
    m_size->setValidator(new QIntValidator(1, kLargestSize, m_size));
    m_size->setEditText(initial.size > 0 ? QString::number(initial.size) : QString());
    m_underline->setChecked(initial.underline);
    m_strikeOut->setChecked(initial.strikeOut);
    fillColors();

    m_sample->setObjectName(QStringLiteral("FontSample"));
    m_sample->setAlignment(Qt::AlignCenter);
    m_sample->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_sample->setAutoFillBackground(true);
    m_sample->setFixedHeight(64);
    m_sample->setMinimumWidth(260);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Face:"), m_face);
    form->addRow(QStringLiteral("&Style:"), m_style);
    form->addRow(QStringLiteral("Si&ze:"), m_size);
    auto *effects = new QHBoxLayout;
    effects->addWidget(m_underline);
    effects->addWidget(m_strikeOut);
    effects->addStretch();
    form->addRow(QStringLiteral("Effects:"), effects);
    form->addRow(QStringLiteral("&Colour:"), m_colors);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)
        ->setText(settings::uiText(settings::AlarmOk, QStringLiteral("&OK")));
    buttons->button(QDialogButtonBox::Cancel)
        ->setText(settings::uiText(settings::AlarmCancel, QStringLiteral("&Cancel")));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_sample);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_face, &QComboBox::currentTextChanged, this, &FontDialog::showSample);
    connect(m_style, &QComboBox::currentIndexChanged, this, &FontDialog::showSample);
    connect(m_size, &QComboBox::currentTextChanged, this, &FontDialog::showSample);
    connect(m_underline, &QCheckBox::toggled, this, &FontDialog::showSample);
    connect(m_strikeOut, &QCheckBox::toggled, this, &FontDialog::showSample);
    connect(m_colors, &QComboBox::activated, this, [this](int index) {
        const QVariant ref = m_colors->itemData(index);
        if (ref.isValid())
            m_color = ref.value<qint32>();
        else
            chooseOtherColor();
        showSample();
    });
    showSample();
}

void FontDialog::fillColors()
{
    m_colors->clear();
    for (const NamedColor &color : kBasicColors)
        m_colors->addItem(swatch(color.ref), QLatin1String(color.name), color.ref);
    int current = m_colors->findData(m_color);
    if (current < 0) {
        // A colour of its own (or a desktop colour) stays what it is.
        m_colors->insertItem(0, swatch(m_color), QStringLiteral("Custom"), m_color);
        current = 0;
    }
    m_colors->addItem(QStringLiteral("Other…"));
    m_colors->setCurrentIndex(current);
}

void FontDialog::chooseOtherColor()
{
    if (const std::optional<QColor> chosen = dialogs::chooseColor(this, colorFromRef(m_color)))
        m_color = colorToRef(*chosen);
    fillColors();
}

storage::FontDesc FontDialog::font() const
{
    storage::FontDesc font;
    font.name = m_face->currentText().trimmed();
    if (font.name.isEmpty())
        font.name = m_initial.name;
    bool sized = false;
    font.size = m_size->currentText().toInt(&sized);
    if (!sized || font.size <= 0)
        font.size = m_initial.size;
    const int style = m_style->currentIndex();
    font.bold = style == Bold || style == BoldItalic;
    font.italic = style == Italic || style == BoldItalic;
    font.underline = m_underline->isChecked();
    font.strikeOut = m_strikeOut->isChecked();
    font.color = m_color;
    return font;
}

void FontDialog::showSample()
{
    storage::FontDesc shown = font();
    shown.size = qBound(1, shown.size, 72);
    m_sample->setFont(fontFromDesc(shown));
    QPalette palette = m_sample->palette();
    palette.setColor(QPalette::WindowText, colorFromRef(shown.color));
    palette.setColor(QPalette::Window,
                     colorFromRef(shown.color) == Qt::white ? QColor(Qt::darkGray)
                                                            : palette.color(QPalette::Base));
    m_sample->setPalette(palette);
}

} // namespace ui
