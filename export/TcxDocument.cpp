#include "TcxDocument.h"

#include "ExportDocument.h"

#include <QStringList>

namespace {

const QLatin1String kTrainingCenterNamespace("http://www.garmin.com/xmlschemas/TrainingCenterDatabase/v2");
const QLatin1String kActivityExtensionNamespace("http://www.garmin.com/xmlschemas/ActivityExtension/v2");
const QLatin1String kSchemaInstanceNamespace("http://www.w3.org/2001/XMLSchema-instance");
const QLatin1String kCreatorName("Ventrix");

constexpr int kMillisecondsPerTenth = 100;
constexpr int kMetreDecimals = 2;   // centimetres
constexpr int kSpeedDecimals = 3;   // millimetres per second
constexpr int kSecondDecimals = 1;  // the watches count tenths

// value with at most decimals digits after the point, trailing zeros dropped;
// QString::number always writes the C locale's ".".
QString decimal(double value, int decimals)
{
    QString text = QString::number(value, 'f', decimals);
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

// xsd:dateTime in UTC, with the tenth of a second only when there is one.
QString timestamp(const QDateTime &start, qint64 offsetTenths)
{
    const QDateTime at = start.addMSecs(offsetTenths * kMillisecondsPerTenth).toUTC();
    QString text = at.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    const int tenth = at.time().msec() / kMillisecondsPerTenth;
    if (tenth != 0)
        text += u'.' + QString::number(tenth);
    return text + u'Z';
}

// Writes one element per line, indented by two spaces per level.
class XmlLines
{
public:
    void open(const QString &tag, const QString &attributes = QString())
    {
        line(u'<' + tag + (attributes.isEmpty() ? QString() : u' ' + attributes) + u'>');
        m_tags.append(tag);
    }
    void close()
    {
        const QString tag = m_tags.takeLast();
        line(QLatin1String("</") + tag + u'>');
    }
    void element(const QString &tag, const QString &value)
    {
        line(u'<' + tag + u'>' + ExportDocument::xmlText(value) + QLatin1String("</") + tag + u'>');
    }
    void element(const QString &tag, qint64 value) { element(tag, QString::number(value)); }
    void valueElement(const QString &tag, int value)
    {
        open(tag);
        element(QStringLiteral("Value"), value);
        close();
    }
    void raw(const QString &text) { m_text += text + u'\n'; }

    QByteArray utf8() const { return m_text.toUtf8(); }

private:
    void line(const QString &text)
    {
        m_text += QString(2 * m_tags.size(), u' ') + text + u'\n';
    }

    QString m_text;
    QStringList m_tags;
};

void writeLapExtension(XmlLines &xml, const TcxLap &lap)
{
    if (!lap.averageSpeed && !lap.maximumBikeCadence)
        return;
    xml.open(QStringLiteral("Extensions"));
    xml.open(QStringLiteral("ns3:LX"));
    if (lap.averageSpeed)
        xml.element(QStringLiteral("ns3:AvgSpeed"), decimal(*lap.averageSpeed, kSpeedDecimals));
    if (lap.maximumBikeCadence)
        xml.element(QStringLiteral("ns3:MaxBikeCadence"), *lap.maximumBikeCadence);
    xml.close();
    xml.close();
}

void writeLap(XmlLines &xml, const QDateTime &start, const TcxLap &lap)
{
    xml.open(QStringLiteral("Lap"),
             QStringLiteral("StartTime=\"%1\"").arg(timestamp(start, lap.startOffsetTenths)));
    xml.element(QStringLiteral("TotalTimeSeconds"), decimal(lap.timeTenths / 10.0, kSecondDecimals));
    xml.element(QStringLiteral("DistanceMeters"), decimal(lap.distanceMetres, kMetreDecimals));
    if (lap.maximumSpeed)
        xml.element(QStringLiteral("MaximumSpeed"), decimal(*lap.maximumSpeed, kSpeedDecimals));
    if (lap.calories)
        xml.element(QStringLiteral("Calories"), *lap.calories);
    if (lap.averageHeartRate)
        xml.valueElement(QStringLiteral("AverageHeartRateBpm"), *lap.averageHeartRate);
    if (lap.maximumHeartRate)
        xml.valueElement(QStringLiteral("MaximumHeartRateBpm"), *lap.maximumHeartRate);
    xml.element(QStringLiteral("Intensity"), QStringLiteral("Active"));
    if (lap.cadence)
        xml.element(QStringLiteral("Cadence"), *lap.cadence);
    xml.element(QStringLiteral("TriggerMethod"), lap.triggerMethod);
    writeLapExtension(xml, lap);
    xml.close();
}

void writeCreator(XmlLines &xml, TcxDocument::Version version)
{
    xml.open(QStringLiteral("Creator"), QStringLiteral("xsi:type=\"Device_t\""));
    xml.element(QStringLiteral("Name"), kCreatorName);
    // Required by the format; Ventrix is no device with a unit or product number.
    xml.element(QStringLiteral("UnitId"), 0);
    xml.element(QStringLiteral("ProductID"), 0);
    xml.open(QStringLiteral("Version"));
    xml.element(QStringLiteral("VersionMajor"), version.major);
    xml.element(QStringLiteral("VersionMinor"), version.minor);
    xml.element(QStringLiteral("BuildMajor"), version.build);
    xml.close();
    xml.close();
}

} // namespace

QByteArray TcxDocument::text(const TcxActivity &activity, Version creator)
{
    XmlLines xml;
    xml.raw(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    xml.open(QStringLiteral("TrainingCenterDatabase"),
             QStringLiteral("xmlns=\"%1\" xmlns:ns3=\"%2\" xmlns:xsi=\"%3\"")
                 .arg(kTrainingCenterNamespace, kActivityExtensionNamespace, kSchemaInstanceNamespace));
    xml.open(QStringLiteral("Activities"));
    xml.open(QStringLiteral("Activity"), QStringLiteral("Sport=\"%1\"").arg(activity.sport));
    xml.element(QStringLiteral("Id"), timestamp(activity.start, 0));
    for (const TcxLap &lap : activity.laps)
        writeLap(xml, activity.start, lap);
    if (!activity.notes.isEmpty())
        xml.element(QStringLiteral("Notes"), activity.notes);
    writeCreator(xml, creator);
    xml.close();
    xml.close();
    xml.close();
    return xml.utf8();
}

TcxDocument::Version TcxDocument::applicationVersion()
{
    return {VENTRIX_VERSION_MAJOR, VENTRIX_VERSION_MINOR, VENTRIX_VERSION_PATCH};
}
