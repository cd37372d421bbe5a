#pragma once
// Unit state of the device handling of the main window: the poll state of the device
// timer and the identity pairs a found mouse must carry.
#include "device/Subroutines.h"

#include <cstdint>
#include <set>
#include <vector>

namespace window::device {

// 1 while a device-timer tick runs; a tick that finds it set returns at once.
extern uint8_t DevicePollGuard;
// The stable count of openable HID interfaces seen by the last tick that acted.
extern int32_t LastDeviceCount;
// 1 when the last presence ping could be sent.
extern uint8_t PingAnswered;
// 1 from a mouse that stopped answering (the loss reported, the handles released) until a
// read completes: every tick looks for the mouse again, quietly, though the count of
// interfaces stays as it was.
extern uint8_t ReFindDue;
// The identity bytes (manufacturer, product) the default image header expects; set at
// start-up from header bytes 484 and 485 when the memory type is "I2C", else (0, 0).
extern int ExpectedManufacturerId;
extern int ExpectedProductId;
// The interfaces with the ids of the table seen when the window last looked at the bus or
// opened the mouse: one not among them has arrived since (a replug makes another one).
extern std::vector<::device::InterfaceKey> LastMouseInterfaces;
// Interfaces whose mouse was refused for its identity: never opened again, so the refusal is
// told once. The same mouse plugged in again is another interface.
extern std::set<::device::InterfaceKey> RefusedInterfaces;

// The interfaces with the ids of the table on the bus now, in order. No report is sent.
std::vector<::device::InterfaceKey> MouseInterfaces();

// Sends the information command as a presence probe and reads its answer, unexamined.
// Sets PingAnswered. False (PingAnswered untouched) when the probe could not run because
// this thread is inside another exchange's message pumping: the device is in use then.
bool PingDevice();

} // namespace window::device
