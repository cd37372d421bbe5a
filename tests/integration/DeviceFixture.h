#pragma once
// The main window against the simulated mouse: a fresh bus and window per test, the time
// scale small, the device timer's ticks driven by the test, every modal dialog answered
// and recorded, and the bus's protocol-violation list checked after every test.
#include "device/DeviceImage.h"
#include "device/Subroutines.h"
#include "simulator/SimBus.h"
#include "simulator/SimMouse.h"
#include "window/Main.h"

#include <gtest/gtest.h>

#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace devtest {

// Answers every modal dialog that opens with OK, recording its text and caption. While a
// dialog is open, whileOpen runs once (with the dialog's index) before it is answered.
class ModalAnswerer {
public:
    ModalAnswerer();
    ~ModalAnswerer();
    std::vector<std::string> texts;
    std::vector<std::string> captions;
    std::function<void(size_t index)> whileOpen;
    // How many more poll rounds a dialog stays open before it is answered.
    int holdRounds = 0;

private:
    QTimer poll_;
    int held_ = 0;
};

// The busy window as the test sees it: counts the steps and can act inside them.
class TestBusyWindow : public device::BusyWindow {
public:
    void Step() override;
    void Hide() override;
    int steps = 0;
    int hides = 0;
    bool shown = false; // stepped since the last hide
    std::function<void(int step)> onStep;
};

// Handles events until done() holds or the time runs out; returns done().
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);

class FormDeviceTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A mouse with the ids of the default image header, carrying `image` (the first
    // default image when empty).
    std::shared_ptr<simulator::SimMouse> AddMouse(std::vector<uint8_t> image = {});
    std::shared_ptr<simulator::SimKeyboard> AddKeyboard();
    // One tick of the device timer.
    void Tick() { form->DevTimerTimer(nullptr); }
    // Ticks as the device timer does, 3.5 s of program time apart, until done() holds or
    // withinMs of program time have passed; returns done(). A mouse that stayed on the bus
    // is looked for again by a probe off the window's thread and found a tick or more later.
    bool TickUntil(const std::function<bool()>& done, uint32_t withinMs = 60000);
    // The look for a mouse that stayed on the bus has no probe in progress.
    bool ProbeIdle() const;
    // Plugs the mouse in and lets the first tick find and read it.
    std::shared_ptr<simulator::SimMouse> StartWithMouse();

public:
    static std::vector<uint8_t> DefaultImage(int n = 1);
    // `image` with the maker and product ids of its identity block replaced.
    static std::vector<uint8_t> WithIdentity(std::vector<uint8_t> image, uint8_t manufacturer,
                                             uint8_t product);

protected:
    bool Present() const;
    bool OverlaysVisible(bool visible) const;
    bool Visible(const char* name) const;
    std::string TextOf(const char* name) const;
    std::vector<std::string> ItemsOf(const char* name) const;
    // Commands (byte 1 of the 40 reports) sent so far.
    std::vector<uint8_t> CommandsSent() const;

    template <class T = platform::vcl::TControl> T& Control(const std::string& name) {
        return form->Named<T>(name);
    }
    // Runs the control's click handler, as a click on it does.
    void Click(const std::string& name);
    // Picks a function from the key-function menu of `key`, as the user does: the menu at
    // the key, the sub-menu by its arrow, then the entry `menuLabel`, whose caption
    // carries two leading characters as the language tables give them.
    void Choose(const char* key, const char* arrow, const char* menuLabel,
                const std::u16string& caption);

    std::shared_ptr<simulator::SimBus> bus;
    std::unique_ptr<window::TForm1> form;
    std::unique_ptr<ModalAnswerer> modal;
    TestBusyWindow busy;
};

} // namespace devtest
