#pragma once

#include <QByteArray>
#include <QHash>
#include <QRgb>
#include <QStringList>

#include <vector>

class QTextBlock;
class QTextCharFormat;
class QTextDocument;
class QTextImageFormat;

namespace rtf {

// Writes a document as the Windows rich-edit control does: font and colour
// tables first, then paragraphs whose formats are written as differences.
// The same document always gives the same bytes.
class Writer
{
public:
    explicit Writer(const QTextDocument &document);
    QByteArray run();

private:
    struct RunFormat
    {
        int font = -1;
        int halfPoints = 0;
        bool bold = false;
        bool italic = false;
        bool underline = false;
        bool strike = false;
        int foreground = 0;
        int background = 0;
    };

    struct ParaFormat
    {
        char alignment = 0; // 0, 'r', 'c' or 'j'
        int leftTwips = 0;
        int rightTwips = 0;
        int firstTwips = 0;
        bool operator==(const ParaFormat &other) const;
    };

    void collectTables();
    void collectFormat(const QTextCharFormat &format);
    RunFormat runFormat(const QTextCharFormat &format) const;
    ParaFormat paraFormat(const QTextBlock &block) const;

    void writeHeader();
    void writeBlock(const QTextBlock &block);
    void writeParaFormat(const ParaFormat &format);
    void writeRunFormat(const RunFormat &format);
    void writeListMarker(const QTextBlock &block);
    void writeText(const QString &text);
    void writePicture(const QTextImageFormat &format);
    void writeWord(const char *word);
    void writeWord(const char *word, int value);
    void writeRaw(char c);
    QByteArray encodedName(const QString &name);

    const QTextDocument &m_document;
    QByteArray m_out;
    bool m_needDelimiter = false;
    QStringList m_fonts;
    QHash<QString, int> m_fontIndex;
    std::vector<QRgb> m_colors;
    QHash<QRgb, int> m_colorIndex;
    RunFormat m_run;
    ParaFormat m_para;
    bool m_firstParagraph = true;
};

} // namespace rtf
