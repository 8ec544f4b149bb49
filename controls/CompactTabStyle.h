#pragma once

#include <QProxyStyle>

// The application's style with narrower padding around tab captions, so the
// five rule pages' tabs fit side by side in the fixed window.
class CompactTabStyle : public QProxyStyle {
    Q_OBJECT
public:
    explicit CompactTabStyle(QObject* owner);

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
};
