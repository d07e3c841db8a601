#pragma once

#include <QStringView>
#include <optional>

// Numbers as a CREATE_SHIP statement writes them. A number is an optional sign, digits with an
// optional decimal point (at least one digit on either side of it), and an optional exponent:
// "12", "-2.5", "+.5", "5.", "1e3", "-1.5E-2". Blanks, quotes, hexadecimal, "inf" and "nan" are
// not numbers.
namespace language {

// The nearest 32-bit integer, a half going to the even neighbour (2.5 gives 2, 3.5 gives 4);
// nullopt when the text is not a number or the result lies outside the 32-bit range.
std::optional<qint32> ReadRoundedInt32(QStringView text);

// The greatest 32-bit integer not greater than the number (-2.5 gives -3); nullopt when the
// text is not a number or the result lies outside the 32-bit range.
std::optional<qint32> ReadFlooredInt32(QStringView text);

}  // namespace language
