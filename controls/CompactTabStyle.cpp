#include "controls/CompactTabStyle.h"

#include <QApplication>
#include <QStyleFactory>

CompactTabStyle::CompactTabStyle(QObject* owner)
    : QProxyStyle(QStyleFactory::create(QApplication::style()->name()))
{
    setParent(owner);
}

int CompactTabStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    if (metric == PM_TabBarTabHSpace)
        return 12;
    return QProxyStyle::pixelMetric(metric, option, widget);
}
