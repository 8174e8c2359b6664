// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/launchoptions.h"
#include "forms/buttons.h"

#include <QMainWindow>

#include <array>

class Launcher;
class QAction;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace GameList {
class Model;
}

// The start-up window: the game list, the option controls (the only store of the launch
// options), the three buttons and the File menu. What the options mean for the game folder
// (the listing, quorix.cfg, the emulator) is the launcher's business; this binds the controls to it.
class frmQuorix : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmQuorix(Launcher &launcher, QWidget *parent = nullptr);
    ~frmQuorix() override;

    // Ends the program as the close box does, without asking anything: for a kill or a
    // closed terminal. Every window closes.
    void endProgram();
    // Saves now, for a session that is about to end (a logout).
    void saveForSession();

    // The options as the controls hold them right now.
    [[nodiscard]] LaunchOptions options() const;
    // The selected game's file name, empty while nothing is selected.
    [[nodiscard]] QString fileName() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    using StickButtons = std::array<Forms::RadioButton *, Stick::ModeCount>; // by mode, not place

    void buildGameList(QWidget *client);
    QGroupBox *buildStickFrame(QWidget *client, int stick, StickButtons &buttons, QButtonGroup *&group);
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
    void showWarning(const QString &message, const QString &details = {});
    void openFolder(const QString &folder);

    void cmdRun_Click();
    void filList_DblClick();
    void cmdAbout_Click();
    void mnuKeys_Click();
    void mnuOpen_Click();
    void optS1_Click(int Index);
    void optS2_Click(int Index);
    void stickClick(const StickButtons &mine, const StickButtons &other, int index);

    Launcher &m_launcher;
    GameList::Model *m_games = nullptr;
    bool m_userPresent = false; // while the user's own close saves: a failure may be told
    bool m_ending = false;      // ended for the session or by a kill: no questions

    QListView *filList = nullptr; // over m_games: a folder may hold a hundred thousand games
    StickButtons optS1{};
    StickButtons optS2{};
    QButtonGroup *m_groupS1 = nullptr;
    QButtonGroup *m_groupS2 = nullptr;
    Forms::CheckBox *chkDebug = nullptr;
    Forms::CheckBox *chkNoLimit = nullptr;
    Forms::CheckBox *chkNoSound = nullptr;
    Forms::CheckBox *ChkNoVoice = nullptr;
    QPushButton *cmdRun = nullptr;
    QPushButton *cmdAbout = nullptr;
    QPushButton *cmdExit = nullptr;
    QLabel *lblFiles = nullptr;
    QGroupBox *fraStick1 = nullptr;
    QGroupBox *fraStick2 = nullptr;
    QLabel *lblCount = nullptr;
    QLineEdit *txtCount = nullptr;
    QAction *mnuOpen = nullptr;
    QAction *mnuKeys = nullptr;
    QAction *mnuSave = nullptr;
    QAction *mnuExit = nullptr;
};
