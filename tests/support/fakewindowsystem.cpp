// Fake window system for offscreen tests.
#include "fakewindowsystem.h"

FakeWindowSystem::FakeWindowSystem()
    : m_monitors {{QStringLiteral("Fake Display"), QRect(0, 0, 1920, 1080), true}}
{
}
