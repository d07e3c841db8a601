#pragma once

#include <QString>
#include <functional>
#include <span>

#include "platform/status.h"

namespace platform {

// A colour as the program stores it: red in the lowest byte, green in the second, blue in the third.
using Color = qint32;

// A run of characters of one colour, in box positions (counted from 0, CR and LF one each).
struct ColorRun {
    qint32 start;
    qint32 length;
    Color color;
};

// Opaque printer handle; only the Qt box knows what is behind it.
class PrinterHandle;

// The operations the program uses on a script window's text box. Positions count the
// characters of Text() from 0, CR and LF one each; Text() ends its lines in CR LF whatever the
// implementation stores inside.
class RichTextBox {
public:
    virtual ~RichTextBox() = default;

    virtual QString Text() const = 0;

    virtual qint32 SelStart() const = 0;
    virtual void setSelStart(qint32 start) = 0;  // empties the selection
    virtual qint32 SelLength() const = 0;
    virtual void setSelLength(qint32 length) = 0;
    virtual void setSelColor(Color color) = 0;
    virtual QString SelRTF() const = 0;
    virtual void setSelRTF(const QString& rtfOrPlainText) = 0;
    virtual void setSelText(const QString& text) = 0;
    virtual Status SelPrint(PrinterHandle* printer) = 0;

    // Replaces the whole content with the file's: RTF as rich text, anything else as
    // Windows-1252 text with its line ends made CR LF.
    virtual Status LoadFile(const QString& path) = 0;
    Status setFilename(const QString& path) { return LoadFile(path); }

    virtual void setBackColor(Color color) = 0;
    virtual Status setRightMargin(qint32 twips) = 0;
    virtual void setVisible(bool visible) = 0;
    virtual Status Move(qint32 left, qint32 top, qint32 width, qint32 height) = 0;
    virtual qint32 Width() const = 0;

    // Gives the characters the colours of the runs. The base version writes each run through
    // the selection; a box may do it faster as long as the final colours are the same.
    // Leaves the selection unspecified.
    virtual void ApplyColorRuns(std::span<const ColorRun> runs);

    // Events: the box received the input focus; a key was pressed (key code 13 for Enter).
    std::function<void()> GotFocus;
    std::function<void(int keyCode, int shift)> KeyDown;
};

}  // namespace platform
