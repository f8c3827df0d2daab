#include "keyboard/hotkey_help.h"

#include <QMap>
#include <QStringList>

#include "keyboard/hotkey_table.h"
#include "keyboard/key_symbols.h"

QString describeCommand(HotkeyCommand command) {
    switch (command) {
        case HotkeyCommand::PlayPause:
            return QStringLiteral("再生／一時停止（止めるときは設定した秒数だけ巻き戻します）");
        case HotkeyCommand::VolumeUp:
            return QStringLiteral("音量を 1 上げる（100 の次は 5）");
        case HotkeyCommand::VolumeDown:
            return QStringLiteral("音量を 1 下げる（5 の次は 100）");
        case HotkeyCommand::SpeedUp:
            return QStringLiteral("再生速度を 0.1 上げる（2.0 の次は 0.5）");
        case HotkeyCommand::SpeedDown:
            return QStringLiteral("再生速度を 0.1 下げる（0.4 の次は 2.0）");
        case HotkeyCommand::WideSpeedUp:
            return QStringLiteral("再生速度を 0.1 上げる（3.0 の次は 0.5、表示は変わりません）");
        case HotkeyCommand::WideSpeedDown:
            return QStringLiteral("再生速度を 0.1 下げる（0.4 の次は 3.0、表示は変わりません）");
        case HotkeyCommand::ToggleSpeed:
            return QStringLiteral("標準の速度（1.0）と設定した速度を切り換える");
        case HotkeyCommand::SetRepeatPosition:
            return QStringLiteral("今の位置を繰り返し再生の開始位置にする");
        case HotkeyCommand::PlayFromRepeatPosition:
            return QStringLiteral("繰り返し再生の開始位置から再生する");
        case HotkeyCommand::StartContinuousRewind:
            return QStringLiteral(
                "1 秒ごとに REWﾋﾟｯﾁ ずつ巻き戻し続ける（再生／一時停止で終わります）");
        case HotkeyCommand::StartContinuousForward:
            return QStringLiteral(
                "1 秒ごとに FWDﾋﾟｯﾁ ずつ早送りし続ける（再生／一時停止で終わります）");
        case HotkeyCommand::PlayFromClipboardTimeCode:
            return QStringLiteral("クリップボードのタイムコードの位置から再生する");
        case HotkeyCommand::InsertTimeCode:
            return QStringLiteral("今の位置のタイムコードを書いている文書に貼り付ける");
        case HotkeyCommand::RegisterIndexEntry:
            return QStringLiteral("今の位置をインデックスの次の空き欄に登録する");
        case HotkeyCommand::Nothing:
            return QStringLiteral("何もしません（ほかのアプリケーションにも届きません）");
        case HotkeyCommand::StopContinuousSkip:
            return QStringLiteral("巻き戻し・早送りを止める");
    }
    return {};
}

QString playbackKeysHelpText() {
    // One paragraph per command, in the order of the commands, with every key that gives it.
    QMap<HotkeyCommand, QStringList> keys;
    for (const HotkeySlot& s : HotkeyTable::slotList())
        if (s.id <= kIndividualHotkeyCount) keys[s.command] << combinationText(s);
    keys[HotkeyCommand::PlayPause] << QStringLiteral("Alt + 文字キー（A～Z、0～9、記号）");
    QStringList lines{
        QStringLiteral("ほかのアプリケーションで文書を書きながら、次のキーで操作できます。"),
        QString()};
    for (auto it = keys.cbegin(); it != keys.cend(); ++it)
        lines << QStringLiteral("【%1】").arg(describeCommand(it.key()))
              << QStringLiteral("　") + it.value().join(QStringLiteral(" ／ ")) << QString();
    lines << QStringLiteral("※「設定」メニューで、キーの組ごとに使わないようにできます。")
          << QStringLiteral(
                 "※ほかのプログラムが先に使っているキーは働きません（設定パネルに一覧を表示します）"
                 "。");
    return lines.join(QLatin1Char('\n'));
}

QString timeCodeHelpText() {
    const QStringList lines{
        QStringLiteral("タイムコードは「時:分:秒」の形です（時は桁をそろえず、分と秒は 2 "
                       "桁、秒未満は切り捨て）。"),
        QString(),
        QStringLiteral("【Ctrl + Insert】"),
        QStringLiteral("　今の再生位置を {▼[h:mm:ss]▲} "
                       "の形でクリップボードに入れ、書いている文書に貼り付けます。"),
        QStringLiteral("　例：1 時間 2 分 3 秒のところで押すと "
                       "{▼[1:02:03]▲}。クリップボードは元に戻りません。"),
        QString(),
        QStringLiteral("【Ctrl + Print Screen】"),
        QStringLiteral("　クリップボードの文字列が [ と ] を含み、長さが 7～29 バイト（全角文字は "
                       "2 バイト）のとき、"),
        QStringLiteral("　最初の [ の後ろ（{ } があればその中）を h:mm:ss または m:ss "
                       "として読み、その位置から再生します。"),
        QStringLiteral("　▼ ▲ の印、空白、[ ] = / "
                       "は読み飛ばします。再生したあとクリップボードは空になります。"),
        QStringLiteral(
            "　0 秒や録音の長さを超える位置は無視します。読み取った文字列は音量バーに表示します。"),
        QString(),
        QStringLiteral("文書に貼り付けたタイムコードをコピーして Ctrl + Print Screen "
                       "を押すと、その位置に戻れます。"),
    };
    return lines.join(QLatin1Char('\n'));
}
