// The menu bar: File, index play, index settings, index registration, settings.

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/fonts.h"
#include "app/main_window.h"
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

void MainWindow::buildMenus() {
    menuBar_->setFont(Fonts::ui(12));

    fileMenu_ = menuBar_->addMenu(QStringLiteral("ﾌｧｲﾙ"));
    exitSavingSettingsAction_ = item(fileMenu_, QStringLiteral("終了する"));
    fileMenu_->addSeparator();
    openMediaAction_ =
        item(fileMenu_, QStringLiteral("音声（　動画を含むメディア ）ファイルを開く"));
    openMediaAction_->setIcon(ToolbarIcons::openFile());
    fileMenu_->addSeparator();
    appearHereAction_ = item(fileMenu_, QStringLiteral("この位置に出現させる"));
    fileMenu_->addSeparator();
    showFileNameAction_ = item(fileMenu_, QStringLiteral("現在作業中の音声ファイル名を得る"));
    showFolderNameAction_ =
        item(fileMenu_, QStringLiteral("音声ファイル名の存在するフォルダーを得る"));
    fileMenu_->addSeparator();
    exitWithoutSavingIndexAction_ =
        item(fileMenu_, QStringLiteral("インデックスの変更を保存しないで終了する"));

    indexPlayMenu_ = menuBar_->addMenu(QStringLiteral("ｲﾝﾃﾞｯｸｽ再生 "));
    indexSettingsMenu_ = menuBar_->addMenu(QStringLiteral("ｲﾝﾃﾞｯｸｽ設定 "));
    indexRegisterMenu_ = menuBar_->addMenu(QStringLiteral("ｲﾝﾃﾞｯｸｽ登録"));
    for (int n = 1; n <= kIndexEntries; ++n) {
        playEntryActions_[n] = item(indexPlayMenu_, IndexBook::entryLabel(n));
        playEntryActions_[n]->setData(400 + n);
        registerEntryActions_[n] = item(indexRegisterMenu_, IndexBook::entryLabel(n));
        registerEntryActions_[n]->setData(500 + n);
    }
    playEntryActions_[1]->setIcon(ToolbarIcons::indexPlay());
    registerEntryActions_[1]->setIcon(ToolbarIcons::indexRegister());

    addClipboardNoteAction_ = item(
        indexSettingsMenu_,
        QStringLiteral(
            "インデックスのエントリーに、タイムコードとクリップボードの” テキスト ”を付加する "),
        true);
    protectEntriesAction_ =
        item(indexSettingsMenu_,
             QStringLiteral(
                 "すでに登録している場合、クリックしても ” クリア ”しない【 保護モード 】にする"),
             true);
    indexSettingsMenu_->addSeparator();
    exportCsvAction_ = item(
        indexSettingsMenu_,
        QStringLiteral("インデックスの内容（ h：mm：ss ）を「 CSV 」形式でファイルに書き出す"));
    exportUtf8CsvAction_ = item(
        indexSettingsMenu_,
        QStringLiteral("インデックスの内容を「 CSV（ UTF-8 ） 」形式で、場所を選んで書き出す"));
    exportTextAction_ =
        item(indexSettingsMenu_,
             QStringLiteral("インデックスの内容を「 テキスト 」形式で、場所を選んで書き出す"));
    indexSettingsMenu_->addSeparator();
    savePositionAction_ =
        item(indexSettingsMenu_, QStringLiteral("現時点の再生位置とインデックスを保存する"));
    restorePositionAction_ =
        item(indexSettingsMenu_, QStringLiteral("保存した再生位置を現時点の再生位置とする"));
    indexSettingsMenu_->addSeparator();
    clearIndexAction_ = item(indexSettingsMenu_,
                             QStringLiteral("インデックスの登録内容を、すべて【 クリア 】する"));
    // A click on a filled entry erases it without a question; this brings it back.
    undoErasureAction_ = item(indexSettingsMenu_, QStringLiteral("消去したエントリを元に戻す"));
    undoErasureAction_->setShortcut(QKeySequence::Undo);
    undoErasureAction_->setEnabled(false);

    settingsMenu_ = menuBar_->addMenu(QStringLiteral("設定"));
    pedalStatusAction_ = item(settingsMenu_, QString());
    settingsMenu_->addSeparator();
    note(settingsMenu_,
         QStringLiteral(
             "以下のアイテムをクリックしてチェックを入れると、 Scriboのホットキーから外れ、"));
    note(settingsMenu_,
         QStringLiteral("   アプリケーション側の通常のショートカット／ホットキーとなる"));
    ignoreCapsLockAction_ = item(
        settingsMenu_,
        QStringLiteral("「 英数（ Caps Lock ） 」キーを【 音声再生制御 】 に使用しない"), true);
    ignoreCtrlSpaceAction_ =
        item(settingsMenu_,
             QStringLiteral("「 Ctrl + Space 」キーを【 音声再生制御 】 に使用しない"), true);
    ignoreBackspaceAction_ =
        item(settingsMenu_,
             QStringLiteral("「 Ctrl/Alt + BackSpace 」キーを【 繰り返し再生制御 】 に使用しない"),
             true);
    ignoreInsertAction_ =
        item(settingsMenu_,
             QStringLiteral("「 Ctrl + Insert  」キーを【 タイムコード挿入 】 に使用しない"), true);
    ignoreConvertKeysAction_ =
        item(settingsMenu_,
             QStringLiteral("「 Alt + 無変換/変換 」キーを【 巻き戻し・早送り制御 】 に使用しない"),
             true);
    ignorePrintScreenAction_ =
        item(settingsMenu_,
             QStringLiteral("「 Print Screen  」キーを【 音声再生制御 】 に使用しない"), true);
    ignoreBackslashAction_ = item(
        settingsMenu_,
        QStringLiteral("「 Shift + BackSlash（　＼  ろ ） 」キーを【 音声再生制御 】 に使用しない"),
        true);
    ignoreAltCharacterAction_ =
        item(settingsMenu_, QStringLiteral("「 Alt + 文字 」キーを【 音声再生制御 】 に使用しない"),
             true);
    ignoreBracketKeyAction_ = item(
        settingsMenu_,
        QStringLiteral("「  ゜「｛［ 」（ Enterの左の ）キーを 【 音声再生制御 】 に使用しない "),
        true);
    ignoreF1Action_ = item(settingsMenu_,
                           QStringLiteral("「 Ｆ１ 」キーを【 音声再生制御 】 に使用しない"), true);
    ignoreF2Action_ = item(settingsMenu_,
                           QStringLiteral("「 Ｆ２ 」キーを【 音声再生制御 】 に使用しない"), true);
    settingsMenu_->addSeparator();
    twoPedalsKeepSpeedAndVolumeAction_ =
        item(settingsMenu_,
             QStringLiteral("２つのペダルを同時に踏んでも、音量・再生速度を変更しない "), true);
    twoPedalsKeepSpeedAndVolumeAction_->setChecked(true);
    ignorePedalAction_ =
        item(settingsMenu_, QStringLiteral("接続していてもフットペダルを使用しない"), true);
    keepPanelOpenAction_ =
        item(settingsMenu_, QStringLiteral("起動時に、設定パネルを表示しておく"), true);
    settingsMenu_->addSeparator();
    aboutAction_ = item(settingsMenu_, QStringLiteral("このプログラムについて"));
    versionAction_ = item(settingsMenu_, QStringLiteral("バージョン"));
    settingsMenu_->addSeparator();
    resetAction_ = item(settingsMenu_, QStringLiteral("初期状態に戻す"));
}
