#pragma once

#include "HistoryGeometry.h"

#include <QColor>
#include <QDateTime>
#include <QImage>
#include <QList>
#include <QPointer>
#include <QWidget>

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
// calorie lines). Every paint fetches the sessions from the context again; a
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

    // Reads the first day of the week and follows its changes (initWithFrame).
    HistoryView(ObjectContext &context, VXNotifications &notifications, QWidget *parent = nullptr);
    ~HistoryView() override;

    // --- Wiring (references, not owned), then awakeFromNib() ---------------
    void setSessionArrayController(SessionListController *controller);
    void setScrollView(QScrollArea *scrollView);
    void setSegmentedDisplayButton(VXToggleSegmentedControl *button);
    // Follows the selection and the pop-up's edits; sets the segments from the settings.
    void awakeFromNib();

    // --- Actions ----------------------------------------------------------
    // The segmented control's action: stores the four visibility settings and redraws.
    void buttonPressed();
    // Removes four colour settings so their defaults apply again, and announces it.
    void resetColors();
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
    // Fetches and lays out the sessions as a paint would, and resizes the view to match.
    void layoutSessions();

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

    // A click in the inactive window acts at once.
    bool acceptsFirstMouse() const { return true; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    HistoryGeometry::Input geometryInput() const;
    void scrollToSelection();
    void openDataWindow(const QPoint &globalPointer);
    void setColor(QColor &stored, const QColor &color);
    void drawTimeLine(QPainter &painter) const;
    void drawTimeBars(QPainter &painter, double left, double right) const;
    void drawLine(QPainter &painter, const HistoryLine &line, const QColor &color, double left, double right) const;
    // A white dot outlined in color, centred in an image of kDotImageSize points.
    static QImage dotImage(const QColor &color, qreal devicePixelRatio);
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
    std::unique_ptr<VXDataWindowController> m_dataWindowController;
    bool m_dataWindowOpen = false;
};
