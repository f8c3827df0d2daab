#include <QAction>

#include "app/main_form.h"

void TAMainForm::ClearIndex() {
    for (int n = 1; n <= kIndexEntries; ++n) {
        IndexTime[n] = 0;
        IndexComment[n].clear();
        sbSetIndex[n]->setText(IndexEntryLabel(n));
        srSetIndex[n]->setText(IndexEntryLabel(n));
    }
    IndexChanged = false;
}
