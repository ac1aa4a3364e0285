#pragma once

#include "SaveDialog.h"

#include <QObject>
#include <QPointer>

#include <memory>

namespace Ui {
class SaveOptions;
}

class QFileDialog;
class QWidget;

// The export's save dialog: Qt's own (not the desktop's) file dialog, so that
// it can carry the options panel (date format, tenths of times and of paces,
// each tied to its setting), opened window-modal on the main window like a
// sheet; and the export's one-button alert. GUI thread.
class VXSavePanel : public QObject, public SaveDialog
{
    Q_OBJECT

public:
    static constexpr QLatin1StringView kSaveDateFormatKey{"SaveDateFormat"};
    static constexpr QLatin1StringView kSaveTimeWithTenthsKey{"SaveTimeWithTenths"};
    static constexpr QLatin1StringView kSaveDataWithTenthsKey{"SaveDataWithTenths"};
    // The date-format titles as stored; only the day-first one means anything to the export.
    static constexpr QLatin1StringView kDayFirstTitle{"Date DD/MM/YYYY"};
    static constexpr QLatin1StringView kMonthFirstTitle{"Date MM/DD/YYYY"};

    explicit VXSavePanel(QWidget *window, QObject *parent = nullptr);
    ~VXSavePanel() override;

    void askForPath(const QString &proposedName, Completion done) override;
    void showAlert(const QString &message, const QString &button) override;

    // The dialog, made on first use, and its options panel.
    QFileDialog *fileDialog();
    QWidget *customSaveView();
    Ui::SaveOptions &options() { return *m_options; }

private:
    void loadOptions();
    void dialogFinished(int result);

    QPointer<QWidget> m_window;
    QPointer<QFileDialog> m_dialog;
    QWidget *m_customSaveView = nullptr;
    std::unique_ptr<Ui::SaveOptions> m_options;
    Completion m_completion;
};
