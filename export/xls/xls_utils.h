#pragma once
// Small functions the spreadsheet writer and its record classes share: texts between the
// core's 8-bit strings and the workbook's UTF-16, the RK number form, A1 column letters,
// cell error codes, and the Office-drawing record header on a stream.
//
// Wide strings are UTF-16 (std::u16string). The core's text is code page 1252; the "no code
// page" conversions map each byte to the code unit of the same value and back, as the
// workbook format's 8-bit strings are read; Cp1252ToWide and WideToCp1252 convert by the code
// page, for the texts a user sees.
#include <cstdint>
#include <string>
#include <string_view>

#include "export/xls/xls_bytes.h"

namespace vantrix {

class TxlsStream;

using WideString = std::u16string;

WideString StringToWideStringNoCodePage(std::string_view text);
// Each code unit's low 8 bits.
std::string WideStringToStringNoCodePage(std::u16string_view text);
// By code page 1252 (0x80 is the euro sign, and so on).
WideString Cp1252ToWide(std::string_view text);
void Cp1252ToWideTo(std::string_view text, WideString& out);
// A character code page 1252 lacks becomes '?'; so does each half of a broken surrogate pair
// and each whole pair.
std::string WideToCp1252(std::u16string_view text);

// True when some code unit is 256 or above; false for an empty text.
bool IsWide(std::u16string_view text);
// The shorter text first; texts of equal length by code unit. -1, 0 or 1.
int CompareWideStr(std::u16string_view a, std::u16string_view b);
// Case-insensitive equality of wide texts (names of pictures, images and fields).
bool SameWideText(std::u16string_view a, std::u16string_view b);

// count characters of a BIFF8 string body that starts with its option byte at index: 8-bit
// characters widened without code page when the option byte is 0, else UTF-16. Raises
// ExlsFileError when the characters are not all inside the array.
WideString ByteArrayToStr(TxlsConstBytes data, size_t index, size_t count);

// The RK form of a number, when it has one (see the implementation for the rule).
bool EncodeRK(double value, uint32_t& rk);

// Cell error codes: 0 "#NULL!", 7 "#DIV/0!", 15 "#VALUE!", 23 "#REF!", 29 "#NAME?",
// 36 "#NUM!", 42 "#N/A". An unknown code gives "#NULL!"; an unknown text raises
// ExlsFileError "Invalid cell error code: '%s'".
std::string ErrCodeToString(int code);
int StringToErrCode(std::string_view text);

// Columns from 1: 1 "A", 26 "Z", 27 "AA", 256 "IV", 702 "ZZ". Anything outside 1..702
// gives an empty text.
std::string Col2Letter(int col);
// "A" 1 ... "IV" 256; lower case counts as upper case. An empty text, or one holding
// anything but letters, gives 0.
int Letter2Col(std::string_view text);
std::string Row2Number(int row);
// The decimal row number; 0 when the text is not one.
int Number2Row(std::string_view text);

// The 8-byte Office-drawing record header onto the stream.
void WriteMSOHeader(uint16_t recType, uint16_t version, uint16_t instance, uint32_t length, TxlsStream& stream);

}  // namespace vantrix
