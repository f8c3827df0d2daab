// The six tabs of the settings panel: the player, playback choices, pedal choices and three
// pages of help.

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/dialogs.h"
#include "app/fonts.h"
#include "app/main_window.h"
#include "keyboard/hotkey_help.h"
#include "session/dialogs.h"
#include "session/session.h"
#include "transport/player_view.h"
#include "web/address_box.h"

namespace {
QString bold(const QString& text) {
    return QStringLiteral("<b>") + text.toHtmlEscaped() + QStringLiteral("</b>");
}
QString plain(const QString& text) {
    return text.toHtmlEscaped();
}

QLabel* richLine(QWidget* parent, const QString& html) {
    auto* label = new QLabel(html, parent);
    label->setTextFormat(Qt::RichText);
    return label;
}

// A long help text, scrolled within the tab.
QPlainTextEdit* helpText(QWidget* parent, const QString& name, const QString& text) {
    auto* view = new QPlainTextEdit(text, parent);
    view->setAccessibleName(name);
    view->setReadOnly(true);
    view->setFrameShape(QFrame::NoFrame);
    return view;
}

QGroupBox* helpBox(QWidget* parent, const QString& caption, const QStringList& lines) {
    auto* box = new QGroupBox(caption, parent);
    auto* layout = new QVBoxLayout(box);
    layout->setSpacing(1);
    layout->setContentsMargins(8, 4, 8, 4);
    for (const QString& line : lines)
        layout->addWidget(richLine(box, line));
    return box;
}

QWidget* addTab(QTabWidget* tabs, const QString& caption) {
    auto* page = new QWidget(tabs);
    tabs->addTab(page, caption);
    return page;
}
}  // namespace

void MainWindow::buildSettingsTabs() {
    settingsTabs_->setFont(Fonts::ui(12));
    // Six captions share 386 pixels.
    settingsTabs_->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 3px; }"));
    settingsTabs_->tabBar()->setUsesScrollButtons(false);
    settingsTabs_->tabBar()->setExpanding(false);

    // The player: its picture with its own controls, and the web address panel above it.
    playerTab_ = addTab(settingsTabs_, QStringLiteral(" WMP "));
    auto* screenLayout = new QVBoxLayout(playerTab_);
    screenLayout->setContentsMargins(4, 2, 4, 2);
    screenLayout->setSpacing(2);
    auto* urlRow = new QHBoxLayout;
    urlRow->setSpacing(2);
    urlRow->addWidget(new QLabel(QStringLiteral("URL： "), playerTab_));
    addressBox_ = new AddressBox(playerTab_);
    addressBox_->setAccessibleName(QStringLiteral("URL"));
    if (addressBox_->lineEdit()) addressBox_->lineEdit()->setAccessibleName(QStringLiteral("URL"));
    urlRow->addWidget(addressBox_, 1);
    openInBrowserButton_ = new QToolButton(playerTab_);
    openInBrowserButton_->setText(QStringLiteral("Web"));
    pasteAddressButton_ = new QToolButton(playerTab_);
    pasteAddressButton_->setText(QStringLiteral("貼付"));
    playAddressButton_ = new QToolButton(playerTab_);
    playAddressButton_->setText(QStringLiteral("再生"));
    for (QToolButton* button : {openInBrowserButton_, pasteAddressButton_, playAddressButton_})
        urlRow->addWidget(button);
    screenLayout->addLayout(urlRow);
    playerView_ = new PlayerView(
        session_.player(),
        [this](const QString& message) { session_.dialogs().showError(message); }, playerTab_);
    playerView_->setFixedSize(371, 265);
    screenLayout->addWidget(playerView_, 0, Qt::AlignHCenter);
    screenLayout->addStretch();

    // Playback choices.
    playbackTab_ = addTab(settingsTabs_, QStringLiteral(" 再生  "));
    autoRewindGroup_ = new RadioGroup(
        QStringLiteral(" 戻り秒数（ ﾊﾞｯｸｽﾍﾟｰｽ ) "),
        {QStringLiteral("０"), QStringLiteral("０．５"), QStringLiteral("０．７"),
         QStringLiteral("１．０"), QStringLiteral("１．２"), QStringLiteral("１．５"),
         QStringLiteral("１．８"), QStringLiteral("２．０"), QStringLiteral("２．２"),
         QStringLiteral("２．５"), QStringLiteral("３．０"), QStringLiteral("３．５"),
         QStringLiteral("４．０"), QStringLiteral("５．０"), QStringLiteral("６．０"),
         QStringLiteral("７．０"), QStringLiteral("８．０"), QStringLiteral("９．０")},
        2, playbackTab_);
    autoRewindGroup_->setGeometry(4, 4, 160, 200);
    speedGroup_ = new RadioGroup(
        QStringLiteral("  再生速度  "),
        {QStringLiteral("０．６"), QStringLiteral("０．８"), QStringLiteral("１．０"),
         QStringLiteral("１．２"), QStringLiteral("１．５"), QStringLiteral("１．８"),
         QStringLiteral("２．０")},
        1, playbackTab_);
    speedGroup_->setGeometry(170, 4, 100, 200);
    repeatIntervalGroup_ = new RadioGroup(
        QStringLiteral("  繰り返し秒数 "),
        {QStringLiteral("　２秒"), QStringLiteral("　３秒"), QStringLiteral("　５秒"),
         QStringLiteral("　８秒"), QStringLiteral("１０秒"), QStringLiteral("１５秒"),
         QStringLiteral("２０秒")},
        1, playbackTab_);
    repeatIntervalGroup_->setGeometry(276, 4, 100, 200);

    // Pedal choices.
    pedalTab_ = addTab(settingsTabs_, QStringLiteral(" ﾍﾟﾀﾞﾙ "));
    const QStringList actions = {QStringLiteral("再生"), QStringLiteral("巻き戻し"),
                                 QStringLiteral("早送り")};
    leftPedalGroup_ = new RadioGroup(QStringLiteral("    左    "), actions, 1, pedalTab_);
    leftPedalGroup_->setGeometry(4, 4, 120, 74);
    centrePedalGroup_ = new RadioGroup(QStringLiteral("  中央  "), actions, 1, pedalTab_);
    centrePedalGroup_->setGeometry(130, 4, 120, 74);
    rightPedalGroup_ = new RadioGroup(QStringLiteral("  右  "), actions, 1, pedalTab_);
    rightPedalGroup_->setGeometry(256, 4, 120, 74);
    const QStringList pitches = {QStringLiteral("２秒"),    QStringLiteral("５秒"),
                                 QStringLiteral("１０秒"),  QStringLiteral("３０秒"),
                                 QStringLiteral("６０秒"),  QStringLiteral("３００秒"),
                                 QStringLiteral("６００秒")};
    rewindStepGroup_ = new RadioGroup(QStringLiteral("  REWﾋﾟｯﾁ "), pitches, 2, pedalTab_);
    rewindStepGroup_->setGeometry(4, 82, 130, 96);
    forwardStepGroup_ = new RadioGroup(QStringLiteral("  FWDﾋﾟｯﾁ "), pitches, 2, pedalTab_);
    forwardStepGroup_->setGeometry(138, 82, 130, 96);
    pedalModeGroup_ =
        new RadioGroup(QStringLiteral("  ペダル・モード  "),
                       {QStringLiteral("通常 "), QStringLiteral("スイッチ")}, 1, pedalTab_);
    pedalModeGroup_->setGeometry(272, 82, 104, 60);
    auto* modeHelp = new QWidget(pedalTab_);
    modeHelp->setGeometry(4, 182, 372, 120);
    auto* modeLayout = new QVBoxLayout(modeHelp);
    modeLayout->setContentsMargins(4, 0, 4, 0);
    modeLayout->setSpacing(1);
    for (const QString& line :
         {bold(QStringLiteral("【 通常モード 】")),
          plain(QStringLiteral("踏むと、")) + bold(QStringLiteral("再生開始")) +
              plain(QStringLiteral("　")) + plain(QStringLiteral("足を上げると、")) +
              bold(QStringLiteral("一時停止")),
          bold(QStringLiteral("【 スイッチ・モード　】")),
          plain(QStringLiteral("一度踏むと、")) + bold(QStringLiteral("再生開始")) +
              plain(QStringLiteral("　")) + plain(QStringLiteral("もう一度踏むと、")) +
              bold(QStringLiteral("一時停止"))})
        modeLayout->addWidget(richLine(modeHelp, line));
    modeLayout->addStretch();

    // Help: the keys.
    keysHelpTab_ = addTab(settingsTabs_, QStringLiteral(" 再生制御"));
    auto* keyLayout = new QVBoxLayout(keysHelpTab_);
    keyLayout->setContentsMargins(6, 4, 6, 4);
    keyLayout->setSpacing(1);
    heldKeysLabel_ = new QLabel(keysHelpTab_);
    heldKeysLabel_->setWordWrap(true);
    heldKeysLabel_->setStyleSheet(QStringLiteral("color: #c00000"));
    heldKeysLabel_->hide();
    keyLayout->addWidget(heldKeysLabel_);
    keysUnavailableLabel_ = new QLabel(keysHelpTab_);
    keysUnavailableLabel_->setObjectName(QStringLiteral("keysUnavailableLabel"));
    keysUnavailableLabel_->setWordWrap(true);
    keysUnavailableLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    keysUnavailableLabel_->setStyleSheet(QStringLiteral("color: #c00000"));
    keysUnavailableLabel_->hide();
    keyLayout->addWidget(keysUnavailableLabel_);
    keyLayout->addWidget(
        helpText(keysHelpTab_, QStringLiteral("再生制御"), playbackKeysHelpText()));

    // Help: the index.
    indexHelpTab_ = addTab(settingsTabs_, QStringLiteral(" ｲﾝﾃﾞｯｸｽ "));
    auto* indexOuter = new QVBoxLayout(indexHelpTab_);
    indexOuter->setContentsMargins(4, 2, 4, 2);
    auto* indexBox = new QGroupBox(QStringLiteral("　インデックス "), indexHelpTab_);
    indexOuter->addWidget(indexBox);
    auto* indexLayout = new QVBoxLayout(indexBox);
    indexLayout->setContentsMargins(4, 2, 4, 2);
    const QString scrollLock = QStringLiteral("<b><font color=\"#ff0000\">Scroll Lock</font></b>");
    indexLayout->addWidget(helpBox(
        indexBox, QStringLiteral(" インデックス登録 "),
        {plain(QStringLiteral("【 ")) + scrollLock + plain(QStringLiteral("】 ")) +
             bold(QStringLiteral("再生位置")) + plain(QStringLiteral("が最後に追加されます。 ")),
         plain(QStringLiteral("このとき、文書中の ")) + bold(QStringLiteral("文字列 ")) +
             plain(QStringLiteral("をコピー（ Ctrl＋C ）に")),
         plain(QStringLiteral("よって、")) + bold(QStringLiteral("クリップボード")) +
             plain(QStringLiteral("に入れておけば、")),
         plain(QStringLiteral("位置「 ")) + bold(QStringLiteral("ｈ：ｍｍ：ｓｓ")) +
             plain(QStringLiteral("」 ＋")) + bold(QStringLiteral("文字列 ")) +
             plain(QStringLiteral("が登録されます。")),
         plain(QStringLiteral("「 インデックス登録 」の任意のアイテムを ")),
         plain(QStringLiteral("クリックすると、　そのアイテムに登録されます。"))}));
    indexLayout->addWidget(
        helpBox(indexBox, QStringLiteral(" 抹消 "),
                {plain(QStringLiteral("「 インデックス登録 」の 登録されているアイテムを")),
                 plain(QStringLiteral("クリックすると、内容が” ")) + bold(QStringLiteral("抹消 ")) +
                     plain(QStringLiteral("”されます。"))}));
    indexLayout->addWidget(helpBox(
        indexBox, QStringLiteral(" 再生 "),
        {plain(QStringLiteral("「 インデックス再生 」の任意のアイテムを")),
         plain(QStringLiteral("クリックすると、「 ")) + bold(QStringLiteral("ｈ：ｍｍ：ｓｓ")) +
             plain(QStringLiteral("」にしたがって")),
         plain(QStringLiteral("その位置から再生を開始します。"))}));
    indexLayout->addStretch();

    // Help: time codes.
    timeCodeHelpTab_ = addTab(settingsTabs_, QStringLiteral(" ﾀｲﾑｺｰﾄﾞ "));
    auto* infoLayout = new QVBoxLayout(timeCodeHelpTab_);
    infoLayout->setContentsMargins(6, 4, 6, 4);
    infoLayout->addWidget(
        helpText(timeCodeHelpTab_, QStringLiteral("ﾀｲﾑｺｰﾄﾞ"), timeCodeHelpText()));
}
