#pragma once
// The hourglass pointer for the life of the object, restored on every way out.

namespace vm::manager_window {

class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace vm::manager_window
