// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/fonts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHash>
#include <QStyleFactory>

#include <algorithm>
#include <iterator>

namespace Forms {

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

}
