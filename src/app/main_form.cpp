#include "app/main_form.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLoggingCategory>
#include <QMimeData>
#include <QTimeEdit>
#include <QTimer>
#include <QWindow>

#include "app/about_box.h"
#include "app/dialogs.h"
#include "core/profile_file.h"
#include "core/settings_keys.h"
#include "transport/clock.h"
#include "transport/media_files.h"
#include "transport/media_player.h"
#include "transport/transport_controller.h"

Q_LOGGING_CATEGORY(lcApp, "scribo.app", QtWarningMsg)

TAMainForm::TAMainForm(const FormServices& services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      WindowsMediaPlayer1(*services.player),
      clock(*services.clock),
      dialogs(*services.dialogs),
      transport_(new TransportController(*services.player, *services.clock, this)) {
    ProgramFolder = services.programFolder;
    FormCreate();
    AboutBox = new TAboutBox(this);
}

TAMainForm::~TAMainForm() {
    FormDestroy();
}

void TAMainForm::FormCreate() {
    Started = false;
    if (!ProgramFolder.endsWith(QLatin1Char('/'))) ProgramFolder += QLatin1Char('/');
    SettingsPath = ProgramFolder +
                   QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() +
                   QStringLiteral(".inf");
    CreateStringList();
    setWindowTitle(QStringLiteral("Scribo"));
    buildControls();
    buildSettingsTable();
    connectTransport();
    transport_->setEntryGate(&gate_);
    gate_.onReopened = [this] {
        if (deferredOpen_.isEmpty() && !deferredQuit_) return;
        // Not from inside the wait that just ended: its handler has yet to finish.
        QTimer::singleShot(0, this, &TAMainForm::runDeferred);
    };
    wireSignals();
    Initialize();
    LabelInitialize();
    TextInitialize();
    resetSettingControls();
    FootPedalInitialize();
    PendingMediaPath.clear();
    setAcceptDrops(true);
}

void TAMainForm::Initialize() {
    SaveOnClose = false;
    Started = false;
    PositionDragging = VolumeDragging = false;
    transport_->initialize();
    DateTimePickerSetting->setTime(QTime(0, 0, 0));
    LabelDuartionTime->setText(QStringLiteral("0:00:00"));
    SwitchOn = PressHandled = ReleaseResets = false;
    IndexFileName.clear();
    IndexChanged = false;
    SettingsPrefix = QStringLiteral("Scribo");
    ClearIndex();
    QFont volumeFont = ProgressBarVolume->font();
    volumeFont.setPointSize(10);
    ProgressBarVolume->setFont(volumeFont);
    // Changing the flags of a shown window would hide it; only ask when the hint is missing.
    if (!windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
    PanelCollapsed = false;
    PedalLibraryPath = ProgramFolder + QStringLiteral("PIEHid.dll");
}

void TAMainForm::LabelInitialize() {
    LabelPlayTime->setText(QStringLiteral("位置移動"));
    LabelDuartionTime->setText(QStringLiteral("ﾄﾞﾗｯｸﾞして"));
    LabelDuartionTime->setVisible(true);
    LabelMovePostion0->setText(QStringLiteral("ここを"));
    LabelMovePostion0->setVisible(true);
    QFont plain = LabelMovePostion0->font();
    plain.setBold(false);
    LabelMovePostion0->setFont(plain);
    LabelMovePostion1->setText(QString());
    LabelMovePostion1->setVisible(true);
    LabelKokoni->setVisible(false);
    ProgressBarTimePosition->setPosTextPrefix(
        QStringLiteral("ここ（位置バー）をドラッグして、再生位置をセットしてください"));
    ProgressBarVolume->setPosition(50);
    ProgressBarVolume->setPosTextPrefix(QString());
    ProgressBarVolume->setPosTextSuffix(
        QStringLiteral("ここ（音量バー）をドラッグして、音量を調節してください"));
}

void TAMainForm::TextInitialize() {
    PedalReadyText = QStringLiteral("フットペダル：接続されています");
    PedalNotReadyText = QStringLiteral("フットペダル：接続されていません");
    PedalOffText = QStringLiteral("フットペダル：使用しない設定です");
}

bool TAMainForm::guard(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const PlayerError& e) {
        dialogs.showError(QString::fromUtf8(e.what()));
    } catch (const ProfileWriteError& e) {
        dialogs.showError(QString::fromUtf8(e.what()));
    }
    return false;
}

// ---- Requests from outside -------------------------------------------------------------------

void TAMainForm::openFromOutside(const QString& path) {
    if (gate_.isClosing()) return;
    if (!gate_.isOpen()) {
        deferredOpen_ = path;
        return;
    }
    DropFiles({path});
}

void TAMainForm::quitFromOutside() {
    if (gate_.isClosing()) return;
    if (!gate_.isOpen()) {
        deferredQuit_ = true;
        return;
    }
    ToolBarMPCotrol05ExitClick();
}

void TAMainForm::runDeferred() {
    if (!gate_.isOpen()) return;  // a later reopening runs it
    if (deferredQuit_) {
        deferredQuit_ = false;
        deferredOpen_.clear();
        guard([this] { quitFromOutside(); });
        return;
    }
    const QString path = std::exchange(deferredOpen_, QString());
    if (!path.isEmpty()) guard([&] { openFromOutside(path); });
}

// ---- Dropped files -------------------------------------------------------------------------

void TAMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TAMainForm::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        paths << (url.isLocalFile() ? url.toLocalFile() : url.toString());
    event->acceptProposedAction();
    guard([&] { DropFiles(paths); });
}

void TAMainForm::DropFiles(const QStringList& paths) {
    if (paths.size() != 1) return;
    const QString& path = paths.constFirst();
    const QString name = QFileInfo(path).fileName();
    if (IsMediaFileName(path)) {
        PendingMediaPath = path;
        ProgressBarVolume->setPosTextPrefix(name);
        clock.sleep(300);
        MenuFileOpenClick();
    } else {
        PendingMediaPath.clear();
        ProgressBarVolume->setPosTextPrefix(QStringLiteral("▼") + name + QStringLiteral("▲"));
    }
}

// ---- Moving the caption-less window ----------------------------------------------------------

void TAMainForm::FormMouseDown(Qt::MouseButton button, QPoint globalPos) {
    if (button != Qt::LeftButton) return;
    // With a window manager the move is its own; without one the window follows the mouse here.
    if (windowHandle() && windowHandle()->startSystemMove()) return;
    manualMove_ = true;
    moveOffset_ = globalPos - frameGeometry().topLeft();
}

void TAMainForm::mousePressEvent(QMouseEvent* event) {
    FormMouseDown(event->button(), event->globalPosition().toPoint());
}

void TAMainForm::mouseMoveEvent(QMouseEvent* event) {
    if (manualMove_ && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - moveOffset_);
}

void TAMainForm::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) manualMove_ = false;
}

// ---- Settings panel ----------------------------------------------------------------------------

void TAMainForm::ToolBarMPCotrol04SettingClick() {
    if (PanelCollapsed)
        ExpandSettingPanel();
    else
        CollapseSettingPanel();
}

void TAMainForm::ExpandSettingPanel() {
    setFixedHeight(kExpandedHeight);
    PanelCollapsed = false;
}

void TAMainForm::CollapseSettingPanel() {
    setFixedHeight(kCollapsedHeight);
    PanelCollapsed = true;
}
