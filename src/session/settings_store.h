#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QTime>
#include <QVariant>
#include <array>
#include <functional>
#include <initializer_list>

#include "session/settings_table.h"

// Every setting as a value, read from and written to the settings file through the one table.
// The menus and the settings panel show the values and change them through the session; the
// controllers read them here. The values the transport and the index own (the media, the volume,
// the chosen speed ...) are asked of them through the accessors they give.
class SettingsStore : public QObject {
    Q_OBJECT
public:
    explicit SettingsStore(QObject* parent = nullptr);

    QVariant value(Setting setting) const;
    bool flag(Setting setting) const { return value(setting).toBool(); }
    int item(Setting setting) const { return value(setting).toInt(); }
    QTime time(Setting setting) const { return value(setting).toTime(); }
    // Changes a value the store holds; a choice beyond its last item becomes the last, a negative
    // one none (-1). Emits changed() when the value changes.
    void set(Setting setting, const QVariant& value);
    // Where a value lives that the store does not hold: what is written, and what a read does
    // with the value read (none: the value is read and dropped).
    void attach(Setting setting, std::function<QVariant()> value,
                std::function<void(const QVariant&)> load = {});

    // ---- The file ----------------------------------------------------------------------------
    // The settings file; none until start-up has found it.
    const QString& path() const { return path_; }
    void setPath(const QString& path) { path_ = path; }
    bool fileExists() const;
    // Every row from the file, in table order; nothing when the file is not there.
    void load();
    // The full write: one replacement of the file instead of one per key (each replacement is
    // synced to disk, which adds up on a slow stick).
    void saveAll();
    // Single writes, in the given order.
    void write(std::initializer_list<Setting> settings);
    void write(Setting setting) { write({setting}); }

    // The "Menu" keys of the checked flags that keep combinations from the system-wide keys.
    QSet<QString> checkedKeySuppressions() const;

Q_SIGNALS:
    void changed(Setting setting, const QVariant& value);

private:
    struct Attached {
        std::function<QVariant()> value;
        std::function<void(const QVariant&)> load;
    };
    std::array<QVariant, kSettingCount> values_{};
    std::array<Attached, kSettingCount> attached_{};
    QString path_;
};
