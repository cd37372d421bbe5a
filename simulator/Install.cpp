#include "simulator/Install.h"

#include "platform/core/Resources.h"
#include "simulator/SimBus.h"
#include "simulator/SimMouse.h"

namespace simulator {

std::shared_ptr<SimBus> MakeProgramBus() {
    auto bus = std::make_shared<SimBus>();
    SimMouseConfig config;
    if (const platform::core::ResourceEntry* image =
            platform::core::FindResource("VTRM408xData_Cfg1", "RC_DATA")) {
        config.image.assign(image->data, image->data + image->size);
        if (config.image.size() >= 4) {
            config.vendorId = uint16_t(config.image[0] << 8 | config.image[1]);
            config.productId = uint16_t(config.image[2] << 8 | config.image[3]);
        }
    }
    bus->AddMouse(config);
    bus->AddKeyboard();
    return bus;
}

void InstallAsDefaultBus(const std::function<void(BusFactory)>& registerFactory) {
    registerFactory([] { return std::shared_ptr<platform::win::HidBus>(MakeProgramBus()); });
}

} // namespace simulator
