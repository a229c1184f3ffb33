// The version number that the update manifest names, and how it compares
// with the program's own version.
#pragma once

#include <string_view>

// Full-width digits, signs and point and the ideographic space count as
// their ASCII forms; the text is then read as a plain decimal number
// (white space, sign, digits, point, digits, exponent), stopping at the
// first character that does not fit. A text without a leading number is 0.
double ParseVersionNumber(std::string_view gbkText);

// True when `manifestVersion` exceeds `programVersion` by more than the
// rounding noise of a decimal version.
bool IsNewerVersion(double manifestVersion, double programVersion);
