// Port numbers on this system: the order of the devices and their by-id names.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

#include "platform/PortMap.h"

namespace acv {
namespace {

using Devices = std::vector<std::string>;

TEST(PortMap, AdaptersFirstThenTheRestEachInNaturalOrder) {
  const Devices order = OrderSerialDevices(
      {"/dev/ttyS10", "/dev/ttyUSB10", "/dev/ttyS2", "/dev/ttyACM0", "/dev/ttyUSB2", "/dev/ttyS2"},
      "");
  EXPECT_EQ(order, (Devices{"/dev/ttyACM0", "/dev/ttyUSB2", "/dev/ttyUSB10", "/dev/ttyS2",
                            "/dev/ttyS10"}));
  EXPECT_TRUE(NaturalLess("ttyS9", "ttyS10"));
  EXPECT_FALSE(NaturalLess("ttyS10", "ttyS9"));
  EXPECT_TRUE(NaturalLess("ttyS1", "ttyS1a"));
  EXPECT_FALSE(NaturalLess("ttyS1", "ttyS1"));
}

TEST(PortMap, ANamedDeviceIsPortOneAndAtMost16PortsAreKept) {
  Devices many;
  for (int i = 0; i < 20; ++i) many.push_back("/dev/ttyS" + std::to_string(i));
  const Devices order = OrderSerialDevices(many, "/dev/pts/4");
  ASSERT_EQ(order.size(), 16u);
  EXPECT_EQ(order[0], "/dev/pts/4");
  EXPECT_EQ(order[1], "/dev/ttyS0");
  // Named again among the system's devices, it is not listed twice.
  EXPECT_EQ(OrderSerialDevices({"/dev/ttyS1", "/dev/ttyS0"}, "/dev/ttyS1"),
            (Devices{"/dev/ttyS1", "/dev/ttyS0"}));

  const PortMap map = PortMap::FromSystem("/dev/pts/4");
  ASSERT_GE(map.Size(), 1);
  EXPECT_EQ(map.DevicePath(1), "/dev/pts/4");
  EXPECT_LE(map.Size(), 16);
  EXPECT_EQ(map.DevicePath(0), "");
  EXPECT_EQ(map.DevicePath(17), "");
}

TEST(PortMap, ByIdLinksNameTheirDevices) {
  const std::filesystem::path dir =
      std::filesystem::path(::testing::TempDir()) / ("by-id-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir / "dev");
  std::filesystem::create_directories(dir / "by-id");
  const std::filesystem::path device = dir / "dev" / "ttyUSB0";
  { std::ofstream(device.string()) << ""; }
  std::filesystem::create_symlink("../dev/ttyUSB0", dir / "by-id" / "usb-Adapter_1234-if00-port0");
  const auto names = SerialByIdNames((dir / "by-id").string());
  ASSERT_EQ(names.size(), 1u);
  EXPECT_EQ(names.at(std::filesystem::canonical(device).string()),
            (dir / "by-id" / "usb-Adapter_1234-if00-port0").string());
  EXPECT_TRUE(SerialByIdNames((dir / "missing").string()).empty());
  std::filesystem::remove_all(dir);

  const PortMap map({{"/dev/ttyUSB0", "/dev/serial/by-id/usb-X"}, {"/dev/ttyS0", ""}});
  EXPECT_EQ(map.DisplayName(1), "/dev/serial/by-id/usb-X (/dev/ttyUSB0)");
  EXPECT_EQ(map.DisplayName(2), "/dev/ttyS0");
}

// The devices a test lists, standing in for the system's.
class ListedPorts : public PortEnumeration {
 public:
  std::vector<std::string> SerialDevices() override { return devices; }
  std::map<std::string, std::string> ByIdNames() override { return byId; }
  Devices devices;
  std::map<std::string, std::string> byId;
};

TEST(PortMap, ReadAgainItTakesInNewDevicesInThePortOrder) {
  auto ports = std::make_shared<ListedPorts>();
  ports->devices = {"/dev/ttyS0"};
  const PortMap first = PortMap::Enumerate(ports, "/dev/pts/9");
  ASSERT_EQ(first.Size(), 2);
  ports->devices = {"/dev/ttyS0", "/dev/ttyUSB1"};
  const PortMap again = first.Reread();
  EXPECT_EQ(again.Size(), 3);
  EXPECT_EQ(again.DevicePath(1), "/dev/pts/9");  // the named device stays first
  EXPECT_EQ(again.DevicePath(2), "/dev/ttyUSB1");
  EXPECT_EQ(again.DevicePath(3), "/dev/ttyS0");
  EXPECT_EQ(first.DevicePath(2), "/dev/ttyS0");  // a map is a snapshot
  // A fixed list has nothing to read again.
  EXPECT_EQ(PortMap::Single("/dev/pts/3").Reread().DevicePath(1), "/dev/pts/3");
}

TEST(PortMap, AnAdapterNamedAnewIsOpenedThroughItsByIdLink) {
  const std::filesystem::path dir =
      std::filesystem::path(::testing::TempDir()) / ("replug-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string before = (dir / "ttyUSB0").string(), after = (dir / "ttyUSB1").string();
  const std::string link = (dir / "usb-Adapter_1234-if00-port0").string();
  { std::ofstream(before) << ""; }
  std::filesystem::create_symlink("ttyUSB0", link);
  const PortMap map({{before, link}});
  EXPECT_EQ(map.OpenPath(1), before);
  // Unplugged and plugged in again: the system calls it ttyUSB1 now.
  std::filesystem::remove(before);
  std::filesystem::remove(link);
  { std::ofstream(after) << ""; }
  std::filesystem::create_symlink("ttyUSB1", link);
  EXPECT_EQ(map.OpenPath(1), link);
  std::filesystem::remove(link);  // gone for good: the device, which fails to open
  EXPECT_EQ(map.OpenPath(1), before);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace acv
