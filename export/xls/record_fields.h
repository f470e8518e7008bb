#pragma once
// Records whose body is a row of fixed fields: each class lists its fields once, as
// XLS_FIELD(Name, type, offset), and gets a GetName and a SetName that read and write the body
// at that offset, little-endian. Every access is checked against the body, so a short record
// from a file raises ExlsFileError instead of reading what is not there.
#include <cstdint>
#include <type_traits>

#include "export/xls/biff_record.h"

namespace vantrix {

class TbiffFieldRecord : public TbiffRecord {
 public:
  using TbiffRecord::TbiffRecord;

 protected:
  template <class T>
  T Field(size_t at) const {
    if constexpr (std::is_same_v<T, double>) return Double(at);
    else if constexpr (sizeof(T) == 1) return static_cast<T>(Byte(at));
    else if constexpr (sizeof(T) == 2) return static_cast<T>(Word(at));
    else return static_cast<T>(Integer(at));
  }
  template <class T>
  void SetField(size_t at, T v) {
    if constexpr (std::is_same_v<T, double>) SetDoubleAt(at, v);
    else if constexpr (sizeof(T) == 1) SetByteAt(at, static_cast<uint8_t>(v));
    else if constexpr (sizeof(T) == 2) SetWordAt(at, static_cast<uint16_t>(v));
    else SetIntegerAt(at, static_cast<uint32_t>(v));
  }
};

#define XLS_FIELD(Name, Type, Offset)                   \
  Type Get##Name() const { return Field<Type>(Offset); } \
  void Set##Name(Type v) { SetField<Type>(Offset, v); }

}  // namespace vantrix
