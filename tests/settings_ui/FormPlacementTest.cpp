#include "settings/FormPlacement.h"
#include "settings/unOptions.h"

#include "platform/Paths.h"
#include "settings/Ini.h"
#include "settings_ui/OptionsFixture.h"
#include "support/TempHome.h"

#include <QFile>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

using OptionsPlacement = OptionsTest;
using settings::IniFile;

namespace {

QPoint centredOnPrimary(const QWidget &form)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize size = form.frameGeometry().size();
    return area.center() - QPoint(size.width() / 2, size.height() / 2);
}

QString placement(const char *key)
{
    return IniFile(platform::windowPlacementFile())
        .readString(QStringLiteral("options"), QLatin1String(key), QStringLiteral("<none>"));
}

} // namespace

TEST_F(OptionsPlacement, FirstShowingIsCentredAndClosingSavesThePlace)
{
    QRect frame;
    {
        TFrmOptions dialog(programFolder());
        dialog.show();
        EXPECT_EQ(dialog.pos(), centredOnPrimary(dialog));
        dialog.move(40, 30);
        frame = dialog.frameGeometry();
        dialog.form().btnCancel->click();
    }
    EXPECT_EQ(frame.topLeft(), QPoint(40, 30));
    EXPECT_EQ(placement("NormPos"),
              QStringLiteral("40,30,%1,%2").arg(40 + frame.width()).arg(30 + frame.height()));
    EXPECT_EQ(placement("Flags"), QStringLiteral("0"));
    EXPECT_EQ(placement("ShowCmd"), QStringLiteral("1"));
    EXPECT_GT(placement("PixelsPerInch").toInt(), 0);
    EXPECT_EQ(placement("MinMaxPos"), QStringLiteral("-1,-1,-1,-1"));
    EXPECT_EQ(placement("Visible"), QStringLiteral("0")); // saved again once destroyed
    EXPECT_EQ(placement("FormVersion"), QStringLiteral("0"));

    TFrmOptions again(programFolder());
    again.show();
    EXPECT_EQ(again.pos(), QPoint(40, 30));
}

TEST_F(OptionsPlacement, ClosingSavesWhileStillShown)
{
    TFrmOptions dialog(programFolder());
    dialog.show();
    dialog.move(50, 60);
    dialog.close();
    EXPECT_EQ(placement("Visible"), QStringLiteral("1"));
    EXPECT_TRUE(placement("NormPos").startsWith(QStringLiteral("50,60,")));
}

TEST_F(OptionsPlacement, NeverShownDialogSavesNothing)
{
    {
        TFrmOptions dialog(programFolder());
    }
    EXPECT_FALSE(QFile::exists(platform::windowPlacementFile()));
}

TEST_F(OptionsPlacement, PlacesOffEveryScreenOrUnreadableAreCentred)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    for (const QString &saved : {QStringLiteral("-5000,-5000,-4579,-4615"), QStringLiteral("10,10"),
                                 QStringLiteral("a,b,c,d"), QStringLiteral("300,300,100,100")}) {
        IniFile(platform::windowPlacementFile())
            .writeString(QStringLiteral("options"), QStringLiteral("NormPos"), saved);
        TFrmOptions dialog(programFolder());
        dialog.show();
        EXPECT_EQ(dialog.pos(), centredOnPrimary(dialog)) << saved.toStdString();
        dialog.hide();
    }
    // Half off the screen: pulled back inside it.
    IniFile(platform::windowPlacementFile())
        .writeString(QStringLiteral("options"), QStringLiteral("NormPos"),
                     QStringLiteral("%1,%2,%3,%4")
                         .arg(area.right() - 100)
                         .arg(area.top() + 5)
                         .arg(area.right() + 321)
                         .arg(area.top() + 390));
    TFrmOptions dialog(programFolder());
    dialog.show();
    EXPECT_EQ(dialog.frameGeometry().right(), area.right());
    EXPECT_EQ(dialog.pos().y(), area.top() + 5);
}

TEST_F(OptionsPlacement, OtherSectionsAndKeysOfTheFileAreKept)
{
    testsupport::writeAll(platform::windowPlacementFile(),
                          "; mine\n[other]\nx=1\n[options]\nNormPos=20,20,441,405\n");
    {
        TFrmOptions dialog(programFolder());
        dialog.show();
        EXPECT_EQ(dialog.pos(), QPoint(20, 20));
        dialog.close();
    }
    const QByteArray file = testsupport::readAll(platform::windowPlacementFile());
    EXPECT_TRUE(file.startsWith("; mine\n[other]\nx=1\n[options]\nNormPos=20,20,"))
        << file.constData();
}
