// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/launchoptions.h"
#include "launch/gamelist.h"
#include "windows/formkit.h"

#include <QMainWindow>
#include <QStringList>

#include <array>
#include <future>

class QAction;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

// The start-up window: the game list, the option controls (the only store of the launch
// options), the three buttons and the File menu.
class frmQuorix : public QMainWindow
{
    Q_OBJECT

public:
    using StickButtons = std::array<FormKit::RadioButton *, Stick::ModeCount>; // by mode, not place

    // The games come from a folder listing started earlier (GameList::startScan), or, without
    // one, from reading the working folder now.
    explicit frmQuorix(std::future<GameList::Games> games = {}, QWidget *parent = nullptr);
    ~frmQuorix() override;

    // Ends the program as the close box does, without asking anything: for a kill or a
    // closed terminal. Every window closes.
    void endProgram();
    // Saves now, for a session that is about to end (a logout).
    void saveForSession();

    // The options as the controls hold them right now.
    [[nodiscard]] LaunchOptions options() const;
    // The listed file names, in the list's order.
    [[nodiscard]] QStringList games() const;
    // The selected game's file name, empty while nothing is selected.
    [[nodiscard]] QString fileName() const;

    QListView *filList = nullptr; // over m_games: a folder may hold a hundred thousand games
    StickButtons optS1{};
    StickButtons optS2{};
    FormKit::CheckBox *chkDebug = nullptr;
    FormKit::CheckBox *chkNoLimit = nullptr;
    FormKit::CheckBox *chkNoSound = nullptr;
    FormKit::CheckBox *ChkNoVoice = nullptr;
    QPushButton *cmdRun = nullptr;
    QPushButton *cmdAbout = nullptr;
    QPushButton *cmdExit = nullptr;
    QLabel *lblFiles = nullptr;
    QGroupBox *fraStick1 = nullptr;
    QGroupBox *fraStick2 = nullptr;
    QLabel *lblCount = nullptr;
    QLineEdit *txtCount = nullptr;
    QAction *mnuKeys = nullptr;
    QAction *mnuSave = nullptr;
    QAction *mnuExit = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildGameList(QWidget *client);
    QGroupBox *buildStickFrame(QWidget *client, const char *name, const QString &caption, int left,
                               int buttonWidth, StickButtons &buttons, QButtonGroup *&group);
    void buildOptions(QWidget *client);
    void buildButtons(QWidget *client);
    void buildMenu();
    void setTabOrder();

    void Form_Load();
    void Form_Unload();
    void Form_Terminate();
    void RunGame();
    void SaveSettings();
    void applyOptions(const LaunchOptions &options);
    void showWarning(const QString &message);

    void cmdRun_Click();
    void filList_DblClick();
    void cmdAbout_Click();
    void mnuKeys_Click();
    void optS1_Click(int Index);
    void optS2_Click(int Index);
    void stickClick(const StickButtons &mine, const StickButtons &other, int index);

    void reportSaveFailure(const QString &why);

    std::future<GameList::Games> m_pendingGames; // the listing, until the load step takes it
    GameList::Model *m_games = nullptr;
    LaunchOptions m_loaded;            // as the load step left the controls
    bool m_quietEnd = false;           // ending for the session, not the user: no questions
    bool m_mayAsk = false;             // while the user's own close saves
    bool m_saveFailureReported = false;
    QButtonGroup *m_groupS1 = nullptr;
    QButtonGroup *m_groupS2 = nullptr;
};
