// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/formkit.h"

#include "common/launchoptions.h"
#include "windows/nativeowner.h"
#include "windows/stacking.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QScreen>
#include <QStyleFactory>
#include <QWindow>

#include <algorithm>

namespace FormKit {

static QImage iconImage()
{
    // Named, so no image plugin is probed; in the pixmaps' own format, so none is converted.
    static const QImage image
        = QImage(QStringLiteral(":/quorix-32.png"), "PNG").convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return image;
}

// Each pixel takes the colour of the one it falls in, so the picture stays crisp. Done here
// rather than by QImage::scaled, which starts a pool of threads for the larger sizes.
static QPixmap crisp(int side)
{
    const QImage source = iconImage();
    QImage scaled(side, side, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < side; ++y) {
        const auto *from = reinterpret_cast<const QRgb *>(source.constScanLine(y * source.height() / side));
        auto *to = reinterpret_cast<QRgb *>(scaled.scanLine(y));
        for (int x = 0; x < side; ++x) // the same rule across as down, so the grid stays even
            to[x] = from[x * source.width() / side];
    }
    return QPixmap::fromImage(std::move(scaled));
}

QIcon programIcon()
{
    static const QIcon icon = [] { // made once: the program and its main window both ask
        QIcon sizes;
        for (int side : {16, 32, 48, 64, 128, 256})
            sizes.addPixmap(crisp(side));
        return sizes;
    }();
    return icon;
}

QPixmap programPicture(qreal devicePixelRatio)
{
    QPixmap picture = crisp(qRound(iconImage().width() * devicePixelRatio));
    picture.setDevicePixelRatio(devicePixelRatio);
    return picture;
}

// Whether the face is installed and draws every character of `sample` itself.
static bool renders(const QString &family, const QString &sample)
{
    if (!QFontDatabase::hasFamily(family))
        return false;
    const QFontMetrics metrics{QFont(family)};
    return std::all_of(sample.cbegin(), sample.cend(), [&metrics](QChar c) { return metrics.inFont(c); });
}

// The face to ask for: the classic one where it renders, else the first free stand-in that
// does. "MS Sans Serif" is a bitmap face Qt may not draw; its TrueType successor, "Microsoft
// Sans Serif" (Windows), has the same measures. Where that is missing, a stand-in with the
// measures of Arial comes before the named face itself, whose clones (Wine's) are wider and
// would wrap the captions. Resolved once per face: letting Qt fall back from a missing face
// at every font costs a fontconfig search each time.
static QString face(const QString &family)
{
    static QHash<QString, QString> resolved;
    if (const auto it = resolved.constFind(family); it != resolved.cend())
        return *it;
    const QString liberation = QStringLiteral("Liberation Sans"), arimo = QStringLiteral("Arimo"),
                  dejaVu = QStringLiteral("DejaVu Sans");
    // The arrows are drawn as Unicode characters, so any face with those glyphs serves.
    const bool arrows = family == QLatin1String("Symbol");
    const QStringList tried = family == QLatin1String("MS Sans Serif")
        ? QStringList{QStringLiteral("Microsoft Sans Serif"), liberation, arimo, family, dejaVu}
        : arrows ? QStringList{family, dejaVu, liberation}
                 : QStringList{family, liberation, arimo, dejaVu};
    const QString sample = arrows ? QStringLiteral("\u2190\u2191\u2192\u2193") : QStringLiteral("AIMgl0!");
    const auto found
        = std::find_if(tried.cbegin(), tried.cend(), [&sample](const QString &f) { return renders(f, sample); });
    const QString chosen = found != tried.cend() ? *found : family;
    resolved.insert(family, chosen);
    return chosen;
}

void applyClassicLook(bool styleGiven)
{
    // Where Windows's own style is at hand (on Windows) it is the look itself; elsewhere Qt's
    // Windows style stands in, with the same metrics.
    const bool native = QStyleFactory::keys().contains(QStringLiteral("windowsvista"), Qt::CaseInsensitive);
    if (!styleGiven && !native && qEnvironmentVariableIsEmpty("QT_STYLE_OVERRIDE"))
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Windows")));
}

QFont classicFont(Face which)
{
    static const struct {
        Face face;
        const char *family;
        qreal points;
        bool bold, underline;
    } faces[] = {
        {Face::Default, "MS Sans Serif", 8.25, false, false},  {Face::Message, "MS Sans Serif", 9.75, false, false},
        {Face::WarningHeading, "Arial Black", 24, true, true}, {Face::KeysHeading, "MS Sans Serif", 9.75, true, false},
        {Face::KeysLetter, "MS Sans Serif", 24, true, false},  {Face::KeysFire, "MS Sans Serif", 12, true, false},
        {Face::KeysArrow, "Symbol", 24, true, false},
    };
    const auto &row
        = *std::find_if(std::begin(faces), std::end(faces), [which](const auto &r) { return r.face == which; });
    QFont f(face(QLatin1String(row.family)));
    f.setPointSizeF(row.points);
    f.setBold(row.bold);
    f.setUnderline(row.underline);
    return f;
}

static QColor systemColor(SystemColor which, const QPalette &palette)
{
    switch (which) {
    case SystemColor::ScrollBar:
        return palette.color(QPalette::Midlight);
    case SystemColor::Menu:
        return palette.color(QPalette::Window);
    case SystemColor::WindowText:
        return palette.color(QPalette::WindowText);
    case SystemColor::CaptionText:
        return palette.color(QPalette::HighlightedText);
    case SystemColor::AppWorkspace:
        return palette.color(QPalette::Mid);
    }
    return palette.color(QPalette::WindowText);
}

void setFieldBackground(QWidget *field, SystemColor which)
{
    QPalette p = field->palette();
    p.setColor(QPalette::Base, systemColor(which, p));
    field->setPalette(p);
}

void drawLines(QWidget *form, const std::vector<Line> &lines)
{
    QPainter p(form);
    for (const Line &line : lines) {
        QPen pen(systemColor(line.color, form->palette()), line.width);
        pen.setCapStyle(Qt::FlatCap);
        p.setPen(pen);
        p.drawLine(QPointF(px(line.x1), px(line.y1) + 0.5), QPointF(px(line.x2), px(line.y2) + 0.5));
    }
}

void sizeToText(QLabel *label, const QRect &box)
{
    label->adjustSize();
    label->move(box.center().x() + 1 - label->width() / 2, box.top());
}

void fitWrapped(QLabel *label, const QRect &box, int maxWidth)
{
    label->setWordWrap(true);
    QRect r = box;
    while (r.width() < maxWidth && label->heightForWidth(r.width()) > r.height())
        r.setWidth(r.width() + 1);
    label->setGeometry(r);
}

Qt::WindowFlags fixedWindowFlags(Qt::WindowFlags typeAndButtons)
{
    return Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::MSWindowsFixedSizeDialogHint
        | typeAndButtons;
}

void centre(QWidget *window, const QWidget *owner)
{
    QRect area;
    if (owner && owner->isVisible())
        area = owner->frameGeometry();
    else if (const QScreen *screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    else
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(area.center());
    const QScreen *screen = QGuiApplication::screenAt(area.center());
    if (screen || (screen = QGuiApplication::primaryScreen())) {
        const QRect room = screen->availableGeometry();
        frame.moveRight(std::min(frame.right(), room.right()));
        frame.moveBottom(std::min(frame.bottom(), room.bottom()));
        frame.moveLeft(std::max(frame.left(), room.left()));
        frame.moveTop(std::max(frame.top(), room.top()));
    }
    window->move(frame.topLeft());
}

void setOwner(QWidget *window, const QWidget *owner)
{
    if (!owner || !owner->windowHandle())
        return;
    window->winId(); // the native window, which is what the window manager is told about
    window->windowHandle()->setTransientParent(owner->windowHandle());
}

void keepNormal(QWidget *window)
{
    window->winId();
    QWindow *handle = window->windowHandle();
    QObject::connect(handle, &QWindow::windowStateChanged, window, [window, handle] {
        constexpr Qt::WindowStates filling = Qt::WindowMaximized | Qt::WindowFullScreen;
        if (!((window->windowState() | handle->windowStates()) & filling))
            return;
        if (window->windowState() & filling)
            window->setWindowState(window->windowState() & ~filling);
        if (handle->windowStates() & filling)
            handle->setWindowStates(handle->windowStates() & ~filling);
        Stacking::afterFillingUndone(window);
    });
}

void releaseOwned(const QWidget *owner)
{
    const QWindow *handle = owner->windowHandle();
    if (!handle)
        return;
    // A window with an owner does not keep the program running once the last other closes.
    for (QWindow *window : QGuiApplication::topLevelWindows()) {
        if (window->transientParent() == handle) {
            window->setTransientParent(nullptr);
            NativeOwner::release(window);
        }
    }
}

void tabStopOnChecked(const QButtonGroup *group)
{
    if (!group)
        return;
    const QList<QAbstractButton *> buttons = group->buttons();
    const QAbstractButton *stop = group->checkedButton() ? group->checkedButton() : buttons.value(0);
    for (QAbstractButton *button : buttons)
        button->setFocusPolicy(button == stop ? Qt::StrongFocus : Qt::ClickFocus);
}

qint16 checkValue(Qt::CheckState state)
{
    switch (state) {
    case Qt::Checked:
        return Check::Set;
    case Qt::PartiallyChecked:
        return Check::Grayed;
    case Qt::Unchecked:
        break;
    }
    return Check::Clear;
}

Qt::CheckState checkState(qint16 value)
{
    switch (value) {
    case Check::Set:
        return Qt::Checked;
    case Check::Grayed:
        return Qt::PartiallyChecked;
    default:
        return Qt::Unchecked;
    }
}

}
