#pragma once

#include <QString>

// Sections and keys of the settings file. The names say what each holds; the strings are spelled
// as files already on disk spell them.
namespace Ini {
inline const QString WindowPosition = QStringLiteral("FormPosition");
inline const QString WindowTop = QStringLiteral("Top");
inline const QString WindowLeft = QStringLiteral("Left");

inline const QString General = QStringLiteral("General");
inline const QString MediaFile = QStringLiteral("File");
inline const QString WebAddress = QStringLiteral("URL");
inline const QString IndexFile = QStringLiteral("Index");
// Our own section: the exact text of a value that code page 932 cannot hold (a General value
// here, a note in an index file), under the same key. Programs that know only the system's
// sections pass it by.
inline const QString ExactText = QStringLiteral("Scribo.UTF8");

inline const QString Record = QStringLiteral("Record");
inline const QString SavedPosition = QStringLiteral("Position");

inline const QString Play = QStringLiteral("Play");
inline const QString AutoRewind = QStringLiteral("AutoBackSpace");
inline const QString RepeatInterval = QStringLiteral("RepeatTime");
inline const QString SpeedChoice = QStringLiteral("Speed");
inline const QString PickedTime = QStringLiteral("ActualTime");
inline const QString Volume = QStringLiteral("Volume");
inline const QString ChosenSpeed = QStringLiteral("ActualSpeed");

inline const QString Pedal = QStringLiteral("Pedal");
inline const QString CentrePedal = QStringLiteral("Center");
inline const QString LeftPedal = QStringLiteral("Left");
inline const QString RightPedal = QStringLiteral("Right");
inline const QString ForwardStep = QStringLiteral("FWDPitch");
inline const QString RewindStep = QStringLiteral("REWPitch");
inline const QString PedalMode = QStringLiteral("PedalMode");

inline const QString Menu = QStringLiteral("Menu");
inline const QString AddClipboardNote = QStringLiteral("AddClipboard");
inline const QString IgnoreCapsLock = QStringLiteral("DontUseCapsLockkey");
inline const QString IgnoreCtrlSpace = QStringLiteral("DontUseCtrlSpacekey");
inline const QString KeepPanelOpen = QStringLiteral("SettingPanel");
inline const QString IgnorePedal = QStringLiteral("DontUseUseFooptPeadl");
inline const QString IgnoreBackspace = QStringLiteral("DontUseBackSpace");
inline const QString IgnoreInsert = QStringLiteral("DontUseInsert");
inline const QString IgnoreConvertKeys = QStringLiteral("DontUseConvert");
inline const QString IgnorePrintScreen = QStringLiteral("DontUsePrintScr");
inline const QString IgnoreBackslash = QStringLiteral("DontUseBackSlash");
inline const QString IgnoreAltCharacter = QStringLiteral("DontUseAltPrintableKey");
inline const QString IgnoreBracketKey = QStringLiteral("DontUseRightSQBKT");
inline const QString IgnoreF1 = QStringLiteral("DontUseF1");
inline const QString IgnoreF2 = QStringLiteral("DontUseF2");
inline const QString ProtectEntries = QStringLiteral("ProtectItem");
inline const QString TwoPedalsKeepSpeedAndVolume = QStringLiteral("DontChangeSpeedVolume");
}  // namespace Ini
