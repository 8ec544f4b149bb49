#include "platform/WaylandDecorations.h"

#include <QByteArray>
#include <QtGlobal>

#ifdef TOLVEX_HAVE_WAYLAND
#include <wayland-client.h>

#include <cstring>

namespace {

void announced(void* data, wl_registry*, uint32_t, const char* interface, uint32_t)
{
    if (std::strcmp(interface, "zxdg_decoration_manager_v1") == 0)
        *static_cast<bool*>(data) = true;
}

void removed(void*, wl_registry*, uint32_t) {}

const wl_registry_listener registryListener = {announced, removed};

// Whether the compositor of WAYLAND_DISPLAY offers to draw title bars.
bool compositorDrawsDecorations()
{
    wl_display* display = wl_display_connect(nullptr);
    if (!display)
        return false;
    bool offered = false;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, &offered);
    wl_display_roundtrip(display);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return offered;
}

} // namespace
#endif

void leaveDecorationsToCompositor()
{
#ifdef TOLVEX_HAVE_WAYLAND
    static const char* const variable = "QT_WAYLAND_DISABLE_WINDOWDECORATION";
    if (qEnvironmentVariableIsSet(variable) || qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return;
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith("wayland"))
        return;
    if (compositorDrawsDecorations())
        qputenv(variable, "1");
#endif
}
