#pragma once

#include <QString>

// Sections and keys of the settings file, spelled as files already on disk spell them.
namespace Ini {
inline const QString FormPosition = QStringLiteral("FormPosition");
inline const QString Top = QStringLiteral("Top");
inline const QString Left = QStringLiteral("Left");

inline const QString General = QStringLiteral("General");
inline const QString File = QStringLiteral("File");
inline const QString URL = QStringLiteral("URL");
inline const QString Index = QStringLiteral("Index");
// Our own section: the exact text of a General value that code page 932 cannot hold, under the
// same key. Programs that know only the sections above pass it by.
inline const QString ExactText = QStringLiteral("Scribo.UTF8");

inline const QString Record = QStringLiteral("Record");
inline const QString Position = QStringLiteral("Position");

inline const QString Play = QStringLiteral("Play");
inline const QString AutoBackSpace = QStringLiteral("AutoBackSpace");
inline const QString RepeatTime = QStringLiteral("RepeatTime");
inline const QString Speed = QStringLiteral("Speed");
inline const QString ActualTime = QStringLiteral("ActualTime");
inline const QString Volume = QStringLiteral("Volume");
inline const QString ActualSpeed = QStringLiteral("ActualSpeed");

inline const QString Pedal = QStringLiteral("Pedal");
inline const QString Center = QStringLiteral("Center");
inline const QString PedalLeft = QStringLiteral("Left");
inline const QString Right = QStringLiteral("Right");
inline const QString FWDPitch = QStringLiteral("FWDPitch");
inline const QString REWPitch = QStringLiteral("REWPitch");
inline const QString PedalMode = QStringLiteral("PedalMode");

inline const QString Menu = QStringLiteral("Menu");
inline const QString AddClipboard = QStringLiteral("AddClipboard");
inline const QString DontUseCapsLockkey = QStringLiteral("DontUseCapsLockkey");
inline const QString DontUseCtrlSpacekey = QStringLiteral("DontUseCtrlSpacekey");
inline const QString SettingPanel = QStringLiteral("SettingPanel");
inline const QString DontUseUseFooptPeadl = QStringLiteral("DontUseUseFooptPeadl");
inline const QString DontUseBackSpace = QStringLiteral("DontUseBackSpace");
inline const QString DontUseInsert = QStringLiteral("DontUseInsert");
inline const QString DontUseConvert = QStringLiteral("DontUseConvert");
inline const QString DontUsePrintScr = QStringLiteral("DontUsePrintScr");
inline const QString DontUseBackSlash = QStringLiteral("DontUseBackSlash");
inline const QString DontUseAltPrintableKey = QStringLiteral("DontUseAltPrintableKey");
inline const QString DontUseRightSQBKT = QStringLiteral("DontUseRightSQBKT");
inline const QString DontUseF1 = QStringLiteral("DontUseF1");
inline const QString DontUseF2 = QStringLiteral("DontUseF2");
inline const QString ProtectItem = QStringLiteral("ProtectItem");
inline const QString DontChangeSpeedVolume = QStringLiteral("DontChangeSpeedVolume");
}  // namespace Ini
