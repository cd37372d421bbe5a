#pragma once
// The simulated mouse as the program's HID bus, for running without a mouse.
#include "platform/win/HidBus.h"

#include <functional>
#include <memory>

namespace simulator {

class SimBus;

using BusFactory = std::function<std::shared_ptr<platform::win::HidBus>()>;

// A bus with one simulated mouse carrying the first default image (ids taken from its
// header; an all-FF mouse with ids 0 when the image resource is missing) and one keyboard.
std::shared_ptr<SimBus> MakeProgramBus();

// Hands MakeProgramBus to the bus selection of the HID layer, e.g.
// InstallAsDefaultBus(platform::win::SetSimulatedBusFactory).
void InstallAsDefaultBus(const std::function<void(BusFactory)>& registerFactory);

} // namespace simulator
