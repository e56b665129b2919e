// The alert sound: the freedesktop sound theme's "bell" event, played through
// libcanberra without waiting. The context is opened on the first beep only.
#include "services.h"

#include <canberra.h>

bool playAlertSound() {
    static ca_context *context = [] {
        ca_context *made = nullptr;
        if (ca_context_create(&made) != CA_SUCCESS)
            return static_cast<ca_context *>(nullptr);
        ca_context_change_props(made, CA_PROP_APPLICATION_NAME, "ホシフルツルギ２",
                                CA_PROP_APPLICATION_ID, "io.github.hoshifuru2", nullptr);
        return made;
    }();
    if (!context)
        return false;
    return ca_context_play(context, 0, CA_PROP_EVENT_ID, "bell", CA_PROP_EVENT_DESCRIPTION, "alert",
                           nullptr) == CA_SUCCESS;
}
