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

MainWindow::MainWindow(const WindowServices& services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      clock_(*services.clock),
      dialogs_(*services.dialogs),
      ownClipboard_(services.clipboard ? nullptr : std::make_unique<SystemClipboard>()),
      transport_(new TransportController(*services.player, *services.clock, this)),
      index_(new IndexController(this)),
      indexCommands_(new IndexCommands(
          *index_, *transport_, services.clipboard ? *services.clipboard : *ownClipboard_,
          [this](const QString& question) { return dialogs_.askYesNo(question); }, this)) {
    programFolder_ = services.programFolder;
    pedal_ = new PedalController(*services.pedalLibrary, *transport_, *services.keyState,
                                 *services.clock, services.executableFolder, this);
    hotkeys_ = services.hotkeys;
    browser_ = services.browser;
    buildWindow();
    aboutBox_ = new AboutBox(this);
    aboutBox_->setObjectName(QStringLiteral("aboutBox"));
}

MainWindow::~MainWindow() {
    releaseHotkeys();
}

void MainWindow::buildWindow() {
    started_ = false;
    if (!programFolder_.endsWith(QLatin1Char('/'))) programFolder_ += QLatin1Char('/');
    settingsPath_ = programFolder_ +
                    QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() +
                    QStringLiteral(".inf");
    setWindowTitle(QStringLiteral("Scribo"));
    buildControls();
    buildSettingsTable();
    connectTransport();
    transport_->setEntryGate(&gate_);
    gate_.onReopened = [this] {
        if (deferredOpen_.isEmpty() && !deferredQuit_) return;
        // Not from inside the wait that just ended: its handler has yet to finish.
        QTimer::singleShot(0, this, &MainWindow::runDeferred);
    };
    wireSignals();
    wireUrlPanel();
    initializeState();
    resetLabels();
    resetSettingControls();
    connectPedal();
    pendingMediaPath_.clear();
    setAcceptDrops(true);
}

void MainWindow::initializeState() {
    saveOnClose_ = false;
    started_ = false;
    positionDragging_ = volumeDragging_ = false;
    transport_->initialize();
    timePicker_->setTime(QTime(0, 0, 0));
    lengthLabel_->setText(QStringLiteral("0:00:00"));
    pedal_->resetSwitch();
    settingsPrefix_ = QStringLiteral("Scribo");
    index_->forgetMedia();
    QFont volumeFont = volumeBar_->font();
    volumeFont.setPointSize(10);
    volumeBar_->setFont(volumeFont);
    // Changing the flags of a shown window would hide it; only ask when the hint is missing.
    if (!windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
    panelCollapsed_ = false;
}

void MainWindow::resetLabels() {
    playTimeLabel_->setText(QStringLiteral("位置移動"));
    lengthLabel_->setText(QStringLiteral("ﾄﾞﾗｯｸﾞして"));
    lengthLabel_->setVisible(true);
    lengthCaptionLabel_->setText(QStringLiteral("ここを"));
    lengthCaptionLabel_->setVisible(true);
    QFont plain = lengthCaptionLabel_->font();
    plain.setBold(false);
    lengthCaptionLabel_->setFont(plain);
    dragHintLabel_->setText(QString());
    dragHintLabel_->setVisible(true);
    dropHintLabel_->setVisible(false);
    positionBar_->setPosTextPrefix(
        QStringLiteral("ここ（位置バー）をドラッグして、再生位置をセットしてください"));
    volumeBar_->setPosition(50);
    volumeBar_->setPosTextPrefix(QString());
    volumeBar_->setPosTextSuffix(
        QStringLiteral("ここ（音量バー）をドラッグして、音量を調節してください"));
}

bool MainWindow::guard(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const PlayerError& e) {
        dialogs_.showError(QString::fromUtf8(e.what()));
    } catch (const ProfileWriteError& e) {
        dialogs_.showError(QString::fromUtf8(e.what()));
    } catch (const CsvExportError& e) {
        dialogs_.showError(QString::fromUtf8(e.what()));
    }
    return false;
}

// ---- Requests from outside -------------------------------------------------------------------

void MainWindow::openFromOutside(const QString& path) {
    if (gate_.isClosing()) return;
    if (!gate_.isOpen()) {
        deferredOpen_ = path;
        return;
    }
    const QString address = web::linkAddress(QUrl(path));
    if (!address.isEmpty())
        urlPanel_->play(address);
    else if (takeMediaFile(path))
        openMedia();  // not a drop: nothing to let settle, so no pause before opening
}

void MainWindow::quitFromOutside() {
    if (gate_.isClosing()) return;
    if (!gate_.isOpen()) {
        deferredQuit_ = true;
        return;
    }
    exitProgram();
}

void MainWindow::runDeferred() {
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

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
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
    guard([&] { dropFiles(paths); });
}

void MainWindow::dropFiles(const QStringList& paths) {
    if (paths.size() != 1) return;
    if (takeMediaFile(paths.constFirst())) {
        clock_.sleep(300);
        openMedia();
    }
}

bool MainWindow::takeMediaFile(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    // A folder named like a recording ("talks.mp3") is refused like any other non-media name.
    if (IsMediaFileName(path) && !QFileInfo(path).isDir()) {
        pendingMediaPath_ = path;
        volumeBar_->setPosTextPrefix(name);
        return true;
    }
    pendingMediaPath_.clear();
    volumeBar_->setPosTextPrefix(QStringLiteral("▼") + name + QStringLiteral("▲"));
    return false;
}

// ---- Moving the caption-less window ----------------------------------------------------------

void MainWindow::beginWindowMove(Qt::MouseButton button, QPoint globalPos) {
    if (button != Qt::LeftButton) return;
    // With a window manager the move is its own; without one the window follows the mouse here.
    if (windowHandle() && windowHandle()->startSystemMove()) return;
    manualMove_ = true;
    moveOffset_ = globalPos - frameGeometry().topLeft();
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    beginWindowMove(event->button(), event->globalPosition().toPoint());
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
    if (manualMove_ && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - moveOffset_);
}

void MainWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) manualMove_ = false;
}

// ---- Settings panel ----------------------------------------------------------------------------

void MainWindow::togglePanel() {
    if (panelCollapsed_)
        expandSettingsPanel();
    else
        collapseSettingsPanel();
}

void MainWindow::expandSettingsPanel() {
    setFixedHeight(kExpandedHeight);
    panelCollapsed_ = false;
}

void MainWindow::collapseSettingsPanel() {
    setFixedHeight(kCollapsedHeight);
    panelCollapsed_ = true;
}
