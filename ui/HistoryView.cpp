#include "HistoryView.h"

#include "ObjectContext.h"
#include "RunSession.h"
#include "SessionListController.h"
#include "VXDataWindow.h"
#include "VXDataWindowController.h"
#include "VXDate.h"
#include "VXDefaults.h"
#include "VXDurationText.h"
#include "VXNumberText.h"
#include "VXNotifications.h"
#include "VXToggleSegmentedControl.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QToolTip>
#include <QFontMetrics>
#include <QLocale>
#include <QGuiApplication>
#include <QScreen>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace {

constexpr double kBarOutlineWidth = 2.0;
constexpr double kLineWidth = 1.0;
constexpr double kDotOutlineWidth = 2.0;
// The dot's circle and outline with a pixel to spare; odd, so that its centre is a pixel's centre.
constexpr int kDotImageSize = 13;
// Strokes reach this far beyond the geometry they follow.
constexpr double kStrokeMargin = HistoryGeometry::kDotDiameter;

// The platform's standard grey (white 0.5) outlines bars, on light and dark backgrounds alike.
QColor barOutlineColor()
{
    return QColor::fromRgbF(0.5f, 0.5f, 0.5f);
}

constexpr double kThousandths = 1000.0;
constexpr double kLabelFontScale = 0.85;
constexpr double kLabelInset = 2.0;
// How far left of the painted area a label may begin and still reach into it.
constexpr double kLabelWidth = 120.0;

QColor defaultColor(const QString &key)
{
    return VXDefaults::table().value(key).value<QColor>();
}

} // namespace

const QStringList &HistoryView::visibilityKeys()
{
    static const QStringList keys{QStringLiteral("VXHistoryTimeIsVisible"), QStringLiteral("VXHistoryHRIsVisible"),
                                  QStringLiteral("VXHistoryDistanceIsVisible"),
                                  QStringLiteral("VXHistoryCaloriesIsVisible")};
    return keys;
}

const QStringList &HistoryView::resettableColorKeys()
{
    // "VXHistoryCaloriesColor" is intentionally left as the user set it.
    static const QStringList keys{QStringLiteral("VXHistoryTimeColor"), QStringLiteral("VXHistorySelectedTimeColor"),
                                  QStringLiteral("VXHistoryHRColor"), QStringLiteral("VXHistoryDistanceColor")};
    return keys;
}

HistoryView::HistoryView(ObjectContext &context, VXNotifications &notifications, QWidget *parent)
    : QWidget(parent), m_context(context), m_notifications(notifications),
      m_firstDayOfWeek(readFirstDayOfWeek()),
      m_historyTimeColor(defaultColor(QStringLiteral("VXHistoryTimeColor"))),
      m_historySelectedTimeColor(defaultColor(QStringLiteral("VXHistorySelectedTimeColor"))),
      m_historyHRColor(defaultColor(QStringLiteral("VXHistoryHRColor"))),
      m_historyDistanceColor(defaultColor(QStringLiteral("VXHistoryDistanceColor"))),
      m_historyCaloriesColor(defaultColor(QStringLiteral("VXHistoryCaloriesColor"))),
      m_dataWindowController(std::make_unique<VXDataWindowController>(context, notifications))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    updateLabelFont();
    setAccessibleName(tr("History calendar"));
    setAccessibleDescription(tr("One column per day; left and right arrows choose a session, Return opens it"));
    resize(int(HistoryGeometry::kEmptyWidth), height());
    connect(&notifications, &VXNotifications::firstDayOfWeekPopUpButtonSelectionDidChange, this,
            &HistoryView::firstDayOfTheWeekHasChanged);
    // Any change of the sessions lays the calendar out again, once per burst of changes.
    connect(&context, &ObjectContext::sessionInserted, this, &HistoryView::scheduleLayout);
    connect(&context, &ObjectContext::sessionRemoved, this, &HistoryView::scheduleLayout);
    connect(&context, &ObjectContext::sessionChanged, this, &HistoryView::scheduleLayout);
}

HistoryView::~HistoryView()
{
    closeDataWindow();
}

int HistoryView::readFirstDayOfWeek()
{
    bool ok = false;
    const int day = VXDefaults::value(kFirstDayOfWeekKey).toInt(&ok);
    return ok && day >= 1 && day <= 7 ? day : kDefaultFirstDayOfWeek;
}

void HistoryView::setSessionArrayController(SessionListController *controller)
{
    m_sessionArrayController = controller;
}

void HistoryView::setScrollView(QScrollArea *scrollView)
{
    if (m_scrollView) {
        m_scrollView->viewport()->removeEventFilter(this);
        disconnect(m_scrollView->horizontalScrollBar(), nullptr, this, nullptr);
    }
    m_scrollView = scrollView;
    if (m_scrollView) {
        m_scrollView->viewport()->installEventFilter(this);
        connect(m_scrollView->horizontalScrollBar(), &QScrollBar::valueChanged, this, &HistoryView::updateLabelRows);
        connect(m_scrollView->horizontalScrollBar(), &QScrollBar::rangeChanged, this, &HistoryView::placeAtStart);
    }
}

void HistoryView::setSegmentedDisplayButton(VXToggleSegmentedControl *button)
{
    m_segmentedDisplayButton = button;
}

void HistoryView::followSelectionAndSwitches()
{
    if (m_sessionArrayController) {
        connect(m_sessionArrayController, &SessionListController::selectionChanged, this,
                [this] { notificationAction(true); });
    }
    connect(&m_notifications, &VXNotifications::VXDataWindowValueHasChanged, this,
            [this] { notificationAction(false); });
    if (m_segmentedDisplayButton) {
        m_segmentedDisplayButton->adjustSize();
        for (int segment = 0; segment < visibilityKeys().size(); ++segment)
            m_segmentedDisplayButton->setSelected(VXDefaults::value(visibilityKeys()[segment]).toBool(), segment);
        connect(m_segmentedDisplayButton, &VXToggleSegmentedControl::clicked, this, &HistoryView::buttonPressed);
    }
    relayout();
}

HistoryLayers HistoryView::layers() const
{
    const auto shown = [this](int segment) {
        return m_segmentedDisplayButton ? m_segmentedDisplayButton->isSelectedForSegment(segment)
                                        : VXDefaults::value(visibilityKeys()[segment]).toBool();
    };
    return {shown(0), shown(1), shown(2), shown(3)};
}

void HistoryView::buttonPressed()
{
    if (m_segmentedDisplayButton) {
        QSettings settings = VXDefaults::settings();
        for (int segment = 0; segment < visibilityKeys().size(); ++segment)
            settings.setValue(visibilityKeys()[segment], m_segmentedDisplayButton->isSelectedForSegment(segment));
    }
    relayout();
}

void HistoryView::resetColors(VXNotifications &notifications)
{
    {
        QSettings settings = VXDefaults::settings();
        for (const QString &key : resettableColorKeys())
            settings.remove(key);
    }
    emit notifications.historyColorsDidChange();
}

void HistoryView::firstDayOfTheWeekHasChanged()
{
    m_firstDayOfWeek = readFirstDayOfWeek();
    relayout();
}

void HistoryView::notificationAction(bool fromSessionList)
{
    // Scrolling lays out first: the selection may be a session just stored.
    if (fromSessionList && m_scrollView)
        scrollToSelection();
    else
        relayout();
}

void HistoryView::relayout()
{
    m_layoutScheduled = false;
    layoutSessions();
    placeAtStart();
    update();
}

void HistoryView::scheduleLayout()
{
    if (m_layoutScheduled)
        return;
    m_layoutScheduled = true;
    QMetaObject::invokeMethod(this, [this] {
        if (m_layoutScheduled)
            relayout();
    }, Qt::QueuedConnection);
}

// --- Colours -------------------------------------------------------------

void HistoryView::setColor(QColor &stored, const QColor &color)
{
    stored = color;
    update();
    emit colorsChanged();
}

void HistoryView::setHistoryTimeColor(const QColor &color)
{
    setColor(m_historyTimeColor, color);
}

void HistoryView::setHistorySelectedTimeColor(const QColor &color)
{
    setColor(m_historySelectedTimeColor, color);
}

void HistoryView::setHistoryHRColor(const QColor &color)
{
    setColor(m_historyHRColor, color);
}

void HistoryView::setHistoryDistanceColor(const QColor &color)
{
    setColor(m_historyDistanceColor, color);
}

void HistoryView::setHistoryCaloriesColor(const QColor &color)
{
    setColor(m_historyCaloriesColor, color);
}

// --- Laying out ----------------------------------------------------------

namespace {

// sessionDate > 1 January 1970 00:00 UTC. Converting a local time to an
// instant asks the system's time zone (a file system call each time), so only
// the days within a UTC offset of the epoch are converted.
bool isAfterEpoch(const QDateTime &date)
{
    static constexpr qint64 kEpochDay = 2440588; // Julian day of 1 January 1970
    const qint64 day = date.date().toJulianDay();
    if (day > kEpochDay + 1)
        return true;
    if (day < kEpochDay - 1)
        return false;
    return date.toMSecsSinceEpoch() > 0;
}

} // namespace

QList<const RunSession *> HistoryView::fetchSessionArray(const ObjectContext &context)
{
    QList<const RunSession *> sessions = context.fetchSessions([](const RunSession &session) {
        return !session.isHidden() && session.sessionDate && isAfterEpoch(*session.sessionDate);
    });
    std::vector<std::pair<VXDate::OrderKey, const RunSession *>> keyed;
    keyed.reserve(sessions.size());
    for (const RunSession *session : std::as_const(sessions))
        keyed.emplace_back(VXDate::OrderKey(*session->sessionDate), session);
    // Stable, so sessions of equal date keep the context's order.
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (qsizetype i = 0; i < sessions.size(); ++i)
        sessions[i] = keyed[i].second;
    return sessions;
}

int HistoryView::numberOfDaysFrom(const QDateTime &a, const QDateTime &b)
{
    return HistoryGeometry::numberOfDaysFrom(a, b);
}

HistoryGeometry::Input HistoryView::geometryInput() const
{
    HistoryGeometry::Input input;
    input.height = chartHeight();
    input.scrollViewWidth = m_scrollView ? m_scrollView->width() : 0;
    input.firstDayOfWeek = m_firstDayOfWeek;
    input.layers = layers();
    if (m_sessionArrayController) {
        for (const RunSession *session : m_sessionArrayController->selectedSessions()) {
            if (session->sessionDate)
                input.selectedDates.append(*session->sessionDate);
        }
    }
    return input;
}

void HistoryView::layoutSessions()
{
    for (QHash<qsizetype, QStaticText> &texts : m_labelTexts)
        texts.clear();
    m_sessionArray = fetchSessionArray(m_context);
    m_geometry = HistoryGeometry::compute(m_sessionArray, geometryInput());
    const int wanted = int(std::ceil(m_geometry.width));
    if (width() != wanted)
        resize(wanted, height());
    m_frameWidth = width();
}

void HistoryView::scrollToSelection()
{
    if (!m_scrollView)
        return;
    // A session just inserted and selected may lie beyond the last pass's days.
    layoutSessions();
    const QList<const RunSession *> selected =
        m_sessionArrayController ? m_sessionArrayController->selectedSessions() : QList<const RunSession *>();
    scrollToColumn(m_geometry.columnStart(selected.isEmpty() ? std::nullopt : selected.last()->sessionDate));
    update();
}

void HistoryView::scrollToColumn(double column)
{
    QScrollBar *bar = m_scrollView->horizontalScrollBar();
    const std::optional<double> target =
        HistoryGeometry::scrollTarget(bar->value(), m_scrollView->viewport()->width(), column);
    if (target)
        bar->setValue(int(std::lround(*target)));
}

void HistoryView::placeAtStart()
{
    // Years of sessions open where the user looks first: the selected session, else the newest.
    if (m_placed || m_sessionArray.isEmpty() || !m_scrollView || !m_scrollView->isVisible())
        return;
    const QList<const RunSession *> selected =
        m_sessionArrayController ? m_sessionArrayController->selectedSessions() : QList<const RunSession *>();
    const double column =
        m_geometry.columnStart((selected.isEmpty() ? m_sessionArray.last() : selected.last())->sessionDate);
    // The scroll bar may not have taken the calendar's new width yet: wait for its range.
    const QScrollBar *bar = m_scrollView->horizontalScrollBar();
    if (column + HistoryGeometry::kDayWidth > bar->maximum() + m_scrollView->viewport()->width())
        return;
    m_placed = true;
    scrollToColumn(column);
}

int HistoryView::visibleLeft() const
{
    return m_scrollView ? m_scrollView->horizontalScrollBar()->value() : 0;
}

void HistoryView::updateLabelRows()
{
    const int visibleWidth = m_scrollView ? m_scrollView->viewport()->width() : width();
    update(QRect(visibleLeft(), 0, visibleWidth, kLabelRows * m_lineHeight));
    update(QRect(visibleLeft(), baseline(), visibleWidth, height() - baseline()));
}

bool HistoryView::eventFilter(QObject *watched, QEvent *event)
{
    // The calendar fills the scroll view's height and at least its width.
    if (m_scrollView && watched == m_scrollView->viewport() && event->type() == QEvent::Resize) {
        resize(width(), m_scrollView->viewport()->height());
        relayout();
    }
    // The window's first layout may come before it is shown.
    if (m_scrollView && watched == m_scrollView->viewport() && event->type() == QEvent::Show)
        placeAtStart();
    return QWidget::eventFilter(watched, event);
}

void HistoryView::changeEvent(QEvent *event)
{
    // The label rows take their height from the font.
    if (event->type() == QEvent::FontChange) {
        updateLabelFont();
        relayout();
    }
    QWidget::changeEvent(event);
}

void HistoryView::resizeEvent(QResizeEvent *event)
{
    // Heights scale with the view; a new width is the layout's own doing.
    if (event->oldSize().height() != event->size().height())
        relayout();
    QWidget::resizeEvent(event);
}

// --- Drawing -------------------------------------------------------------

void HistoryView::updateLabelFont()
{
    m_labelFont = font();
    m_labelFont.setPointSizeF(m_labelFont.pointSizeF() * kLabelFontScale);
    m_lineHeight = QFontMetrics(m_labelFont).height();
}

int HistoryView::chartHeight() const
{
    return std::max(height() - 2 * kLabelRows * m_lineHeight, 0);
}

int HistoryView::baseline() const
{
    return kLabelRows * m_lineHeight + chartHeight();
}

void HistoryView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Base));
    if (m_sessionArray.isEmpty())
        return;

    drawTimeLine(painter);
    drawLabels(painter, event->rect());
    // From here on the calendar's own coordinates: origin bottom left, y upwards.
    painter.translate(0, baseline());
    painter.scale(1, -1);
    const double left = event->rect().left() - kStrokeMargin;
    const double right = event->rect().right() + kStrokeMargin;
    // Bars stand on whole points; only their tops would gain from smoothing.
    drawTimeBars(painter, left, right);
    painter.setRenderHint(QPainter::Antialiasing);
    drawLine(painter, m_geometry.heartRate, m_historyHRColor, left, right);
    drawLine(painter, m_geometry.distance, m_historyDistanceColor, left, right);
    drawLine(painter, m_geometry.calories, m_historyCaloriesColor, left, right);
}

void HistoryView::drawTimeLine(QPainter &painter) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(palette().color(QPalette::Mid), 0));
    // An aliased line at y = baseline would fall just below the chart: the
    // baseline takes the chart's bottom row of pixels.
    const int bottom = baseline() - 1;
    painter.drawLine(QLineF(0, bottom, m_frameWidth, bottom));
    for (double x : m_geometry.weekLines)
        painter.drawLine(QLineF(x, kLabelRows * m_lineHeight, x, height()));
    painter.restore();
}

void HistoryView::drawLabels(QPainter &painter, const QRect &area)
{
    painter.save();
    painter.setPen(palette().color(QPalette::Text));
    painter.setFont(m_labelFont);
    for (LabelRow row : {MonthRow, DayRow, TimeRow, DistanceRow})
        drawLabelRow(painter, row, area);
    painter.restore();
}

// A label whose start has scrolled past the visible left edge stays at the
// edge until the next label of its row pushes it away, so the leftmost month
// and week keep their names and totals; a label is never cut at that edge nor
// drawn over the next one.
void HistoryView::drawLabelRow(QPainter &painter, LabelRow row, const QRect &area)
{
    const bool months = row == MonthRow;
    const qsizetype count = months ? m_geometry.months.size() : m_geometry.weeks.size();
    const auto xAt = [this, months](qsizetype i) { return months ? m_geometry.months[i].x : m_geometry.weeks[i].x; };
    const double top = row < TimeRow ? row * m_lineHeight : baseline() + (row - TimeRow) * m_lineHeight;
    const double edge = visibleLeft();
    for (qsizetype i = 0; i < count; ++i) {
        const double x = xAt(i);
        if (x > area.right())
            break;
        const double next = i + 1 < count ? xAt(i + 1) : std::numeric_limits<double>::max();
        const bool pastEdge = x < edge;
        if (x < area.left() - kLabelWidth && !(pastEdge && edge < next))
            continue;
        const QStaticText *text = labelText(row, i);
        if (!text)
            continue;
        const double width = text->size().width() + 2 * kLabelInset;
        double start = pastEdge ? std::max(x, std::min(edge, next - width)) : x;
        // The last label ends with the calendar, where the newest session is, rather than beyond it.
        if (i + 1 == count)
            start = std::min(start, this->width() - width);
        // A label too wide for its week or month (the first one may be a few days) is left out.
        if (start + kLabelInset >= edge && start + width <= next)
            painter.drawStaticText(QPointF(start + kLabelInset, top), *text);
    }
}

const QStaticText *HistoryView::labelText(LabelRow row, qsizetype index)
{
    QHash<qsizetype, QStaticText> &texts = m_labelTexts[row];
    if (const auto made = texts.constFind(index); made != texts.constEnd())
        return &*made;
    QString text;
    if (row == MonthRow) {
        text = QLocale().toString(m_geometry.months[index].day, QStringLiteral("MMMM yyyy"));
    } else if (const HistoryWeek &week = m_geometry.weeks[index]; row == DayRow) {
        text = QString::number(week.firstDay.day());
    } else if (const HistoryWeekTotals totals = HistoryGeometry::totalsOf(week, m_sessionArray, m_units);
               totals.totalTime > 0 && row == TimeRow) {
        text = VXDurationText::truncatedToSeconds(qint64(totals.totalTime));
    } else if (totals.totalTime > 0 && totals.distance > 0) {
        text = VXNumberText::fillFormat(m_units.distanceString(), totals.distance / kThousandths,
                                        VXNumberText::Separator::Locale);
    }
    if (text.isEmpty())
        return nullptr;
    QStaticText &made = texts[index];
    made.setText(text);
    made.setTextFormat(Qt::PlainText);
    made.prepare(QTransform(), m_labelFont);
    return &made;
}

void HistoryView::drawTimeBars(QPainter &painter, double left, double right) const
{
    painter.setPen(QPen(barOutlineColor(), kBarOutlineWidth));
    for (const HistoryBar &bar : m_geometry.bars) {
        const QRectF &r = bar.rect;
        if (r.right() < left || r.left() > right)
            continue;
        painter.fillRect(r, bar.selected ? m_historySelectedTimeColor : m_historyTimeColor);
        // Up the left side, across the top, down the right side: the bottom stays open.
        const QPointF outline[] = {{r.left(), r.top()}, {r.left(), r.bottom()}, {r.right(), r.bottom()},
                                   {r.right(), r.top()}};
        painter.drawPolyline(outline, 4);
    }
}

void HistoryView::drawLine(QPainter &painter, const HistoryLine &line, const QColor &color, double left,
                           double right) const
{
    painter.setPen(QPen(color, kLineWidth));
    for (const QLineF &segment : line.segments) {
        if (std::max(segment.x1(), segment.x2()) < left || std::min(segment.x1(), segment.x2()) > right)
            continue;
        painter.drawLine(segment);
    }
    // Every dot of a layer looks the same: it is drawn once and then copied.
    // Dots sit on column centres, so only their height is rounded, by at most half a pixel.
    const QImage dot = dotImage(color, palette().color(QPalette::Base), painter.device()->devicePixelRatio());
    const double offset = kDotImageSize / 2.0;
    painter.save();
    painter.resetTransform();
    for (const QPointF &point : line.dots) {
        if (point.x() < left || point.x() > right)
            continue;
        painter.drawImage(QPointF(std::round(point.x() - offset), std::round(baseline() - point.y() - offset)), dot);
    }
    painter.restore();
}

QImage HistoryView::dotImage(const QColor &color, const QColor &fill, qreal devicePixelRatio)
{
    const int side = int(std::ceil(kDotImageSize * devicePixelRatio));
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color, kDotOutlineWidth));
    painter.setBrush(fill);
    const double radius = HistoryGeometry::kDotDiameter / 2;
    painter.drawEllipse(QPointF(kDotImageSize / 2.0, kDotImageSize / 2.0), radius, radius);
    return image;
}

// --- Clicks and the pop-up window -----------------------------------------

void HistoryView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPointF point(event->position().x(), baseline() - event->position().y());
    const int index = m_geometry.hitTest(point);
    if (index < 0 || index >= m_sessionArray.size())
        return;
    const RunSession *session = m_sessionArray[index];
    if (m_sessionArrayController)
        m_sessionArrayController->selectSession(session);
    m_dataWindowController->setSession(session);
    openDataWindow(event->globalPosition().toPoint());
}

void HistoryView::openDataWindow(const QPoint &globalPointer)
{
    VXDataWindow *dataWindow = m_dataWindowController->window();
    if (dataWindow->parentWidget() != window())
        dataWindow->setParent(window(), dataWindow->windowFlags());
    const QScreen *screen = QGuiApplication::screenAt(globalPointer);
    const QRect area = (screen ? screen : this->screen())->availableGeometry();
    dataWindow->place(VXDataWindow::placement(dataWindow->size(), globalPointer, area, int(kPopUpDistance)));
    dataWindow->setWindowOpacity(0.0);
    dataWindow->show();
    // After the click is handled: the press may still activate the calendar's own window.
    QTimer::singleShot(0, dataWindow, [dataWindow] { dataWindow->activateWindow(); });
    dataWindow->animateWindow();
    if (!m_dataWindowOpen) {
        m_dataWindowOpen = true;
        connect(dataWindow, &VXDataWindow::didResignKey, this, &HistoryView::closeDataWindow);
    }
}

void HistoryView::closeDataWindow()
{
    if (!m_dataWindowOpen)
        return;
    m_dataWindowOpen = false;
    // The main window may have taken the attached window down with it.
    if (!m_dataWindowController->isWindowLoaded())
        return;
    VXDataWindow *dataWindow = m_dataWindowController->window();
    disconnect(dataWindow, &VXDataWindow::didResignKey, this, &HistoryView::closeDataWindow);
    m_dataWindowController->commitEditing();
    dataWindow->hide();
    dataWindow->setParent(nullptr, dataWindow->windowFlags());
}

void HistoryView::keyPressEvent(QKeyEvent *event)
{
    const int selected = selectedIndex();
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right: {
        if (m_sessionArray.isEmpty() || !m_sessionArrayController)
            break;
        const int step = event->key() == Qt::Key_Left ? -1 : 1;
        const int next = selected < 0 ? int(m_sessionArray.size()) - 1
                                      : std::clamp(selected + step, 0, int(m_sessionArray.size()) - 1);
        m_sessionArrayController->selectSession(m_sessionArray[next]);
        return;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (selected >= 0 && selected < m_geometry.rectArray.size()) {
            const QRectF bar = m_geometry.rectArray[selected];
            m_dataWindowController->setSession(m_sessionArray[selected]);
            openDataWindow(mapToGlobal(QPoint(int(bar.center().x()), baseline() - int(bar.bottom()))));
        }
        return;
    case Qt::Key_Escape:
        closeDataWindow();
        return;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

int HistoryView::selectedIndex() const
{
    if (!m_sessionArrayController)
        return -1;
    const QList<const RunSession *> selected = m_sessionArrayController->selectedSessions();
    return selected.isEmpty() ? -1 : int(m_sessionArray.indexOf(selected.last()));
}

bool HistoryView::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const QString text = toolTipAt(help->pos().x());
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), text, this);
    return true;
}

QString HistoryView::toolTipAt(double x) const
{
    const HistoryLayers shown = layers();
    const QLocale locale;
    QStringList lines;
    for (const RunSession *session : m_sessionArray) {
        const double column = m_geometry.columnStart(session->sessionDate);
        if (x < column || x >= column + HistoryGeometry::kDayWidth)
            continue;
        QStringList values;
        if (shown.time && session->sessionTotalTime)
            values.append(VXDurationText::truncatedToSeconds(session->sessionTotalTime));
        if (shown.heartRate && session->sessionAverageHR)
            values.append(tr("%1 bpm").arg(*session->sessionAverageHR));
        const std::optional<int> distance = session->sessionTotalDistance(m_units);
        if (shown.distance && distance)
            values.append(VXNumberText::fillFormat(m_units.distanceString(), *distance / kThousandths,
                                                   VXNumberText::Separator::Locale));
        if (shown.calories && session->sessionCalories)
            values.append(tr("%1 kcal").arg(*session->sessionCalories));
        lines.append(locale.toString(*session->sessionDate, QLocale::ShortFormat) + u' '
                     + session->sessionName.value_or(QString()) + u'\n' + values.join(QStringLiteral(", ")));
    }
    return lines.join(u'\n');
}

void HistoryView::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    menu.addAction(tr("Reset Colours"), this, [this] { resetColors(m_notifications); });
    menu.exec(event->globalPos());
}
