#include "PreferencesWindowController.h"

#include "ColorPanelDelegate.h"
#include "HistoryView.h"
#include "VXDefaults.h"
#include "VXNotifications.h"
#include "ui_Preferences.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QPixmap>
#include <QSettings>

namespace {

// Weekday numbers run 1 (Sunday) to 7 (Saturday); the pop-up lists them from index 0.
constexpr int kFirstWeekday = 1;
constexpr int kLastWeekday = 7;
constexpr int kSwatchWidth = 36;
constexpr int kSwatchHeight = 14;

} // namespace

const QList<QLatin1StringView> &PreferencesWindowController::historyColorKeys()
{
    static const QList<QLatin1StringView> keys{
        QLatin1StringView("VXHistoryTimeColor"), QLatin1StringView("VXHistorySelectedTimeColor"),
        QLatin1StringView("VXHistoryHRColor"), QLatin1StringView("VXHistoryDistanceColor"),
        QLatin1StringView("VXHistoryCaloriesColor")};
    return keys;
}

PreferencesWindowController::PreferencesWindowController(VXNotifications &notifications, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::Preferences>()), m_notifications(notifications),
      m_folderChooser([](QWidget *window, const QString &current) {
          return QFileDialog::getExistingDirectory(window, tr("Automatic Export Folder"), current);
      }),
      m_colorPanelDelegate(new ColorPanelDelegate(this))
{
    m_ui->setupUi(this);
    m_colorPanelDelegate->watch(this);
    // User actions only: the window's own loading of the settings stores nothing.
    connect(m_ui->firstDayOfWeekPopUpButton, &QComboBox::activated, this,
            &PreferencesWindowController::firstDayOfWeekPopUpButtonSelectionDidChange);
    connect(m_ui->checkAtStartupButton, &QCheckBox::clicked, this,
            &PreferencesWindowController::checkAtStartupDidChange);
    connect(m_ui->stopRecordingButton, &QCheckBox::clicked, this, &PreferencesWindowController::stopRecordingDidChange);
    connect(m_ui->resetColorsButton, &QPushButton::clicked, this, [this] { HistoryView::resetColors(m_notifications); });
    connect(&m_notifications, &VXNotifications::historyColorsDidChange, this, [this] {
        for (QLatin1StringView key : historyColorKeys())
            showColor(key);
    });
    connect(m_ui->chooseAutoExportFolderButton, &QPushButton::clicked, this,
            &PreferencesWindowController::chooseAutoExportFolder);
    connect(m_ui->clearAutoExportFolderButton, &QPushButton::clicked, this, [this] { setAutoExportPath({}); });
    for (QLatin1StringView key : historyColorKeys())
        connect(colorButton(key), &QPushButton::clicked, this, [this, key] { chooseHistoryColor(key); });
    showStoredSettings();
}

PreferencesWindowController::~PreferencesWindowController() = default;

void PreferencesWindowController::showStoredSettings()
{
    const int weekday = std::clamp(VXDefaults::value(kFirstDayOfWeekKey).toInt(), kFirstWeekday, kLastWeekday);
    m_ui->firstDayOfWeekPopUpButton->setCurrentIndex(weekday - kFirstWeekday);
    m_ui->checkAtStartupButton->setChecked(VXDefaults::value(kCheckAtStartupKey).toBool());
    m_ui->stopRecordingButton->setChecked(VXDefaults::value(kStopRecordingKey).toBool());
    m_ui->autoExportPathField->setText(VXDefaults::value(kAutoExportPathKey).toString());
    for (QLatin1StringView key : historyColorKeys())
        showColor(key);
}

void PreferencesWindowController::firstDayOfWeekPopUpButtonSelectionDidChange()
{
    VXDefaults::settings().setValue(kFirstDayOfWeekKey,
                                    m_ui->firstDayOfWeekPopUpButton->currentIndex() + kFirstWeekday);
    emit m_notifications.firstDayOfWeekPopUpButtonSelectionDidChange();
}

void PreferencesWindowController::checkAtStartupDidChange()
{
    VXDefaults::settings().setValue(kCheckAtStartupKey, m_ui->checkAtStartupButton->isChecked());
}

void PreferencesWindowController::stopRecordingDidChange()
{
    VXDefaults::settings().setValue(kStopRecordingKey, m_ui->stopRecordingButton->isChecked());
}

void PreferencesWindowController::chooseAutoExportFolder()
{
    const QString folder = m_folderChooser(this, m_ui->autoExportPathField->text());
    if (!folder.isEmpty())
        setAutoExportPath(folder);
}

void PreferencesWindowController::setAutoExportPath(const QString &folder)
{
    QSettings settings = VXDefaults::settings();
    // Absent, not empty, is what turns the automatic export off.
    if (folder.isEmpty())
        settings.remove(kAutoExportPathKey);
    else
        settings.setValue(kAutoExportPathKey, folder);
    m_ui->autoExportPathField->setText(folder);
}

void PreferencesWindowController::chooseHistoryColor(QLatin1StringView key)
{
    if (!m_colorPanel) {
        m_colorPanel = new QColorDialog(this);
        m_colorPanel->setOption(QColorDialog::NoButtons);
        m_colorPanelDelegate->setColorPanel(m_colorPanel);
    }
    // One panel serves every colour: it edits the one chosen last.
    m_colorPanel->disconnect(this);
    m_colorPanel->setWindowTitle(tr("Colours"));
    m_colorPanel->setCurrentColor(VXDefaults::value(key).value<QColor>());
    connect(m_colorPanel, &QColorDialog::currentColorChanged, this,
            [this, key](const QColor &color) { setHistoryColor(key, color); });
    m_colorPanel->show();
    m_colorPanel->raise();
}

void PreferencesWindowController::setHistoryColor(QLatin1StringView key, const QColor &color)
{
    if (!color.isValid())
        return;
    VXDefaults::settings().setValue(key, color);
    emit m_notifications.historyColorsDidChange();
}

QPushButton *PreferencesWindowController::colorButton(QLatin1StringView key) const
{
    const QList<QPushButton *> buttons{m_ui->timeColorButton, m_ui->selectedTimeColorButton, m_ui->hrColorButton,
                                       m_ui->distanceColorButton, m_ui->caloriesColorButton};
    return buttons.value(historyColorKeys().indexOf(key), nullptr);
}

void PreferencesWindowController::showColor(QLatin1StringView key)
{
    QPixmap swatch(kSwatchWidth, kSwatchHeight);
    swatch.fill(VXDefaults::value(key).value<QColor>());
    QPushButton *button = colorButton(key);
    button->setIcon(QIcon(swatch));
    button->setIconSize(swatch.size());
}
