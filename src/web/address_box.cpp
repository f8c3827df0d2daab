#include "web/address_box.h"

#include <QAbstractItemView>
#include <QStyle>

#include "web/web_address.h"

AddressBox::AddressBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
}

void AddressBox::showPopup() {
    QList<int> widths;
    const QFontMetrics metrics(view()->font());
    for (int i = 0; i < count(); ++i)
        widths << metrics.horizontalAdvance(itemText(i));
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    // The popup is never narrower than the box; a minimum on the list widens it beyond that.
    view()->setMinimumWidth(web::dropDownListWidth(widths, maxVisibleItems(), scrollBar));
    QComboBox::showPopup();
}
