#include "VXDefaults.h"
#include "VXSavePanel.h"
#include "ui_SaveOptions.h"

#include <QFileDialog>
#include <QMainWindow>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class SavePanelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        VXDefaults::settings().clear();
        window.show();
    }
    void TearDown() override { VXDefaults::settings().clear(); }

    SaveDialog::Completion completion()
    {
        return [this](int returnCode, const QString &chosen) {
            ++calls;
            code = returnCode;
            path = chosen;
        };
    }

    QMainWindow window;
    VXSavePanel panel{&window};
    QTemporaryDir folder;
    int calls = 0;
    int code = -1;
    QString path;
};

TEST_F(SavePanelTest, WindowModalQtDialogAnswersCancelOrOKWithThePathOnce)
{
    panel.askForPath(QStringLiteral("RUN1.csv"), completion());
    QFileDialog *dialog = panel.fileDialog();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
    EXPECT_TRUE(panel.customSaveView()->isVisibleTo(dialog));
    dialog->reject();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(code, SaveDialog::kCancelCode);
    EXPECT_TRUE(path.isEmpty());

    panel.askForPath(QStringLiteral("RUN1.csv"), completion());
    dialog = panel.fileDialog();
    dialog->setDirectory(folder.path());
    dialog->selectFile(folder.filePath(QStringLiteral("tempo.txt")));
    static_cast<QDialog *>(dialog)->accept(); // QFileDialog checks the name as its Save button would
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(code, SaveDialog::kOKCode);
    EXPECT_EQ(path, folder.filePath(QStringLiteral("tempo.txt")));
}

TEST_F(SavePanelTest, OptionsAreTiedToTheirSettings)
{
    QSettings settings = VXDefaults::settings();
    settings.setValue(QStringLiteral("SaveDateFormat"), QStringLiteral("Date DD/MM/YYYY"));
    settings.setValue(QStringLiteral("SaveTimeWithTenths"), true);
    settings.sync();
    panel.askForPath(QStringLiteral("a.csv"), completion());
    Ui::SaveOptions &options = panel.options();
    EXPECT_EQ(options.dateFormatPopUp->currentIndex(), 1);
    EXPECT_TRUE(options.tenthsOfSecondsCheckBox->isChecked());
    EXPECT_FALSE(options.dataTenthsCheckBox->isChecked());

    options.dateFormatPopUp->setCurrentIndex(0);
    emit options.dateFormatPopUp->activated(0);
    options.tenthsOfSecondsCheckBox->click();
    options.dataTenthsCheckBox->click();
    EXPECT_NE(VXDefaults::value(QStringLiteral("SaveDateFormat")).toString(), QStringLiteral("Date DD/MM/YYYY"));
    EXPECT_EQ(VXDefaults::value(QStringLiteral("SaveTimeWithTenths")).toBool(), false);
    EXPECT_EQ(VXDefaults::value(QStringLiteral("SaveDataWithTenths")).toBool(), true);
    panel.fileDialog()->reject();
}

} // namespace
