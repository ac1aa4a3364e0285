#pragma once

#include <QHash>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <functional>

class AppController;
class Decoder;
class TransferImporter;
struct DecodeResult;
struct ImportResult;
class ImageAndTextCell;
class ObjectContext;
class QAction;
class QMainWindow;
class QMimeData;
class QStyleOptionViewItem;
class QTableView;
class QToolBar;
class RecordingStatus;
class RunSession;
class SessionListController;
class SessionTableModel;
class DecodeReport;

// Runs the main window: the toolbar with its one record button (which pulses
// while a recording runs), the session list and its commands (hide, unhide,
// mark as checked, delete), the white text of selected rows, and WAV files
// dropped onto the list or imported, each handed to the decoder. Lives in the
// GUI thread.
class MainWindowController : public QObject
{
    Q_OBJECT

public:
    static constexpr QLatin1StringView kToolbarIdentifier{"VentrixMainToolbar"};
    static constexpr QLatin1StringView kStartRecordingIdentifier{"StartRecording"};
    static constexpr QLatin1StringView kFlexibleSpaceIdentifier{"NSToolbarFlexibleSpaceItem"};
    static constexpr int kImageSize = 32;
    static constexpr float kIdlePadding = 4.0f;
    static constexpr float kPulseStartPadding = 2.0f;
    static constexpr double kPulseStep = 0.2;
    static constexpr int kPulseIntervalMs = 100;
    static constexpr QLatin1StringView kRecordShortcut{"Ctrl+R"};
    // The record button's tag.
    static constexpr int kIdleTag = 0;
    static constexpr int kRecordingTag = 1;

    // Decodes one file: true when a model was recognised and no field was invalid.
    using FileDecoder = std::function<bool(const QString &path)>;
    using Shake = std::function<void()>;

    MainWindowController(QMainWindow &theWindow, QTableView &sessionTable, SessionListController &sessions,
                         ObjectContext &context, QObject *parent = nullptr);
    ~MainWindowController() override;

    // --- Wiring (references, not owned) ----------------------------------
    // Also makes this controller the one that shakes after a recording that
    // does not decode, and returns the button to idle when one cannot start.
    void setAppController(AppController *appController);
    // Dropped and imported files are decoded by decoder and stored by importer.
    void setDecoder(Decoder *decoder, TransferImporter *importer);
    // Replaces the decoding and storing of dropped files (tests).
    void setFileDecoder(FileDecoder decoder) { m_fileDecoder = std::move(decoder); }
    void setHistoryView(QWidget *view) { m_historyView = view; }
    void setSportZoneView(QWidget *view) { m_sportZoneView = view; }
    // Replaces the window's shake (default VX_shake of the window).
    void setShake(Shake shake) { m_shake = std::move(shake); }

    // Builds the toolbar with the record button, and the session list: its
    // model over the shared selection, columns sized to their contents (or
    // as the user left them), the sort order, the row delegate and drops of
    // files. The application calls it once, after the references are set.
    void setUpWindow();

    // --- Toolbar ---------------------------------------------------------
    QToolBar *toolbar() const { return m_toolbar; }
    // The stored item for "StartRecording"; null for any other identifier.
    QAction *itemForItemIdentifier(const QString &identifier) const;
    static QStringList toolbarDefaultItemIdentifiers();
    static QStringList toolbarAllowedItemIdentifiers();

    // 32 x 32, transparent: a VXGrayColor square inset by padding, and in it
    // a square of color inset by 2 more.
    static QImage toolbarImageWithColor(const QColor &color, float padding);
    QImage toolbarImageWithColor(const QColor &color) const { return toolbarImageWithColor(color, m_padding); }
    float padding() const { return m_padding; }
    int recordItemTag() const;
    bool isPulsing() const { return m_buttonImageTimer.isActive(); }
    const QTimer &buttonImageTimer() const { return m_buttonImageTimer; }
    RecordingStatus *recordingStatus() const { return m_recordingStatus; }
    SessionTableModel *sessionTableModel() const { return m_sessionTableModel; }

    // --- Actions ---------------------------------------------------------
    void toolbarItemClicked();
    void pulseButton();
    void hideSession();
    void unhideSession();
    void deleteSelectedSession();
    // Clears the noisy-transfer mark of the selected sessions, as one undo step.
    void markAsChecked();
    // "Mark as Checked", enabled while a selected session has the mark.
    QAction *markAsCheckedAction() const { return m_markAsCheckedAction; }
    // Asks for WAV files and decodes them as if dropped.
    void importRecordings();

    // --- Session list ----------------------------------------------------
    void tableViewWillDisplayCell(QStyleOptionViewItem &option, const QModelIndex &index) const;
    // Any list of files is taken as a copy onto the whole table.
    Qt::DropAction validateDrop(const QMimeData &data) const;
    // Decodes every path with the extension "wav" (exactly so); the window
    // shakes once when any path is not one or does not decode. Always true.
    bool acceptDrop(const QStringList &paths);
    ImageAndTextCell *sessionCell() const { return m_sessionCell; }

    // How long the status bar shows what a decode brought.
    static constexpr int kStatusMessageTimeoutMs = 20000;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void installToolbar();
    void installMarkAsChecked();
    QList<const RunSession *> selectedMarkedSessions() const;
    void setUpSessionList();
    void setRecordItemIdle();
    void stopRecording();
    void recordingDidFail(const QString &reason);
    void recordingDidNotDecode();
    bool decodeForReport(const QString &path, DecodeReport &report);
    static void addToReport(DecodeReport &report, const DecodeResult &decoded, const ImportResult &imported);
    void showReport(const DecodeReport &report);
    void shakeWindow();
    void redraw(QWidget *view) const;

    QMainWindow &m_theWindow;
    QTableView &m_sessionTable;
    SessionListController &m_sessionArrayController;
    ObjectContext &m_context;
    QPointer<AppController> m_appController;
    Decoder *m_decoder = nullptr;
    TransferImporter *m_importer = nullptr;
    FileDecoder m_fileDecoder;
    QPointer<QWidget> m_historyView;
    QPointer<QWidget> m_sportZoneView;
    Shake m_shake;

    QToolBar *m_toolbar = nullptr;
    QHash<QString, QAction *> m_toolbarItemsDictionary;
    QTimer m_buttonImageTimer;
    float m_padding = kIdlePadding;
    ImageAndTextCell *m_sessionCell = nullptr;
    SessionTableModel *m_sessionTableModel = nullptr;
    // The user has resized a column by hand: the list no longer widens its columns.
    bool m_columnsArranged = false;
    bool m_fittingColumns = false;
    RecordingStatus *m_recordingStatus = nullptr;
    QAction *m_markAsCheckedAction = nullptr;

    // Sessions the store gained since the start; read around each decode.
    int m_insertedSessions = 0;
    bool m_recordingDecodeFailed = false;
};
