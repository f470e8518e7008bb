#include "platform/ports.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/unattended_pipe.h"

namespace {

namespace fs = std::filesystem;
using platform::EnumeratePorts;
using platform::PortDevicePath;

void WriteFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

class PortsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/tervana_ports_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    root_ = tmpl;
    folder_ = root_ + "/ports";
    fs::create_directory(folder_);
    platform::SetPortFolder(folder_);
    platform::SetSysfsRoot(root_ + "/sys");
  }
  void TearDown() override {
    platform::SetPortFolder("");
    platform::SetSysfsRoot("");
    unsetenv("TERVANA_PORT_DIR");
    fs::remove_all(root_);
  }

  void Link(const std::string& target, const std::string& name) { fs::create_symlink(target, folder_ + "/" + name); }
  // A fake sysfs: /class/tty/<name>, with a device link into /devices/<devicePath> if given.
  void FakeTty(const std::string& name, const std::string& devicePath, const std::string& type = "") {
    const std::string classDir = root_ + "/sys/class/tty/" + name;
    fs::create_directories(classDir);
    if (!type.empty()) WriteFile(classDir + "/type", type + "\n");
    if (devicePath.empty()) return;
    fs::create_directories(root_ + "/sys/devices/" + devicePath);
    fs::create_directory_symlink(root_ + "/sys/devices/" + devicePath, classDir + "/device");
  }
  // Each listed port as "number|device|name".
  static std::vector<std::string> Listing() {
    std::vector<std::string> out;
    for (const auto& p : EnumeratePorts()) out.push_back(std::to_string(p.number) + "|" + p.devicePath + "|" + p.friendlyName);
    return out;
  }

  std::string root_, folder_;
};

TEST_F(PortsTest, FolderListsValidLinksInAscendingOrderWithTheirNames) {
  EXPECT_TRUE(Listing().empty());  // an empty folder: no ports, and no fall-back to sysfs
  FakeTty("ttyUSB0", "usb1/1-1/1-1:1.0/ttyUSB0");
  WriteFile(root_ + "/device", "");
  const std::string device = fs::canonical(root_ + "/device");
  Link("/dev/null", "com10");
  Link(device, "com3");
  Link("/dev/null", "com1");
  Link(root_ + "/gone", "com2");  // dangling
  for (const char* bad : {"com0", "com256", "com07", "com07x", "comfoo", "com3.bak", "COM4", "com", "com-1", "com+5"})
    Link("/dev/null", bad);
  WriteFile(folder_ + "/com1.name", "Tervana TM-2 (COM1)\r\nsecond line\r\n");
  WriteFile(folder_ + "/com10.name", "Sonda Kestravon – Estufa (COM10)\n");  // UTF-8 text
  WriteFile(folder_ + "/com3.name", "\n");                                      // empty: no name given
  EXPECT_EQ(Listing(), (std::vector<std::string>{"1|/dev/null|Tervana TM-2 (COM1)", "3|" + device + "|Porta serial (COM3)",
                                                 "10|/dev/null|Sonda Kestravon \x96 Estufa (COM10)"}));
  EXPECT_EQ(PortDevicePath(3), device);
  for (int absent : {2, 4, 0, 256, -1}) EXPECT_FALSE(PortDevicePath(absent).has_value()) << absent;
  // Read afresh on every call: a port whose link goes is gone at once.
  fs::remove(folder_ + "/com3");
  EXPECT_EQ(Listing().size(), 2u);
  EXPECT_FALSE(PortDevicePath(3).has_value());
}

// Only plain files are read for names: a pipe nobody writes would block the listing for ever
// and a link to an endless device would fill the memory.
TEST_F(PortsTest, NameEntriesThatAreNotPlainFilesAreIgnored) {
  for (const char* port : {"com1", "com2", "com3"}) Link("/dev/null", port);
  const testsupport::UnattendedPipe pipe(folder_ + "/com1.name");
  Link("/dev/zero", "com2.name");
  WriteFile(folder_ + "/com3.name", std::string(100000, 'x'));  // no line end at all
  const std::vector<std::string> ports = Listing();
  ASSERT_EQ(ports.size(), 3u);
  EXPECT_EQ(ports[0], "1|/dev/null|Porta serial (COM1)");
  EXPECT_EQ(ports[1], "2|/dev/null|Porta serial (COM2)");
  EXPECT_TRUE(ports[2].starts_with("3|/dev/null|xxxx"));
  EXPECT_LT(ports[2].size(), 5000u);
}

TEST_F(PortsTest, FolderComesFromTheEnvironmentUnlessOverridden) {
  const std::string other = root_ + "/other";
  fs::create_directory(other);
  fs::create_symlink("/dev/null", other + "/com9");
  setenv("TERVANA_PORT_DIR", other.c_str(), 1);
  EXPECT_EQ(platform::PortFolder(), folder_);
  platform::SetPortFolder("");
  EXPECT_EQ(Listing(), std::vector<std::string>{"9|/dev/null|Porta serial (COM9)"});
  unsetenv("TERVANA_PORT_DIR");
  EXPECT_TRUE(platform::PortFolder().ends_with("/ports"));  // beside the executable
}

TEST_F(PortsTest, WithoutAFolderSysfsDevicesAreNumberedByKindThenNumber) {
  platform::SetPortFolder(root_ + "/no-such-folder");
  EXPECT_TRUE(Listing().empty());  // and no sysfs either
  FakeTty("ttyS0", "platform/serial8250/tty/ttyS0", "4");
  FakeTty("ttyS1", "platform/serial8250/tty/ttyS1", "0");  // empty UART slot
  FakeTty("ttyS2", "");                                     // no device at all
  FakeTty("ttyUSB10", "pci0/usb1/1-2/1-2:1.0/ttyUSB10");
  FakeTty("ttyUSB2", "pci0/usb1/1-1/1-1:1.0/ttyUSB2");
  FakeTty("ttyACM0", "pci0/usb1/1-3/1-3:1.0/tty/ttyACM0");
  FakeTty("tty1", "virtual/tty/tty1");
  FakeTty("ttyUSBx", "pci0/usb1/1-4/1-4:1.0/ttyUSBx");
  WriteFile(root_ + "/sys/devices/pci0/usb1/1-1/manufacturer", "Oficina Eletr\xC3\xB4nica\n");  // UTF-8
  WriteFile(root_ + "/sys/devices/pci0/usb1/1-1/product", "Conversor USB\n");
  WriteFile(root_ + "/sys/devices/pci0/usb1/1-3/product", "Sonda Tervana\n");
  EXPECT_EQ(Listing(), (std::vector<std::string>{"1|/dev/ttyS0|Porta serial (COM1)",
                                                 "2|/dev/ttyUSB2|Oficina Eletr\xF4nica Conversor USB (COM2)",
                                                 "3|/dev/ttyUSB10|Porta serial (COM3)",
                                                 "4|/dev/ttyACM0|Sonda Tervana (COM4)"}));
  EXPECT_EQ(PortDevicePath(4), "/dev/ttyACM0");
  EXPECT_FALSE(PortDevicePath(5).has_value());
}

}  // namespace
