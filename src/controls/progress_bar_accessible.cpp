#include "controls/progress_bar_accessible.h"

#include <QAccessible>

#include "controls/progress_bar.h"

namespace {

QAccessibleInterface* createInterface(const QString& className, QObject* object) {
    if (className != QLatin1String("ProgressBar")) return nullptr;
    auto* bar = qobject_cast<ProgressBar*>(object);
    return bar ? new ProgressBarAccessible(bar) : nullptr;
}

}  // namespace

ProgressBarAccessible::ProgressBarAccessible(ProgressBar* bar)
    : QAccessibleWidget(bar, QAccessible::ProgressBar) {}

ProgressBar* ProgressBarAccessible::bar() const {
    return static_cast<ProgressBar*>(widget());
}

QString ProgressBarAccessible::text(QAccessible::Text t) const {
    switch (t) {
        case QAccessible::Name: {
            const QString name = QAccessibleWidget::text(t);
            return name.isEmpty() ? bar()->text() : name;
        }
        case QAccessible::Value:
            return bar()->text();
        case QAccessible::Description: {
            const QString description = QAccessibleWidget::text(t);
            return description.isEmpty() ? bar()->text() : description;
        }
        default:
            return QAccessibleWidget::text(t);
    }
}

QAccessible::State ProgressBarAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    s.readOnly = true;
    return s;
}

void* ProgressBarAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

QVariant ProgressBarAccessible::currentValue() const {
    return bar()->position();
}

void ProgressBarAccessible::setCurrentValue(const QVariant& /*value*/) {}

QVariant ProgressBarAccessible::maximumValue() const {
    return bar()->maximum();
}

QVariant ProgressBarAccessible::minimumValue() const {
    return bar()->minimum();
}

QVariant ProgressBarAccessible::minimumStepSize() const {
    return 1;
}

void ProgressBarAccessible::installFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(&createInterface);
        return true;
    }();
    Q_UNUSED(installed);
}
