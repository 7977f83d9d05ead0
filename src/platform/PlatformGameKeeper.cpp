#include "platform/GameKeeper.h"

// A desktop window closes only when its player closes it: no game is kept for the next start.
std::unique_ptr<TGameKeeper> OpenPlatformGameKeeper() {
    return nullptr;
}
