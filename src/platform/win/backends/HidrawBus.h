#pragma once
// The HID bus of the Linux kernel's hidraw interface. Interfaces are listed from sysfs
// (/sys/class/hidraw/hidrawN/device: uevent for the ids, report_descriptor for the report
// lengths) without opening any node. Each top-level collection of a node is one
// interface, as on Windows: the first keeps the node's path "/dev/hidrawN", later ones
// are "/dev/hidrawN#colKK" (KK = 02, 03, ...), all on the same node.
#include "platform/win/HidBus.h"

#include <string>

namespace platform::win {

class HidrawBus : public HidBus {
public:
    // The roots are the system's by default; tests point them at a fake tree.
    explicit HidrawBus(std::string sysfsRoot = "/sys/class/hidraw", std::string devRoot = "/dev");

    std::vector<InterfaceInfo> Enumerate() override;
    // A query open checks that the interface is listed and opens the node only at the
    // first feature transfer, so counting interfaces needs no access rights. A read-write
    // open opens the node at once.
    std::unique_ptr<HidConnection> Open(const std::string& path, OpenAccess access,
                                        HidError& error) override;

    // The node a path names ("/dev/hidraw3#col02" -> "/dev/hidraw3").
    static std::string NodeOf(const std::string& path);

private:
    std::string sysfsRoot_;
    std::string devRoot_;
};

} // namespace platform::win
