#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>
#include <utility>
#include <vector>

namespace shell {

// imlToolbarIcons: fourteen 16 x 16 images, in index order, with their keys ("New", "Open",
// "Save", "Camera", "Print", "Cut", "Copy", "Paste", "Bold", "Italic", "Underline",
// "Align Left", "Center", "Align Right").
const std::vector<std::pair<QString, QIcon>>& ToolbarImages();
QIcon ToolbarImage(const QString& key);  // null icon for an unknown key

QIcon ProgramIcon();
QIcon ScriptWindowIcon();  // 32 x 32
QPixmap SplashPicture();   // 800 x 600

}  // namespace shell
