#include <QAction>

#include "app/main_form.h"

void TAMainForm::ClearIndex() {
    for (int n = 1; n <= kIndexEntries; ++n) {
        indexTimes_[n] = 0;
        indexComments_[n].clear();
        sbSetIndex[n]->setText(IndexEntryLabel(n));
        srSetIndex[n]->setText(IndexEntryLabel(n));
    }
    indexChanged_ = false;
}
