#pragma once
// Holding off the user while the program is busy: while a busy window is shown, mouse
// buttons, the wheel and keys aimed at another window are dropped, so nothing the user
// does during a device transfer can start a second action inside the transfer's
// message handling. Painting, timers and hover still run. Dropped, not deferred: a
// click made during a transfer does not fire afterwards either.
#include <functional>
#include <memory>

namespace platform::vcl {
class TForm;
}

namespace support {

class TInputBlock {
public:
    // Input to the form blocked() names (asked each time the busy window is shown; null:
    // nothing is blocked) is dropped while busyWindow is visible. The busy window itself
    // is shown without taking the keyboard focus from the window the user works in.
    TInputBlock(platform::vcl::TForm& busyWindow, std::function<platform::vcl::TForm*()> blocked);
    ~TInputBlock();
    TInputBlock(const TInputBlock&) = delete;
    TInputBlock& operator=(const TInputBlock&) = delete;

    // Whether input is being dropped now.
    bool Active() const;

private:
    struct Filter;
    std::unique_ptr<Filter> filter_;
};

} // namespace support
