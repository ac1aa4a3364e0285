#pragma once

#include <csignal>

// Ctrl-C (SIGINT) or SIGTERM while it exists: instead of ending the process,
// the signal raises a flag that the owner polls (the handler does nothing
// else, so it is safe whichever thread the signal lands on). The previous
// handlers come back on destruction. One at a time; main thread.
class InterruptRequest
{
public:
    InterruptRequest();
    ~InterruptRequest();

    InterruptRequest(const InterruptRequest &) = delete;
    InterruptRequest &operator=(const InterruptRequest &) = delete;

    bool isRaised() const;

private:
    struct sigaction m_previousInterrupt;
    struct sigaction m_previousTerminate;
};
