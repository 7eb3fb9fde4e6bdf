#pragma once

namespace app {

// The program's look at start-up: the fixed light colour scheme and the
// substitution of the fonts the window names by installed ones.
void ApplyLook();

} // namespace app
