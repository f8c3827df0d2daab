#pragma once

#include <QString>

// The system clipboard as plain text: index notes, the time code pasted into the document and
// the time code jumped to come through it. Each call reads or writes the clipboard afresh.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual QString text() const = 0;
    virtual void setText(const QString& text) = 0;
    virtual void clear() = 0;
};
