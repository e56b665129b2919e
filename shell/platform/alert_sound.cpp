// The sound is named by its file, found in the theme here, not by its event
// name: libcanberra looks event names up through a cache file it writes in
// the player's home, and the game writes no files.
//
// Opening a sound server's connection waits for the server: a server whose
// socket accepts and never answers held the game's window about 30 s at
// the first beep. So every call into libcanberra happens on the sound's own
// thread; the game's thread only hands it a request.
//
// libcanberra tries PulseAudio first, and the PulseAudio client makes its
// folder in XDG_RUNTIME_DIR even when no server is there to talk to. Where
// no server's socket is to be found, the sound goes straight to ALSA, and
// the game writes nothing.
//
// ALSA reports every failure on standard error, a machine without a sound
// card included (eight lines a beep); its reports are silenced before
// libcanberra first opens a device.
#include "alert_sound.h"

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QStandardPaths>
#include <QString>
#include <canberra.h>
#include <chrono>
#include <condition_variable>
#include <dlfcn.h>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// How long a beep may wait for the sound thread before it is dropped.
constexpr auto latestBeep = std::chrono::seconds(1);

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

bool isSocket(const QByteArray &path) {
    struct stat status;
    return !path.isEmpty() && stat(path.constData(), &status) == 0 && S_ISSOCK(status.st_mode);
}

// Whether a PulseAudio (or PipeWire's PulseAudio) server can be asked: one
// named in the environment, or the socket a session's server listens on.
bool soundServerPresent() {
    if (!qEnvironmentVariableIsEmpty("PULSE_SERVER"))
        return true;
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    return (!runtime.isEmpty() && isSocket(runtime + "/pulse/native")) ||
           isSocket("/run/pulse/native");
}

// The theme's bell, from the desktop's data folders.
QByteArray bellFile() {
    for (const char *name : {"bell.oga", "bell.ogg", "bell.wav"}) {
        const QString path = QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                                    QStringLiteral("sounds/freedesktop/stereo/") +
                                                        QLatin1String(name));
        if (!path.isEmpty())
            return QFile::encodeName(path);
    }
    return {};
}

// libcanberra, loaded and used on the sound thread only.
class Canberra {
public:
    Canberra(const QByteArray &bell, const QByteArray &sourceName, bool server) : m_bell(bell) {
        if (m_bell.isEmpty())
            return;
        silenceAlsa();
        void *library = dlopen("libcanberra.so.0", RTLD_LAZY | RTLD_LOCAL);
        if (!library)
            return;
        using Create = int (*)(ca_context **);
        using ChangeProps = int (*)(ca_context *, ...);
        using SetDriver = int (*)(ca_context *, const char *);
        auto create = reinterpret_cast<Create>(dlsym(library, "ca_context_create"));
        auto changeProps = reinterpret_cast<ChangeProps>(dlsym(library, "ca_context_change_props"));
        auto setDriver = reinterpret_cast<SetDriver>(dlsym(library, "ca_context_set_driver"));
        m_play = reinterpret_cast<Play>(dlsym(library, "ca_context_play"));
        if (!create || !changeProps || !setDriver || !m_play || create(&m_context) != CA_SUCCESS) {
            m_context = nullptr;
            return;
        }
        if (!server)
            setDriver(m_context, "alsa");
        changeProps(m_context, CA_PROP_APPLICATION_NAME, sourceName.constData(),
                    CA_PROP_APPLICATION_ID, "io.github.hoshifuru2", nullptr);
    }

    bool play() const {
        return m_context && m_play(m_context, 0, CA_PROP_MEDIA_FILENAME, m_bell.constData(),
                                   CA_PROP_EVENT_DESCRIPTION, "alert", nullptr) == CA_SUCCESS;
    }

private:
    using Play = int (*)(ca_context *, uint32_t, ...);
    QByteArray m_bell;
    ca_context *m_context = nullptr;
    Play m_play = nullptr;
};

// The sound's thread and its one pending request. It is started by the first
// beep and never joined: it may be waiting on a sound server when the game
// ends, and the game does not wait for it. Everything it uses lives until
// the process ends.
class SoundThread {
public:
    static SoundThread &instance() {
        static SoundThread *thread = new SoundThread; // never destroyed, see above
        return *thread;
    }

    void setSourceName(const QByteArray &name) {
        std::lock_guard lock(m_mutex);
        m_sourceName = name;
    }

    void ask() {
        {
            std::lock_guard lock(m_mutex);
            if (!m_running) {
                m_running = true;
                // Read here, on the game's thread: the environment and Qt's
                // data folders are not for another thread to read.
                std::thread(&SoundThread::run, this, bellFile(), m_sourceName, soundServerPresent())
                    .detach();
            }
            // Beeps asked for while one waits merge into it.
            if (!m_asked)
                m_asked = Clock::now();
        }
        m_wake.notify_one();
    }

    // The display's bell, rung on the application's thread while there is
    // an application.
    static void ringBell() {
        Bell &bell = Bell::instance();
        std::lock_guard lock(bell.mutex);
        if (!bell.applicationGone)
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [] { QApplication::beep(); }, Qt::QueuedConnection);
    }

    // Called as the application is destroyed: no bell is asked of it after.
    static void applicationGone() {
        Bell &bell = Bell::instance();
        std::lock_guard lock(bell.mutex);
        bell.applicationGone = true;
    }

private:
    struct Bell {
        static Bell &instance() {
            static Bell *bell = new Bell; // the sound thread may outlive static destruction
            return *bell;
        }
        std::mutex mutex;
        bool applicationGone = false;
    };

    void run(QByteArray bell, QByteArray sourceName, bool server) {
        const Canberra canberra(bell, sourceName, server);
        for (;;) {
            Clock::time_point asked;
            {
                std::unique_lock lock(m_mutex);
                m_wake.wait(lock, [this] { return m_asked.has_value(); });
                asked = *m_asked;
                m_asked.reset();
            }
            if (Clock::now() - asked > latestBeep)
                continue;
            if (!canberra.play() && Clock::now() - asked <= latestBeep)
                ringBell();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::optional<Clock::time_point> m_asked;
    bool m_running = false;
    QByteArray m_sourceName = "ホシフルツルギ２";
};

} // namespace

namespace platform {

void playAlertSound() {
    static const bool watched = [] {
        qAddPostRoutine(&SoundThread::applicationGone);
        return true;
    }();
    Q_UNUSED(watched);
    SoundThread::instance().ask();
}

void nameAlertSoundSource(const QString &name) {
    SoundThread::instance().setSourceName(name.toUtf8());
}

} // namespace platform
