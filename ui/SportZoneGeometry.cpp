#include "SportZoneGeometry.h"

#include "DataView.h"
#include "RunSession.h"
#include "WatchModel.h"

#include <QCoreApplication>

#include <algorithm>
#include <climits>
#include <map>
#include <optional>

namespace {

// A session without a model is drawn as an RS200 one.
constexpr WatchModel kDefaultModel = WatchModel::RS200;
constexpr double kUpperRowOffset = 100.0 / 3.0; // from the box's bottom edge, upwards
constexpr double kLowerRowOffset = 50.0 / 3.0;
constexpr int kSportZoneCount = 5;

// The chart's texts share its view's translation context.
struct ZoneChartText
{
    Q_DECLARE_TR_FUNCTIONS(SportZoneView)
};

QString timeLabel(std::optional<int> tenths)
{
    return DataView::timeStringFromSeconds(tenths, false).text;
}

QString numberText(std::optional<int> value)
{
    return value ? QString::number(*value) : QStringLiteral("-");
}

// zoneNumber → timeInZone of every numbered sport zone.
std::map<int, std::optional<int>> zoneDictionary(const RunSession &session)
{
    std::map<int, std::optional<int>> zones;
    for (const SportZone &zone : session.sportZone)
        if (zone.zoneNumber)
            zones[*zone.zoneNumber] = zone.timeInZone;
    return zones;
}

// The limit zone the chart shows when there are several: the lowest number.
const LimitZone *shownLimitZone(const RunSession &session)
{
    if (session.limitZone.empty())
        return nullptr;
    return &*std::min_element(session.limitZone.begin(), session.limitZone.end(),
                              [](const LimitZone &a, const LimitZone &b) {
                                  return a.zoneNumber.value_or(INT_MAX) < b.zoneNumber.value_or(INT_MAX);
                              });
}

class Builder
{
public:
    Builder(SportZoneGeometry &geometry, const QSizeF &size)
        : m_geometry(geometry), m_width(size.width()), m_height(size.height()),
          m_barSpace(std::max(size.height() - SportZoneGeometry::kLabelSpace, 0.0))
    {
    }

    double columnWidth() const { return m_width / SportZoneGeometry::kColumns; }

    // A bar whose bottom lies on the chart's bottom edge. A largest value of 0
    // draws every bar flat, still with its label.
    void addBar(double left, double value, double largest, const QString &label)
    {
        const double height = largest > 0 ? m_barSpace * value / largest : 0.0;
        addBarOfHeight(left, height, label);
    }

    void addBarOfHeight(double left, double height, const QString &label)
    {
        const QRectF rect(left, m_height - height, columnWidth(), height);
        const QPointF anchor(rect.center().x(), rect.top() - SportZoneGeometry::kLabelGap);
        m_geometry.bars.push_back({rect, label, anchor});
    }

    double barSpace() const { return m_barSpace; }

    void addInfoColumn(int column, const QString &upper, const QString &lower)
    {
        addInfoText(column * columnWidth() + columnWidth() / 2, upper, lower);
    }

    void addInfoText(double centreX, const QString &upper, const QString &lower)
    {
        const double bottom = m_geometry.infoBox.bottom();
        m_geometry.infoTexts.push_back({QPointF(centreX, bottom - kUpperRowOffset), upper});
        m_geometry.infoTexts.push_back({QPointF(centreX, bottom - kLowerRowOffset), lower});
    }

private:
    SportZoneGeometry &m_geometry;
    double m_width;
    double m_height;
    double m_barSpace;
};

SportZone singleZone(const RunSession &session)
{
    return session.sportZone.empty() ? SportZone{} : session.sportZone.front();
}

void layOutF6(const RunSession &session, Builder &builder)
{
    const double width = builder.columnWidth() * SportZoneGeometry::kColumns;
    builder.addBarOfHeight(width / 2 - width / 10, builder.barSpace(), timeLabel(singleZone(session).timeInZone));
}

void describeF6(const RunSession &session, Builder &builder)
{
    const SportZone zone = singleZone(session);
    builder.addInfoText(builder.columnWidth() * SportZoneGeometry::kColumns / 2, ZoneChartText::tr("In zone"),
                        numberText(zone.limitLow) + QLatin1Char('-') + numberText(zone.limitHigh));
}

void layOutFiveZones(const std::map<int, std::optional<int>> &zones, Builder &builder)
{
    double largest = 0;
    for (int k = 1; k <= kSportZoneCount; ++k)
        if (zones.contains(k))
            largest = std::max<double>(largest, zones.at(k).value_or(0));
    for (int k = 1; k <= kSportZoneCount; ++k) {
        const std::optional<int> time = zones.contains(k) ? zones.at(k) : std::nullopt;
        builder.addBar((k - 1) * builder.columnWidth(), time.value_or(0), largest, timeLabel(time));
    }
}

void describeFiveZones(const RunSession &session, Builder &builder)
{
    for (int i = 0; i < kSportZoneCount; ++i) {
        const SportZone *zone = session.sportZoneWithNumber(i + 1);
        const SportZone limits = zone ? *zone : SportZone{};
        builder.addInfoColumn(i, ZoneChartText::tr("Zone %1").arg(i + 1),
                              numberText(limits.limitLow) + QLatin1Char('-') + numberText(limits.limitHigh)
                                  + QLatin1Char('%'));
    }
}

void layOutLimitZone(const LimitZone &zone, Builder &builder)
{
    const int times[] = {zone.timeBelowZone.value_or(0), zone.timeInZone.value_or(0),
                         zone.timeAboveZone.value_or(0)};
    const double largest = *std::max_element(std::begin(times), std::end(times));
    const std::optional<int> labelled[] = {zone.timeBelowZone, zone.timeInZone, zone.timeAboveZone};
    builder.addBar(0, 0, largest, {});
    for (int i = 0; i < 3; ++i)
        builder.addBar((i + 1) * builder.columnWidth(), times[i], largest, timeLabel(labelled[i]));
    builder.addBar(4 * builder.columnWidth(), 0, largest, {});
}

void describeLimitZone(const LimitZone &zone, Builder &builder)
{
    const QString upper[] = {QString(), ZoneChartText::tr("Below"), ZoneChartText::tr("In zone"),
                             ZoneChartText::tr("Above"), QString()};
    const QString lower[] = {QString(), numberText(zone.limitLow), QString(), numberText(zone.limitHigh), QString()};
    for (int i = 0; i < SportZoneGeometry::kColumns; ++i)
        builder.addInfoColumn(i, upper[i], lower[i]);
}

} // namespace

SportZoneGeometry SportZoneGeometry::compute(const QList<const RunSession *> &selected, const QSizeF &size)
{
    SportZoneGeometry geometry;
    geometry.bounds = QRectF(QPointF(0, 0), size);
    if (selected.size() != 1)
        return geometry;
    const RunSession &session = *selected.last();
    geometry.drawsSession = true;
    geometry.hrm = session.hrm.value_or(watchModelName(kDefaultModel));
    geometry.infoBox = QRectF(0, size.height() / 2 - kInfoBoxHalfHeight, size.width(), 2 * kInfoBoxHalfHeight);

    Builder builder(geometry, size);
    const bool isF6 = watchModelFromName(geometry.hrm) == WatchModel::F6;
    const LimitZone *limitZone = shownLimitZone(session);
    const std::map<int, std::optional<int>> zones = zoneDictionary(session);
    if (isF6) {
        geometry.layout = Layout::F6;
        layOutF6(session, builder);
    } else if (zones.size() == kSportZoneCount) {
        geometry.layout = Layout::FiveSportZones;
        layOutFiveZones(zones, builder);
    } else if (limitZone) {
        geometry.layout = Layout::LimitZone;
        layOutLimitZone(*limitZone, builder);
    }

    // The box names the zones of the session's own zone set, which may differ
    // from the numbered zones the bars show.
    if (isF6)
        describeF6(session, builder);
    else if (session.sportZone.size() == kSportZoneCount)
        describeFiveZones(session, builder);
    else if (limitZone)
        describeLimitZone(*limitZone, builder);
    return geometry;
}
