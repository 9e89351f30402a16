#include "ui/NoteText.h"

#include "UiTestSupport.h"
#include "platform/Errors.h"
#include "richtext/RtfTestSupport.h"
#include "support/TempHome.h"
#include "ui/CharFormats.h"
#include "ui/rtf/Rtf.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QTextBlock>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using testsupport::freshDir;
using testsupport::readAll;
using testsupport::writeAll;
using uitest::selectRange;
using uitest::typeInto;

namespace {

storage::FontDesc bodyFont()
{
    storage::FontDesc desc;
    desc.name = QStringLiteral("Sans");
    desc.size = 11;
    desc.color = 0x00400000;
    return desc;
}

// Runs the step with the process unable to write files beyond `bytes`, the
// way a full disk stops a save half-way.
template<typename Step> void withFileSizeLimit(rlim_t bytes, const Step &step)
{
    rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = old;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
    step();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
}

} // namespace

TEST(NoteTextFile, SavesAPrivateRtfFileAndLoadsItBack)
{
    const QString path = freshDir(QStringLiteral("save")) + QStringLiteral("/1.jtl2");
    ui::NoteText text;
    text.setLines({"first", "", "third"});
    text.saveToFile(path);
    EXPECT_TRUE(rtf::looksLikeRtf(readAll(path)));
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup
        | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::WriteOther
        | QFileDevice::ExeOther;
    EXPECT_EQ(QFile::permissions(path) & others, QFileDevice::Permissions());
    EXPECT_TRUE(QFile::permissions(path) & QFileDevice::WriteOwner);
    EXPECT_FALSE(text.document()->isModified());

    if (!uitest::rtfKeepsText())
        GTEST_SKIP() << "the RTF writer does not keep text yet";
    ui::NoteText loaded;
    loaded.loadFromFile(path);
    EXPECT_EQ(loaded.lines(), QStringList({"first", "", "third"}));
    EXPECT_FALSE(loaded.document()->isUndoAvailable());
}

TEST(NoteTextFile, FormatsSurviveSaveAndLoad)
{
    if (!uitest::rtfKeepsFormats())
        GTEST_SKIP() << "the RTF writer does not keep formats yet";
    const QString path = freshDir(QStringLiteral("formats")) + QStringLiteral("/1.jtl2");
    ui::NoteText text;
    text.setBodyFont(bodyFont());
    text.setLines({"plain bold red", "centred"});
    storage::FontDesc bold = bodyFont();
    bold.bold = true;
    bold.italic = true;
    bold.size = 15;
    selectRange(text, 6, 10);
    text.setSelectionFont(bold);
    selectRange(text, 11, 14);
    text.setSelectionHighlight(QColor(255, 0, 0));
    selectRange(text, 16, 16);
    text.setAlignment(Qt::AlignHCenter);
    text.saveToFile(path);

    ui::NoteText loaded;
    loaded.setBodyFont(bodyFont());
    loaded.loadFromFile(path);
    EXPECT_EQ(loaded.lines(), QStringList({"plain bold red", "centred"}));
    selectRange(loaded, 6, 10);
    EXPECT_EQ(loaded.selectionFont(), bold);
    selectRange(loaded, 0, 5);
    EXPECT_EQ(loaded.selectionFont(), bodyFont());
    EXPECT_FALSE(loaded.selectionHighlight().isValid());
    selectRange(loaded, 11, 14);
    EXPECT_EQ(loaded.selectionHighlight(), QColor(255, 0, 0));
    EXPECT_TRUE(loaded.document()->lastBlock().blockFormat().alignment() & Qt::AlignHCenter);
}

TEST(NoteTextFile, LoadedTextInTheBodyFontFollowsLaterBodyFontChanges)
{
    if (!uitest::rtfKeepsFormats())
        GTEST_SKIP() << "the RTF writer does not keep formats yet";
    const QString path = freshDir(QStringLiteral("follow")) + QStringLiteral("/1.jtl2");
    ui::NoteText text;
    text.setBodyFont(bodyFont());
    text.setLines({"typed"});
    text.saveToFile(path);

    ui::NoteText loaded;
    loaded.setBodyFont(bodyFont());
    loaded.loadFromFile(path);
    storage::FontDesc changed = bodyFont();
    changed.name = QStringLiteral("Serif");
    changed.size = 20;
    changed.color = 0x000000FF;
    loaded.setBodyFont(changed);
    selectRange(loaded, 0, 5);
    EXPECT_EQ(loaded.selectionFont(), changed);
}

TEST(NoteTextFile, SavedFileCarriesTheBodyLookForOtherPrograms)
{
    if (!uitest::rtfKeepsFormats())
        GTEST_SKIP() << "the RTF writer does not keep formats yet";
    const QString path = freshDir(QStringLiteral("look")) + QStringLiteral("/1.jtl2");
    ui::NoteText text;
    storage::FontDesc big = bodyFont();
    big.color = 0x000000FF;
    big.size = 20;
    text.setBodyFont(big);
    text.setLines({"red text", "", "after an empty line"});
    text.saveToFile(path);

    ui::NoteText other; // a reader that knows nothing of the note's body font
    other.loadFromFile(path);
    selectRange(other, 0, 3);
    EXPECT_EQ(other.selectionFont().color, 0x000000FF);
    EXPECT_EQ(other.selectionFont().size, 20);
    // An empty line keeps its height.
    EXPECT_EQ(other.document()->findBlockByNumber(1).charFormat().fontPointSize(), 20);
    // Written straight from the body, the file is what a copy of it with the
    // body font on every character gives.
    selectRange(text, 0, 3);
    text.setSelectionHighlight(QColor(0, 255, 0));
    text.saveToFile(path);
    const std::unique_ptr<QTextDocument> copy(text.document()->clone());
    ui::applyDefaults(*copy, ui::charFormatFromDesc(text.bodyFont(), text.defaultHighlight()));
    EXPECT_EQ(readAll(path), rtf::write(*copy));
}

TEST(NoteTextFile, PastedWebPageKeepsItsStructureThroughSaveAndLoad)
{
    auto *data = new QMimeData;
    data->setHtml(QStringLiteral(
        "<p>Trip <b>plan</b> for <a href=\"https://example.org/trip?day=2\">the trip</a></p>"
        "<ul><li>tickets</li><li>bags<ul><li>small</li></ul></li></ul>"
        "<ol><li>call Anna</li><li>book</li></ol>"
        "<table border=\"1\" cellpadding=\"2\"><tr><th>Name</th><th>Phone</th></tr>"
        "<tr><td>Anna</td><td>555-0199</td></tr></table>"
        "<p style=\"margin-top: 18px\">x<sup>2</sup> H<sub>2</sub>O</p><h2>Heading</h2>"));
    data->setText(QStringLiteral("the same as text"));
    QApplication::clipboard()->setMimeData(data);
    ui::NoteText text;
    text.setBodyFont(bodyFont());
    text.paste();
    const QString path = freshDir(QStringLiteral("paste")) + QStringLiteral("/1.jtl2");
    text.saveToFile(path);

    ui::NoteText loaded;
    loaded.setBodyFont(bodyFont());
    loaded.loadFromFile(path);
    // Everything looks as pasted; the heading, sized relative to the body
    // font when pasted, keeps the size it showed.
    const auto described = [](const QTextDocument &document) {
        QStringList lines = rtftest::describeDocument(document);
        lines.removeIf(
            [](const QString &line) { return line.endsWith(QLatin1String("[Heading]")); });
        return lines.join(QLatin1Char('\n')).toStdString();
    };
    EXPECT_EQ(described(*loaded.document()), described(*text.document()));
    EXPECT_EQ(loaded.lines(), text.lines());
    EXPECT_TRUE(loaded.lines().contains(QStringLiteral("Anna\t555-0199")));
    EXPECT_TRUE(loaded.lines().contains(QStringLiteral("    \u2022 small")))
        << loaded.lines().join(QLatin1Char('|')).toStdString();
    const QTextCursor heading = loaded.document()->find(QStringLiteral("Heading"));
    EXPECT_DOUBLE_EQ(heading.charFormat().fontPointSize(), 15.5);
    loaded.saveToFile(path + QStringLiteral(".again"));
    EXPECT_EQ(readAll(path + QStringLiteral(".again")), readAll(path));
}

TEST(NoteTextFile, PicturesSurviveSaveAndLoad)
{
    if (!uitest::rtfKeepsPictures())
        GTEST_SKIP() << "the RTF writer does not keep pictures yet";
    const QString path = freshDir(QStringLiteral("pictures")) + QStringLiteral("/1.jtl2");
    ui::NoteText text;
    typeInto(text, QStringLiteral("a"));
    text.insertPicture(uitest::solidImage(30, 20, Qt::blue));
    typeInto(text, QStringLiteral("b"));
    text.saveToFile(path);

    ui::NoteText loaded;
    loaded.loadFromFile(path);
    selectRange(loaded, 1, 2);
    const std::optional<ui::PictureInfo> picture = loaded.selectedPicture();
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->pixelSize, QSize(30, 20));
    EXPECT_EQ(picture->shownSize, QSize(30, 20));
}

TEST(NoteTextFile, PlainTextFileLoadsAsLinesInUtf8AndWindows1252)
{
    const QString folder = freshDir(QStringLiteral("plain"));
    ui::NoteText text;
    writeAll(folder + QStringLiteral("/utf8.jtl2"),
             "Gr\xC3\xBC\xC3\x9F"
             "e\r\nzweite Zeile\r\n");
    text.loadFromFile(folder + QStringLiteral("/utf8.jtl2"));
    EXPECT_EQ(text.lines(), QStringList({"Grüße", "zweite Zeile"}));

    writeAll(folder + QStringLiteral("/ansi.jtl2"), "Caf\xE9\r\n\x80 12\r\n");
    text.loadFromFile(folder + QStringLiteral("/ansi.jtl2"));
    EXPECT_EQ(text.lines(), QStringList({"Café", "€ 12"}));
}

TEST(NoteTextFile, MissingFileIsAnErrorAndLeavesTheBody)
{
    ui::NoteText text;
    text.setLines({"kept"});
    try {
        text.loadFromFile(freshDir(QStringLiteral("missing")) + QStringLiteral("/none.jtl2"));
        FAIL() << "no error";
    } catch (const EInOutError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("File not found"));
    }
    EXPECT_EQ(text.lines(), QStringList({"kept"}));
}

TEST(NoteTextFile, UnreadableFileIsAnError)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "file modes do not bind root";
    const QString path = freshDir(QStringLiteral("unreadable")) + QStringLiteral("/1.jtl2");
    writeAll(path, "secret");
    QFile::setPermissions(path, QFileDevice::WriteOwner);
    ui::NoteText text;
    EXPECT_THROW(text.loadFromFile(path), EInOutError);
}

TEST(NoteTextFile, FailedSaveInAReadOnlyFolderLeavesTheOldFile)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "file modes do not bind root";
    const QString folder = freshDir(QStringLiteral("readonly"));
    const QString path = folder + QStringLiteral("/1.jtl2");
    writeAll(path, "old body");
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    ui::NoteText text;
    text.setLines({"new body"});
    EXPECT_THROW(text.saveToFile(path), EInOutError);
    QFile::setPermissions(folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(readAll(path), QByteArray("old body"));
}

TEST(NoteTextFile, SaveStoppedHalfWayLeavesTheOldFileWhole)
{
    const QString folder = freshDir(QStringLiteral("halfway"));
    const QString path = folder + QStringLiteral("/1.jtl2");
    writeAll(path, "old body");
    ui::NoteText text;
    text.setLines({QString(200000, QLatin1Char('x'))});
    typeInto(text, QStringLiteral("unsaved"));
    bool failed = false;
    withFileSizeLimit(4096, [&] {
        try {
            text.saveToFile(path);
        } catch (const EInOutError &e) {
            failed = true;
            EXPECT_FALSE(e.message().isEmpty());
        }
    });
    EXPECT_TRUE(failed);
    EXPECT_EQ(readAll(path), QByteArray("old body"));
    EXPECT_TRUE(text.document()->isModified());
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList({"1.jtl2"}));
}
