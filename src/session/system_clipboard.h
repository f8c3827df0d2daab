#pragma once

#include "core/clipboard.h"

// The desktop's clipboard (QGuiApplication::clipboard()).
class SystemClipboard : public Clipboard {
public:
    QString text() const override;
    void setText(const QString& text) override;
    void clear() override;
};
