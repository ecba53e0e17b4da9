#include "ProcessHardening.h"

#if defined(Q_OS_LINUX) || defined(__linux__)
#include <sys/prctl.h>
#include <sys/resource.h>
#endif

namespace platform {

void disableCoreDumps()
{
#if defined(__linux__)
    const rlimit none{0, 0};
    setrlimit(RLIMIT_CORE, &none);
    prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
#endif
}

} // namespace platform
