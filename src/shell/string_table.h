#pragma once

#include <QString>
#include <optional>

namespace shell {

// The program's string table (a resource): the text of an id, or nothing when the id has no row.
std::optional<QString> LoadResString(int id);

}  // namespace shell
