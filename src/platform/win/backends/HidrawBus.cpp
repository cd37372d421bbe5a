#include "platform/win/backends/HidrawBus.h"

#include "platform/win/backends/ReportDescriptor.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <linux/hidraw.h>
#include <mutex>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace platform::win {
namespace {

constexpr const char* kUdevRule = "packaging/70-vtrm408x.rules";
constexpr int kAccessRetries = 6;
constexpr auto kAccessRetryDelay = std::chrono::milliseconds(60);

std::atomic<bool> g_accessReported{false};

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// HID_ID=0003:000004B4:000008B9 (bus:vendor:product).
bool ParseHidId(const std::string& uevent, uint16_t& vendor, uint16_t& product) {
    size_t pos = 0;
    while (pos < uevent.size()) {
        size_t end = uevent.find('\n', pos);
        if (end == std::string::npos) end = uevent.size();
        const std::string line = uevent.substr(pos, end - pos);
        pos = end + 1;
        if (line.rfind("HID_ID=", 0) != 0) continue;
        unsigned bus = 0, v = 0, p = 0;
        if (std::sscanf(line.c_str() + 7, "%x:%x:%x", &bus, &v, &p) != 3) return false;
        vendor = static_cast<uint16_t>(v);
        product = static_cast<uint16_t>(p);
        return true;
    }
    return false;
}

// The instance of a hidraw node from its sysfs directory: the kernel makes the directory
// anew, with another inode and change time, each time the device comes back.
uint32_t NodeInstance(const std::string& sysfsNode) {
    struct stat st {};
    if (stat(sysfsNode.c_str(), &st) != 0) return 0;
    const uint64_t mixed = static_cast<uint64_t>(st.st_ino) * 0x9E3779B97F4A7C15ull ^
                           static_cast<uint64_t>(st.st_ctim.tv_sec) * 1000000007ull ^
                           static_cast<uint64_t>(st.st_ctim.tv_nsec);
    const auto instance = static_cast<uint32_t>(mixed ^ (mixed >> 32));
    return instance != 0 ? instance : 1;
}

// hidraw numbers in ascending order ("hidraw2" before "hidraw10").
std::vector<int> NodeNumbers(const std::string& root) {
    std::vector<int> numbers;
    DIR* dir = opendir(root.c_str());
    if (!dir) return numbers;
    while (dirent* e = readdir(dir)) {
        const char* name = e->d_name;
        if (std::strncmp(name, "hidraw", 6) != 0 || name[6] == '\0') continue;
        char* end = nullptr;
        const long n = std::strtol(name + 6, &end, 10);
        if (*end == '\0' && n >= 0) numbers.push_back(static_cast<int>(n));
    }
    closedir(dir);
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

HidError ErrorOf(int err) {
    switch (err) {
    case ENODEV:
    case ENOENT:
    case ENXIO:
    case EIO:
    case EPROTO:
    case ESHUTDOWN:
        return HidError::DeviceNotConnected;
    case EACCES:
    case EPERM:
        return HidError::AccessDenied;
    default:
        return HidError::GenFailure;
    }
}

// Opens a node for reading and writing. Right after a node appears its access rights
// can still be on their way (udev's uaccess tag), so a refused open is tried again
// briefly before giving up.
int OpenNode(const std::string& node, HidError& error) {
    for (int attempt = 0;; ++attempt) {
        const int fd = ::open(node.c_str(), O_RDWR | O_CLOEXEC);
        if (fd >= 0) return fd;
        const int err = errno;
        if (err == EACCES && attempt + 1 < kAccessRetries) {
            std::this_thread::sleep_for(kAccessRetryDelay);
            continue;
        }
        error = err == ENOENT ? HidError::FileNotFound : ErrorOf(err);
        if (err == EACCES && !g_accessReported.exchange(true))
            std::fprintf(stderr,
                         "vtrm408x: access to %s is denied. Install the udev rule %s "
                         "(into /etc/udev/rules.d), then unplug and replug the mouse.\n",
                         node.c_str(), kUdevRule);
        return -1;
    }
}

class HidrawConnection : public HidConnection {
public:
    HidrawConnection(std::string node, bool numberedReports)
        : node_(std::move(node)), numbered_(numberedReports) {}
    ~HidrawConnection() override {
        if (fd_ >= 0) ::close(fd_);
        if (wake_ >= 0) ::close(wake_);
    }

    bool Start(bool openNow, HidError& error) {
        wake_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (wake_ < 0) {
            error = HidError::GenFailure;
            return false;
        }
        if (!openNow) return true;
        fd_ = OpenNode(node_, error);
        return fd_ >= 0;
    }

    bool SetFeature(const uint8_t* buf, size_t len, HidError& error) override {
        const int fd = Fd(error);
        if (fd < 0) return false;
        std::vector<uint8_t> report(buf, buf + len);
        const int n = ::ioctl(fd, HIDIOCSFEATURE(len), report.data());
        if (n < 0) {
            error = ErrorOf(errno);
            return false;
        }
        return true;
    }

    bool GetFeature(uint8_t* buf, size_t len, HidError& error) override {
        return GetFeatureReply(buf, len, error) >= 0;
    }

    int GetFeatureReply(uint8_t* buf, size_t len, HidError& error) override {
        const int fd = Fd(error);
        if (fd < 0) return -1;
        std::vector<uint8_t> report(len, 0);
        report[0] = buf[0];
        const int n = ::ioctl(fd, HIDIOCGFEATURE(len), report.data());
        if (n < 0) {
            error = ErrorOf(errno);
            return -1;
        }
        // A shorter reply leaves the rest of the report zero, as the system's call does.
        std::copy(report.begin(), report.end(), buf);
        return n;
    }

    int ReadInput(uint8_t* buf, size_t len, HidError& error) override {
        const int fd = Fd(error);
        if (fd < 0) return -1;
        for (;;) {
            if (interrupted_.load()) {
                error = HidError::OperationAborted;
                return -1;
            }
            pollfd fds[2] = {{fd, POLLIN, 0}, {wake_, POLLIN, 0}};
            const int r = ::poll(fds, 2, -1);
            if (r < 0) {
                if (errno == EINTR) continue;
                error = HidError::GenFailure;
                return -1;
            }
            if (fds[1].revents || interrupted_.load()) {
                error = HidError::OperationAborted;
                return -1;
            }
            if (fds[0].revents & POLLIN) break;
            if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) {
                error = HidError::DeviceNotConnected;
                return -1;
            }
        }
        // One report per read; a short buffer would drop the rest of it.
        uint8_t report[4096];
        const ssize_t n = ::read(fd, report, sizeof report);
        if (n <= 0) {
            error = n == 0 ? HidError::DeviceNotConnected : ErrorOf(errno);
            return -1;
        }
        // The system puts the report id first, 0 when the device numbers no reports.
        size_t stored = 0;
        if (!numbered_ && len > 0) buf[stored++] = 0;
        const size_t copy = std::min(static_cast<size_t>(n), len - stored);
        std::memcpy(buf + stored, report, copy);
        return static_cast<int>(stored + copy);
    }

    void InterruptRead() override {
        interrupted_.store(true);
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t w = ::write(wake_, &one, sizeof one);
    }

private:
    // The node of a query handle is opened at its first transfer.
    int Fd(HidError& error) {
        std::lock_guard lock(mutex_);
        if (fd_ < 0) fd_ = OpenNode(node_, error);
        return fd_;
    }

    std::string node_;
    bool numbered_;
    std::mutex mutex_;
    int fd_ = -1;
    int wake_ = -1;
    std::atomic<bool> interrupted_{false};
};

} // namespace

HidrawBus::HidrawBus(std::string sysfsRoot, std::string devRoot)
    : sysfsRoot_(std::move(sysfsRoot)), devRoot_(std::move(devRoot)) {}

std::string HidrawBus::NodeOf(const std::string& path) {
    const size_t hash = path.find("#col");
    return hash == std::string::npos ? path : path.substr(0, hash);
}

std::vector<InterfaceInfo> HidrawBus::Enumerate() {
    std::vector<InterfaceInfo> result;
    for (int n : NodeNumbers(sysfsRoot_)) {
        const std::string name = "hidraw" + std::to_string(n);
        const std::string device = sysfsRoot_ + "/" + name + "/device/";
        InterfaceInfo base;
        if (!ParseHidId(ReadWholeFile(device + "uevent"), base.vendorId, base.productId)) continue;
        base.path = devRoot_ + "/" + name;
        base.instance = NodeInstance(sysfsRoot_ + "/" + name);
        const std::string descriptor = ReadWholeFile(device + "report_descriptor");
        const ReportDescriptorLayout layout = ParseReportDescriptor(
            reinterpret_cast<const uint8_t*>(descriptor.data()), descriptor.size());
        if (layout.collections.empty()) {
            // Unreadable or empty descriptor: the interface is there, with no reports.
            result.push_back(base);
            continue;
        }
        for (size_t c = 0; c < layout.collections.size(); ++c) {
            const TopLevelCollection& t = layout.collections[c];
            InterfaceInfo info = base;
            if (c > 0) {
                char suffix[32];
                std::snprintf(suffix, sizeof suffix, "#col%02zu", c + 1);
                info.path += suffix;
            }
            info.usagePage = t.usagePage;
            info.usage = t.usage;
            info.inputReportByteLength = t.inputReportByteLength;
            info.outputReportByteLength = t.outputReportByteLength;
            info.featureReportByteLength = t.featureReportByteLength;
            result.push_back(info);
        }
    }
    return result;
}

std::unique_ptr<HidConnection> HidrawBus::Open(const std::string& path, OpenAccess access,
                                               HidError& error) {
    const std::string node = NodeOf(path);
    const std::string prefix = devRoot_ + "/";
    if (node.rfind(prefix, 0) != 0) {
        error = HidError::FileNotFound;
        return nullptr;
    }
    const std::string device = sysfsRoot_ + "/" + node.substr(prefix.size()) + "/device/";
    uint16_t vendor = 0, product = 0;
    if (!ParseHidId(ReadWholeFile(device + "uevent"), vendor, product)) {
        error = HidError::FileNotFound;
        return nullptr;
    }
    // Only input reads care whether the device numbers its reports; query handles, opened
    // for every interface at each count, skip reading the descriptor.
    bool numbered = false;
    if (access == OpenAccess::ReadWrite) {
        const std::string descriptor = ReadWholeFile(device + "report_descriptor");
        numbered = ParseReportDescriptor(reinterpret_cast<const uint8_t*>(descriptor.data()),
                                         descriptor.size())
                       .numberedReports;
    }
    auto connection = std::make_unique<HidrawConnection>(node, numbered);
    if (!connection->Start(access == OpenAccess::ReadWrite, error)) return nullptr;
    return connection;
}

} // namespace platform::win
