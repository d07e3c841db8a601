#pragma once

#include <QString>
#include <array>

#include "platform/rich_text_box.h"

namespace language {

constexpr int kStarshipRecords = 101;

// One CREATE_SHIP statement. A record whose VariableName is empty is free.
struct StarshipInfo {
    QString VariableName;
    qint32 PositionX = 0;
    qint32 PositionY = 0;
    qint32 PositionZ = 0;
    qint32 OrientationX = 0;
    qint32 OrientationY = 0;
    qint32 OrientationZ = 0;
    qint32 Argument4 = 0;
    QString VesselName;
    QString Argument5;
    QString ModelName;
    qint16 LineNumber = 0;

    friend bool operator==(const StarshipInfo&, const StarshipInfo&) = default;
};

// Records in use run unbroken from index 0; a freed record keeps its other fields, which a
// failed conversion in a later pass leaves in place.
extern std::array<StarshipInfo, kStarshipRecords> StarshipTable;

// Frees every record (empties VariableName only).
void ClearStarships();

// Rebuilds the records in use from the box's text.
void ParseStarships(const platform::RichTextBox& rtfText);

}  // namespace language
