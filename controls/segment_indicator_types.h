#pragma once
// Enumerations of the segment indicator. All are one byte with values from 0 in the order
// given, as they may be stored or compared by number.
#include <cstdint>

namespace controls {

enum TIAIndicatorKind : uint8_t { ik7segment, ik5x7matrix, ik9segment };
enum TIABevelKind : uint8_t { bkUP, bkDown, bkNone };
enum TIAIndicatorStyle : uint8_t { isThin, isNormal, isThick };
enum TIAMouseAction : uint8_t { maNone, maColor, maWidth, maBoth };
enum TIATransparentMode : uint8_t { tmNone, tmBackOnly, tmAll };
enum TIAColorScheme : uint8_t { csSilver, csInvSilver, csWhite, csBlack, csPlasma, csInvPlasma, csTIAN };
enum TIAMaterialShadowMode : uint8_t { msmDark, msmLight, msmNone };
enum TIAMaterialMode : uint8_t { mmStretch, mmTile };

}  // namespace controls
