// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's controls, as its layout places them: one builder a group, the tab order.
#include "main/frmquorix.h"

#include "forms/colours.h"
#include "forms/twips.h"
#include "launch/commandline.h"
#include "launch/gamelist.h"
#include "main/gamelistview.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

using namespace Forms;

namespace {

// Accessible names are the captions as read aloud: without the access-key marker.
QString spoken(const QString &caption)
{
    QString s = caption;
    return s.remove(QLatin1Char('&'));
}

template <class W>
W *named(W *widget, const char *name, const QString &accessible)
{
    widget->setObjectName(QLatin1String(name));
    widget->setAccessibleName(accessible);
    return widget;
}

// The two stick frames, left to right.
const struct {
    const char *name, *group;
    CommandLine::Option option;
    int left, buttonWidth;
} stickFrames[]
    = {{"fraStick1", "optS1", CommandLine::Stick1, 2040, 975}, {"fraStick2", "optS2", CommandLine::Stick2, 3480, 1095}};

// Each frame's buttons, top to bottom: the modes are 0, 2, 1, 3, for the index is the mode, not
// the place. The tab order follows the screen.
const struct {
    StickMode mode;
    const char *caption;
    int top;
} stickRows[] = {{Stick::Disable, "Disable", 240},
                 {Stick::LeftKeyboard, "Left Keyboard", 720},
                 {Stick::RightKeyboard, "Right Keyboard", 1200},
                 {Stick::Joystick, "Joystick", 1680}};

}

void frmQuorix::buildGameList(QWidget *client)
{
    lblFiles = named(new QLabel(QStringLiteral("Game List:"), client), "lblFiles", QStringLiteral("Game List:"));
    lblFiles->move(px(120), px(120));
    lblFiles->adjustSize();

    m_games = new GameList::Model(this); // filled by the load step
    filList = named(new GameListView(client), "filList", QStringLiteral("Game List"));
    filList->setGeometry(twips(120, 360, 1695, 2235));
    filList->setModel(m_games);
    filList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    filList->setSelectionMode(QAbstractItemView::SingleSelection);
    filList->setUniformItemSizes(true);
    filList->setLayoutMode(QListView::Batched); // lays out a long list in steps, after the window shows
    connect(filList, &QAbstractItemView::doubleClicked, this, &frmQuorix::filList_DblClick);

    lblCount = named(new QLabel(QStringLiteral("Game count:"), client), "lblCount", QStringLiteral("Game count:"));
    lblCount->move(px(120), px(2640));
    lblCount->adjustSize();

    txtCount = named(new QLineEdit(client), "txtCount", QStringLiteral("Game count"));
    txtCount->setGeometry(twips(120, 2880, 975, 285));
    txtCount->setReadOnly(true);     // nothing reads it back
    txtCount->setAcceptDrops(false); // a folder dropped on it is for the window
    setFieldBackground(txtCount, SystemColor::Menu);
}

QGroupBox *frmQuorix::buildStickFrame(QWidget *client, int stick, StickButtons &buttons, QButtonGroup *&group)
{
    const auto &f = stickFrames[stick];
    const QString caption = CommandLine::caption(f.option);
    auto *frame = named(new QGroupBox(caption, client), f.name, caption);
    frame->setGeometry(twips(f.left, 120, 1335, 2175));
    group = new QButtonGroup(frame);
    for (const auto &row : stickRows) {
        auto *button = new RadioButton(QLatin1String(row.caption), frame);
        button->setObjectName(QStringLiteral("%1(%2)").arg(QLatin1String(f.group)).arg(row.mode));
        button->setAccessibleName(QLatin1String(row.caption));
        button->setGeometry(twips(120, row.top, f.buttonWidth, 375));
        // Room to grow stays inside the frame's border and clear of the next button.
        button->fitCaption(frame->width() - button->x() - 4, px(480) - 2);
        group->addButton(button, row.mode);
        buttons[static_cast<size_t>(row.mode)] = button;
    }
    return frame;
}

void frmQuorix::buildOptions(QWidget *client)
{
    const auto box = [client](const char *name, CommandLine::Option option, QRect geometry) {
        auto *check = named(new CheckBox(CommandLine::caption(option), client), name, CommandLine::caption(option));
        check->setGeometry(geometry);
        return check;
    };
    chkDebug = box("chkDebug", CommandLine::Debug, twips(2040, 2520, 1215, 255));
    chkNoLimit = box("chkNoLimit", CommandLine::NoLimit, twips(2040, 2880, 1455, 255));
    chkNoSound = box("chkNoSound", CommandLine::NoSound, twips(3480, 2520, 1095, 255));
    ChkNoVoice = box("ChkNoVoice", CommandLine::NoVoice, twips(3480, 2880, 1215, 255));
}

void frmQuorix::buildButtons(QWidget *client)
{
    const auto button = [client](const char *name, const QString &caption, int top) {
        auto *b = named(new QPushButton(caption, client), name, spoken(caption));
        b->setGeometry(twips(5040, top, 1215, 495));
        b->setAutoDefault(true); // Enter presses the focused button, as Space does
        return b;
    };
    cmdRun = button("cmdRun", QStringLiteral("&Run Game"), 240);
    cmdAbout = button("cmdAbout", QStringLiteral("&About"), 1080);
    cmdExit = button("cmdExit", QStringLiteral("E&xit"), 1920);
    cmdRun->setDefault(true);
    connect(cmdRun, &QPushButton::clicked, this, &frmQuorix::cmdRun_Click);
    connect(cmdAbout, &QPushButton::clicked, this, &frmQuorix::cmdAbout_Click);
    connect(cmdExit, &QPushButton::clicked, this, &QWidget::close);
}

void frmQuorix::buildMenu()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    file->setFont(font()); // a popup is a window of its own and would take the application's font
    mnuOpen = file->addAction(QStringLiteral("&Open Game Folder..."), this, &frmQuorix::mnuOpen_Click);
    mnuKeys = file->addAction(QStringLiteral("Emulator &Keys"), this, &frmQuorix::mnuKeys_Click);
    mnuSave = file->addAction(QStringLiteral("&Save on Exit"));
    mnuSave->setCheckable(true); // a checkable action flips its own mark when chosen
    mnuSave->setChecked(true);
    mnuExit = file->addAction(QStringLiteral("E&xit"), this, &QWidget::close);
    mnuOpen->setObjectName(QStringLiteral("mnuOpen"));
    mnuKeys->setObjectName(QStringLiteral("mnuKeys"));
    mnuSave->setObjectName(QStringLiteral("mnuSave"));
    mnuExit->setObjectName(QStringLiteral("mnuExit"));
}

void frmQuorix::setTabOrder()
{
    std::vector<QWidget *> order{filList};
    for (const StickButtons *buttons : {&optS1, &optS2})
        for (const auto &row : stickRows)
            order.push_back((*buttons)[static_cast<size_t>(row.mode)]);
    order.insert(order.end(), {chkDebug, chkNoLimit, chkNoSound, cmdRun, cmdAbout, cmdExit, txtCount, ChkNoVoice});
    for (size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}
