#pragma once

#include <QProxyStyle>

// The desktop's style with the keyboard focus always in sight. A picture
// button's face covers the style's own focus frame and a list shows none, so
// a focused button, list or multi-line field gets a frame in the highlight
// colour; the style's other focus frames show however the focus came.
class FocusMarkStyle : public QProxyStyle {
    Q_OBJECT
public:
    explicit FocusMarkStyle(const QString& baseStyleName);

    using QProxyStyle::polish;
    using QProxyStyle::unpolish;
    void polish(QWidget* widget) override;
    void unpolish(QWidget* widget) override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget = nullptr) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
