#include "InterruptRequest.h"

namespace {

// A signal handler can reach nothing but a static object; only
// InterruptRequest sets it back, and only while no handler is installed.
volatile std::sig_atomic_t s_raised = 0;

extern "C" void raiseFlag(int)
{
    s_raised = 1;
}

void install(int signal, struct sigaction &previous)
{
    struct sigaction action = {};
    action.sa_handler = raiseFlag;
    sigemptyset(&action.sa_mask);
    // The event loop's waits resume on their own.
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, &previous);
}

} // namespace

InterruptRequest::InterruptRequest()
{
    s_raised = 0;
    install(SIGINT, m_previousInterrupt);
    install(SIGTERM, m_previousTerminate);
}

InterruptRequest::~InterruptRequest()
{
    sigaction(SIGINT, &m_previousInterrupt, nullptr);
    sigaction(SIGTERM, &m_previousTerminate, nullptr);
}

bool InterruptRequest::isRaised() const
{
    return s_raised != 0;
}
