#pragma once

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

class ProgressBar;

// What the bar shows, for assistive technology: a progress bar whose value is Position between
// Min and Max, and whose drawn text is its value text and description (and its name while the
// window has given it none).
class ProgressBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ProgressBarAccessible(ProgressBar* bar);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType t) override;

    QVariant currentValue() const override;
    // The bar only displays; seeking and volume go through the window's own handlers.
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

    // Registers the factory with QAccessible; later calls do nothing.
    static void installFactory();

private:
    ProgressBar* bar() const;
};
