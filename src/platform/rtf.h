#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <span>
#include <vector>

#include "platform/rich_text_box.h"

namespace platform {

// Text with one colour per character, lines ending in CR LF.
struct ColoredText {
    QString text;
    std::vector<Color> colors;  // same length as text
};

// True when the bytes begin like an RTF document ("{\rtf", leading white space allowed).
bool LooksLikeRtf(QByteArrayView bytes);

// Reads RTF as word processors write it: groups, font and colour tables, \cfN, \par, \line,
// \tab, \'hh, \uN with its fallback, ignorable destinations. Never fails: what it cannot
// understand is skipped. Characters without a colour get defaultColor.
ColoredText ReadRtf(QByteArrayView rtf, Color defaultColor = 0);

// Writes text with its colours as an RTF document that other programs open.
QByteArray WriteRtf(QStringView text, std::span<const Color> colors);

}  // namespace platform
