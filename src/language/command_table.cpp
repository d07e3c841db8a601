#include "language/command_table.h"

#include <QByteArrayView>
#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "platform/text_file.h"

namespace language {

CommandSlots CommandTable;
std::function<void()> CommandAdded;

namespace {

const QString kCommandFile = QStringLiteral("commands.dat");

// Where the keyword file was looked for at start-up; a launch changes the working directory
// later. A file there that could not be read is the user's and is never written over.
struct KeywordFile {
    QString path;
    bool unreadable = false;
};
KeywordFile keywordFile;

QString StartFolderFile()
{
    return QDir::current().absoluteFilePath(kCommandFile);
}

// The upper-case form of each Windows-1252 byte. A letter whose upper-case form lies outside the
// code page (micro sign, sharp s) stays as it is, so the keyword can be written back unchanged.
const std::array<char, 256>& UpperCaseBytes()
{
    static const std::array<char, 256> table = [] {
        std::array<char, 256> upper{};
        for (int byte = 0; byte < 256; ++byte) {
            const char original = char(byte);
            const QString character = platform::DecodeText(QByteArrayView(&original, 1));
            const QString upperCharacter(character.front().toUpper());
            const QByteArray encoded = platform::EncodeText(upperCharacter);
            const bool inCodePage =
                encoded.size() == 1 && platform::DecodeText(encoded) == upperCharacter;
            upper[byte] = inCodePage ? encoded.front() : original;
        }
        return upper;
    }();
    return table;
}

// The line in upper case without the blanks (spaces only) at its ends.
QString KeywordOfLine(QByteArrayView line)
{
    while (!line.isEmpty() && line.front() == ' ')
        line = line.sliced(1);
    while (!line.isEmpty() && line.back() == ' ')
        line.chop(1);
    QByteArray upper(line.size(), Qt::Uninitialized);
    std::transform(line.begin(), line.end(), upper.begin(),
                   [](char byte) { return UpperCaseBytes()[quint8(byte)]; });
    return platform::DecodeText(upper);
}

// Hands each line to addLine. A line ends at CR LF, at a CR or a LF standing alone, and the
// last one also at the end of the bytes; a line end at the very end starts no further line.
template <typename AddLine>
void ForEachLine(QByteArrayView bytes, AddLine addLine)
{
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        addLine(bytes.sliced(lineStart, i - lineStart));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        lineStart = i + 1;
    }
    if (lineStart < bytes.size())
        addLine(bytes.sliced(lineStart));
}

}  // namespace

const QStringList& BuiltInCommands()
{
    static const QStringList commands = {
        "CALL_WHEN", "CALL_ONCE_WHEN", "CALL_WHEN_NOT", "CALL_ONCE_WHEN_NOT", "CALL", "CALL_ONCE",
        "CALL_IF", "CALL_ONCE_IF", "BRA", "BRA_IF", "BRA_IF_NOT", "BEQ", "BNE", "DECBNE", "DECBEQ",
        "WAIT_UNTIL", "WAIT_TIME", "AND", "OR", "NOT",
        "ATTACKED", "DESTROYED", "NOSHIPS", "NONETOBRINGIN", "HASFIRED", "NEARTO", "VALID_SCN",
        "SCN_SENSE", "FARFROM", "ALT_LOWER", "VELMATCH", "INSYSTEM", "DOCKED", "UNDOCKED",
        "PLAYER_LINKED", "DAMAGE_LT", "DAMAGE_GT", "IMPACTS_GT", "AUTOPILOT", "WING_ORDER",
        "CONT_FILTER", "PROMPTS_ON", "IS_TARGET", "WAYPTCOUNT_EQ", "WAYPT_VISITED", "SYS_OUT",
        "EMIT_GT", "LOOKING_AT", "TOWED_BY", "CONTACT", "TIMER_OUT", "TIMER_LT", "SHIP_CLOCK",
        "DIALOG_OVER", "SHIPCOUNT_LT", "SENSECOUNT_LT", "GROUPCOUNT_LT", "SHIP_TYPE", "IN_GROUP",
        "EQUAL",
        "GT", "IN_LDS", "PROBED", "OBJV", "REMLINK", "WEAPON_EMPTY", "HARDWARE", "ARCADE_ON",
        "CREATE_SHIP", "CREATE", "ADDCHILD", "ADDMOTOR", "CONTROL", "ATTACH_SND", "LAGRANGE",
        "ASTEROID", "SYSTEM", "FIND_PLANET", "NAME_INC", "ENGINE",
        "SH_INFO", "LIGHT", "LIGHT_S", "LIGHT_H", "RANK", "SKILL", "WEAPON", "LDA", "WAYPT",
        "MOTHERSHIP", "PLAYER", "PASSIVE", "PERMANENT", "SIM_PRIORITY", "GROUP_LEADER",
        "WEPSYSLINK", "PLACE_BETWEEN", "ABSOLUTE", "RELATIVE", "PLACE",
        "ORIENT", "SPAWN", "PLACE_INC", "ATTACH_WAYPT", "ORDER", "ORDER_PARAMS", "PLAYER_ORDER",
        "ASSERT_ORDER", "CANCEL_ORDER", "TARGET", "NAVTARGET", "IGNORE_NAV", "IGNORE_WEP", "SET",
        "SET_INC", "ADD", "SUB", "RANDS", "FIRST_SCN", "NEXT_SCN",
        "COPY_SCN", "COPY_SYM", "GET_LEADER", "NO_CONTACT", "SET_MODEL", "INDESTRUCT", "DSHIELD",
        "DISRUPT", "ADD_VITAL", "REMOVE_VITAL", "NEW_ALLEG", "ADD_SENSE", "CLR_SENSE",
        "FTLSOURCE", "DOCK_MODEL", "WEAPON_LOAD", "SELECT_WEAPON", "WEPLOADOUT", "DOCK_READY",
        "DOCK_UNREADY",
        "MONOLINK", "SET_SHIP_CLOCK", "NO_UNDOCK", "REMOTE_OK", "SHIP_SYSKILL", "UNLEADER",
        "DO_WHEN", "PLAY_WHEN", "LOCK_AUTOPILOT", "SET_TARG_LP", "ALIENDEV", "WEPRAPID",
        "PLAYER_DAMAGE", "SET_MAX_EXTRAS", "LOCATION", "REPAIRS", "NO_LDS", "SHIP_SCORE",
        "ALLEG_SCORE", "COUNT_WAYPTS",
        "NEWGROUP", "GROUP", "FIXED_AST", "DIRECTOR", "STATIC", "DINK", "ANNOUNCE", "DEBUG",
        "DOCK", "UNDOCK", "DESTROY", "PLAYSOUND", "RECSYSTEM", "DEC_OBJV", "SCORE_OBJV",
        "TIME_OBJV", "SET_OBJV", "SHOW_OBJV", "MAX_KILL_BONUS", "SUCCESS",
        "FAILURE", "OUTCOME", "REGLOAD", "LOADMAP", "#INCLUDE", "SHATTER", "END", "SCENEITEM",
        "SYMBOL", "VAR", "3DP", "BOOL", "RESOURCE", "REGISTER", "CAMERA", "STARFIELD",
        "TIMER_SET", "DIALOG", "WEPTARGET", "VEL_TOWARDS",
        "VENT", "SHINFO", "RETURN", "VEL", "PLAYVIDEO", "ROT", "NEW_GROUP", "PLACE_BEHIND",
        "MODEL", "GENESIS", "BRIEFING", "SET_MORE_BY_DIFFICULTY", "SIZE", "NOCONTACT",
        "DIALOGUE", "PLACE_RANDOM", "VIDEO", "SHIP", "INC",
    };
    return commands;
}

void ResetCommandTable()
{
    CommandTable.fill(QString());
    CommandAdded = nullptr;
    keywordFile = {};
}

void AddCommand(const QString& keyword)
{
    const auto freeSlot = std::find_if(CommandTable.begin(), CommandTable.end(),
                                       [](const QString& slot) { return slot.isEmpty(); });
    if (freeSlot != CommandTable.end())
        *freeSlot = keyword;
    if (CommandAdded)
        CommandAdded();
}

void LoadCommands()
{
    keywordFile = {StartFolderFile(), false};
    QByteArray bytes;
    const bool exists = QFileInfo::exists(keywordFile.path);
    keywordFile.unreadable = exists && !platform::ReadFileBytes(keywordFile.path, bytes);
    if (!exists || keywordFile.unreadable) {
        for (const QString& keyword : BuiltInCommands())
            AddCommand(keyword);
        return;
    }
    ForEachLine(bytes, [](QByteArrayView line) { AddCommand(KeywordOfLine(line)); });
}

platform::Status SaveCommands()
{
    if (keywordFile.unreadable)
        return platform::Status::Ok();
    QByteArray bytes;
    for (const QString& keyword : CommandTable) {
        if (keyword.isEmpty())
            continue;
        bytes += platform::EncodeText(keyword);
        bytes += "\r\n";
    }
    return platform::ReplaceFile(keywordFile.path.isEmpty() ? StartFolderFile() : keywordFile.path,
                                 bytes);
}

}  // namespace language
