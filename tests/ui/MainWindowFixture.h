#pragma once

#include "MainWindow.h"
#include "MainWindowController.h"
#include "ObjectContext.h"
#include "RunSession.h"
#include "SessionListController.h"
#include "SessionTableModel.h"
#include "ExampleRecordings.h"

#include <QFile>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A main window with its session list and controller over an in-memory
// context; the shake is counted instead of moving the window.
class MainWindowFixture : public ::testing::Test
{
protected:
    MainWindowFixture()
        : sessions(context), controller(window, *window.sessionTable(), sessions, context)
    {
        controller.setShake([this] { ++shakes; });
        controller.setUpWindow();
    }

    SessionTableModel &model() const { return *controller.sessionTableModel(); }

    const RunSession *insert(const QString &name, bool hidden = false, int day = 1)
    {
        RunSession session;
        session.hrm = QStringLiteral("RS200");
        session.sessionName = name;
        session.sessionDate = QDateTime(QDate(2009, 2, day), QTime(18, 30));
        session.sessionTotalTime = 18000;
        if (hidden)
            session.hidden = true;
        return context.insertSession(std::move(session));
    }

    QString statusMessage() const { return window.statusBar()->currentMessage(); }

    // A recording of the example RS200 transfer.
    QString writeRS200Recording(const QString &name) const
    {
        const QString path = folder.filePath(name);
        EXPECT_TRUE(writeExampleRecording(QStringLiteral("rs200-run"), path));
        return path;
    }

    QString writeFile(const QString &name, const QByteArray &bytes) const
    {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    QTemporaryDir folder;
    ObjectContext context;
    SessionListController sessions;
    MainWindow window;
    MainWindowController controller;
    int shakes = 0;
};
