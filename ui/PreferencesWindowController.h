#pragma once

#include <QColor>
#include <QDialog>
#include <QList>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

namespace Ui {
class Preferences;
}

class ColorPanelDelegate;
#include <QColorDialog>
class QPushButton;
class VXNotifications;

// The preferences window (Preferences.ui): the first day of the week of the
// history calendar, the update check at start, whether a recording stops when
// the transfer ends, the folder of the automatic export and the history
// colours (with a reset to their defaults). Every change is stored at once.
// Lives in the GUI thread.
class PreferencesWindowController : public QDialog
{
    Q_OBJECT

public:
    static constexpr QLatin1StringView kFirstDayOfWeekKey{"First day of the week"};
    static constexpr QLatin1StringView kCheckAtStartupKey{"SUCheckAtStartup"};
    static constexpr QLatin1StringView kAutoExportPathKey{"VXAutoExportPath"};
    static constexpr QLatin1StringView kStopRecordingKey{"VXStopRecordingWhenTransferEnds"};
    // The history colours the window edits, in the order of its rows.
    static const QList<QLatin1StringView> &historyColorKeys();

    // Asks for a folder, starting at the current one; empty when cancelled.
    using FolderChooser = std::function<QString(QWidget *parent, const QString &current)>;

    explicit PreferencesWindowController(VXNotifications &notifications, QWidget *parent = nullptr);
    ~PreferencesWindowController() override;

    void setFolderChooser(FolderChooser chooser) { m_folderChooser = std::move(chooser); }

    // Shows the stored settings in the controls.
    void showStoredSettings();

    // The controls' actions.
    void firstDayOfWeekPopUpButtonSelectionDidChange();
    void checkAtStartupDidChange();
    void stopRecordingDidChange();
    void chooseAutoExportFolder();
    // An empty folder turns the automatic export off.
    void setAutoExportPath(const QString &folder);
    // Opens the colour dialog on the colour of key; its choices are stored as they are made.
    void chooseHistoryColor(QLatin1StringView key);
    void setHistoryColor(QLatin1StringView key, const QColor &color);

    Ui::Preferences &ui() { return *m_ui; }
    QColorDialog *colorPanel() const { return m_colorPanel; }

private:
    QPushButton *colorButton(QLatin1StringView key) const;
    void showColor(QLatin1StringView key);

    std::unique_ptr<Ui::Preferences> m_ui;
    VXNotifications &m_notifications;
    FolderChooser m_folderChooser;
    ColorPanelDelegate *m_colorPanelDelegate;
    QPointer<QColorDialog> m_colorPanel;
};
