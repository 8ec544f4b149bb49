#include "icons/Icons.h"

#include <QString>

// The images live in a static library, whose resource registration the
// linker would drop unless something refers to it.
static void registerIconResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(icons);
        return true;
    }();
    (void)registered;
}

namespace {

QIcon svgIcon(const char* fileName)
{
    registerIconResources();
    return QIcon(QStringLiteral(":/icons/") + QLatin1StringView(fileName));
}

} // namespace

QIcon buttonIcon(ButtonImage image)
{
    switch (image) {
    case ButtonImage::AddFiles:
        return svgIcon("add-files.svg");
    case ButtonImage::Reset:
        return svgIcon("reset.svg");
    case ButtonImage::ClearList:
        return svgIcon("clear-list.svg");
    case ButtonImage::ApplyRename:
        return svgIcon("apply-rename.svg");
    case ButtonImage::Exit:
        return svgIcon("exit.svg");
    case ButtonImage::ApplyChange:
        return svgIcon("apply-change.svg");
    }
    return {};
}

QIcon applicationIcon()
{
    return svgIcon("application.svg");
}
