#pragma once

#include "HistoryGeometry.h"
#include "VXUnits.h"

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QList>
#include <QPointer>
#include <QStaticText>
#include <QWidget>

#include <array>
#include <memory>

class ObjectContext;
class QPainter;
class QScrollArea;
class RunSession;
class SessionListController;
class VXDataWindowController;
class VXNotifications;
class VXToggleSegmentedControl;

// The history calendar: one 15-point column per day from the earliest to the
// latest visible session, a line at the start of every week, and the layers
// chosen with the segmented control (time bars, heart-rate, distance and
// calorie lines). It fetches and lays out the sessions again whenever they,
// the selection, the layers or its size change; painting only paints. A
// click on a bar selects its session and opens the pop-up window above the
// pointer. Lives in the GUI thread, inside a horizontally scrolling area.
class HistoryView : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QColor historyTimeColor READ historyTimeColor WRITE setHistoryTimeColor)
    Q_PROPERTY(QColor historySelectedTimeColor READ historySelectedTimeColor WRITE setHistorySelectedTimeColor)
    Q_PROPERTY(QColor historyHRColor READ historyHRColor WRITE setHistoryHRColor)
    Q_PROPERTY(QColor historyDistanceColor READ historyDistanceColor WRITE setHistoryDistanceColor)
    Q_PROPERTY(QColor historyCaloriesColor READ historyCaloriesColor WRITE setHistoryCaloriesColor)

public:
    static inline const QString kFirstDayOfWeekKey = QStringLiteral("First day of the week");
    static constexpr int kDefaultFirstDayOfWeek = 2;
    static const QStringList &visibilityKeys();
    // The colours that resetColors() returns to their defaults.
    static const QStringList &resettableColorKeys();
    static constexpr double kPopUpDistance = 40.0;
    // Two rows of labels above the chart (month and year, day of month at each
    // week line) and two below (each week's total time and distance).
    static constexpr int kLabelRows = 2;

    // Reads the first day of the week and follows its changes (initWithFrame).
    HistoryView(ObjectContext &context, VXNotifications &notifications, QWidget *parent = nullptr);
    ~HistoryView() override;

    // --- Wiring (references, not owned), then followSelectionAndSwitches() ---
    void setSessionArrayController(SessionListController *controller);
    void setScrollView(QScrollArea *scrollView);
    void setSegmentedDisplayButton(VXToggleSegmentedControl *button);
    // Follows the selection and the pop-up's edits and sets the segments from
    // the settings. HistoryPane calls it once, after the references are set.
    void followSelectionAndSwitches();

    // --- Actions ----------------------------------------------------------
    // The segmented control's action: stores the four visibility settings and redraws.
    void buttonPressed();
    // Removes four colour settings so their defaults apply again, and announces it.
    static void resetColors(VXNotifications &notifications);
    void firstDayOfTheWeekHasChanged();
    // Scrolls to the selection when the session list sent it; always redraws.
    void notificationAction(bool fromSessionList);
    void closeDataWindow();

    // --- The last drawing pass --------------------------------------------
    const HistoryGeometry &geometry() const { return m_geometry; }
    QDateTime startDate() const { return m_geometry.startDate; }
    QDateTime endDate() const { return m_geometry.endDate; }
    double frameWidth() const { return m_frameWidth; }
    const QList<const RunSession *> &sessionArray() const { return m_sessionArray; }
    const QList<QRectF> &rectArray() const { return m_geometry.rectArray; }
    // Fetches and lays out the sessions, and resizes the view to match.
    void layoutSessions();
    // Lays out now and repaints; the first layout with sessions in a shown
    // calendar scrolls to the selected session, or else to the newest.
    void relayout();
    // The chart between the label rows, and its baseline in widget coordinates.
    int chartHeight() const;
    int baseline() const;

    // The visible sessions dated after 1970, by sessionDate ascending.
    static QList<const RunSession *> fetchSessionArray(const ObjectContext &context);
    static int numberOfDaysFrom(const QDateTime &a, const QDateTime &b);

    int firstDayOfWeek() const { return m_firstDayOfWeek; }
    HistoryLayers layers() const;
    VXDataWindowController &dataWindowController() { return *m_dataWindowController; }
    bool isDataWindowOpen() const { return m_dataWindowOpen; }

    QColor historyTimeColor() const { return m_historyTimeColor; }
    void setHistoryTimeColor(const QColor &color);
    QColor historySelectedTimeColor() const { return m_historySelectedTimeColor; }
    void setHistorySelectedTimeColor(const QColor &color);
    QColor historyHRColor() const { return m_historyHRColor; }
    void setHistoryHRColor(const QColor &color);
    QColor historyDistanceColor() const { return m_historyDistanceColor; }
    void setHistoryDistanceColor(const QColor &color);
    QColor historyCaloriesColor() const { return m_historyCaloriesColor; }
    void setHistoryCaloriesColor(const QColor &color);

signals:
    // One of the five colours changed.
    void colorsChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    // Left and right choose the previous or next session, Return opens it, Escape closes it.
    void keyPressEvent(QKeyEvent *event) override;
    // Tooltips name the sessions of the day under the pointer with the shown layers' values.
    bool event(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // The rows of labels: two above the chart, two below.
    enum LabelRow { MonthRow, DayRow, TimeRow, DistanceRow, kLabelRowCount };

    HistoryGeometry::Input geometryInput() const;
    void scrollToSelection();
    void scrollToColumn(double column);
    void placeAtStart();
    int visibleLeft() const;
    // Repaints the label rows, whose leftmost labels follow the visible left edge.
    void updateLabelRows();
    void scheduleLayout();
    int selectedIndex() const;
    QString toolTipAt(double x) const;
    void openDataWindow(const QPoint &globalPointer);
    void setColor(QColor &stored, const QColor &color);
    void drawTimeLine(QPainter &painter) const;
    void drawLabels(QPainter &painter, const QRect &area);
    void drawLabelRow(QPainter &painter, LabelRow row, const QRect &area);
    // The text of a row's index-th label, made on first use; null when it has none.
    const QStaticText *labelText(LabelRow row, qsizetype index);
    // The label font and its line height follow the calendar's font.
    void updateLabelFont();

    void drawTimeBars(QPainter &painter, double left, double right) const;
    void drawLine(QPainter &painter, const HistoryLine &line, const QColor &color, double left, double right) const;
    // A dot filled with fill and outlined in color, centred in an image of kDotImageSize points.
    static QImage dotImage(const QColor &color, const QColor &fill, qreal devicePixelRatio);
    static int readFirstDayOfWeek();

    ObjectContext &m_context;
    VXNotifications &m_notifications;
    QPointer<SessionListController> m_sessionArrayController;
    QPointer<QScrollArea> m_scrollView;
    QPointer<VXToggleSegmentedControl> m_segmentedDisplayButton;

    int m_firstDayOfWeek = kDefaultFirstDayOfWeek;
    double m_frameWidth = HistoryGeometry::kEmptyWidth;
    QColor m_historyTimeColor;
    QColor m_historySelectedTimeColor;
    QColor m_historyHRColor;
    QColor m_historyDistanceColor;
    QColor m_historyCaloriesColor;
    QList<const RunSession *> m_sessionArray;
    HistoryGeometry m_geometry;
    // The label font and its line height.
    QFont m_labelFont;
    int m_lineHeight = 0;
    // Label texts shaped once and kept until the next layout, by row and index.
    std::array<QHash<qsizetype, QStaticText>, kLabelRowCount> m_labelTexts;
    VXUnits m_units;
    std::unique_ptr<VXDataWindowController> m_dataWindowController;
    bool m_dataWindowOpen = false;
    bool m_layoutScheduled = false;
    bool m_placed = false;
};
