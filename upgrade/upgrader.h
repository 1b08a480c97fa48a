#pragma once

namespace upgrade {

// Registers the conversions with core, so that opening a file of an older format asks the user
// and converts it. Call once at start-up.
void Install();

} // namespace upgrade
