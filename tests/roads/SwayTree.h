#pragma once

// Where sway shows a window of this process: a Wayland client is never told
// where its windows are, the compositor's tree says it.
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRect>

#include <optional>

namespace sway {

struct Window {
    QRect content; // on the output, without sway's title bar and border
    bool floating = false;
};

inline std::optional<Window> find(const QJsonObject& node, qint64 pid)
{
    if (node.value(QLatin1String("pid")).toInteger() == pid) {
        const QJsonObject outer = node.value(QLatin1String("rect")).toObject();
        const QJsonObject inner = node.value(QLatin1String("window_rect")).toObject();
        const auto at = [](const QJsonObject& rect, const char* key) { return rect.value(QLatin1String(key)).toInt(); };
        return Window {QRect(at(outer, "x") + at(inner, "x"), at(outer, "y") + at(inner, "y"), at(inner, "width"),
                             at(inner, "height")),
                       node.value(QLatin1String("type")).toString() == QLatin1String("floating_con")};
    }
    for (const char* children : {"nodes", "floating_nodes"})
        for (const QJsonValue child : node.value(QLatin1String(children)).toArray())
            if (auto window = find(child.toObject(), pid))
                return window;
    return std::nullopt;
}

// The window of this process as `swaymsg -t get_tree` tells it; none when
// sway shows no window of ours.
inline std::optional<Window> ourWindow()
{
    QProcess swaymsg;
    swaymsg.start(QStringLiteral("swaymsg"), {QStringLiteral("-t"), QStringLiteral("get_tree")});
    if (!swaymsg.waitForFinished(10000) || swaymsg.exitCode() != 0)
        return std::nullopt;
    return find(QJsonDocument::fromJson(swaymsg.readAllStandardOutput()).object(), QCoreApplication::applicationPid());
}

} // namespace sway
