#include "platform/win/HidBus.h"

#include "platform/win/backends/HidrawBus.h"

#include <cstdlib>
#include <cstring>
#include <mutex>

namespace platform::win {
namespace {

std::mutex g_mutex;
std::shared_ptr<HidBus> g_bus;
std::function<std::shared_ptr<HidBus>()> g_simulatedFactory;

bool HasInterface(HidBus& bus, uint16_t vendorId, uint16_t productId) {
    for (const InterfaceInfo& info : bus.Enumerate())
        if (info.vendorId == vendorId && info.productId == productId) return true;
    return false;
}

} // namespace

void SetBus(std::shared_ptr<HidBus> bus) {
    std::lock_guard lock(g_mutex);
    g_bus = std::move(bus);
}

std::shared_ptr<HidBus> Bus() {
    std::lock_guard lock(g_mutex);
    return g_bus;
}

void SetSimulatedBusFactory(std::function<std::shared_ptr<HidBus>()> factory) {
    std::lock_guard lock(g_mutex);
    g_simulatedFactory = std::move(factory);
}

std::shared_ptr<HidBus> InstallDefaultBus(uint16_t vendorId, uint16_t productId) {
    std::function<std::shared_ptr<HidBus>()> factory;
    {
        std::lock_guard lock(g_mutex);
        factory = g_simulatedFactory;
    }
    const char* simulate = std::getenv("VTRM408X_SIMULATE");
    auto hidraw = std::make_shared<HidrawBus>();
    std::shared_ptr<HidBus> chosen = hidraw;
    if (factory) {
        const bool wantSimulator = simulate ? std::strcmp(simulate, "1") == 0
                                            : !HasInterface(*hidraw, vendorId, productId);
        if (wantSimulator) chosen = factory();
        if (!chosen) chosen = hidraw;
    }
    SetBus(chosen);
    return chosen;
}

} // namespace platform::win
