#include "web/address_box.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QStyle>

#include "web/web_address.h"

AddressBox::AddressBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // One character over the limit: a longer text pasted into the box is then refused as too
    // long, not cut silently to an address that looks whole.
    lineEdit()->setMaxLength(web::kMaxAddressLength + 1);
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
