#include "reliability/CrashCheck.h"

#include "platform/Errors.h"
#include "platform/FileUpdate.h"
#include "platform/Paths.h"
#include "platform/RegDocument.h"
#include "platform/TextFile.h"
#include "settings/veskUt.h"
#include "storage/NoteFolder.h"
#include "ui/NoteText.h"
#include "ui/rtf/Rtf.h"

#include <QDir>
#include <QFile>
#include <QTextDocument>

using settings::settingsKeyPath;

namespace crashtest {
namespace {

QString notePath(int note)
{
    return storage::noteFolderPath() + QLatin1Char('/') + noteFileName(note);
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

Found fault(const QString &text)
{
    return Found {std::nullopt, text};
}

// Compares a found generation with what was allowed and with the bytes that
// generation must have.
Found judge(std::optional<int> generation, const Expected &expected, const QByteArray &bytes,
            const std::function<QByteArray(int)> &expectedBytes)
{
    if (!generation)
        return fault(QStringLiteral("names no generation"));
    if (!expected.allows(*generation)) {
        return fault(QStringLiteral("holds generation %1, expected %2")
                         .arg(*generation)
                         .arg(expected.describe()));
    }
    const QByteArray whole = expectedBytes(*generation);
    if (bytes != whole) {
        return fault(QStringLiteral("is not generation %1 whole (%2 bytes, that one has %3)")
                         .arg(*generation)
                         .arg(bytes.size())
                         .arg(whole.size()));
    }
    return Found {generation, {}};
}

} // namespace

QString Expected::describe() const
{
    return pending ? QStringLiteral("%1 or %2").arg(committed).arg(*pending)
                   : QString::number(committed);
}

Checker::Checker(QString scratchFolder)
    : m_scratch(std::move(scratchFolder))
    , m_body(std::make_unique<ui::NoteText>())
{
}

Checker::~Checker() = default;

Found Checker::checkNoteFile(int note, const Expected &expected)
{
    const QString path = notePath(note);
    if (!QFile::exists(path))
        return fault(QStringLiteral("is missing"));
    storage::NoteRecord loaded;
    try {
        loaded
            = storage::readNoteFile(path, storage::NoteRecord(), QSize(135, 80), QSize(1024, 768));
    } catch (const Error &e) {
        return fault(QStringLiteral("does not load: ") + e.message());
    }
    return judge(generationOfTitle(loaded.title), expected, bytesOf(path),
                 [&](int generation) { return expectedNoteBytes(note, generation); });
}

Found Checker::checkBodyFile(int note, const Expected &expected)
{
    const QString path = storage::companionPath(notePath(note));
    if (!QFile::exists(path))
        return fault(QStringLiteral("is missing"));
    const QByteArray bytes = bytesOf(path);
    QTextDocument document;
    if (!rtf::read(bytes, &document))
        return fault(QStringLiteral("is not read as RTF"));
    return judge(generationOfBodyText(document.toPlainText()), expected, bytes,
                 [&](int generation) { return expectedBodyBytes(note, generation); });
}

std::map<QString, Found> Checker::checkRegistry(const std::map<QString, Expected> &expectedBySlot)
{
    std::map<QString, Found> found;
    const auto failAll = [&](const QString &reason) {
        for (const auto &entry : expectedBySlot)
            found[entry.first] = fault(QStringLiteral("registry file: ") + reason);
        return found;
    };
    std::optional<QByteArray> bytes;
    try {
        bytes
            = platform::readExistingFile(platform::registryFile(), platform::kMaxSettingsFileBytes);
    } catch (const Error &e) {
        return failAll(e.message());
    }
    const std::optional<platform::DecodedText> text
        = bytes ? platform::decodeTextFile(*bytes) : std::nullopt;
    if (!text)
        return failAll(QStringLiteral("missing or not text"));
    const platform::RegDocument document = platform::RegDocument::parse(text->text);
    const QStringList key = *platform::parseKeyPath(settingsKeyPath());

    const std::optional<platform::RegValue> sentinel
        = document.value(key, QString::fromLatin1(kSentinelName));
    if (!sentinel || !sentinel->isDWord() || sentinel->dword() != kSentinelValue)
        return failAll(QStringLiteral("the value written once at the start is gone"));

    std::map<QString, int> numbers;
    std::map<QString, int> texts;
    for (const auto &[slot, expected] : expectedBySlot) {
        const auto [target, note] = *parseSlotName(slot);
        const bool isNumber = target == Target::RegistryNumber;
        const QString name = isNumber ? registryNumberName(note) : registryTextName(note);
        const std::optional<platform::RegValue> value = document.value(key, name);
        std::optional<int> generation;
        if (value && isNumber && value->isDWord())
            generation = value->dword();
        if (value && !isNumber && value->isText()) {
            generation = generationOfRegistryText(value->text());
            if (generation && value->text() != registryText(note, *generation))
                generation.reset();
        }
        if (!generation) {
            found[slot] = fault(QStringLiteral("is missing or damaged"));
        } else if (!expected.allows(*generation)) {
            found[slot] = fault(QStringLiteral("holds generation %1, expected %2")
                                    .arg(*generation)
                                    .arg(expected.describe()));
        } else {
            found[slot] = Found {generation, {}};
            (isNumber ? numbers : texts)[name] = *generation;
        }
    }
    if (numbers.size() + texts.size() == expectedBySlot.size()
        && *bytes != expectedRegistryText(numbers, texts).toUtf8()) {
        return failAll(QStringLiteral("holds more or other lines than its values"));
    }
    return found;
}

QString Checker::checkListing() const
{
    QStringList expected;
    for (int note = 0; note < kNotes; ++note)
        expected << noteFileName(note);
    expected.sort();
    const QStringList listed = storage::listNoteFiles(storage::noteFolderPath());
    if (listed != expected) {
        return QStringLiteral("the note folder lists %1 instead of %2")
            .arg(listed.join(QLatin1Char(' ')), expected.join(QLatin1Char(' ')));
    }
    return {};
}

QStringList Checker::strayFiles(const QString &folder, const QStringList &expected,
                                QString *faultText) const
{
    QStringList strays;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden)) {
        if (expected.contains(name))
            continue;
        strays << name;
        const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::ReadOther;
        if (QFile::permissions(dir.filePath(name)) & others)
            *faultText = QStringLiteral("%1 is readable by others").arg(dir.filePath(name));
    }
    return strays;
}

QByteArray Checker::expectedNoteBytes(int note, int generation)
{
    QByteArray &bytes = m_cache[{0, note, generation}];
    if (bytes.isEmpty()) {
        const QString path = m_scratch + QStringLiteral("/expected.jtl");
        storage::writeNoteFile(path, noteRecord(note, generation));
        bytes = bytesOf(path);
    }
    return bytes;
}

QByteArray Checker::expectedBodyBytes(int note, int generation)
{
    QByteArray &bytes = m_cache[{1, note, generation}];
    if (bytes.isEmpty()) {
        const QString path = m_scratch + QStringLiteral("/expected.jtl2");
        fillBody(*m_body, note, generation);
        m_body->saveToFile(path);
        bytes = bytesOf(path);
    }
    return bytes;
}

// The registry file as the writer makes it: the settings key, the sentinel,
// then each note's number and text, in the order they were first written.
QString Checker::expectedRegistryText(const std::map<QString, int> &numbers,
                                      const std::map<QString, int> &texts) const
{
    const QStringList key = *platform::parseKeyPath(settingsKeyPath());
    platform::RegDocument document;
    document.createKey(key);
    document.setValue(key, QString::fromLatin1(kSentinelName),
                      platform::RegValue::fromDWord(kSentinelValue));
    for (int note = 0; note < kNotes; ++note) {
        const QString number = registryNumberName(note);
        const QString text = registryTextName(note);
        document.setValue(key, number, platform::RegValue::fromDWord(numbers.at(number)));
        document.setValue(key, text,
                          platform::RegValue::fromText(registryText(note, texts.at(text))));
    }
    return document.toText();
}

} // namespace crashtest
