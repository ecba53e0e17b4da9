#pragma once

namespace platform {

// Keeps secrets out of core files: no core dump is written and other
// processes of the user cannot attach to read our memory. Call first in main().
void disableCoreDumps();

} // namespace platform
