// Any bytes must load without a crash or hang, what the writer makes of the
// result must load again into the same bytes, and the text export must give
// the lines the loaded document shows.
#include "ui/BodyText.h"
#include "ui/rtf/Rtf.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    // Most inputs are not RTF; give them the header so the reader sees them.
    if (!rtf::looksLikeRtf(bytes))
        bytes.prepend("{\\rtf1 ");
    QTextDocument document;
    if (!rtf::read(bytes, &document))
        std::abort();
    const std::optional<QStringList> lines = rtf::readPlainLines(bytes);
    if (!lines || *lines != ui::plainLines(document)) {
        std::fprintf(stderr, "text export differs from the document:\n%s\n",
                     ui::plainLines(document).join(QLatin1Char('\n')).toUtf8().constData());
        std::abort();
    }
    const QByteArray written = rtf::write(document);
    QTextDocument again;
    if (!rtf::read(written, &again) || rtf::write(again) != written) {
        std::fprintf(stderr, "unstable save:\n%s\n", written.constData());
        std::abort();
    }
    return 0;
}
