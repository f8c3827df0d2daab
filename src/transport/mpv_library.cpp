#include "transport/mpv_library.h"

#include <dlfcn.h>
#include <mpv/client.h>

#include <QFile>
#include <type_traits>

// The soname that goes with the client API this is compiled against.
static_assert(MPV_CLIENT_API_VERSION >> 16 == 2, "libmpv.so.2 serves client API 2.x");

namespace {
constexpr char kDefaultLibrary[] = "libmpv.so.2";

struct Api {
    decltype(&mpv_error_string) errorString = nullptr;
    decltype(&mpv_create) create = nullptr;
    decltype(&mpv_set_option_string) setOptionString = nullptr;
    decltype(&mpv_initialize) initialize = nullptr;
    decltype(&mpv_request_log_messages) requestLogMessages = nullptr;
    decltype(&mpv_observe_property) observeProperty = nullptr;
    decltype(&mpv_terminate_destroy) terminateDestroy = nullptr;
    decltype(&mpv_set_wakeup_callback) setWakeupCallback = nullptr;
    decltype(&mpv_command) command = nullptr;
    decltype(&mpv_command_ret) commandRet = nullptr;
    decltype(&mpv_free_node_contents) freeNodeContents = nullptr;
    decltype(&mpv_wait_event) waitEvent = nullptr;
    decltype(&mpv_event_name) eventName = nullptr;
    decltype(&mpv_set_property) setProperty = nullptr;
    decltype(&mpv_set_property_string) setPropertyString = nullptr;
    decltype(&mpv_get_property) getProperty = nullptr;
    decltype(&mpv_create_client) createClient = nullptr;
    decltype(&mpv_destroy) destroy = nullptr;
};

// Written once, by load(), before any forwarder can run.
Api api;

QString open() {
    const QString name = MpvLibrary::configuredName();
    const auto failure = [&name](const QString& why) {
        return QStringLiteral(
                   "Cannot start the media player: the mpv library \"%1\" could not be loaded "
                   "(%2). On Debian it comes with the package libmpv2.")
            .arg(name, why);
    };
    dlerror();
    // Never closed: mpv's threads and the libraries it pulls in live as long as the process.
    // Local, so that nothing loaded later binds to mpv's symbols by accident.
    void* handle = dlopen(QFile::encodeName(name).constData(), RTLD_LAZY | RTLD_LOCAL);
    if (!handle) return failure(QString::fromLocal8Bit(dlerror()));

    Api loaded;
    const char* missing = nullptr;
    const auto need = [&](const char* symbol, auto& function) {
        if (missing) return;
        function =
            reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(handle, symbol));
        if (!function) missing = symbol;
    };
    need("mpv_error_string", loaded.errorString);
    need("mpv_create", loaded.create);
    need("mpv_set_option_string", loaded.setOptionString);
    need("mpv_initialize", loaded.initialize);
    need("mpv_request_log_messages", loaded.requestLogMessages);
    need("mpv_observe_property", loaded.observeProperty);
    need("mpv_terminate_destroy", loaded.terminateDestroy);
    need("mpv_set_wakeup_callback", loaded.setWakeupCallback);
    need("mpv_command", loaded.command);
    need("mpv_command_ret", loaded.commandRet);
    need("mpv_free_node_contents", loaded.freeNodeContents);
    need("mpv_wait_event", loaded.waitEvent);
    need("mpv_event_name", loaded.eventName);
    need("mpv_set_property", loaded.setProperty);
    need("mpv_set_property_string", loaded.setPropertyString);
    need("mpv_get_property", loaded.getProperty);
    need("mpv_create_client", loaded.createClient);
    need("mpv_destroy", loaded.destroy);
    if (missing) {
        // Left mapped, unused: the libraries it pulled in may have started threads.
        return failure(QStringLiteral("it has no function %1").arg(QLatin1String(missing)));
    }
    api = loaded;
    return QString();
}
}  // namespace

namespace MpvLibrary {
QString configuredName() {
    const QString configured = qEnvironmentVariable("SCRIBO_MPV_LIBRARY");
    return configured.isEmpty() ? QLatin1String(kDefaultLibrary) : configured;
}

QString load() {
    static const QString error = open();
    return error;
}
}  // namespace MpvLibrary

// The forwarders. The executable does not export them (it is not linked with
// --export-dynamic), so libmpv's calls to its own functions still bind inside libmpv.
const char* mpv_error_string(int error) {
    return api.errorString(error);
}
mpv_handle* mpv_create() {
    return api.create();
}
int mpv_set_option_string(mpv_handle* ctx, const char* name, const char* data) {
    return api.setOptionString(ctx, name, data);
}
int mpv_initialize(mpv_handle* ctx) {
    return api.initialize(ctx);
}
int mpv_request_log_messages(mpv_handle* ctx, const char* minLevel) {
    return api.requestLogMessages(ctx, minLevel);
}
int mpv_observe_property(mpv_handle* mpv, uint64_t replyUserdata, const char* name,
                         mpv_format format) {
    return api.observeProperty(mpv, replyUserdata, name, format);
}
void mpv_terminate_destroy(mpv_handle* ctx) {
    api.terminateDestroy(ctx);
}
void mpv_set_wakeup_callback(mpv_handle* ctx, void (*cb)(void* d), void* d) {
    api.setWakeupCallback(ctx, cb, d);
}
int mpv_command(mpv_handle* ctx, const char** args) {
    return api.command(ctx, args);
}
int mpv_command_ret(mpv_handle* ctx, const char** args, mpv_node* result) {
    return api.commandRet(ctx, args, result);
}
void mpv_free_node_contents(mpv_node* node) {
    api.freeNodeContents(node);
}
mpv_event* mpv_wait_event(mpv_handle* ctx, double timeout) {
    return api.waitEvent(ctx, timeout);
}
const char* mpv_event_name(mpv_event_id event) {
    return api.eventName(event);
}
int mpv_set_property(mpv_handle* ctx, const char* name, mpv_format format, void* data) {
    return api.setProperty(ctx, name, format, data);
}
int mpv_set_property_string(mpv_handle* ctx, const char* name, const char* data) {
    return api.setPropertyString(ctx, name, data);
}
int mpv_get_property(mpv_handle* ctx, const char* name, mpv_format format, void* data) {
    return api.getProperty(ctx, name, format, data);
}
mpv_handle* mpv_create_client(mpv_handle* ctx, const char* name) {
    return api.createClient(ctx, name);
}
void mpv_destroy(mpv_handle* ctx) {
    api.destroy(ctx);
}
