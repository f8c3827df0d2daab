#include "app/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QUrl>
#include <QWindow>

#include "app/about_box.h"
#include "core/file_name.h"
#include "session/session.h"
#include "web/web_address.h"

MainWindow::MainWindow(Session& session, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      session_(session) {
    setWindowTitle(QStringLiteral("Scribo"));
    buildControls();
    connectTransport();
    wireSignals();
    bindSettings();
    wireUrlPanel();
    connectPedal();
    connectKeys();
    resetLabels();
    QFont volumeFont = volumeBar_->font();
    volumeFont.setPointSize(10);
    volumeBar_->setFont(volumeFont);
    setAcceptDrops(true);
    aboutBox_ = new AboutBox(this);
    aboutBox_->setObjectName(QStringLiteral("aboutBox"));
}

MainWindow::~MainWindow() = default;

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
    positionBar_->setPositionTextPrefix(
        QStringLiteral("ここ（位置バー）をドラッグして、再生位置をセットしてください"));
    volumeBar_->setPosition(50);
}

// ---- Closing -----------------------------------------------------------------------------------

void MainWindow::exitProgram() {
    exitAction_->setEnabled(false);
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!session_.close()) {
        // Closing already, or a refused write keeps the window open so nothing is lost.
        if (!session_.gate().isClosing()) exitAction_->setEnabled(true);
        event->ignore();
        return;
    }
    setAcceptDrops(false);
    event->accept();
}

// ---- Dropped files -------------------------------------------------------------------------

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    if (urls.size() == 1 && !web::linkAddress(urls.constFirst()).isEmpty()) {
        // A drop can arrive during a wait; it is played when the wait is over.
        session_.requestOpen(web::linkAddress(urls.constFirst()));
        return;
    }
    QStringList paths;
    for (const QUrl& url : urls)
        paths << (url.isLocalFile() ? localFileFromUri(url) : url.toString());
    session_.run([&] { session_.dropFiles(paths); });
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
