#include "app/AboutBox.h"

#include "platform/Product.h"

#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>

namespace app {
namespace {

// The fonts of the window's design, by pixel size so the layout holds on
// any screen resolution; the system substitutes faces it lacks.
QFont windowFont()
{
    QFont font;
    // Where the design's face is missing, one of the same narrow width, so
    // the texts fit their boxes.
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arial")});
    font.setPixelSize(11);
    return font;
}

QFont arialFont(int pixelSize, bool boldItalic)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setBold(boldItalic);
    font.setItalic(boldItalic);
    return font;
}

// A box of the design size, or the size of its text when none is given. A
// text wider than its box (another face, another language) widens it
// rather than being cut.
void place(QWidget *widget, int left, int top, int width = 0, int height = 0)
{
    if (width > 0 && height > 0) {
        if (qobject_cast<QLabel *>(widget))
            width = std::max(width, widget->sizeHint().width());
        widget->setGeometry(left, top, width, height);
    } else {
        widget->move(left, top);
        widget->adjustSize();
    }
}

QLabel *label(const QString &text, QWidget *parent)
{
    return new QLabel(text, parent);
}

QFrame *horizontalLine(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    return line;
}

QPlainTextEdit *termsBox(QWidget *parent)
{
    auto *box = new QPlainTextEdit(termsOfUse(), parent);
    box->setReadOnly(true);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return box;
}

} // namespace

LinkLabel::LinkLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    // Only the underline is set here; face and size come from the window.
    QFont underlined;
    underlined.setUnderline(true);
    setFont(underlined);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, colours.color(QPalette::Highlight));
    setPalette(colours);
    setCursor(Qt::PointingHandCursor);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
    QLabel::mouseReleaseEvent(event);
}

AboutPanel::AboutPanel(QWidget *parent)
    : QFrame(parent)
    , Lname(label(QLatin1String(product::kName), this))
    , LBPName(label(QStringLiteral("Version ") + QLatin1String(product::kFileVersion), this))
    , Lcop(new LinkLabel(QStringLiteral("\u00a9 2003 ") + QLatin1String(product::kMaker), this))
    , Bevel2(horizontalLine(this))
    , LblCLng(label(QStringLiteral("Current Language:"), this))
    , LblLng(label(QString(), this))
    , lblSVers(label(QStringLiteral("Version:"), this))
    , lblVers(label(QString(), this))
    , Lbllby(label(QStringLiteral("Language author:"), this))
    , lblAuthor(new LinkLabel(QString(), this))
    , Bevel1(horizontalLine(this))
    , lbkAbout1(label(QStringLiteral("About "), this))
    , memAbout(termsBox(this))
    , Label1(label(QStringLiteral("Support:"), this))
    , Lemail(new LinkLabel(QLatin1String(kSupportMail), this))
    , Label3(new LinkLabel(QStringLiteral("www.harvel.example"), this))
    , BContinue(new QPushButton(QStringLiteral("Ok"), this))
    , LOptions(label(QString(), this))
{
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setFont(windowFont());
    Lname->setFont(arialFont(19, false));
    Lname->setAlignment(Qt::AlignCenter);
    LBPName->setFont(arialFont(12, true));
    LBPName->setAlignment(Qt::AlignCenter);
    Lcop->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LOptions->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    setGeometry(0, 0, kWidth, kHeight);
    place(Lname, 8, 8, 160, 22);
    place(LBPName, 16, 31, 75, 15);
    place(Lcop, 192, 32, 131, 13);
    place(Bevel2, 16, 56, 305, 9);
    place(LblCLng, 16, 72);
    place(LblLng, 120, 72);
    place(lblSVers, 240, 72);
    place(lblVers, 288, 72);
    place(Lbllby, 16, 96);
    place(lblAuthor, 120, 96);
    place(Bevel1, 16, 120, 305, 9);
    place(lbkAbout1, 16, 128);
    place(memAbout, 16, 144, 313, 113);
    place(Label1, 32, 272);
    place(Lemail, 88, 272, 92, 13);
    place(Label3, 208, 272, 104, 13);
    place(BContinue, 16, 328, 75, 25);
    place(LOptions, 120, 328, 209, 13);
}

void AboutPanel::fitTexts()
{
    for (QLabel *autoSized : {LblLng, lblVers, static_cast<QLabel *>(lblAuthor)})
        autoSized->adjustSize();
}

QPoint centredTopLeft(const QRect &screen, const QSize &window)
{
    // C++ division truncates toward zero, also for a window larger than the screen.
    return {screen.left() + (screen.width() - window.width()) / 2,
            screen.top() + (screen.height() - window.height()) / 2};
}

QString termsOfUse()
{
    return QStringLiteral("Vesk Jotlet 2003 is freeware: you may use it at home and at work, "
                          "without charge and for as long as you like.\n\n"
                          "You may copy it and give it to others, provided that you pass it on "
                          "whole and unchanged, with this text, and ask nothing for it.\n\n"
                          "You may not sell it, rent it out or pass it off as your own work.\n\n"
                          "The program comes as it is, without any warranty. Harvel is not "
                          "liable for any loss or damage that comes from using it; keep copies "
                          "of what matters to you.\n\n"
                          "Using the program means that you accept these terms.");
}

} // namespace app
