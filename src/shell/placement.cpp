#include "shell/placement.h"

#include <array>
#include <cmath>

#include "platform/settings_store.h"
#include "shell/options.h"

namespace shell {
namespace {

const QString kSection = QStringLiteral("Settings");

// Far larger than any screen, and small enough that a conversion to pixels stays in range.
constexpr float kLargestTwips = 10'000'000;

struct PlacementKey {
    const char* name;
    float Placement::*value;
};

constexpr std::array<PlacementKey, 4> kKeys{{
    {"MainLeft", &Placement::Left},
    {"MainTop", &Placement::Top},
    {"MainWidth", &Placement::Width},
    {"MainHeight", &Placement::Height},
}};

float ReadValue(const char* key, float defaultValue)
{
    bool converted = false;
    const float value =
        platform::GetSetting(kApplicationName, kSection, key, QString()).toFloat(&converted);
    return converted && std::isfinite(value) ? value : defaultValue;
}

bool WithinReason(float value)
{
    return std::fabs(value) <= kLargestTwips;
}

bool IsUsable(const Placement& placement, const QList<QRectF>& screens)
{
    if (placement.Width <= 0 || placement.Height <= 0)
        return false;
    for (const PlacementKey& key : kKeys)
        if (!WithinReason(placement.*key.value))
            return false;
    const QRectF window(placement.Left, placement.Top, placement.Width, placement.Height);
    for (const QRectF& screen : screens)
        if (window.intersects(screen))
            return true;
    return false;
}

// Whole twips in plain digits: "300000", never "3e+05".
QString WholeNumberText(float value)
{
    // Adding zero turns a rounded -0 into 0.
    return QString::number(std::round(double(value)) + 0.0, 'f', 0);
}

}  // namespace

Placement LoadPlacement(const QList<QRectF>& screens)
{
    const Placement defaults;
    Placement placement;
    for (const PlacementKey& key : kKeys)
        placement.*key.value = ReadValue(key.name, defaults.*key.value);
    return IsUsable(placement, screens) ? placement : defaults;
}

void SavePlacement(const Placement& placement)
{
    for (const PlacementKey& key : kKeys)
        platform::SaveSetting(kApplicationName, kSection, key.name,
                              WholeNumberText(placement.*key.value));
}

}  // namespace shell
