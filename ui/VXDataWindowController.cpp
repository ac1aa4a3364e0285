#include "VXDataWindowController.h"

#include "ObjectContext.h"
#include "RunSession.h"
#include "VXDataWindow.h"
#include "VXDistanceFormatter.h"
#include "VXDurationText.h"
#include "VXNotifications.h"
#include "ui_DataWindow.h"

#include <QLocale>

namespace {

// An empty text removes the value rather than storing an empty one.
std::optional<QString> textValue(const QLineEdit *field)
{
    const QString text = field->text();
    return text.isEmpty() ? std::nullopt : std::optional<QString>(text);
}

QString numberText(const std::optional<int> &value)
{
    return value ? QLocale().toString(*value) : QStringLiteral("–");
}

} // namespace

VXDataWindowController::VXDataWindowController(ObjectContext &context, VXNotifications &notifications,
                                               QObject *parent)
    : QObject(parent), m_context(context), m_notifications(notifications)
{
    connect(&m_context, &ObjectContext::sessionChanged, this, &VXDataWindowController::sessionChanged);
    connect(&m_context, &ObjectContext::sessionRemoved, this, &VXDataWindowController::sessionRemoved);
}

VXDataWindowController::~VXDataWindowController()
{
    delete m_window.data();
}

VXDataWindow *VXDataWindowController::window()
{
    if (!m_window)
        loadWindow();
    return m_window;
}

void VXDataWindowController::loadWindow()
{
    m_window = new VXDataWindow;
    m_ui = std::make_unique<Ui::DataWindow>();
    m_ui->setupUi(m_window);
    m_window->setFixedSize(m_window->size());
    for (QLineEdit *field : fields())
        connect(field, &QLineEdit::editingFinished, this, [this, field] { controlTextDidEndEditing(field); });
    connect(m_window, &VXDataWindow::didBecomeKey, this, &VXDataWindowController::windowDidBecomeKey);
    showSession();
}

QList<QLineEdit *> VXDataWindowController::fields()
{
    window();
    return {m_ui->nameField, m_ui->commentField, m_ui->distanceField};
}

QLineEdit *VXDataWindowController::nameField()
{
    return fields().at(0);
}

QLineEdit *VXDataWindowController::commentField()
{
    return fields().at(1);
}

QLineEdit *VXDataWindowController::distanceField()
{
    return fields().at(2);
}

QLabel *VXDataWindowController::dateLabel()
{
    window();
    return m_ui->dateLabel;
}

QLabel *VXDataWindowController::totalTimeLabel()
{
    window();
    return m_ui->totalTimeLabel;
}

QLabel *VXDataWindowController::heartRateLabel()
{
    window();
    return m_ui->heartRateLabel;
}

QLabel *VXDataWindowController::caloriesLabel()
{
    window();
    return m_ui->caloriesLabel;
}

void VXDataWindowController::setSession(const RunSession *session)
{
    if (session == m_session)
        return;
    m_session = session;
    if (m_window)
        showSession();
}

void VXDataWindowController::windowDidBecomeKey()
{
    nameField()->setFocus(Qt::ActiveWindowFocusReason);
    nameField()->selectAll();
}

void VXDataWindowController::controlTextDidEndEditing(QLineEdit *field)
{
    // Qt also ends editing when the focus merely passes through a field.
    if (!field->isModified())
        return;
    if (!store(field))
        return;
    field->setModified(false);
    emit m_notifications.VXDataWindowValueHasChanged();
    // Tab or a click has already moved the focus; Return leaves it here.
    if (!field->hasFocus())
        return;
    const QList<QLineEdit *> order = fields();
    QLineEdit *next = order.at((order.indexOf(field) + 1) % order.size());
    next->setFocus(Qt::TabFocusReason);
    next->selectAll();
}

void VXDataWindowController::commitEditing()
{
    if (!m_window)
        return;
    for (QLineEdit *field : fields()) {
        if (field->hasFocus() && field->isModified() && store(field))
            field->setModified(false);
    }
}

bool VXDataWindowController::store(QLineEdit *field)
{
    if (!m_session || !m_context.contains(m_session))
        return true;
    if (field == m_ui->nameField) {
        m_context.setSessionName(m_session, textValue(field));
    } else if (field == m_ui->commentField) {
        m_context.setComment(m_session, textValue(field));
    } else if (field == m_ui->distanceField) {
        const VXDistanceFormatter formatter;
        QVariant distance;
        QString error;
        if (!formatter.getObjectValue(field->text(), &distance, &error)) {
            // The stored distance stays; the field shows it again, ready for another try.
            field->setToolTip(error);
            showSession();
            if (field->hasFocus())
                field->selectAll();
            return false;
        }
        field->setToolTip({});
        m_context.setSessionTotalDistance(m_session,
                                          distance.isValid() ? std::optional<int>(distance.toInt()) : std::nullopt);
    }
    return true;
}

void VXDataWindowController::showSession()
{
    const RunSession *s = m_session;
    const QLocale locale;
    const VXDistanceFormatter formatter;
    QString date;
    if (s && s->sessionDate) {
        const QDateTime local = s->sessionDate->toLocalTime();
        date = locale.toString(local.date(), QLocale::LongFormat) + u' ' +
               locale.toString(local.time(), QLocale::ShortFormat);
    }
    m_ui->dateLabel->setText(date);
    m_ui->nameField->setText(s ? s->sessionName.value_or(QString()) : QString());
    m_ui->commentField->setText(s ? s->comment.value_or(QString()) : QString());
    const std::optional<int> distance = s ? s->sessionTotalDistance() : std::nullopt;
    m_ui->distanceField->setText(distance ? formatter.stringForObjectValue(*distance).value_or(QString()) : QString());
    m_ui->totalTimeLabel->setText(
        s ? VXDurationText::withTenths(s->sessionTotalTime) : QString());
    m_ui->heartRateLabel->setText(
        s ? tr("%1 bpm (max %2)").arg(numberText(s->sessionAverageHR), numberText(s->sessionMaxHR)) : QString());
    m_ui->caloriesLabel->setText(s ? tr("%1 kcal").arg(numberText(s->sessionCalories)) : QString());
}

void VXDataWindowController::sessionChanged(const RunSession *session)
{
    // An undo or another view changed what the window shows.
    if (session == m_session && m_window)
        showSession();
}

void VXDataWindowController::sessionRemoved(const RunSession *session)
{
    if (session == m_session)
        setSession(nullptr);
}
