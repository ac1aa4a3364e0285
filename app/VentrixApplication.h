#pragma once

#include <QStringList>

#include <memory>

class AppController;
class DataOutput;
class DataView;
class HistoryView;
class Decoder;
class MainWindow;
class MainWindowController;
class ObjectContext;
class PreferencesWindowController;
class SessionListController;
class SportZoneView;
class UserPrompts;
class VXSavePanel;
class Ventrix_AppDelegate;

// The composition root: builds the application's objects in order, hands out
// the shared references and connects the signals and menu commands. Holds no
// behaviour of its own. Construct after QApplication; GUI thread.
class VentrixApplication
{
public:
    // prompts answers the delegate's alerts; null: message boxes.
    explicit VentrixApplication(UserPrompts *prompts = nullptr);
    ~VentrixApplication();

    VentrixApplication(const VentrixApplication &) = delete;
    VentrixApplication &operator=(const VentrixApplication &) = delete;

    // Shows the main window, then runs the delegate's start-up work.
    void show();
    // Decodes recordings as if they were dropped on the session list.
    void openFiles(const QStringList &paths);

    Ventrix_AppDelegate &appDelegate();
    ObjectContext &context();
    SessionListController &sessions();
    Decoder &decoder();
    DataOutput &dataOutput();
    AppController &appController();
    MainWindow &mainWindow();
    MainWindowController &mainWindowController();
    VXSavePanel &savePanel();
    DataView &dataView();
    SportZoneView &sportZoneView();
    HistoryView &historyView();
    // Null until the preferences were first opened.
    PreferencesWindowController *preferencesWindowController();

private:
    struct Parts;
    std::unique_ptr<Parts> m;
};
