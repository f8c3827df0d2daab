#include "controls/al_progress_bar_accessible.h"

#include <QAccessible>

#include "controls/al_progress_bar.h"

namespace {

QAccessibleInterface* createInterface(const QString& className, QObject* object) {
    if (className != QLatin1String("TALProgressBar")) return nullptr;
    auto* bar = qobject_cast<TALProgressBar*>(object);
    return bar ? new TALProgressBarAccessible(bar) : nullptr;
}

}  // namespace

TALProgressBarAccessible::TALProgressBarAccessible(TALProgressBar* bar)
    : QAccessibleWidget(bar, QAccessible::ProgressBar) {}

TALProgressBar* TALProgressBarAccessible::bar() const {
    return static_cast<TALProgressBar*>(widget());
}

QString TALProgressBarAccessible::text(QAccessible::Text t) const {
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

QAccessible::State TALProgressBarAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    s.readOnly = true;
    return s;
}

void* TALProgressBarAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

QVariant TALProgressBarAccessible::currentValue() const {
    return bar()->Position();
}

void TALProgressBarAccessible::setCurrentValue(const QVariant& /*value*/) {}

QVariant TALProgressBarAccessible::maximumValue() const {
    return bar()->Max();
}

QVariant TALProgressBarAccessible::minimumValue() const {
    return bar()->Min();
}

QVariant TALProgressBarAccessible::minimumStepSize() const {
    return 1;
}

void TALProgressBarAccessible::installFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(&createInterface);
        return true;
    }();
    Q_UNUSED(installed);
}
