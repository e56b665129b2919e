// The alert sound: the freedesktop sound theme's "bell" event, played through
// libcanberra without waiting. The library is loaded on the first beep, not
// at start-up: most moments of the game make no sound, and a missing library
// only means the fallback bell.
#include "services.h"

#include <canberra.h>
#include <dlfcn.h>

namespace {

struct Canberra {
    using Create = int (*)(ca_context **);
    using ChangeProps = int (*)(ca_context *, ...);
    using Play = int (*)(ca_context *, uint32_t, ...);

    ca_context *context = nullptr;
    Play play = nullptr;

    Canberra() {
        void *library = dlopen("libcanberra.so.0", RTLD_LAZY | RTLD_LOCAL);
        if (!library)
            return;
        auto create = reinterpret_cast<Create>(dlsym(library, "ca_context_create"));
        auto changeProps = reinterpret_cast<ChangeProps>(dlsym(library, "ca_context_change_props"));
        play = reinterpret_cast<Play>(dlsym(library, "ca_context_play"));
        if (!create || !changeProps || !play || create(&context) != CA_SUCCESS) {
            context = nullptr;
            return;
        }
        changeProps(context, CA_PROP_APPLICATION_NAME, "ホシフルツルギ２", CA_PROP_APPLICATION_ID,
                    "io.github.hoshifuru2", nullptr);
    }
};

} // namespace

bool playAlertSound() {
    static const Canberra canberra;
    if (!canberra.context)
        return false;
    return canberra.play(canberra.context, 0, CA_PROP_EVENT_ID, "bell", CA_PROP_EVENT_DESCRIPTION,
                         "alert", nullptr) == CA_SUCCESS;
}
