#pragma once
// Page formats and lengths in dots (1/72 inch), with the conversions the PDF options and the
// export dialog use. Rounding is to the nearest integer, halves to even.
#include <string>

namespace vantrix {

enum TVantrixPageFormat { pfLetter, pfLegal, pfA3, pfA4, pfA5, pfB5_JIS, pfUS_Std_Fanfold, pfFanfold, pfUser };
enum TVantrixUnits { unInch, unMillimeter, unDot };
enum TVantrixPageOrientation { poPortrait, poLandscape };

double RoundHalfEven(double x);
int InchToDot(double inches);
int MMToDot(double millimetres);
double DotToInch(int dots);
double DotToMM(int dots);
int Units2Dot(TVantrixUnits units, double value);
// Inches to two places, whole millimetres, dots as they are.
double Dot2Units(TVantrixUnits units, int dots);
double RoundFraction(double x, int places);

// The format's name (a library string), width and height in inches; any other value has an
// empty name and the size of A4.
std::string GetPageFormatString(TVantrixPageFormat format);
double GetPageFormatInchWidth(TVantrixPageFormat format);
double GetPageFormatInchHeight(TVantrixPageFormat format);

}  // namespace vantrix
