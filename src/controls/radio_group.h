#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;

// A captioned group of radio buttons with one selected item (or none, -1). Selecting an item,
// by a click, the keyboard, an accessibility action or from code, raises clicked() once when the
// item changes, so that code which sets an item runs the same handler as the user's click.
class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString& caption, const QStringList& items, int columns = 1,
               QWidget* parent = nullptr);

    int itemIndex() const { return itemIndex_; }
    // Beyond the last item selects the last; a negative value selects none.
    void setItemIndex(int index);
    int count() const;
    QString itemText(int index) const;

Q_SIGNALS:
    void clicked();

private:
    QButtonGroup* buttons_;
    int itemIndex_ = -1;
};
