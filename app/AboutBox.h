#pragma once

#include <QFrame>
#include <QLabel>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QPlainTextEdit;
class QPushButton;

namespace app {

// The maker's addresses the About window links to (short, so that they fit
// the window's small link boxes).
inline constexpr char kMakerWebSite[] = "https://harvel.example/";
inline constexpr char kMakerSecondAddress[] = "https://www.harvel.example/jotlet/";
inline constexpr char kSupportMail[] = "help@harvel.example";

// A label that acts as a link: underlined, in the highlight colour, with a
// pointing hand; a click with the left button emits clicked().
class LinkLabel : public QLabel
{
    Q_OBJECT
public:
    explicit LinkLabel(const QString &text, QWidget *parent);

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// The content of the About window `PanGen`: product, version, language,
// terms of use, support links, the OK button and the status line, each at
// its fixed place in the 341 x 359 window.
class AboutPanel : public QFrame
{
    Q_OBJECT
public:
    static constexpr int kWidth = 341;
    static constexpr int kHeight = 359;

    explicit AboutPanel(QWidget *parent);

    // Sizes the labels without a design box to their new texts.
    void fitTexts();

    QLabel *const Lname;
    QLabel *const LBPName;
    LinkLabel *const Lcop;
    QFrame *const Bevel2;
    QLabel *const LblCLng;
    QLabel *const LblLng;
    QLabel *const lblSVers;
    QLabel *const lblVers;
    QLabel *const Lbllby;
    LinkLabel *const lblAuthor;
    QFrame *const Bevel1;
    QLabel *const lbkAbout1;
    QPlainTextEdit *const memAbout;
    QLabel *const Label1;
    LinkLabel *const Lemail;
    LinkLabel *const Label3;
    QPushButton *const BContinue;
    QLabel *const LOptions;
};

// Where a window of this size is centred on a screen: half of each free
// length, rounded toward zero, from the screen's own corner.
QPoint centredTopLeft(const QRect &screen, const QSize &window);

// The program's terms of use, shown in the About window.
QString termsOfUse();

} // namespace app
