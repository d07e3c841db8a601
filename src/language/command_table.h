#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <functional>

#include "platform/status.h"

namespace language {

constexpr int kCommandSlots = 251;

// The keywords that colouring shows in the command colour. A slot holding the empty string is
// free; keywords stand from slot 0 upwards in the order they were added.
using CommandSlots = std::array<QString, kCommandSlots>;
extern CommandSlots CommandTable;

// Called once for every keyword handed to AddCommand, kept or not (the splash's progress bar).
extern std::function<void()> CommandAdded;

// The 219 keywords used when there is no keyword file, in slot order.
const QStringList& BuiltInCommands();

// Empties every slot and forgets the progress callback and the keyword file.
void ResetCommandTable();

// Stores the keyword in the first free slot (dropped when all are taken; an empty keyword
// changes nothing) and reports the advance through CommandAdded.
void AddCommand(const QString& keyword);

// Fills the table from "commands.dat" in the working directory, or with the built-in list when
// that file does not exist or cannot be read. That file is the one SaveCommands writes.
void LoadCommands();

// Rewrites the keyword file from the table, atomically: a failed write leaves the old file whole
// and is returned. A keyword file that exists but could not be loaded is left as it is.
platform::Status SaveCommands();

}  // namespace language
