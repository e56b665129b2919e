// The sound is named by its file, found in the theme here, not by its event
// name: libcanberra looks event names up through a cache file it writes in
// the player's home, and the game writes no files.
//
// ALSA, one of the ways libcanberra plays, reports every failure on standard
// error, a machine without a sound card included (eight lines a beep); its
// reports are silenced before libcanberra first opens a device.
#include "alert_sound.h"

#include <QByteArray>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <canberra.h>
#include <dlfcn.h>

namespace {

// The name sound mixers list the game's sounds under.
QByteArray &sourceName() {
    static QByteArray name = "ホシフルツルギ２";
    return name;
}

void quietAlsa(const char *, int, const char *, int, const char *, ...) {}

// Gives ALSA, where it is installed, an error handler that says nothing. The
// library stays loaded, so libcanberra's ALSA back end uses the same one.
void silenceAlsa() {
    void *alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_LOCAL);
    if (!alsa)
        return;
    using ErrorHandler = void (*)(const char *, int, const char *, int, const char *, ...);
    using SetErrorHandler = int (*)(ErrorHandler);
    if (auto set = reinterpret_cast<SetErrorHandler>(dlsym(alsa, "snd_lib_error_set_handler")))
        set(quietAlsa);
}

struct Canberra {
    using Create = int (*)(ca_context **);
    using ChangeProps = int (*)(ca_context *, ...);
    using Play = int (*)(ca_context *, uint32_t, ...);
    using Open = int (*)(ca_context *);

    ca_context *context = nullptr;
    Play play = nullptr;
    Open open = nullptr;
    QByteArray bell = bellFile();

    // The theme's bell, from the desktop's data folders.
    static QByteArray bellFile() {
        for (const char *name : {"bell.oga", "bell.ogg", "bell.wav"}) {
            const QString path = QStandardPaths::locate(
                QStandardPaths::GenericDataLocation,
                QStringLiteral("sounds/freedesktop/stereo/") + QLatin1String(name));
            if (!path.isEmpty())
                return path.toLocal8Bit();
        }
        return {};
    }

    Canberra() {
        if (bell.isEmpty())
            return;
        silenceAlsa();
        void *library = dlopen("libcanberra.so.0", RTLD_LAZY | RTLD_LOCAL);
        if (!library)
            return;
        auto create = reinterpret_cast<Create>(dlsym(library, "ca_context_create"));
        auto changeProps = reinterpret_cast<ChangeProps>(dlsym(library, "ca_context_change_props"));
        play = reinterpret_cast<Play>(dlsym(library, "ca_context_play"));
        open = reinterpret_cast<Open>(dlsym(library, "ca_context_open"));
        if (!create || !changeProps || !play || create(&context) != CA_SUCCESS) {
            context = nullptr;
            return;
        }
        changeProps(context, CA_PROP_APPLICATION_NAME, sourceName().constData(),
                    CA_PROP_APPLICATION_ID, "io.github.hoshifuru2", nullptr);
    }
};

const Canberra &canberra() {
    static const Canberra instance;
    return instance;
}

} // namespace

namespace platform {

bool playAlertSound() {
    const Canberra &canberra = ::canberra();
    if (!canberra.context)
        return false;
    return canberra.play(canberra.context, 0, CA_PROP_MEDIA_FILENAME, canberra.bell.constData(),
                         CA_PROP_EVENT_DESCRIPTION, "alert", nullptr) == CA_SUCCESS;
}

void prepareAlertSound() {
    const Canberra &canberra = ::canberra();
    if (canberra.context && canberra.open)
        canberra.open(canberra.context);
}

void nameAlertSoundSource(const QString &name) {
    sourceName() = name.toUtf8();
}

} // namespace platform
