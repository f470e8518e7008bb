#include "devconfig/config_file.h"

#include <charconv>
#include <cstdio>

#include "devconfig/fixed_point.h"
#include "platform/ini_file.h"
#include "platform/text_trim.h"

namespace devconfig {
namespace {

constexpr char kGeneral[] = "General";
constexpr char kChannel1[] = "Channel1";
constexpr char kChannel2[] = "Channel2";
constexpr char kSpecial[] = "Channel3SpecialFeatures";

// Collects the writes of one save: any that fails fails the save.
class Writer {
 public:
  explicit Writer(platform::IniFile& ini) : ini_(ini) {}
  void Int(const char* section, const char* key, int32_t value) { ok_ = ini_.WriteInteger(section, key, value) && ok_; }
  void Text(const char* section, const char* key, const std::string& value) {
    ok_ = ini_.WriteString(section, key, value) && ok_;
  }
  bool Ok() const { return ok_; }

 private:
  platform::IniFile& ini_;
  bool ok_ = true;
};

void SaveChannel(Writer& w, const char* section, const Channel& c) {
  w.Int(section, "Config", c.Config);
  w.Int(section, "Filter", c.Filter);
  w.Int(section, "LowLimit", c.LowLimit);
  w.Int(section, "HighLimit", c.HighLimit);
  w.Int(section, "UnderflowValue", c.UnderflowValue);
  w.Int(section, "OverflowValue", c.OverflowValue);
  w.Text(section, "Tag", c.Tag);
  w.Text(section, "Unit", c.Unit);
  w.Int(section, "UserOffset", c.UserOffset);
}

void LoadChannel(const platform::IniFile& ini, const char* section, Channel& c) {
  c.Config = ini.ReadInteger(section, "Config", 0);
  c.Filter = static_cast<uint16_t>(ini.ReadInteger(section, "Filter", 0));
  c.LowLimit = ini.ReadInteger(section, "LowLimit", 0);
  c.HighLimit = ini.ReadInteger(section, "HighLimit", 1000);
  c.UnderflowValue = ini.ReadInteger(section, "UnderflowValue", -30000);
  c.OverflowValue = ini.ReadInteger(section, "OverflowValue", 30000);
  c.Tag = ini.ReadString(section, "Tag", "");
  c.Unit = ini.ReadString(section, "Unit", "");
  c.UserOffset = static_cast<int16_t>(ini.ReadInteger(section, "UserOffset", 0));
}

// The reset value is written signed, as the field holds it; one written unsigned
// ("4294967295") by hand or by another program reads as the same 32 bits.
int32_t ReadResetValue(const platform::IniFile& ini) {
  constexpr int32_t kDefault = 1;
  if (!ini.ValueExists(kSpecial, "ResetValue")) return kDefault;
  const int32_t signedValue = ini.ReadInteger(kSpecial, "ResetValue", kDefault);
  const std::string text = platform::TrimBlanks(ini.ReadString(kSpecial, "ResetValue", ""));
  uint32_t unsignedValue = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), unsignedValue);
  if (ec == std::errc() && end == text.data() + text.size()) return static_cast<int32_t>(unsignedValue);
  return signedValue;
}

}  // namespace

std::string ScaleText(double scale, char mark) {
  char text[64];
  std::snprintf(text, sizeof text, "%.15g", scale);
  std::string s = text;
  if (const size_t at = s.find('.'); at != std::string::npos) s[at] = mark;
  return s;
}

bool SaveConfigFile(const std::string& path, const DeviceRegs& regs, char mark, std::string* error) {
  platform::IniFile ini(path);
  platform::IniFile::UpdateScope scope(ini);
  Writer w(ini);
  w.Int(kGeneral, "InputTypeModel", regs.InputTypeModel);
  w.Text(kGeneral, "Tag", regs.Tag);
  w.Int(kGeneral, "SerialNumber", regs.SerialNumber);
  w.Int(kGeneral, "FirmwareVersionNumber", regs.FirmwareVersionNumber);
  w.Int(kGeneral, "DeviceConfig", regs.DeviceConfig);
  w.Text(kGeneral, "DigInputTag", regs.DigInputTag);
  w.Int(kGeneral, "DigInputLowValue", regs.DigInputLowValue);
  w.Int(kGeneral, "DigInputHighValue", regs.DigInputHighValue);
  w.Text(kGeneral, "Channel3Tag", regs.Channel3Tag);
  w.Int(kGeneral, "Channel3UserOffset", regs.Channel3UserOffset);
  w.Int(kGeneral, "LastCustomCalDay", regs.LastCustomCalDay);
  w.Int(kGeneral, "LastCustomCalMonth", regs.LastCustomCalMonth);
  w.Int(kGeneral, "LastCustomCalYear", regs.LastCustomCalYear);
  SaveChannel(w, kChannel1, regs.Channel1);
  SaveChannel(w, kChannel2, regs.Channel2);
  w.Int(kSpecial, "DigiTalInputConfig", regs.DigiTalInputConfig);
  w.Int(kSpecial, "Debounce", regs.Debounce);
  w.Int(kSpecial, "ResetValue", regs.ResetValue);
  w.Int(kSpecial, "BaseTime", regs.BaseTime);
  w.Int(kSpecial, "DecimalNumber", regs.DecimalNumber);
  w.Text(kSpecial, "Scale", ScaleText(regs.Scale, mark));
  const bool committed = scope.Commit();
  if (error != nullptr) *error = ini.WriteError();
  return w.Ok() && committed;
}

bool LoadConfigFile(const std::string& path, DeviceRegs& regs, std::string* error) {
  const platform::IniFile ini(path);
  if (error != nullptr) *error = ini.ReadError();
  bool ours = false;
  for (const char* section : {kGeneral, kChannel1, kChannel2, kSpecial}) ours = ours || ini.SectionExists(section);
  if (!ours) return false;

  DeviceRegs loaded = regs;
  loaded.Tag = ini.ReadString(kGeneral, "Tag", "");
  loaded.DeviceConfig = ini.ReadInteger(kGeneral, "DeviceConfig", 0);
  loaded.DigInputTag = ini.ReadString(kGeneral, "DigInputTag", "");
  loaded.DigInputLowValue = ini.ReadInteger(kGeneral, "DigInputLowValue", 0);
  loaded.DigInputHighValue = ini.ReadInteger(kGeneral, "DigInputHighValue", 1);
  loaded.Channel3Tag = ini.ReadString(kGeneral, "Channel3Tag", "");
  loaded.Channel3UserOffset = static_cast<int16_t>(ini.ReadInteger(kGeneral, "Channel3UserOffset", 0));
  LoadChannel(ini, kChannel1, loaded.Channel1);
  LoadChannel(ini, kChannel2, loaded.Channel2);
  loaded.DigiTalInputConfig = ini.ReadInteger(kSpecial, "DigiTalInputConfig", 0);
  loaded.Debounce = ini.ReadInteger(kSpecial, "Debounce", 1);
  loaded.ResetValue = ReadResetValue(ini);
  loaded.BaseTime = ini.ReadInteger(kSpecial, "BaseTime", 1);
  loaded.DecimalNumber = ini.ReadInteger(kSpecial, "DecimalNumber", 0);
  // Either mark: a file saved where the mark is "," loads where it is ".".
  loaded.Scale = ParseFloatText(ini.ReadString(kSpecial, "Scale", "")).value_or(1.0);
  regs = loaded;
  return true;
}

}  // namespace devconfig
