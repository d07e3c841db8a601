#include "support/literal_colorize.h"

#include "language/command_table.h"
#include "shell/options.h"

namespace support {
namespace {

void Colour(platform::RichTextBox& rtfText, qsizetype start, qsizetype length,
            platform::Color color)
{
    rtfText.setSelStart(qint32(start));
    rtfText.setSelLength(qint32(length));
    rtfText.setSelColor(color);
}

void ColourKeywords(platform::RichTextBox& rtfText, const QString& text)
{
    const platform::Color color = shell::options.TextColors[shell::CommandColor];
    for (const QString& keyword : language::CommandTable) {
        if (keyword.isEmpty())
            continue;
        for (qsizetype p = text.indexOf(keyword); p >= 0; p = text.indexOf(keyword, p + 1))
            Colour(rtfText, p, keyword.size(), color);
    }
}

void ColourLineComments(platform::RichTextBox& rtfText, const QString& text, const QString& marker)
{
    const platform::Color color = shell::options.TextColors[shell::CommentColor];
    for (qsizetype p = text.indexOf(marker); p >= 0; p = text.indexOf(marker, p + 1)) {
        const qsizetype lineFeed = text.indexOf(QChar(u'\n'), p);
        Colour(rtfText, p, lineFeed >= 0 ? lineFeed - p : text.size() - p, color);
    }
}

void ColourBlockComments(platform::RichTextBox& rtfText, const QString& text)
{
    const platform::Color color = shell::options.TextColors[shell::CommentColor];
    for (qsizetype p = text.indexOf(u"/*"); p >= 0; p = text.indexOf(u"/*", p + 1)) {
        const qsizetype closer = text.indexOf(u"*/", p);
        Colour(rtfText, p, closer >= 0 ? closer - p + 2 : text.size() - p, color);
    }
}

}  // namespace

void LiteralColorizeScript(platform::RichTextBox& rtfText)
{
    const qint32 saved = rtfText.SelStart();
    const QString text = rtfText.Text();
    if (text.isEmpty() || !(shell::options.SystemFlags & shell::kColoringOn))
        return;
    rtfText.setVisible(false);
    Colour(rtfText, 0, text.size(), shell::options.TextColors[shell::NormalColor]);
    ColourKeywords(rtfText, text);
    ColourLineComments(rtfText, text, QStringLiteral(";"));
    ColourLineComments(rtfText, text, QStringLiteral("//"));
    ColourBlockComments(rtfText, text);
    rtfText.setSelStart(saved);
    rtfText.setVisible(true);
}

}  // namespace support
