#include "platform/ports.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using platform::EnumeratePorts;
using platform::PortDevicePath;
using platform::PortEntry;

void WriteFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

class PortsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/tervana_ports_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    root_ = tmpl;
    folder_ = root_ + "/ports";
    ASSERT_EQ(mkdir(folder_.c_str(), 0755), 0);
    platform::SetPortFolder(folder_);
    platform::SetSysfsRoot(root_ + "/sys");
  }
  void TearDown() override {
    platform::SetPortFolder("");
    platform::SetSysfsRoot("");
    unsetenv("TERVANA_PORT_DIR");
    if (pty_ >= 0) close(pty_);
    std::system(("rm -rf '" + root_ + "'").c_str());
  }

  void Link(const std::string& target, const std::string& name) {
    ASSERT_EQ(symlink(target.c_str(), (folder_ + "/" + name).c_str()), 0) << name;
  }
  std::string OpenPty() {
    pty_ = posix_openpt(O_RDWR | O_NOCTTY);
    EXPECT_GE(pty_, 0);
    EXPECT_EQ(grantpt(pty_), 0);
    EXPECT_EQ(unlockpt(pty_), 0);
    return ptsname(pty_);
  }
  // A fake sysfs: /class/tty/<name> with a device link into /devices/<devicePath>.
  void FakeTty(const std::string& name, const std::string& devicePath, const std::string& type = "") {
    std::string classDir = root_ + "/sys/class/tty/" + name;
    ASSERT_EQ(std::system(("mkdir -p '" + classDir + "'").c_str()), 0);
    if (!type.empty()) WriteFile(classDir + "/type", type + "\n");
    if (devicePath.empty()) return;
    std::string device = root_ + "/sys/devices/" + devicePath;
    ASSERT_EQ(std::system(("mkdir -p '" + device + "'").c_str()), 0);
    ASSERT_EQ(symlink(device.c_str(), (classDir + "/device").c_str()), 0);
  }
  void UsbStrings(const std::string& usbDevicePath, const std::string& maker, const std::string& product) {
    std::string dir = root_ + "/sys/devices/" + usbDevicePath;
    if (!maker.empty()) WriteFile(dir + "/manufacturer", maker + "\n");
    if (!product.empty()) WriteFile(dir + "/product", product + "\n");
  }

  std::string root_, folder_;
  int pty_ = -1;
};

TEST_F(PortsTest, FolderListsValidLinksInAscendingOrderWithTheirNames) {
  std::string pts = OpenPty();
  Link("/dev/null", "com10");
  Link(pts, "com3");
  Link("/dev/null", "com1");
  Link(root_ + "/gone", "com2");  // dangling
  for (const char* bad : {"com0", "com256", "com07", "com07x", "comfoo", "com3.bak", "COM4", "com", "com-1", "com+5"})
    Link("/dev/null", bad);
  WriteFile(folder_ + "/com1.name", "Tervana TM-2 (COM1)\r\nsecond line\r\n");
  WriteFile(folder_ + "/com10.name", "Sonda Kestravon – Estufa (COM10)\n");  // UTF-8 text
  WriteFile(folder_ + "/com3.name", "\n");                                      // empty: no name given

  std::vector<PortEntry> ports = EnumeratePorts();
  ASSERT_EQ(ports.size(), 3u);
  EXPECT_EQ(ports[0].number, 1);
  EXPECT_EQ(ports[0].friendlyName, "Tervana TM-2 (COM1)");
  EXPECT_EQ(ports[0].devicePath, "/dev/null");
  EXPECT_EQ(ports[1].number, 3);
  EXPECT_EQ(ports[1].friendlyName, "Porta serial (COM3)");
  EXPECT_EQ(ports[1].devicePath, pts);
  EXPECT_EQ(ports[2].number, 10);
  EXPECT_EQ(ports[2].friendlyName, "Sonda Kestravon \x96 Estufa (COM10)");  // code page 1252 dash

  EXPECT_EQ(PortDevicePath(3), pts);
  EXPECT_EQ(PortDevicePath(1), "/dev/null");
  for (int absent : {2, 4, 7, 0, 256, -1, 1000}) EXPECT_FALSE(PortDevicePath(absent).has_value()) << absent;
}

TEST_F(PortsTest, FolderIsReadAfreshOnEveryCall) {
  EXPECT_TRUE(EnumeratePorts().empty());  // an empty folder: no ports, and no fall-back to sysfs
  FakeTty("ttyUSB0", "usb1/1-1/1-1:1.0/ttyUSB0");
  EXPECT_TRUE(EnumeratePorts().empty());
  Link("/dev/null", "com5");
  ASSERT_EQ(EnumeratePorts().size(), 1u);
  EXPECT_TRUE(PortDevicePath(5).has_value());
  ASSERT_EQ(unlink((folder_ + "/com5").c_str()), 0);
  EXPECT_TRUE(EnumeratePorts().empty());
  EXPECT_FALSE(PortDevicePath(5).has_value());
}

TEST_F(PortsTest, FolderComesFromTheEnvironmentUnlessOverridden) {
  std::string other = root_ + "/other";
  ASSERT_EQ(mkdir(other.c_str(), 0755), 0);
  ASSERT_EQ(symlink("/dev/null", (other + "/com9").c_str()), 0);
  setenv("TERVANA_PORT_DIR", other.c_str(), 1);
  EXPECT_EQ(platform::PortFolder(), folder_);
  platform::SetPortFolder("");
  EXPECT_EQ(platform::PortFolder(), other);
  ASSERT_EQ(EnumeratePorts().size(), 1u);
  EXPECT_EQ(EnumeratePorts()[0].number, 9);
  unsetenv("TERVANA_PORT_DIR");
  std::string folder = platform::PortFolder();
  EXPECT_EQ(folder.substr(folder.size() - 6), "/ports");  // beside the executable
}

TEST_F(PortsTest, WithoutAFolderSysfsDevicesAreNumberedByKindThenNumber) {
  platform::SetPortFolder(root_ + "/no-such-folder");
  FakeTty("ttyS0", "platform/serial8250/tty/ttyS0", "4");
  FakeTty("ttyS1", "platform/serial8250/tty/ttyS1", "0");  // empty UART slot
  FakeTty("ttyS2", "");                                     // no device at all
  FakeTty("ttyUSB10", "pci0/usb1/1-2/1-2:1.0/ttyUSB10");
  FakeTty("ttyUSB2", "pci0/usb1/1-1/1-1:1.0/ttyUSB2");
  FakeTty("ttyACM0", "pci0/usb1/1-3/1-3:1.0/tty/ttyACM0");
  FakeTty("tty1", "virtual/tty/tty1");
  FakeTty("ttyUSBx", "pci0/usb1/1-4/1-4:1.0/ttyUSBx");
  UsbStrings("pci0/usb1/1-1", "Oficina Eletr\xC3\xB4nica", "Conversor USB");
  UsbStrings("pci0/usb1/1-3", "", "Sonda Tervana");

  std::vector<PortEntry> ports = EnumeratePorts();
  ASSERT_EQ(ports.size(), 4u);
  const char* expected[][2] = {{"/dev/ttyS0", "Porta serial (COM1)"},
                               {"/dev/ttyUSB2", "Oficina Eletr\xF4nica Conversor USB (COM2)"},
                               {"/dev/ttyUSB10", "Porta serial (COM3)"},
                               {"/dev/ttyACM0", "Sonda Tervana (COM4)"}};
  for (size_t i = 0; i < ports.size(); ++i) {
    EXPECT_EQ(ports[i].number, static_cast<int>(i + 1));
    EXPECT_EQ(ports[i].devicePath, expected[i][0]);
    EXPECT_EQ(ports[i].friendlyName, expected[i][1]);
  }
  EXPECT_EQ(PortDevicePath(4), "/dev/ttyACM0");
  EXPECT_FALSE(PortDevicePath(5).has_value());
}

TEST_F(PortsTest, NoFolderAndNoSysfsMeansNoPorts) {
  platform::SetPortFolder(root_ + "/no-such-folder");
  EXPECT_TRUE(EnumeratePorts().empty());
  EXPECT_FALSE(PortDevicePath(1).has_value());
}

}  // namespace
