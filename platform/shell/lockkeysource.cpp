#include "platform/shell/lockkeysource.h"

#include "platform/shell/csysfslockkeys.h"
#if QUORBEL_HAVE_XKB
#include "platform/shell/cxkblockkeys.h"
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
