#include "shell/options.h"

#include <limits>
#include <optional>
#include <variant>

#include "platform/settings_store.h"

namespace shell {

OptionVariables options;

namespace {

const QString kSection = QStringLiteral("Options");

// Where a key's value lives in the option variables; the type of the variable sets the range of
// numbers it accepts.
using OptionField =
    std::variant<qint16 OptionVariables::*, QString OptionVariables::*, TextColorIndex>;

struct OptionKey {
    const char* keyRead;
    const char* keyWritten;
    OptionField field;
};

// In the order LoadOptions reads them. The background colour is read as "Backcolor" and written
// as "BackColor": keys ignore case, so both name the one stored value. Each default is that of
// OptionVariables.
const std::array<OptionKey, 7> kOptionKeys{{
    {"LaunchFlags", "LaunchFlags", &OptionVariables::LaunchFlags},
    {"CommandColor", "CommandColor", CommandColor},
    {"CommentColor", "CommentColor", CommentColor},
    {"NormalColor", "NormalColor", NormalColor},
    {"Backcolor", "BackColor", BackgroundColor},
    {"LaunchPath", "LaunchPath", &OptionVariables::LaunchPath},
    {"SystemFlags", "SystemFlags", &OptionVariables::SystemFlags},
}};

// The order in which SaveOptions writes the keys, as indexes into kOptionKeys.
constexpr std::array<int, 7> kSaveOrder{1, 2, 3, 4, 0, 5, 6};

template <typename... Cases>
struct Overloaded : Cases... {
    using Cases::operator()...;
};
template <typename... Cases>
Overloaded(Cases...) -> Overloaded<Cases...>;

// An optionally signed decimal integer with white space around it, within Integer's range.
// Fractions, exponents and hexadecimal forms are refused: the store never holds them.
template <typename Integer>
std::optional<Integer> ToInteger(QStringView text)
{
    bool converted = false;
    const qlonglong value = text.trimmed().toLongLong(&converted, 10);
    if (!converted || value < std::numeric_limits<Integer>::min() ||
        value > std::numeric_limits<Integer>::max())
        return std::nullopt;
    return static_cast<Integer>(value);
}

// The field's value as it is stored: a number as its decimal text, the path unchanged.
QString StoredText(const OptionVariables& variables, const OptionField& field)
{
    return std::visit(
        Overloaded{
            [&](qint16 OptionVariables::*member) { return QString::number(variables.*member); },
            [&](QString OptionVariables::*member) { return variables.*member; },
            [&](TextColorIndex index) { return QString::number(variables.TextColors[index]); },
        },
        field);
}

// Puts the stored text into the field; a number that does not convert leaves the field as it is.
void Assign(OptionVariables& variables, const OptionField& field, const QString& stored)
{
    std::visit(Overloaded{
                   [&](qint16 OptionVariables::*member) {
                       if (const auto value = ToInteger<qint16>(stored))
                           variables.*member = *value;
                   },
                   [&](QString OptionVariables::*member) { variables.*member = stored; },
                   [&](TextColorIndex index) {
                       if (const auto value = ToInteger<platform::Color>(stored))
                           variables.TextColors[index] = *value;
                   },
               },
               field);
}

}  // namespace

void LoadOptions()
{
    const OptionVariables defaults;
    OptionVariables loaded;
    for (const OptionKey& key : kOptionKeys) {
        const QString stored = platform::GetSetting(kApplicationName, kSection, key.keyRead,
                                                    StoredText(defaults, key.field));
        Assign(loaded, key.field, stored);
    }
    options = std::move(loaded);
}

void SaveOptions()
{
    for (const int index : kSaveOrder) {
        const OptionKey& key = kOptionKeys[index];
        platform::SaveSetting(kApplicationName, kSection, key.keyWritten,
                              StoredText(options, key.field));
    }
}

}  // namespace shell
