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
#include <QUrl>
#include <QWindow>

#include "app/about_box.h"
#include "app/dialogs.h"
#include "app/system_clipboard.h"
#include "core/file_name.h"
#include "core/profile_file.h"
#include "core/settings_keys.h"
#include "index/csv_export.h"
#include "index/index_commands.h"
#include "index/index_controller.h"
#include "pedal/pedal_controller.h"
#include "transport/clock.h"
#include "transport/media_files.h"
#include "transport/media_player.h"
#include "transport/transport_controller.h"
#include "web/web_address.h"

Q_LOGGING_CATEGORY(lcApp, "scribo.app", QtWarningMsg)

TAMainForm::TAMainForm(const FormServices& services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      clock(*services.clock),
      dialogs(*services.dialogs),
      ownClipboard_(services.clipboard ? nullptr : std::make_unique<SystemClipboard>()),
      transport_(new TransportController(*services.player, *services.clock, this)),
      index_(new IndexController(this)),
      indexCommands_(new IndexCommands(
          *index_, *transport_, services.clipboard ? *services.clipboard : *ownClipboard_,
          [this](const QString& question) { return dialogs.askYesNo(question); }, this)) {
    programFolder_ = services.programFolder;
    pedal_ = new PedalController(*services.pedalLibrary, *transport_, *services.keyState,
                                 *services.clock, services.executableFolder, this);
    hotkeys_ = services.hotkeys;
    browser_ = services.browser;
    FormCreate();
    AboutBox = new TAboutBox(this);
}

TAMainForm::~TAMainForm() {
    FormDestroy();
}

void TAMainForm::FormCreate() {
    started_ = false;
    if (!programFolder_.endsWith(QLatin1Char('/'))) programFolder_ += QLatin1Char('/');
    settingsPath_ = programFolder_ +
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
    wireUrlPanel();
    Initialize();
    LabelInitialize();
    TextInitialize();
    resetSettingControls();
    connectPedal();
    pendingMediaPath_.clear();
    setAcceptDrops(true);
}

void TAMainForm::Initialize() {
    saveOnClose_ = false;
    started_ = false;
    positionDragging_ = volumeDragging_ = false;
    transport_->initialize();
    timePicker->setTime(QTime(0, 0, 0));
    lengthLabel->setText(QStringLiteral("0:00:00"));
    pedal_->resetSwitch();
    settingsPrefix_ = QStringLiteral("Scribo");
    index_->forgetMedia();
    QFont volumeFont = volumeBar->font();
    volumeFont.setPointSize(10);
    volumeBar->setFont(volumeFont);
    // Changing the flags of a shown window would hide it; only ask when the hint is missing.
    if (!windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
    panelCollapsed_ = false;
}

void TAMainForm::LabelInitialize() {
    playTimeLabel->setText(QStringLiteral("位置移動"));
    lengthLabel->setText(QStringLiteral("ﾄﾞﾗｯｸﾞして"));
    lengthLabel->setVisible(true);
    lengthCaptionLabel->setText(QStringLiteral("ここを"));
    lengthCaptionLabel->setVisible(true);
    QFont plain = lengthCaptionLabel->font();
    plain.setBold(false);
    lengthCaptionLabel->setFont(plain);
    dragHintLabel->setText(QString());
    dragHintLabel->setVisible(true);
    dropHintLabel->setVisible(false);
    positionBar->setPosTextPrefix(
        QStringLiteral("ここ（位置バー）をドラッグして、再生位置をセットしてください"));
    volumeBar->setPosition(50);
    volumeBar->setPosTextPrefix(QString());
    volumeBar->setPosTextSuffix(
        QStringLiteral("ここ（音量バー）をドラッグして、音量を調節してください"));
}

// The pedal's status texts are PedalController::statusText.
void TAMainForm::TextInitialize() {}

bool TAMainForm::guard(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const PlayerError& e) {
        dialogs.showError(QString::fromUtf8(e.what()));
    } catch (const ProfileWriteError& e) {
        dialogs.showError(QString::fromUtf8(e.what()));
    } catch (const CsvExportError& e) {
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
    const QString address = web::linkAddress(QUrl(path));
    if (!address.isEmpty())
        urlPanel_->play(address);
    else
        DropFiles({path});
}

void TAMainForm::quitFromOutside() {
    if (gate_.isClosing()) return;
    if (!gate_.isOpen()) {
        deferredQuit_ = true;
        return;
    }
    exitClicked();
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
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && !web::linkAddress(urls.constFirst()).isEmpty()) {
        event->acceptProposedAction();
        // A drop can arrive during a wait; it is played when the wait is over.
        guard([&] { openFromOutside(web::linkAddress(urls.constFirst())); });
        return;
    }
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        paths << (url.isLocalFile() ? localFileFromUri(url) : url.toString());
    event->acceptProposedAction();
    guard([&] { DropFiles(paths); });
}

void TAMainForm::DropFiles(const QStringList& paths) {
    if (paths.size() != 1) return;
    const QString& path = paths.constFirst();
    const QString name = QFileInfo(path).fileName();
    // A folder named like a recording ("talks.mp3") is refused like any other non-media name.
    if (IsMediaFileName(path) && !QFileInfo(path).isDir()) {
        pendingMediaPath_ = path;
        volumeBar->setPosTextPrefix(name);
        clock.sleep(300);
        MenuFileOpenClick();
    } else {
        pendingMediaPath_.clear();
        volumeBar->setPosTextPrefix(QStringLiteral("▼") + name + QStringLiteral("▲"));
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

void TAMainForm::panelClicked() {
    if (panelCollapsed_)
        ExpandSettingPanel();
    else
        CollapseSettingPanel();
}

void TAMainForm::ExpandSettingPanel() {
    setFixedHeight(kExpandedHeight);
    panelCollapsed_ = false;
}

void TAMainForm::CollapseSettingPanel() {
    setFixedHeight(kCollapsedHeight);
    panelCollapsed_ = true;
}
