#include "controls/radio_group.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, int columns,
                       QWidget* parent)
    : QGroupBox(caption, parent), buttons_(new QButtonGroup(this)) {
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->setSpacing(0);
    const int rows = columns > 0 ? static_cast<int>((items.size() + columns - 1) / columns) : 1;
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        buttons_->addButton(button, i);
        layout->addWidget(button, i % rows, i / rows);
    }
    // Every way a button becomes checked (a click, the keyboard, a screen reader's toggle)
    // selects its item; setItemIndex ignores the echo of its own setChecked.
    connect(buttons_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) setItemIndex(id);
    });
}

int RadioGroup::count() const {
    return static_cast<int>(buttons_->buttons().size());
}

QString RadioGroup::itemText(int index) const {
    const auto* button = buttons_->button(index);
    return button ? button->text() : QString();
}

void RadioGroup::setItemIndex(int index) {
    if (index >= count()) index = count() - 1;
    if (index < 0) index = -1;
    if (index == itemIndex_) return;
    itemIndex_ = index;
    if (index < 0) {
        // A button group that is exclusive cannot show "none" unless exclusivity is lifted.
        buttons_->setExclusive(false);
        for (auto* button : buttons_->buttons())
            button->setChecked(false);
        buttons_->setExclusive(true);
    } else {
        buttons_->button(index)->setChecked(true);
    }
    Q_EMIT clicked();
}
