#include "MainWindowController.h"

#include "AppController.h"
#include "DecodeReport.h"
#include "Decoder.h"
#include "ImageAndTextCell.h"
#include "ObjectContext.h"
#include "RecordingStatus.h"
#include "SessionListController.h"
#include "TransferImporter.h"
#include "SessionSelectionSync.h"
#include "SessionTableAutosave.h"
#include "SessionTableModel.h"
#include "VXColor.h"
#include "VXDefaults.h"
#include "VXWindow.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QMainWindow>
#include <QMimeData>
#include <QPainter>
#include <QStatusBar>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QToolBar>

#include <algorithm>
#include <cmath>

namespace {

// The recorder's "wav" and the other audio files the decoder reads, in lower case exactly.
const QStringList kAudioExtensions = {QStringLiteral("wav"),  QStringLiteral("aif"), QStringLiteral("aiff"),
                                      QStringLiteral("flac"), QStringLiteral("ogg"), QStringLiteral("oga"),
                                      QStringLiteral("opus"), QStringLiteral("mp3")};
const QString kNoisyTransferMargin = QStringLiteral("noisyTransferMargin");
// The gray frame is this much wider than the coloured square on each side.
constexpr qreal kFrameWidth = 2.0;

} // namespace

MainWindowController::MainWindowController(QMainWindow &theWindow, QTableView &sessionTable,
                                           SessionListController &sessions, ObjectContext &context, QObject *parent)
    : QObject(parent), m_theWindow(theWindow), m_sessionTable(sessionTable), m_sessionArrayController(sessions),
      m_context(context), m_shake([this] { VXWindow::VX_shake(m_theWindow); })
{
    m_buttonImageTimer.setInterval(kPulseIntervalMs);
    connect(&m_buttonImageTimer, &QTimer::timeout, this, &MainWindowController::pulseButton);
    connect(&m_context, &ObjectContext::sessionInserted, this, [this] { ++m_insertedSessions; });
}

MainWindowController::~MainWindowController() = default;

void MainWindowController::setAppController(AppController *appController)
{
    if (m_appController)
        m_appController->disconnect(this);
    m_appController = appController;
    if (!appController)
        return;
    appController->setShakeHandler([this] { recordingDidNotDecode(); });
    connect(appController, &AppController::recordingFailed, this, &MainWindowController::recordingDidFail);
    // The transfer has ended: stop as if Stop were clicked.
    connect(appController, &AppController::transferEnded, this, [this] {
        if (recordItemTag() != kIdleTag)
            toolbarItemClicked();
    });
}

void MainWindowController::setDecoder(Decoder *decoder, TransferImporter *importer)
{
    m_decoder = decoder;
    m_importer = importer;
}

void MainWindowController::setUpWindow()
{
    installToolbar();
    setUpSessionList();
    installMarkAsChecked();
    m_recordingStatus = new RecordingStatus(
        *m_theWindow.statusBar(),
        [this]() -> const AudioFileRecorder * { return m_appController ? m_appController->recorder() : nullptr; },
        this);
    if (QAction *item = itemForItemIdentifier(kStartRecordingIdentifier))
        m_recordingStatus->setToolTipTarget(item);
}

void MainWindowController::installToolbar()
{
    m_toolbar = new QToolBar(tr("Toolbar"), &m_theWindow);
    m_toolbar->setObjectName(kToolbarIdentifier);
    m_toolbar->setMovable(true);
    m_toolbar->setIconSize(QSize(kImageSize, kImageSize));
    // The label beside the image keeps the toolbar low, leaving height to the views.
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    // The toolbar cannot be hidden: it holds the only way to record.
    m_toolbar->toggleViewAction()->setVisible(false);

    auto *item = new QAction(m_toolbar);
    item->setObjectName(kStartRecordingIdentifier);
    item->setShortcut(QKeySequence(kRecordShortcut));
    // The shortcut is named in the tooltip, which is otherwise the one the user knows.
    item->setToolTip(tr("Click here to record the data from your Polar.\nClick again to stop.") + u'\n'
                     + tr("Shortcut: %1").arg(item->shortcut().toString(QKeySequence::NativeText)));
    item->setStatusTip(tr("Record the transfer of your watch"));
    connect(item, &QAction::triggered, this, &MainWindowController::toolbarItemClicked);
    m_toolbarItemsDictionary.insert(kStartRecordingIdentifier, item);
    setRecordItemIdle();
    for (const QString &identifier : toolbarDefaultItemIdentifiers())
        m_toolbar->addAction(itemForItemIdentifier(identifier));
    m_theWindow.addToolBar(Qt::TopToolBarArea, m_toolbar);
    if (QWidget *button = m_toolbar->widgetForAction(item)) {
        button->setAccessibleName(tr("Record"));
        button->setAccessibleDescription(tr("Starts or stops recording a transfer from the watch"));
    }
}

void MainWindowController::setUpSessionList()
{
    m_sessionTableModel = new SessionTableModel(m_context, m_sessionArrayController, this);
    m_sessionTable.setModel(m_sessionTableModel);
    new SessionSelectionSync(*m_sessionTableModel, *m_sessionTable.selectionModel(), m_sessionArrayController, this);
    m_sessionTable.setAccessibleName(tr("Sessions"));
    QHeaderView *header = m_sessionTable.horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    m_sessionTable.resizeColumnsToContents();
    header->setSortIndicator(SessionTableModel::DateColumn, Qt::AscendingOrder);
    m_sessionTable.setSortingEnabled(true);
    SessionTableAutosave::attach(*header, m_sessionArrayController);
    connect(&m_sessionArrayController, &SessionListController::selectionChanged, this, [this] {
        const int row = m_sessionArrayController.selectionIndexes().value(0, -1);
        if (row >= 0)
            m_sessionTable.scrollTo(m_sessionTableModel->index(row, 0));
    });
    // Columns widen to fit what the list shows (a session just stored may have a
    // wider date), until the user resizes one by hand; the last one stretches.
    connect(header, &QHeaderView::sectionResized, this, [this, header](int column) {
        if (!m_fittingColumns && column != header->count() - 1)
            m_columnsArranged = true;
    });
    const auto fitColumns = [this, header] {
        if (m_columnsArranged || m_sessionTableModel->rowCount() == 0)
            return;
        m_fittingColumns = true;
        const QAbstractItemView &view = m_sessionTable;
        for (int column = 0; column < header->count(); ++column) {
            const int fitting = std::max(view.sizeHintForColumn(column), header->sectionSizeHint(column));
            if (fitting > header->sectionSize(column))
                header->resizeSection(column, fitting);
        }
        m_fittingColumns = false;
    };
    connect(&m_sessionArrayController, &SessionListController::arrangementChanged, this, fitColumns);
    // The stored sessions may have been read before the list was set up.
    fitColumns();

    m_sessionCell = new ImageAndTextCell(&m_sessionTable);
    m_sessionCell->setWillDisplayCell([this](QStyleOptionViewItem &option, const QModelIndex &index) {
        tableViewWillDisplayCell(option, index);
    });
    m_sessionTable.setItemDelegate(m_sessionCell);
    m_sessionTable.viewport()->setAcceptDrops(true);
    m_sessionTable.viewport()->installEventFilter(this);
}

void MainWindowController::installMarkAsChecked()
{
    m_markAsCheckedAction = new QAction(tr("Mark as &Checked"), this);
    m_markAsCheckedAction->setStatusTip(tr("Clear the noisy-transfer mark once you have checked the values"));
    connect(m_markAsCheckedAction, &QAction::triggered, this, &MainWindowController::markAsChecked);
    const auto updateEnabled = [this] { m_markAsCheckedAction->setEnabled(!selectedMarkedSessions().isEmpty()); };
    connect(&m_sessionArrayController, &SessionListController::selectionChanged, this, updateEnabled);
    connect(&m_context, &ObjectContext::sessionChanged, this, updateEnabled);
    updateEnabled();
}

QList<const RunSession *> MainWindowController::selectedMarkedSessions() const
{
    QList<const RunSession *> marked = m_sessionArrayController.selectedSessions();
    marked.removeIf([](const RunSession *session) { return !session->isFromNoisyTransfer(); });
    return marked;
}

QAction *MainWindowController::itemForItemIdentifier(const QString &identifier) const
{
    return m_toolbarItemsDictionary.value(identifier, nullptr);
}

QStringList MainWindowController::toolbarDefaultItemIdentifiers()
{
    return {kStartRecordingIdentifier};
}

QStringList MainWindowController::toolbarAllowedItemIdentifiers()
{
    return {kStartRecordingIdentifier, kFlexibleSpaceIdentifier};
}

QImage MainWindowController::toolbarImageWithColor(const QColor &color, float padding)
{
    QImage image(kImageSize, kImageSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal p = padding;
    const qreal side = kImageSize - 2 * p;
    painter.fillRect(QRectF(p, p, side, side), VXColor::VXGrayColor());
    painter.fillRect(QRectF(p + kFrameWidth, p + kFrameWidth, side - 2 * kFrameWidth, side - 2 * kFrameWidth), color);
    return image;
}

int MainWindowController::recordItemTag() const
{
    const QAction *item = itemForItemIdentifier(kStartRecordingIdentifier);
    return item ? item->data().toInt() : kIdleTag;
}

void MainWindowController::setRecordItemIdle()
{
    QAction *item = itemForItemIdentifier(kStartRecordingIdentifier);
    item->setData(kIdleTag);
    m_padding = kIdlePadding;
    item->setIcon(QIcon(QPixmap::fromImage(toolbarImageWithColor(VXColor::VXGreenColor()))));
    item->setText(tr("Start Recording"));
}

void MainWindowController::toolbarItemClicked()
{
    QAction *item = itemForItemIdentifier(kStartRecordingIdentifier);
    if (!item)
        return;
    if (item->data().toInt() != kIdleTag) {
        stopRecording();
        return;
    }
    item->setData(kRecordingTag);
    m_buttonImageTimer.start();
    item->setIcon(QIcon(QPixmap::fromImage(toolbarImageWithColor(VXColor::VXRedColor()))));
    item->setText(tr("Stop Recording"));
    m_theWindow.statusBar()->clearMessage();
    m_recordingStatus->start();
    // A recorder that cannot start answers through recordingFailed before this returns.
    if (m_appController)
        m_appController->startButtonClicked(true);
}

void MainWindowController::stopRecording()
{
    // The pulse stops before the button goes idle: the decode and the shake
    // below may run the event loop, and a late pulse would paint it red again.
    m_buttonImageTimer.stop();
    m_recordingStatus->stop();
    setRecordItemIdle();
    DecodeReport report;
    m_recordingDecodeFailed = false;
    if (m_appController) {
        m_appController->startButtonClicked(false);
        addToReport(report, m_appController->lastDecode(), m_appController->lastImport());
        report.addProblem(m_appController->lastRecordingProblem());
    }
    showReport(report);
}

void MainWindowController::pulseButton()
{
    if (recordItemTag() == kIdleTag)
        return;
    // Single precision on purpose: the inset runs 2.0, 2.2, ... up to
    // 4.0000005, which ends the cycle after 11 images.
    if (m_padding >= kIdlePadding || std::isnan(m_padding))
        m_padding = kPulseStartPadding;
    else
        m_padding = float(double(m_padding) + kPulseStep);
    if (QAction *item = itemForItemIdentifier(kStartRecordingIdentifier))
        item->setIcon(QIcon(QPixmap::fromImage(toolbarImageWithColor(VXColor::VXRedColor()))));
}

void MainWindowController::recordingDidFail(const QString &reason)
{
    if (recordItemTag() == kIdleTag)
        return;
    setRecordItemIdle();
    m_buttonImageTimer.stop();
    m_recordingStatus->stop();
    const QString why = reason.isEmpty() ? tr("no audio input is available") : reason;
    m_theWindow.statusBar()->showMessage(tr("Cannot record from the default audio input: %1").arg(why),
                                         kStatusMessageTimeoutMs);
}

void MainWindowController::recordingDidNotDecode()
{
    m_recordingDecodeFailed = true;
    shakeWindow();
}

void MainWindowController::hideSession()
{
    m_context.setHidden(m_sessionArrayController.selectedSessions(), true);
    redraw(m_sessionTable.viewport());
    redraw(m_historyView);
}

void MainWindowController::unhideSession()
{
    m_context.setHidden(m_sessionArrayController.selectedSessions(), false);
    redraw(m_sessionTable.viewport());
    redraw(m_historyView);
}

void MainWindowController::deleteSelectedSession()
{
    const QList<const RunSession *> selection = m_sessionArrayController.selectedSessions();
    if (selection.isEmpty())
        return;
    m_context.deleteSessions(selection);
    redraw(m_historyView);
    redraw(m_sportZoneView);
}

void MainWindowController::markAsChecked()
{
    const QList<const RunSession *> marked = selectedMarkedSessions();
    if (marked.isEmpty())
        return;
    m_context.beginUndoGroup(tr("Mark as Checked"));
    for (const RunSession *session : marked)
        m_context.setValue(session, kNoisyTransferMargin, QVariant());
    m_context.endUndoGroup();
}

void MainWindowController::importRecordings()
{
    const QStringList paths = QFileDialog::getOpenFileNames(&m_theWindow, tr("Import Recording"), QString(),
                                                            tr("Recordings (*.wav *.aif *.aiff *.flac *.ogg *.oga *.opus *.mp3);;All files (*)"));
    if (!paths.isEmpty())
        acceptDrop(paths);
}

void MainWindowController::tableViewWillDisplayCell(QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QItemSelectionModel *selection = m_sessionTable.selectionModel();
    if (!selection || !selection->isRowSelected(index.row(), index.parent()))
        return;
    option.palette.setColor(QPalette::Text, Qt::white);
    option.palette.setColor(QPalette::HighlightedText, Qt::white);
}

Qt::DropAction MainWindowController::validateDrop(const QMimeData &data) const
{
    return data.hasUrls() ? Qt::CopyAction : Qt::IgnoreAction;
}

bool MainWindowController::acceptDrop(const QStringList &paths)
{
    bool shaken = false;
    DecodeReport report;
    for (const QString &path : paths) {
        // Exactly so: a name ending in ".WAV" is not taken.
        const bool isWav = kAudioExtensions.contains(QFileInfo(path).suffix());
        const bool decoded = isWav ? decodeForReport(path, report) : false;
        if (!isWav)
            report.addFile(path, false, 0, tr("not a .wav file"));
        if (!decoded && !shaken) {
            shakeWindow();
            shaken = true;
        }
    }
    showReport(report);
    return true;
}

bool MainWindowController::decodeForReport(const QString &path, DecodeReport &report)
{
    if (m_fileDecoder) {
        const int before = m_insertedSessions;
        const bool decoded = m_fileDecoder(path);
        report.addFile(path, decoded, m_insertedSessions - before);
        return decoded;
    }
    DecodeResult decoded;
    decoded.path = path;
    if (m_decoder)
        decoded = m_decoder->decodeFile(path);
    const ImportResult imported = m_importer ? m_importer->importTransfer(decoded) : ImportResult();
    addToReport(report, decoded, imported);
    return decoded.dataMakesSense;
}

void MainWindowController::addToReport(DecodeReport &report, const DecodeResult &decoded,
                                       const ImportResult &imported)
{
    const bool rescued = decoded.model && decoded.method == DecodeMethod::Rescued;
    report.addFile(decoded.path, decoded.dataMakesSense, imported.storedCount(), decoded.readFailure, rescued,
                   imported.alreadyStored, imported.saved.ok ? QString() : imported.saved.errorMessage);
    // A transfer whose values rest on doubtful decisions says so in the status bar.
    if (decoded.model && decoded.confidence == Confidence::Low)
        report.addNoisyTransfer();
    report.addExport(imported.exportedPath);
}

void MainWindowController::showReport(const DecodeReport &report)
{
    if (!report.isEmpty())
        m_theWindow.statusBar()->showMessage(report.message(), kStatusMessageTimeoutMs);
}

void MainWindowController::shakeWindow()
{
    if (m_shake)
        m_shake();
}

void MainWindowController::redraw(QWidget *view) const
{
    if (view)
        view->update();
}

bool MainWindowController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_sessionTable.viewport())
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        const Qt::DropAction action = drag->mimeData() ? validateDrop(*drag->mimeData()) : Qt::IgnoreAction;
        if (action == Qt::IgnoreAction)
            return false;
        drag->setDropAction(action);
        drag->accept();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (!drop->mimeData() || validateDrop(*drop->mimeData()) == Qt::IgnoreAction)
            return false;
        QStringList paths;
        for (const QUrl &url : drop->mimeData()->urls())
            paths.append(url.isLocalFile() ? url.toLocalFile() : url.toString());
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        // Decoding (and the shake) can take a while: let the drag source finish first.
        QMetaObject::invokeMethod(this, [this, paths] { acceptDrop(paths); }, Qt::QueuedConnection);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}
