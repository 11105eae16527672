#pragma once

#include "core/UserPrompts.h"

namespace halcyra {

// The hourglass for as long as this object lives. The pointer is a stack: every guard puts
// back exactly what it pushed, so nested commands and early returns cannot leave it behind.
class BusyCursor
{
public:
    explicit BusyCursor(UserPrompts& prompts) : m_prompts(prompts) { m_prompts.setBusy(true); }
    ~BusyCursor() { m_prompts.setBusy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    UserPrompts& m_prompts;
};

} // namespace halcyra
