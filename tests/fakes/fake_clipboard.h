#pragma once

#include "core/clipboard.h"

// A clipboard of the test's own, so that tests never touch the desktop's.
class FakeClipboard : public Clipboard {
public:
    QString text() const override { return content; }
    void setText(const QString& text) override {
        content = text;
        ++writes;
    }
    void clear() override {
        content.clear();
        ++clears;
    }
    QString content;
    int writes = 0;
    int clears = 0;
};
