#pragma once

#include "AtomicFile.h"
#include "SaveResult.h"
#include "VXUnits.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QRandomGenerator>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <optional>

class RunSession;
class SaveDialog;
class SessionListController;

// The exporter: writes a session as comma-separated text, as an XML property
// list or as a Training Center (TCX) activity, by hand through the save dialog
// or automatically into the folder "VXAutoExportPath" after a transfer; and the text forms of the values
// written into export files. Files are replaced atomically, so a failed write
// leaves an earlier file as it was.
// The formatting operations are static, read "SaveDateFormat" and
// "SaveDataWithTenths" on every call and treat an absent number as 0.
// Lives in the GUI thread (the formatting operations: any thread).
class DataOutput : public QObject
{
    Q_OBJECT

public:
    // Draws the numbers that name automatic exports.
    using RandomSource = std::function<quint32()>;

    explicit DataOutput(QObject *parent = nullptr);

    // --- Wiring (references, not owned) --------------------------------------

    // The session list whose last selected session every export writes.
    void setSessionArrayController(SessionListController *controller) { m_sessionArrayController = controller; }
    SessionListController *sessionArrayController() const { return m_sessionArrayController; }
    void setSaveDialog(SaveDialog *dialog) { m_saveDialog = dialog; }
    // Replaces the generator (seeded once per exporter) that names automatic exports.
    void setRandomSource(RandomSource source);
    // Replaces the file writer (tests inject write faults); null restores the default.
    void setFileWriter(const AtomicFile *writer) { m_fileWriter = writer; }

    // --- Exporting -------------------------------------------------------------

    // Writes the last selected session (with none, a session without values)
    // to path as given: comma-separated text, or a property list with xmlFormat.
    // A failure is also announced through exportFailed().
    SaveResult exportDataToCSVFile(const QString &path, bool withTenths, bool xmlFormat,
                                   bool withFixedDateFormat);

    // Writes session (null: a session without values) to path, replacing a
    // file that is there only once the new one is complete.
    static SaveResult exportSession(const RunSession *session, const QString &path, bool withTenths,
                                    bool xmlFormat, bool withFixedDateFormat,
                                    const AtomicFile &writer = AtomicFile());

    // Writes the last selected session as a Training Center (TCX v2) activity
    // to path as given. A failure is also announced through exportFailed().
    SaveResult exportTcxFile(const QString &path);

    // Writes session as a TCX activity to path, replacing a file only once the
    // new one is complete. Fails without a session or without a start date.
    static SaveResult exportSessionAsTcx(const RunSession *session, const QString &path,
                                         const AtomicFile &writer = AtomicFile());

    // The file forms the command-line decoder can write.
    enum class ExportFormat { CommaSeparated, PropertyList, Tcx };
    // ".csv", ".plist" or ".tcx".
    static QString fileExtension(ExportFormat format);

    // The command-line decoder's export: each session into folder as
    // "<wav base name>-<k>.csv" (".plist" with xmlFormat), k counting from 1 in
    // the order given. One result per session, in that order.
    static QList<SaveResult> exportSessionsToFolder(const QList<const RunSession *> &sessions,
                                                    const QString &wavPath, const QString &folder,
                                                    bool withTenths, bool xmlFormat,
                                                    bool withFixedDateFormat);
    // The same in any format; TCX files are named "<wav base name>-<k>.tcx"
    // and ignore withTenths and withFixedDateFormat.
    static QList<SaveResult> exportSessionsToFolder(const QList<const RunSession *> &sessions,
                                                    const QString &wavPath, const QString &folder,
                                                    ExportFormat format, bool withTenths,
                                                    bool withFixedDateFormat);

    // The export command: with exactly one session selected, asks the save
    // dialog for a file proposing "<sessionName>.csv" and returns at once;
    // otherwise shows the alert "Please only select one session".
    void saveFile();
    // The dialog has closed: on OK, exports to path as comma-separated text with
    // tenths as "SaveTimeWithTenths" says. No result when cancelled.
    std::optional<SaveResult> savePanelDidEnd(int returnCode, const QString &path);
    // The TCX export command: as saveFile(), proposing "<sessionName>.tcx".
    void saveTcxFile();
    // Its dialog has closed: on OK, exports to path as TCX. No result when cancelled.
    std::optional<SaveResult> tcxSavePanelDidEnd(int returnCode, const QString &path);
    // After a transfer: exports the selected session as a property list, with
    // tenths and the fixed date format, into "VXAutoExportPath" under a new
    // random number. Never replaces a file and never creates the folder.
    // No result when "VXAutoExportPath" is not set. writtenPath, when given,
    // receives the file's path after a successful export.
    std::optional<SaveResult> autoExport(QString *writtenPath = nullptr);

    // "h:mm:ss" rounded to the nearest second (a tenths digit of 5 rounds up),
    // or "h:mm:ss<separator>d" with tenths.
    static QString timeStringFromSeconds(std::optional<qint64> tenths, bool withTenths);

    // Local time, "%m/%d/%Y %H:%M:%S", or day first when not fixed and
    // "SaveDateFormat" is "Date DD/MM/YYYY". An invalid date gives an empty text.
    static QString dateStringFromDate(const QDateTime &date, bool withFixedDateFormat);
    // "%m/%d/%Y", or "%d/%m/%Y" when "SaveDateFormat" is "Date DD/MM/YYYY"; empty when invalid.
    static QString birthdayStringFromDate(const QDateTime &date);

    // Speeds ("%.2f", locale separator) of a pace in tenths of a second per unit.
    // An absent or zero pace has no speed: the result is an empty text.
    static QString speedFromData(std::optional<qint64> pace);
    static QString speedFromData(std::optional<qint64> pacePerKilometre, const VXUnits &units);

    // Paces as durations, with tenths when "SaveDataWithTenths" is on.
    static QString paceFromData(std::optional<qint64> pace);
    static QString paceFromData(std::optional<qint64> pacePerKilometre, const VXUnits &units);

    // Thousandths of the display unit, "%.3f" in a metric locale, else "%.2f".
    static QString distanceFromData(std::optional<qint64> thousandths);
    // Metres, in kilometres or (not metric) miles; metric is the locale's at the call.
    static QString distanceFromData(std::optional<qint64> metres, const VXUnits &units);

    // Centimetres in a metric locale (empty when absent), else whole inches.
    static QString lengthFromData(std::optional<qint64> centimetres);
    // The stored weight (tenths of a pound) in whole kilograms or pounds.
    static QString weightFromData(std::optional<qint64> weight, const VXUnits &units);

signals:
    // An export by hand or automatic could not be written; message names the file and the reason.
    void exportFailed(const QString &message);
    // An export by hand wrote path.
    void exported(const QString &path);

private:
    const RunSession *lastSelectedSession() const;
    const AtomicFile &fileWriter() const;
    SaveResult reported(const SaveResult &result);
    using PanelDidEnd = std::optional<SaveResult> (DataOutput::*)(int returnCode, const QString &path);
    void askForPathOfSelectedSession(const QString &extension, PanelDidEnd didEnd);

    SessionListController *m_sessionArrayController = nullptr;
    SaveDialog *m_saveDialog = nullptr;
    const AtomicFile *m_fileWriter = nullptr;
    AtomicFile m_defaultFileWriter;
    QRandomGenerator m_random;
    RandomSource m_randomSource;
};
