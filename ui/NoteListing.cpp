#include "ui/NoteListing.h"

#include "platform/Errors.h"
#include "storage/DateTime.h"

#include <algorithm>

namespace ui {
namespace {

// Letters that Unicode gives no decomposition although a person typing
// without the accent means the plain letter, in their folded (lower-case)
// form.
QStringView plainLetters(char32_t folded)
{
    switch (folded) {
    case U'\u00DF': // ß
        return u"ss";
    case U'\u00F8': // ø
        return u"o";
    case U'\u0111': // đ
        return u"d";
    case U'\u0127': // ħ
        return u"h";
    case U'\u0131': // ı
        return u"i";
    case U'\u0142': // ł
        return u"l";
    case U'\u0167': // ŧ
        return u"t";
    default:
        return {};
    }
}

// Appends the folded form of one decomposed code point.
void appendFolded(QString &out, char32_t codePoint)
{
    if (QChar::category(codePoint) == QChar::Mark_NonSpacing)
        return;
    if (QChar::isSpace(codePoint)) {
        out += QLatin1Char(' ');
        return;
    }
    const char32_t folded = QChar::toCaseFolded(codePoint);
    if (const QStringView plain = plainLetters(folded); !plain.isEmpty()) {
        out += plain;
        return;
    }
    if (QChar::requiresSurrogates(folded)) {
        out += QChar(QChar::highSurrogate(folded));
        out += QChar(QChar::lowSurrogate(folded));
    } else {
        out += QChar(char16_t(folded));
    }
}

// Folds the text into `out`; when `origin` is given it receives, once a
// character moved, the original index of every folded character.
void fold(QStringView text, QString &out, std::vector<int> *origin)
{
    out.reserve(text.size());
    bool inPlace = true;
    for (qsizetype i = 0; i < text.size();) {
        const char16_t unit = text[i].unicode();
        const qsizetype before = out.size();
        qsizetype units = 1;
        if (unit < 0x80) {
            // Most text: plain ASCII.
            out += QChar(unit >= 'A' && unit <= 'Z' ? char16_t(unit + ('a' - 'A'))
                             : unit == '\t'         ? char16_t(' ')
                                                    : unit);
        } else {
            char32_t codePoint = unit;
            if (QChar::isHighSurrogate(unit) && i + 1 < text.size()
                && text[i + 1].isLowSurrogate()) {
                codePoint = QChar::surrogateToUcs4(unit, text[i + 1].unicode());
                units = 2;
            }
            if (QChar::decompositionTag(codePoint) == QChar::NoDecomposition) {
                appendFolded(out, codePoint);
            } else {
                const QString decomposed
                    = QString::fromUcs4(&codePoint, 1).normalized(QString::NormalizationForm_KD);
                for (const char32_t part : decomposed.toUcs4())
                    appendFolded(out, part);
            }
        }
        if (origin) {
            const qsizetype added = out.size() - before;
            if (inPlace && (added != units || before != i)) {
                inPlace = false;
                origin->reserve(size_t(text.size()));
                for (qsizetype k = 0; k < before; ++k)
                    origin->push_back(int(k));
            }
            if (!inPlace)
                origin->insert(origin->end(), size_t(added), int(i));
        }
        i += units;
    }
}

} // namespace

QString foldForSearch(QStringView text)
{
    QString folded;
    fold(text, folded, nullptr);
    return folded;
}

SearchText::SearchText(QStringView text)
    : m_originalLength(int(text.size()))
{
    fold(text, m_folded, &m_origin);
}

int SearchText::originalStart(int foldedIndex) const
{
    return m_origin.empty() ? foldedIndex : m_origin[size_t(foldedIndex)];
}

int SearchText::originalEnd(int foldedIndex) const
{
    if (m_origin.empty())
        return foldedIndex + 1;
    // Where the next original character starts: its folded characters follow.
    const int start = m_origin[size_t(foldedIndex)];
    const auto next = std::upper_bound(m_origin.begin() + foldedIndex, m_origin.end(), start);
    return next == m_origin.end() ? m_originalLength : *next;
}

std::optional<TextSpan> SearchText::find(const QString &foldedQuery) const
{
    if (foldedQuery.isEmpty())
        return std::nullopt;
    const qsizetype at = m_folded.indexOf(foldedQuery);
    if (at < 0)
        return std::nullopt;
    const int start = originalStart(int(at));
    return TextSpan {start, originalEnd(int(at + foldedQuery.size() - 1)) - start};
}

NoteSearchText::NoteSearchText(const QString &title, const QStringList &lines)
    : m_title(title)
{
    m_lineStarts.reserve(size_t(lines.size()));
    int start = 0;
    for (const QString &line : lines) {
        m_lineStarts.push_back(start);
        start += int(line.size()) + 1;
    }
    m_text = SearchText(lines.join(QLatin1Char('\n')));
}

NoteMatch NoteSearchText::find(const QString &foldedQuery) const
{
    NoteMatch match;
    match.title = m_title.find(foldedQuery);
    if (const std::optional<TextSpan> inText = m_text.find(foldedQuery)) {
        const auto after
            = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), inText->start);
        match.line = int(after - m_lineStarts.begin()) - 1;
        match.inLine = {inText->start - m_lineStarts[size_t(match.line)], inText->length};
    }
    return match;
}

QString firstTextLine(const QStringList &lines)
{
    for (const QString &line : lines) {
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty())
            return trimmed;
    }
    return {};
}

std::optional<QDateTime> momentOf(double dateField, double timeField)
{
    try {
        const storage::DateTimeParts day = storage::splitDateTime(dateField);
        const storage::DateTimeParts time = storage::splitDateTime(timeField);
        return QDateTime(QDate(day.year, day.month, day.day), QTime(time.hour, time.minute));
    } catch (const EConvertError &) {
        return std::nullopt;
    }
}

} // namespace ui
