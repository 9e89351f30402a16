#pragma once

#include "storage/NoteFile.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace ui {
class NoteText;
}

// What the crash test's writer puts into every file at each generation. The
// content is a pure function of (slot, generation), and the generation can be
// read back out of the content, so a checker can tell whether a file holds
// exactly one whole generation.
namespace crashtest {

inline constexpr int kNotes = 4;

// Each note has four places that are saved one after the other.
enum class Target { NoteFile, BodyFile, RegistryNumber, RegistryText };
inline constexpr Target kTargets[]
    = {Target::NoteFile, Target::BodyFile, Target::RegistryNumber, Target::RegistryText};

// "note-2", "body-2", ...: the name a slot goes by in the writer's reports.
QString slotName(Target target, int note);
std::optional<std::pair<Target, int>> parseSlotName(const QString &name);

QString noteFileName(int note); // "100001.jtl" ...
QString registryNumberName(int note);
QString registryTextName(int note);
// A value no writer touches after the start; it must survive every kill.
inline constexpr char kSentinelName[] = "CrashSentinel";
inline constexpr qint32 kSentinelValue = 0x5eed;

storage::NoteRecord noteRecord(int note, int generation);
// Replaces the body with formatted text and a picture of this generation.
void fillBody(ui::NoteText &body, int note, int generation);
QString registryText(int note, int generation);

// The generation a loaded title, body text or registry text names; nullopt
// when it names none (a sign of a mixed or foreign content).
std::optional<int> generationOfTitle(const QString &title);
std::optional<int> generationOfBodyText(const QString &plainText);
std::optional<int> generationOfRegistryText(const QString &text);

// Writes one place the way the program does: the note file through
// storage::writeNoteFile, the body through NoteText::saveToFile, the registry
// values through the settings store.
void writeGeneration(Target target, int note, int generation, ui::NoteText &body);

} // namespace crashtest
