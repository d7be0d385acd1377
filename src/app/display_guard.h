#pragma once

// Without a display Qt ends the start with a fatal message that blames the
// installation. While a DisplayGuard lives, Qt's messages are held back; a
// fatal one is replaced by one sentence that says what is wrong, and the
// program exits with status 1. Released, it hands on what it held.

namespace ep {

class DisplayGuard {
public:
    DisplayGuard();
    ~DisplayGuard();
    DisplayGuard(const DisplayGuard&) = delete;
    DisplayGuard& operator=(const DisplayGuard&) = delete;

    void Release();
};

}  // namespace ep
