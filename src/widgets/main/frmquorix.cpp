// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/frmquorix.h"

#include "common/module1.h"
#include "forms/buttons.h"
#include "forms/fixedsize.h"
#include "forms/fonts.h"
#include "forms/frmabout.h"
#include "forms/frmkeys.h"
#include "forms/frmwarning.h"
#include "forms/icon.h"
#include "forms/ownership.h"
#include "forms/placement.h"
#include "forms/titles.h"
#include "forms/tofront.h"
#include "forms/twips.h"
#include "launch/gamelist.h"
#include "launch/launcher.h"
#include "main/folderchoice.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QScopedValueRollback>

using namespace Forms;

frmQuorix::frmQuorix(Launcher &launcher, QWidget *parent)
    : QMainWindow(parent)
    , m_launcher(launcher)
{
    setObjectName(QStringLiteral("frmQuorix"));
    setWindowTitle(Title::Main);
    setWindowIcon(programIcon());
    setFont(defaultFont());
    setWindowFlags(Stacking::fixedWindowFlags(Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint));
    Stacking::keepNormal(this);
    setAcceptDrops(true); // a game folder from a file manager

    auto *client = new QWidget(this);
    client->setFixedSize(px(6540), px(3585)); // the menu bar comes on top of this
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    buildGameList(client);
    fraStick1 = buildStickFrame(client, 0, optS1, m_groupS1);
    fraStick2 = buildStickFrame(client, 1, optS2, m_groupS2);
    buildOptions(client);
    buildButtons(client);
    buildMenu();
    setTabOrder();

    // The layout's own selection, before the rule is listening: it is not a click.
    optS1[Stick::LeftKeyboard]->setChecked(true);
    optS2[Stick::Disable]->setChecked(true);
    connect(m_groupS1, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            optS1_Click(id);
    });
    connect(m_groupS2, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            optS2_Click(id);
    });
    for (const QButtonGroup *group : {m_groupS1, m_groupS2}) {
        tabStopOnChecked(group);
        connect(group, &QButtonGroup::idToggled, this, [group] { tabStopOnChecked(group); });
    }
    connect(&m_launcher, &Launcher::emulatorFailed, this, &frmQuorix::showWarning);

    Form_Load();
    // The options outside the widgets too, for an end that cannot reach them (the display lost).
    const auto keep = [this] { m_launcher.keep(mnuSave->isChecked() ? std::optional(options()) : std::nullopt); };
    for (const CheckBox *box : {chkDebug, chkNoLimit, chkNoSound, ChkNoVoice})
        connect(box, &QCheckBox::stateChanged, this, keep);
    for (const QButtonGroup *group : {m_groupS1, m_groupS2})
        connect(group, &QButtonGroup::idToggled, this, keep);
    connect(mnuSave, &QAction::toggled, this, keep);
    keep();
    filList->setFocus();
    layout()->activate(); // the final size, so that the window can be centred before it shows
    Stacking::centre(this, nullptr);
}

frmQuorix::~frmQuorix()
{
    Stacking::releaseOwned(this);
    Form_Terminate();
}

void frmQuorix::Form_Load()
{
    m_games->setGames(m_launcher.games());
    if (m_games->rowCount() > 1)
        filList->setCurrentIndex(m_games->index(0));
    txtCount->setText(QString::number(m_launcher.games().gameCount()));
    applyOptions(m_launcher.load());
}

void frmQuorix::applyOptions(const LaunchOptions &o)
{
    chkDebug->setCheckState(checkState(o.debug));
    chkNoLimit->setCheckState(checkState(o.noLimit));
    chkNoSound->setCheckState(checkState(o.noSound));
    ChkNoVoice->setCheckState(checkState(o.noVoice));
    // Selecting from code runs the stick rule, exactly as a click would.
    if (o.stick1)
        optS1[static_cast<size_t>(*o.stick1)]->setChecked(true);
    if (o.stick2)
        optS2[static_cast<size_t>(*o.stick2)]->setChecked(true);
}

LaunchOptions frmQuorix::options() const
{
    const auto stick = [](const QButtonGroup *group) -> std::optional<StickMode> {
        const int id = group->checkedId();
        return id < 0 ? std::nullopt : std::optional<StickMode>(static_cast<StickMode>(id));
    };
    LaunchOptions o;
    o.debug = checkValue(chkDebug->checkState());
    o.noLimit = checkValue(chkNoLimit->checkState());
    o.noSound = checkValue(chkNoSound->checkState());
    o.noVoice = checkValue(ChkNoVoice->checkState());
    o.stick1 = stick(m_groupS1);
    o.stick2 = stick(m_groupS2);
    return o;
}

QString frmQuorix::fileName() const
{
    const QModelIndexList selected = filList->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QString() : selected.first().data().toString();
}

void frmQuorix::RunGame()
{
    const QModelIndexList selected = filList->selectionModel()->selectedIndexes();
    const QString message = m_launcher.run(fileName(), m_games->path(selected.value(0)), options());
    if (!message.isEmpty())
        showWarning(message);
}

void frmQuorix::showWarning(const QString &message, const QString &details)
{
    Module1::strWarning = message;
    frmWarning::showMessage(this, details);
}

void frmQuorix::SaveSettings()
{
    const QString failure = m_launcher.save(options(), m_userPresent); // the old file stays as it was
    if (failure.isEmpty())
        return;
    QMessageBox box(QMessageBox::Warning, Title::Warning, failure, QMessageBox::Ok, this);
    box.setFont(font());
    box.exec();
}

void frmQuorix::endProgram()
{
    m_ending = true;
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

void frmQuorix::saveForSession()
{
    Form_Unload();
}

void frmQuorix::Form_Unload()
{
    if (mnuSave->isChecked())
        SaveSettings();
}

void frmQuorix::Form_Terminate()
{
    if (mnuSave->isChecked())
        SaveSettings();
}

void frmQuorix::closeEvent(QCloseEvent *event)
{
    // The About box holds the input until it closes; on Wayland the compositor's close reaches
    // this window past it. The end of the session or a kill closes everything all the same.
    if (QWidget *modal = QApplication::activeModalWidget(); modal && modal != this && !m_ending) {
        event->ignore();
        Stacking::bringToFront(modal);
        return;
    }
    {
        // The user closed it and is there to read, unless the session or a kill is ending it.
        const QScopedValueRollback asking(m_userPresent, !m_ending);
        Form_Unload();
    }
    Stacking::releaseOwned(this); // the keys and warning windows stay open and keep the program running
    event->accept();
}

void frmQuorix::keyPressEvent(QKeyEvent *event)
{
    // Enter that no focused control used (list, check box, radio button, count box) runs the game.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        cmdRun->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void frmQuorix::mnuOpen_Click()
{
    const QString folder = FolderChoice::ask(this, m_launcher.folder());
    if (!folder.isEmpty())
        openFolder(folder);
}

void frmQuorix::dragEnterEvent(QDragEnterEvent *event)
{
    if (!FolderChoice::dropped(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void frmQuorix::dropEvent(QDropEvent *event)
{
    const QString folder = FolderChoice::dropped(event->mimeData());
    if (folder.isEmpty())
        return;
    event->acceptProposedAction();
    openFolder(folder);
}

void frmQuorix::openFolder(const QString &folder)
{
    {
        const QScopedValueRollback asking(m_userPresent, true); // a failed save is told: the user is here
        Form_Unload(); // the old folder's options into its own quorix.cfg, under Save on Exit
    }
    m_launcher.setFolder(folder);
    Form_Load(); // as at a start there
}

void frmQuorix::cmdRun_Click()
{
    RunGame();
}

void frmQuorix::filList_DblClick()
{
    RunGame();
}

void frmQuorix::cmdAbout_Click()
{
    frmAbout::showModal(this);
}

void frmQuorix::mnuKeys_Click()
{
    frmKeys::showWindow(this);
}

void frmQuorix::optS1_Click(int Index)
{
    stickClick(optS1, optS2, Index);
}

void frmQuorix::optS2_Click(int Index)
{
    stickClick(optS2, optS1, Index);
}

void frmQuorix::stickClick(const StickButtons &mine, const StickButtons &other, int index)
{
    // The button just selected is checked; when the other stick holds the same mode, it moves on
    // to the next, Joystick wrapping round to Disable.
    Q_ASSERT(mine[static_cast<size_t>(index)]->isChecked());
    if (other[static_cast<size_t>(index)]->isChecked())
        other[static_cast<size_t>((index == Stick::Joystick ? -1 : index) + 1)]->setChecked(true); // runs its click
}
