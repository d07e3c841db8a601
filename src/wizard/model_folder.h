#pragma once

#include <QString>
#include <QStringList>

namespace wizard {

// The game's model folder as a Windows path: the game path less its last 8 characters (the
// "IWAR.EXE" or "GAME.EXE" of its file name) followed by "psg\resource\shapes". Null when the
// game path is shorter than 8 characters.
QString ModelFolder(const QString& launchPath);

// The names of the files in a Windows folder that match "*.lwo" without regard to case, in name
// order without regard to case; none when the folder does not exist.
QStringList ModelFiles(const QString& windowsFolder);

}  // namespace wizard
