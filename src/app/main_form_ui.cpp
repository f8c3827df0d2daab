// The controls of the main window: the top strip (bars, toolbar, time picker, labels), the
// settings panel and the timers. Menus and the contents of the tabs have files of their own.

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QTabWidget>
#include <QTimeEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "app/fonts.h"
#include "app/main_form.h"
#include "app/toolbar_icons.h"
#include "transport/player_view.h"

namespace {
constexpr int kMenuHeight = 22;
constexpr int kStripHeight = TAMainForm::kCollapsedHeight - kMenuHeight;  // 85
constexpr int kBarWidth = 317;
constexpr int kBarHeight = 23;
constexpr int kLabelColumn = TAMainForm::kWidth - kBarWidth;  // 73

QTimer* makeTimer(QObject* owner, int interval, bool enabled) {
    auto* timer = new QTimer(owner);
    timer->setInterval(interval);
    if (enabled) timer->start();
    return timer;
}

QLabel* makeLabel(QWidget* parent, int x, int y, int w, int h) {
    auto* label = new QLabel(parent);
    label->setGeometry(x, y, w, h);
    label->setFont(Fonts::ui(12));
    // Presses on labels move the window like presses on the bare window.
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}
}  // namespace

void TAMainForm::buildControls() {
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(192, 192, 192));  // silver
    setPalette(pal);
    setFont(Fonts::ui(12));
    setFixedSize(kWidth, kExpandedHeight);

    MainMenu1 = new QMenuBar(this);
    MainMenu1->setNativeMenuBar(false);
    buildMenus();
    // The menu bar must fit its five menus into the narrow window at the classic height.
    MainMenu1->setStyleSheet(
        QStringLiteral("QMenuBar { padding: 0px; }"
                       "QMenuBar::item { padding: 2px 6px; margin: 0px; }"));
    MainMenu1->setGeometry(0, 0, kWidth, kMenuHeight);

    // Labels left of the bars, top to bottom: the drop hint, the length and the playing time.
    LabelKokoni = makeLabel(this, 4, kMenuHeight + 1, kLabelColumn - 6, 15);
    LabelKokoni->setText(QStringLiteral("↓ ここに"));
    LabelMovePostion1 = makeLabel(this, 4, kMenuHeight + 16, kLabelColumn - 6, 15);
    LabelMovePostion0 = makeLabel(this, 4, kMenuHeight + 31, kLabelColumn - 6, 15);
    LabelDuartionTime = makeLabel(this, 4, kMenuHeight + 46, kLabelColumn - 6, 15);
    LabelPlayTime =
        makeLabel(this, 4, kMenuHeight + kStripHeight - kBarHeight + 2, kLabelColumn - 6, 19);
    QFont timeFont = Fonts::ui(13);
    timeFont.setBold(true);
    LabelPlayTime->setFont(timeFont);

    PanelTop = new QWidget(this);
    PanelTop->setGeometry(kLabelColumn, kMenuHeight, kBarWidth, kStripHeight);

    ProgressBarVolume = new TALProgressBar(PanelTop);
    ProgressBarVolume->setGeometry(0, 0, kBarWidth, kBarHeight);
    ProgressBarVolume->setBarColor1(QColor(255, 255, 0));
    ProgressBarVolume->setMax(100);
    ProgressBarVolume->setFont(Fonts::barRegular());
    ProgressBarVolume->setAccessibleName(QStringLiteral("音量"));

    ProgressBarTimePosition = new TALProgressBar(PanelTop);
    ProgressBarTimePosition->setGeometry(0, kStripHeight - kBarHeight, kBarWidth, kBarHeight);
    ProgressBarTimePosition->setBarColor1(QColor(0, 255, 0));
    ProgressBarTimePosition->setBarColor2(QColor(0, 128, 0));
    ProgressBarTimePosition->setMax(0);
    ProgressBarTimePosition->setFont(Fonts::barBold());
    ProgressBarTimePosition->setAccessibleName(QStringLiteral("再生位置"));

    ToolBarMPCotrol = new QToolBar(PanelTop);
    ToolBarMPCotrol->setGeometry(0, kBarHeight + 3, 206, kStripHeight - 2 * kBarHeight - 6);
    ToolBarMPCotrol->setIconSize(QSize(20, 20));
    ToolBarMPCotrol->setStyleSheet(
        QStringLiteral("QToolBar { spacing: 0px; padding: 0px; }"
                       "QToolButton { padding: 1px; margin: 0px; }"));
    ToolBarMPCotrol->setToolButtonStyle(Qt::ToolButtonIconOnly);
    auto addTool = [this](const QIcon& icon, const QString& hint) {
        QAction* action = ToolBarMPCotrol->addAction(icon, QString());
        action->setToolTip(hint);
        action->setStatusTip(hint);
        return action;
    };
    ToolBarMPCotrol01Playpause =
        addTool(ToolbarIcons::play(),
                QStringLiteral("再生（ Play ）／一時停止（ Pause ）【　英数 または Pauseキー 】"));
    ToolBarMPCotrol02Speed = ToolBarMPCotrol->addAction(QStringLiteral("１．０"));
    ToolBarMPCotrol02Speed->setToolTip(
        QStringLiteral("再生速度を「１．０ 」 と 「 設定した 」速度との切換【 Ａｌｔ＋Space 】"));
    if (auto* speedButton =
            qobject_cast<QToolButton*>(ToolBarMPCotrol->widgetForAction(ToolBarMPCotrol02Speed)))
        speedButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    ToolBarMPCotrol03FwdBwd =
        addTool(ToolbarIcons::skip(),
                QStringLiteral("早戻し（ Ａｌｔ＋無変換 ）・早送り（ Ａｌｔ＋変換 ）"));
    ToolBarMPCotrol04Setting = addTool(ToolbarIcons::panel(), QStringLiteral("設定パネルの開閉"));
    ToolBarMPCotrol05OpenFile =
        addTool(ToolbarIcons::openFile(), QStringLiteral("メディア（音声・動画）ファイルを開く"));
    ToolBarMPCotrol05Exit = addTool(ToolbarIcons::exit(), QStringLiteral("終了"));

    PanelTimePicker = new QWidget(PanelTop);
    PanelTimePicker->setGeometry(208, kBarHeight + 5, kBarWidth - 208, 28);
    auto* pickerLayout = new QHBoxLayout(PanelTimePicker);
    pickerLayout->setContentsMargins(0, 0, 2, 0);
    pickerLayout->setSpacing(2);
    DateTimePickerSetting = new QTimeEdit(PanelTimePicker);
    DateTimePickerSetting->setDisplayFormat(QStringLiteral("H:mm:ss"));
    DateTimePickerSetting->setFont(Fonts::ui(12));
    DateTimePickerSetting->setAccessibleName(QStringLiteral("再生位置のセット"));
    sbSetTime = new QToolButton(PanelTimePicker);
    sbSetTime->setIcon(ToolbarIcons::setTime());
    sbSetTime->setAutoRaise(true);
    sbSetTime->setToolTip(QStringLiteral("再生位置のセット（ ＝ 繰り返し再生位置 ）"));
    pickerLayout->addWidget(DateTimePickerSetting, 1);
    pickerLayout->addWidget(sbSetTime);

    PanelSettings = new QWidget(this);
    PanelSettings->setGeometry(0, kCollapsedHeight, kWidth, kExpandedHeight - kCollapsedHeight);
    PageControlSetting = new QTabWidget(PanelSettings);
    PageControlSetting->setGeometry(2, 2, kWidth - 4, kExpandedHeight - kCollapsedHeight - 4);
    buildSettingsTabs();

    TimerFootPedal = makeTimer(this, 200, true);
    TimerSpeedUp = makeTimer(this, 300, false);
    TimerVolumeUp = makeTimer(this, 300, false);
}
