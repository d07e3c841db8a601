#pragma once

#include <QString>

class QMimeData;

namespace platform {

// What a copy from a script window puts on the clipboard: the plain text with this platform's
// line ends (LF) for every program, the same selection as RTF for those that read rich text,
// and a mark of our own that says the RTF came from a script window.
QMimeData* ScriptMimeData(const QString& plainText, const QString& rtf);

// What a paste into a script window writes to the box's SelRTF: our own copies as their RTF,
// so that they keep their colours; anything else as its plain text ("" when there is none).
QString PastedText(const QMimeData& data);

}  // namespace platform
