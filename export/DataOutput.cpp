#include "DataOutput.h"

#include "ExportDocument.h"
#include "ExportRows.h"
#include "PaceSpeed.h"
#include "RunSession.h"
#include "SaveDialog.h"
#include "SessionListController.h"
#include "TcxDocument.h"
#include "VXDefaults.h"
#include "VXDurationText.h"
#include "VXNumberText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace {

const QString kSaveTimeWithTenthsKey = QStringLiteral("SaveTimeWithTenths");
const QString kAutoExportPathKey = QStringLiteral("VXAutoExportPath");
const QString kCannotExport = QStringLiteral("cannot export session to");

// Automatic export names are numbers below 2^31, as the C library's random() draws them.
constexpr quint32 kNameNumberMask = 0x7fffffff;
// A folder that already holds this many of the drawn names is not going to free one.
constexpr int kMostNameDraws = 1000;

const QString kSaveDateFormatKey = QStringLiteral("SaveDateFormat");
const QString kSaveDataWithTenthsKey = QStringLiteral("SaveDataWithTenths");
const QString kDayFirstDateFormat = QStringLiteral("Date DD/MM/YYYY");

// strftime's %m/%d/%Y %H:%M:%S in QDateTime's notation.
const QString kMonthFirstDateTime = QStringLiteral("MM/dd/yyyy HH:mm:ss");
const QString kDayFirstDateTime = QStringLiteral("dd/MM/yyyy HH:mm:ss");
const QString kMonthFirstDate = QStringLiteral("MM/dd/yyyy");
const QString kDayFirstDate = QStringLiteral("dd/MM/yyyy");

constexpr float kThousandthsPerUnit = 1000.0f;
constexpr double kMetresPerKilometre = 1000.0;
constexpr double kInchesPerCentimetre = 0.39370079;
constexpr double kTenthsPerPound = 10.0;
constexpr float kLargestPace = 4294967040.0f; // the largest float below 2^32
constexpr int kSpeedDecimals = 2;
constexpr int kMetricDistanceDecimals = 3;
constexpr int kImperialDistanceDecimals = 2;
constexpr int kWeightDecimals = 0;

bool dayFirstDates()
{
    return VXDefaults::value(kSaveDateFormatKey).toString() == kDayFirstDateFormat;
}

QString localDateText(const QDateTime &date, const QString &format)
{
    if (!date.isValid())
        return {};
    // toString with a format string writes ASCII digits whatever the locale.
    return date.toLocalTime().toString(format);
}

float singlePrecisionSpeed(qint64 pace)
{
    return speedFromPace(static_cast<float>(pace));
}

int distanceDecimals()
{
    return VXUnits::localeIsMetric() ? kMetricDistanceDecimals : kImperialDistanceDecimals;
}

// Claims path for a new file: creates it empty unless something of that name is there.
enum class Claim { Claimed, Taken, Failed };

Claim claimNewFile(const QString &path, QString *reason)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return Claim::Claimed;
    const QFileInfo existing(path);
    if (existing.exists() || existing.isSymLink())
        return Claim::Taken;
    *reason = file.errorString();
    return Claim::Failed;
}

// The folder text as stored with name appended after exactly one separator.
QString pathInFolder(QString folder, const QString &name)
{
    while (folder.endsWith(u'/'))
        folder.chop(1);
    return folder + u'/' + name;
}

SaveResult exportFailure(const QString &path, const QString &reason)
{
    return SaveResult::failure(kCannotExport + u' ' + path + QLatin1String(": ") + reason);
}

} // namespace

QString DataOutput::fileExtension(ExportFormat format)
{
    switch (format) {
    case ExportFormat::PropertyList:
        return QStringLiteral(".plist");
    case ExportFormat::Tcx:
        return QStringLiteral(".tcx");
    case ExportFormat::CommaSeparated:
        break;
    }
    return QStringLiteral(".csv");
}

DataOutput::DataOutput(QObject *parent)
    : QObject(parent),
      m_random(QRandomGenerator::securelySeeded()),
      m_randomSource([this] { return m_random.generate(); })
{
}

void DataOutput::setRandomSource(RandomSource source)
{
    m_randomSource = std::move(source);
}

const RunSession *DataOutput::lastSelectedSession() const
{
    if (!m_sessionArrayController)
        return nullptr;
    const QList<const RunSession *> selection = m_sessionArrayController->selectedSessions();
    return selection.isEmpty() ? nullptr : selection.last();
}

const AtomicFile &DataOutput::fileWriter() const
{
    return m_fileWriter ? *m_fileWriter : m_defaultFileWriter;
}

SaveResult DataOutput::reported(const SaveResult &result)
{
    if (!result.ok)
        emit exportFailed(result.errorMessage);
    return result;
}

SaveResult DataOutput::exportDataToCSVFile(const QString &path, bool withTenths, bool xmlFormat,
                                           bool withFixedDateFormat)
{
    return reported(exportSession(lastSelectedSession(), path, withTenths, xmlFormat,
                                  withFixedDateFormat, fileWriter()));
}

SaveResult DataOutput::exportSession(const RunSession *session, const QString &path, bool withTenths,
                                     bool xmlFormat, bool withFixedDateFormat, const AtomicFile &writer)
{
    if (path.isEmpty())
        return SaveResult::failure(QStringLiteral("cannot export session: no file name given"));
    // The rows are complete before anything touches the disk.
    const QList<ExportRow> rows = ExportRows(withTenths, withFixedDateFormat).rowsForSession(session);
    const QByteArray contents = xmlFormat ? ExportDocument::propertyList(rows)
                                          : ExportDocument::commaSeparatedText(rows);
    return writer.write(path, contents, kCannotExport);
}

SaveResult DataOutput::exportTcxFile(const QString &path)
{
    return reported(exportSessionAsTcx(lastSelectedSession(), path, fileWriter()));
}

SaveResult DataOutput::exportSessionAsTcx(const RunSession *session, const QString &path,
                                          const AtomicFile &writer)
{
    if (path.isEmpty())
        return SaveResult::failure(QStringLiteral("cannot export session: no file name given"));
    if (!session)
        return exportFailure(path, QStringLiteral("no session selected"));
    const std::optional<TcxActivity> activity = TcxActivity::fromSession(*session, VXUnits());
    if (!activity)
        return exportFailure(path, QStringLiteral("the session has no start date"));
    return writer.write(path, TcxDocument::text(*activity, TcxDocument::applicationVersion()),
                        kCannotExport);
}

QList<SaveResult> DataOutput::exportSessionsToFolder(const QList<const RunSession *> &sessions,
                                                     const QString &wavPath, const QString &folder,
                                                     bool withTenths, bool xmlFormat,
                                                     bool withFixedDateFormat)
{
    return exportSessionsToFolder(sessions, wavPath, folder,
                                  xmlFormat ? ExportFormat::PropertyList : ExportFormat::CommaSeparated,
                                  withTenths, withFixedDateFormat);
}

QList<SaveResult> DataOutput::exportSessionsToFolder(const QList<const RunSession *> &sessions,
                                                     const QString &wavPath, const QString &folder,
                                                     ExportFormat format, bool withTenths,
                                                     bool withFixedDateFormat)
{
    const QString baseName = QFileInfo(wavPath).completeBaseName();
    const QString extension = fileExtension(format);
    QList<SaveResult> results;
    int k = 0;
    for (const RunSession *session : sessions) {
        const QString path = QDir(folder).filePath(baseName + u'-' + QString::number(++k) + extension);
        results.append(format == ExportFormat::Tcx
                           ? exportSessionAsTcx(session, path)
                           : exportSession(session, path, withTenths,
                                           format == ExportFormat::PropertyList, withFixedDateFormat));
    }
    return results;
}

void DataOutput::saveFile()
{
    askForPathOfSelectedSession(QStringLiteral(".csv"), &DataOutput::savePanelDidEnd);
}

void DataOutput::saveTcxFile()
{
    askForPathOfSelectedSession(QStringLiteral(".tcx"), &DataOutput::tcxSavePanelDidEnd);
}

void DataOutput::askForPathOfSelectedSession(const QString &extension, PanelDidEnd didEnd)
{
    if (!m_saveDialog)
        return;
    const QList<const RunSession *> selection =
        m_sessionArrayController ? m_sessionArrayController->selectedSessions() : QList<const RunSession *>();
    if (selection.size() != 1) {
        m_saveDialog->showAlert(tr("Please only select one session"), tr("Ok"));
        return;
    }
    const QString proposedName = selection.front()->sessionName.value_or(QString()) + extension;
    // The dialog may outlive the exporter when the window closes under it.
    const QPointer<DataOutput> self(this);
    m_saveDialog->askForPath(proposedName, [self, didEnd](int returnCode, const QString &path) {
        if (!self)
            return;
        const std::optional<SaveResult> result = (self.data()->*didEnd)(returnCode, path);
        if (result && result->ok)
            emit self->exported(path);
    });
}

std::optional<SaveResult> DataOutput::tcxSavePanelDidEnd(int returnCode, const QString &path)
{
    if (returnCode != SaveDialog::kOKCode)
        return std::nullopt;
    return exportTcxFile(path);
}

std::optional<SaveResult> DataOutput::savePanelDidEnd(int returnCode, const QString &path)
{
    if (returnCode != SaveDialog::kOKCode)
        return std::nullopt;
    const bool withTenths = VXDefaults::value(kSaveTimeWithTenthsKey).toBool();
    return exportDataToCSVFile(path, withTenths, false, false);
}

std::optional<SaveResult> DataOutput::autoExport(QString *writtenPath)
{
    const QString folder = VXDefaults::value(kAutoExportPathKey).toString();
    if (folder.isEmpty())
        return std::nullopt;
    for (int draw = 0; draw < kMostNameDraws; ++draw) {
        const QString name = QString::number(m_randomSource() & kNameNumberMask);
        const QString path = pathInFolder(folder, name);
        QString reason;
        switch (claimNewFile(path, &reason)) {
        case Claim::Taken:
            continue;
        case Claim::Failed:
            return reported(exportFailure(path, reason));
        case Claim::Claimed:
            break;
        }
        const SaveResult result = exportDataToCSVFile(path, true, true, true);
        // A failed write leaves the file claimed above empty; it is not an export.
        if (!result.ok && QFileInfo(path).size() == 0)
            QFile::remove(path);
        if (result.ok && writtenPath)
            *writtenPath = path;
        return result;
    }
    return reported(exportFailure(folder, QStringLiteral("no unused file name found")));
}

QString DataOutput::timeStringFromSeconds(std::optional<qint64> tenths, bool withTenths)
{
    return withTenths ? VXDurationText::withTenths(tenths) : VXDurationText::roundedToSeconds(tenths);
}

QString DataOutput::dateStringFromDate(const QDateTime &date, bool withFixedDateFormat)
{
    const bool dayFirst = !withFixedDateFormat && dayFirstDates();
    return localDateText(date, dayFirst ? kDayFirstDateTime : kMonthFirstDateTime);
}

QString DataOutput::birthdayStringFromDate(const QDateTime &date)
{
    return localDateText(date, dayFirstDates() ? kDayFirstDate : kMonthFirstDate);
}

QString DataOutput::speedFromData(std::optional<qint64> pace)
{
    if (!pace || *pace == 0)
        return {};
    return VXNumberText::localeFormatted(singlePrecisionSpeed(*pace), kSpeedDecimals);
}

QString DataOutput::speedFromData(std::optional<qint64> pacePerKilometre, const VXUnits &units)
{
    if (!pacePerKilometre || *pacePerKilometre == 0)
        return {};
    const double speed = singlePrecisionSpeed(*pacePerKilometre) * units.kmToMilesFactor();
    return VXNumberText::localeFormatted(speed, kSpeedDecimals);
}

QString DataOutput::paceFromData(std::optional<qint64> pace)
{
    const bool withTenths = VXDefaults::value(kSaveDataWithTenthsKey).toBool();
    return timeStringFromSeconds(pace.value_or(0), withTenths);
}

QString DataOutput::paceFromData(std::optional<qint64> pacePerKilometre, const VXUnits &units)
{
    const float pace = static_cast<float>(static_cast<double>(pacePerKilometre.value_or(0))
                                          / units.kmToMilesFactor());
    // Truncated toward zero to an unsigned 32-bit count; the bounds keep the cast defined.
    const float bounded = std::isnan(pace) ? 0.0f : std::clamp(pace, 0.0f, kLargestPace);
    return paceFromData(static_cast<qint64>(bounded));
}

QString DataOutput::distanceFromData(std::optional<qint64> thousandths)
{
    const float distance = static_cast<float>(thousandths.value_or(0)) / kThousandthsPerUnit;
    return VXNumberText::localeFormatted(distance, distanceDecimals());
}

QString DataOutput::distanceFromData(std::optional<qint64> metres, const VXUnits &units)
{
    double distance = static_cast<double>(metres.value_or(0)) / kMetresPerKilometre;
    if (!VXUnits::localeIsMetric())
        distance *= units.kmToMilesFactor();
    return VXNumberText::localeFormatted(distance, distanceDecimals());
}

QString DataOutput::lengthFromData(std::optional<qint64> centimetres)
{
    if (VXUnits::localeIsMetric())
        return centimetres ? QString::number(*centimetres) : QString();
    // std::llround rounds halves away from zero.
    const double inches = static_cast<double>(centimetres.value_or(0)) * kInchesPerCentimetre;
    return QString::number(std::llround(inches));
}

QString DataOutput::weightFromData(std::optional<qint64> weight, const VXUnits &units)
{
    const double shown =
        std::round(static_cast<double>(weight.value_or(0)) * units.poundsToKilogramFactor()
                   / kTenthsPerPound);
    // Adding +0.0 turns a rounded -0.0 into 0, so no "-0" is written.
    return VXNumberText::localeFormatted(shown + 0.0, kWeightDecimals);
}
