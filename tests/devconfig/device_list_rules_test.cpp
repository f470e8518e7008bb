// The instrument list's captions and the rule that lists each port once, without widgets.
#include <gtest/gtest.h>

#include "devconfig/device_list_rules.h"
#include "instrument/port_names.h"

namespace {

using namespace devconfig;

TEST(DeviceListRules, PortTextsCaptionsAndDuplicates) {
  EXPECT_EQ(device::PortTextOf("Kestravon (COM3) adaptador"), "(COM3)");
  EXPECT_EQ(device::PortTextOf("Tervana sem porta"), "Tervana sem porta");
  EXPECT_EQ(device::PortTextOf("Tervana (COM9"), "(COM9");
  EXPECT_TRUE(device::NamesOurProduct("USB Kestravon (COM2)"));
  EXPECT_FALSE(device::NamesOurProduct("tervana (COM2)"));  // case-sensitive

  EXPECT_EQ(DeviceListCaption("Estufa", "00012345", "(COM4)"), "Estufa;  00012345  (COM4)");
  EXPECT_EQ(DeviceListCaption("", "00000001", "(COM12)"), ";  00000001  (COM12)");

  const std::vector<std::string> captions = {"Estufa;  00012345  (COM4)", "Tervana sem porta", "Tervana (COM7"};
  EXPECT_TRUE(PortAlreadyListed(captions, "(COM4)"));
  EXPECT_FALSE(PortAlreadyListed(captions, "(COM40)"));
  // A caption without "(COM" and ")" never counts, not even against a name equal to it.
  EXPECT_FALSE(PortAlreadyListed(captions, "Tervana sem porta"));
  EXPECT_FALSE(PortAlreadyListed(captions, "(COM7"));
  EXPECT_FALSE(PortAlreadyListed({}, "(COM4)"));
}

}  // namespace
