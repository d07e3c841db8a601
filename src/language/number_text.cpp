#include "language/number_text.h"

#include <cmath>
#include <limits>

namespace language {
namespace {

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Index of the first character at or after i that is not a digit.
qsizetype SkipDigits(QStringView text, qsizetype i)
{
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    return i;
}

qsizetype SkipSign(QStringView text, qsizetype i)
{
    return i < text.size() && (text[i] == u'+' || text[i] == u'-') ? i + 1 : i;
}

bool IsDecimalNumber(QStringView text)
{
    qsizetype i = SkipSign(text, 0);
    const qsizetype integerStart = i;
    i = SkipDigits(text, i);
    qsizetype digits = i - integerStart;
    if (i < text.size() && text[i] == u'.') {
        const qsizetype fractionStart = ++i;
        i = SkipDigits(text, i);
        digits += i - fractionStart;
    }
    if (digits == 0)
        return false;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        const qsizetype exponentStart = SkipSign(text, i + 1);
        i = SkipDigits(text, exponentStart);
        if (i == exponentStart)
            return false;
    }
    return i == text.size();
}

std::optional<qint32> ToInt32(double integral)
{
    if (integral < double(std::numeric_limits<qint32>::min())
        || integral > double(std::numeric_limits<qint32>::max()))
        return std::nullopt;
    return qint32(integral);
}

// Half to even by hand, so that the result never depends on the floating-point rounding mode.
double RoundHalfEven(double x)
{
    const double below = std::floor(x);
    const double fraction = x - below;
    if (fraction > 0.5)
        return below + 1;
    if (fraction < 0.5)
        return below;
    return std::fmod(below, 2) == 0 ? below : below + 1;
}

// A whole number of up to 15 digits, the usual case, is exact in a double; read here without
// the general conversion, which costs many times more.
std::optional<double> ReadWholeNumber(QStringView text)
{
    const qsizetype digitsStart = SkipSign(text, 0);
    if (text.size() - digitsStart > 15 || SkipDigits(text, digitsStart) != text.size())
        return std::nullopt;
    qint64 magnitude = 0;
    for (qsizetype i = digitsStart; i < text.size(); ++i)
        magnitude = magnitude * 10 + (text[i].unicode() - u'0');
    return text.startsWith(u'-') ? -double(magnitude) : double(magnitude);
}

std::optional<double> ReadDecimal(QStringView text)
{
    if (!IsDecimalNumber(text))
        return std::nullopt;
    if (const std::optional<double> whole = ReadWholeNumber(text))
        return whole;
    // The text is known to be a number here, so the only failures left are an overflow, which
    // gives an infinity that no 32-bit range check lets through, and an underflow, which gives 0.
    return text.toDouble();
}

}  // namespace

std::optional<qint32> ReadRoundedInt32(QStringView text)
{
    const std::optional<double> value = ReadDecimal(text);
    return value ? ToInt32(RoundHalfEven(*value)) : std::nullopt;
}

std::optional<qint32> ReadFlooredInt32(QStringView text)
{
    const std::optional<double> value = ReadDecimal(text);
    return value ? ToInt32(std::floor(*value)) : std::nullopt;
}

}  // namespace language
