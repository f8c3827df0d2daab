// The menu bar: File, index play, index settings, index registration, settings.

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/fonts.h"
#include "app/main_form.h"
#include "app/toolbar_icons.h"
#include "index/entry_book.h"

namespace {
QAction* item(QMenu* menu, const QString& caption, bool checkable = false) {
    QAction* action = menu->addAction(caption);
    action->setCheckable(checkable);
    return action;
}

QAction* note(QMenu* menu, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setEnabled(false);
    return action;
}
}  // namespace

void TAMainForm::buildMenus() {
    MainMenu1->setFont(Fonts::ui(12));

    MenuFile = MainMenu1->addMenu(QStringLiteral("ﾌｧｲﾙ"));
    MenuFileCloseWithSattings = item(MenuFile, QStringLiteral("終了する"));
    MenuFile->addSeparator();
    MenuFileOpen = item(MenuFile, QStringLiteral("音声（　動画を含むメディア ）ファイルを開く"));
    MenuFileOpen->setIcon(ToolbarIcons::openFile());
    MenuFile->addSeparator();
    MenuFileAppearThiPostion = item(MenuFile, QStringLiteral("この位置に出現させる"));
    MenuFile->addSeparator();
    MenuFileGetFilename = item(MenuFile, QStringLiteral("現在作業中の音声ファイル名を得る"));
    MenuFileGetFoldername =
        item(MenuFile, QStringLiteral("音声ファイル名の存在するフォルダーを得る"));
    MenuFile->addSeparator();
    MenuFileCloseWithoutSetting =
        item(MenuFile, QStringLiteral("インデックスの変更を保存しないで終了する"));

    MenuIndexPlayTop = MainMenu1->addMenu(QStringLiteral("ｲﾝﾃﾞｯｸｽ再生 "));
    MenuIndexSettingTop = MainMenu1->addMenu(QStringLiteral("ｲﾝﾃﾞｯｸｽ設定 "));
    MenuIndexRegisterTop = MainMenu1->addMenu(QStringLiteral("ｲﾝﾃﾞｯｸｽ登録"));
    for (int n = 1; n <= kIndexEntries; ++n) {
        sbSetIndex[n] = item(MenuIndexPlayTop, IndexBook::entryLabel(n));
        sbSetIndex[n]->setData(400 + n);
        srSetIndex[n] = item(MenuIndexRegisterTop, IndexBook::entryLabel(n));
        srSetIndex[n]->setData(500 + n);
    }
    sbSetIndex[1]->setIcon(ToolbarIcons::indexPlay());
    srSetIndex[1]->setIcon(ToolbarIcons::indexRegister());

    MenuIndexSettingsAddClipboard = item(
        MenuIndexSettingTop,
        QStringLiteral(
            "インデックスのエントリーに、タイムコードとクリップボードの” テキスト ”を付加する "),
        true);
    MenuIndexSettingsProtecIndexEntry =
        item(MenuIndexSettingTop,
             QStringLiteral(
                 "すでに登録している場合、クリックしても ” クリア ”しない【 保護モード 】にする"),
             true);
    MenuIndexSettingTop->addSeparator();
    MenuIndexSttingsSaveAsCSV = item(
        MenuIndexSettingTop,
        QStringLiteral("インデックスの内容（ h：mm：ss ）を「 CSV 」形式でファイルに書き出す"));
    MenuIndexSettingTop->addSeparator();
    MenuIndexSettingsSaveTime =
        item(MenuIndexSettingTop, QStringLiteral("現時点の再生位置とインデックスを保存する"));
    MenuIndexSettngsRestore =
        item(MenuIndexSettingTop, QStringLiteral("保存した再生位置を現時点の再生位置とする"));
    MenuIndexSettingTop->addSeparator();
    MenuIndexSttingsClearIndex = item(
        MenuIndexSettingTop, QStringLiteral("インデックスの登録内容を、すべて【 クリア 】する"));

    MenuSettings = MainMenu1->addMenu(QStringLiteral("設定"));
    MenuSettingsSave = item(MenuSettings, QString());
    MenuSettings->addSeparator();
    note(MenuSettings,
         QStringLiteral(
             "以下のアイテムをクリックしてチェックを入れると、 Scriboのホットキーから外れ、"));
    note(MenuSettings,
         QStringLiteral("   アプリケーション側の通常のショートカット／ホットキーとなる"));
    MenuSettingDontUseCapsLockkey = item(
        MenuSettings,
        QStringLiteral("「 英数（ Caps Lock ） 」キーを【 音声再生制御 】 に使用しない"), true);
    MenuSettingDontUseCtrlSpaceKey =
        item(MenuSettings,
             QStringLiteral("「 Ctrl + Space 」キーを【 音声再生制御 】 に使用しない"), true);
    MenuSettingDontUseBackSpace =
        item(MenuSettings,
             QStringLiteral("「 Ctrl/Alt + BackSpace 」キーを【 繰り返し再生制御 】 に使用しない"),
             true);
    MenuSettingDontUseInsert =
        item(MenuSettings,
             QStringLiteral("「 Ctrl + Insert  」キーを【 タイムコード挿入 】 に使用しない"), true);
    MenuSettingDontUseConvert =
        item(MenuSettings,
             QStringLiteral("「 Alt + 無変換/変換 」キーを【 巻き戻し・早送り制御 】 に使用しない"),
             true);
    MenuSettingDontUsePrintScr =
        item(MenuSettings,
             QStringLiteral("「 Print Screen  」キーを【 音声再生制御 】 に使用しない"), true);
    MenuSettingDontUseBackSlash = item(
        MenuSettings,
        QStringLiteral("「 Shift + BackSlash（　＼  ろ ） 」キーを【 音声再生制御 】 に使用しない"),
        true);
    MenuSettingDontUseAltPrintableKey =
        item(MenuSettings, QStringLiteral("「 Alt + 文字 」キーを【 音声再生制御 】 に使用しない"),
             true);
    MenuSettingDontUseRightSQBKT = item(
        MenuSettings,
        QStringLiteral("「  ゜「｛［ 」（ Enterの左の ）キーを 【 音声再生制御 】 に使用しない "),
        true);
    MenuSettingDontUseF1 =
        item(MenuSettings, QStringLiteral("「 Ｆ１ 」キーを【 音声再生制御 】 に使用しない"), true);
    MenuSettingDontUseF2 =
        item(MenuSettings, QStringLiteral("「 Ｆ２ 」キーを【 音声再生制御 】 に使用しない"), true);
    MenuSettings->addSeparator();
    MenuSettingsDontSpeadVolumeChange =
        item(MenuSettings,
             QStringLiteral("２つのペダルを同時に踏んでも、音量・再生速度を変更しない "), true);
    MenuSettingsDontSpeadVolumeChange->setChecked(true);
    MenuDontUseFootPedal =
        item(MenuSettings, QStringLiteral("接続していてもフットペダルを使用しない"), true);
    MenuSettingKeepPanel =
        item(MenuSettings, QStringLiteral("起動時に、設定パネルを表示しておく"), true);
    MenuSettings->addSeparator();
    MenuSettingsThisProgram = item(MenuSettings, QStringLiteral("このプログラムについて"));
    MenuSettingsVersion = item(MenuSettings, QStringLiteral("バージョン"));
    MenuSettings->addSeparator();
    MenuSettingsInitialize = item(MenuSettings, QStringLiteral("初期状態に戻す"));
}
