#include "VXSavePanel.h"

#include "VXDefaults.h"
#include "ui_SaveOptions.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>

VXSavePanel::VXSavePanel(QWidget *window, QObject *parent)
    : QObject(parent), m_window(window), m_options(std::make_unique<Ui::SaveOptions>())
{
}

VXSavePanel::~VXSavePanel()
{
    if (m_customSaveView && !m_customSaveView->parent())
        delete m_customSaveView;
    if (m_dialog && !m_dialog->parent())
        delete m_dialog;
}

QFileDialog *VXSavePanel::fileDialog()
{
    if (m_dialog)
        return m_dialog;
    m_dialog = new QFileDialog(m_window, tr("Export Session"));
    m_dialog->setOption(QFileDialog::DontUseNativeDialog);
    m_dialog->setAcceptMode(QFileDialog::AcceptSave);
    m_dialog->setFileMode(QFileDialog::AnyFile);
    m_dialog->setWindowModality(Qt::WindowModal);
    customSaveView();
    // Qt's own dialog lays itself out in a grid: the panel goes below the name field.
    if (auto *grid = qobject_cast<QGridLayout *>(m_dialog->layout()))
        grid->addWidget(m_customSaveView, grid->rowCount(), 0, 1, grid->columnCount());
    connect(m_dialog, &QDialog::finished, this, &VXSavePanel::dialogFinished);
    return m_dialog;
}

QWidget *VXSavePanel::customSaveView()
{
    if (m_customSaveView)
        return m_customSaveView;
    m_customSaveView = new QWidget(m_dialog);
    m_options->setupUi(m_customSaveView);
    m_options->dateFormatPopUp->addItem(tr("Date MM/DD/YYYY"), QString(kMonthFirstTitle));
    m_options->dateFormatPopUp->addItem(tr("Date DD/MM/YYYY"), QString(kDayFirstTitle));
    connect(m_options->dateFormatPopUp, &QComboBox::activated, this, [this] {
        VXDefaults::settings().setValue(kSaveDateFormatKey, m_options->dateFormatPopUp->currentData().toString());
    });
    connect(m_options->tenthsOfSecondsCheckBox, &QCheckBox::clicked, this,
            [](bool on) { VXDefaults::settings().setValue(kSaveTimeWithTenthsKey, on); });
    connect(m_options->dataTenthsCheckBox, &QCheckBox::clicked, this,
            [](bool on) { VXDefaults::settings().setValue(kSaveDataWithTenthsKey, on); });
    return m_customSaveView;
}

void VXSavePanel::loadOptions()
{
    const bool dayFirst = VXDefaults::value(kSaveDateFormatKey).toString() == kDayFirstTitle;
    m_options->dateFormatPopUp->setCurrentIndex(dayFirst ? 1 : 0);
    m_options->tenthsOfSecondsCheckBox->setChecked(VXDefaults::value(kSaveTimeWithTenthsKey).toBool());
    m_options->dataTenthsCheckBox->setChecked(VXDefaults::value(kSaveDataWithTenthsKey).toBool());
}

void VXSavePanel::askForPath(const QString &proposedName, Completion done)
{
    QFileDialog *dialog = fileDialog();
    // One sheet at a time; a second request while it is open is refused.
    if (dialog->isVisible()) {
        if (done)
            done(kCancelCode, QString());
        return;
    }
    m_completion = std::move(done);
    loadOptions();
    // The options are the CSV export's; a TCX file has none.
    m_customSaveView->setVisible(!proposedName.endsWith(QLatin1String(".tcx"), Qt::CaseInsensitive));
    dialog->selectFile(proposedName);
    dialog->open();
}

void VXSavePanel::dialogFinished(int result)
{
    const bool ok = result == QDialog::Accepted;
    const QString path = ok ? m_dialog->selectedFiles().value(0) : QString();
    Completion done = std::move(m_completion);
    m_completion = nullptr;
    if (done)
        done(ok && !path.isEmpty() ? kOKCode : kCancelCode, path);
}

void VXSavePanel::showAlert(const QString &message, const QString &button)
{
    QMessageBox alert(m_window);
    alert.setIcon(QMessageBox::Warning);
    alert.setText(message);
    alert.addButton(button, QMessageBox::AcceptRole);
    alert.exec();
}
