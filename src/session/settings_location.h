#pragma once

#include <QString>

// The name of the first entry of the folder, in name order, that is called prefix + anything +
// ".inf" and is not a folder itself; empty when there is none. Names are matched without regard
// to case, as the file systems of the system's origins do.
QString FindSettingsFile(const QString& folder, const QString& prefix);

// Why the file found cannot serve as the settings file, or empty when it can: only a regular file
// that can be read and is not larger than kSmallFileLimit is one (a FIFO would block the close
// for ever, a device read gigabytes, and a file read as empty would then be overwritten).
QString SettingsFileProblem(const QString& path);

// Removes what an interrupted write of the settings file left beside it: the temporary files
// of replaceFile() (".Scribo.inf.scribo-" and six letters or digits) and nothing named like
// them, only those older than a minute, so that a write of a second Scribo under way is left
// alone.
void RemoveInterruptedWrites(const QString& settingsPath);

// The default settings, built into the program.
inline constexpr auto kDefaultSettingsResource = ":/scribo/Scribo.inf";

// Whether the program in programFolder runs installed: from the folder it was built to be
// installed to, or from an install tree put elsewhere (its desktop entry then lies at the same
// place relative to it).
bool IsInstalledProgram(const QString& programFolder, const QString& installBinFolder,
                        const QString& entryFromBinFolder);

// The per-user settings folder of an installed Scribo, with a trailing separator:
// $XDG_CONFIG_HOME/scribo/, by default ~/.config/scribo/.
QString UserSettingsFolder();

// Where start-up looks for the settings file. A settings file beside the program keeps it
// portable; otherwise an installed program uses the user folder, where the default file is put
// when it holds none; otherwise it is the program folder again, where start-up then refuses.
// error is set (folder empty) when the default file cannot be put in place.
struct SettingsHome {
    QString folder;  // with a trailing separator
    QString error;
};
SettingsHome ChooseSettingsHome(
    const QString& programFolder, const QString& prefix, bool installed, const QString& userFolder,
    const QString& defaultsPath = QString::fromLatin1(kDefaultSettingsResource));
