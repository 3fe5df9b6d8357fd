#include "lockkeysource.h"

#include "csysfslockkeys.h"
#if QUORBEL_HAVE_XKB
#include "cxkblockkeys.h"
#endif

std::unique_ptr<ILockKeys> CreateLockKeys() {
#if QUORBEL_HAVE_XKB
    auto xkb = std::make_unique<CXkbLockKeys>();
    if (xkb->Available()) {
        return xkb;
    }
#endif
    return std::make_unique<CSysfsLockKeys>();
}
